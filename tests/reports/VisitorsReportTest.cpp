#include "reports/rptVisitors.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/report/Engine.h"
#include "tests/support/DataFixture.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using testing_support::DataFixture;
using testing_support::day;
using testing_support::moment;

namespace {

std::shared_ptr<const report::Document> runList(const QString& filter = QString())
{
    program().ReportFilter = filter;
    rptVisitors layout;
    return report::run(layout);
}

std::string joined(const QStringList& texts)
{
    return texts.join(QStringLiteral(" / ")).toStdString();
}

} // namespace

TEST(VisitorsReport, ListsEveryVisitorNotRemovedWithTheirFollowUps)
{
    DataFixture db;
    settings().setGroupName(QStringLiteral("Harbor Youth"));
    db.addPerson("Vic", "Called",
                 {{"Youth_Visitor", true},
                  {"Youth_VCall", true},
                  {"Youth_Last_Attended", day(2024, 5, 12)},
                  {"Youth_Contact", "Ann Smith and her brother Bob"},
                  {"Youth_Address1", "4 Oak Ln"},
                  {"Youth_City", "Lexington"},
                  {"Youth_State", "ky"},
                  {"Youth_Zip", "40502"},
                  {"Youth_HomePhone", "555-0110"},
                  {"Youth_Email", "vic@mail.example"}});
    db.addPerson("Nev", "Attended", {{"Youth_Visitor", true}, {"Youth_City", "Troy"}});
    db.addPerson("All", "Done",
                 {{"Youth_Visitor", true},
                  {"Youth_VLetter", true},
                  {"Youth_VCall", true},
                  {"Youth_VHouseCall", true},
                  {"Youth_Zip", "45373"}});
    db.addPerson("Mem", "Ber");
    db.addPerson("Rem", "Oved", {{"Youth_Visitor", true}, {"Youth_Deleted", true}});

    // Members and removed visitors are left out; a visitor who never came has an empty
    // last-attended cell; the city, state and postal code join with or without a state.
    const auto doc = runList();
    EXPECT_DUMP(*doc, "expected/visitors-page.dump");
    EXPECT_TRUE(testenv::messages().shown().empty());
}

TEST(VisitorsReport, FirstAttendedDateMatchesEachVisitorsEarliestMeeting)
{
    DataFixture db;
    const int early = db.addPerson("Ann", "Early",
                                   {{"Youth_Visitor", true},
                                    {"Youth_VLetter", true},
                                    {"Youth_Last_Attended", moment(2024, 3, 8, 18, 0)},
                                    {"Youth_City", "Troy"},
                                    {"Youth_State", "oh"},
                                    {"Youth_Email", "ann@mail.example"}});
    const int late = db.addPerson("Bob", "Later", {{"Youth_Visitor", true}});
    db.addPerson("Nev", "Never", {{"Youth_Visitor", true}});
    const int member = db.addPerson("Mem", "Ber");
    // The later meeting is entered first, and its attendance saved before the earlier one's.
    const int march8 = db.addMeeting(QDate(2024, 3, 8));
    const int march1 = db.addMeeting(QDate(2024, 3, 1));
    db.attend(march8, {early, late, member});
    db.attend(march1, {early});

    EXPECT_EQ(joined(runList("First(Wk_Date)=#3/8/2024#")->texts("txtYouthName")), "Bob Later");

    const auto doc = runList("First(Wk_Date)=#3/1/2024#");
    EXPECT_EQ(joined(doc->texts("txtYouthName")), "Ann Early");
    // The grouped rows fill the same cells.
    EXPECT_EQ(joined(doc->texts("txtCity")), "Troy, OH  ");
    EXPECT_EQ(joined(doc->texts("txtEmail")), "ann@mail.example");
    EXPECT_EQ(joined(doc->texts("txtAttended")), "3/8/2024");
    const auto boxes = doc->items("chkWrite");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(std::get<report::CheckItem>(*boxes[0].item).checked);
    EXPECT_TRUE(doc->errors().empty());

    // Nobody came first on that day: the visitor who never came is not listed either.
    testenv::messages().clear();
    EXPECT_TRUE(runList("First(Wk_Date)=#3/15/2024#")->texts("txtYouthName").isEmpty());
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().title, QStringLiteral("No Matching Records"));
}
