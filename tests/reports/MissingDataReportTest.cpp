#include "reports/rptMissingData.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/report/Engine.h"
#include "tests/support/DataFixture.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>

using testing_support::DataFixture;
using testing_support::day;
using testing_support::moment;

namespace {

struct ListRun {
    std::shared_ptr<rptMissingData> layout;
    std::shared_ptr<const report::Document> doc;
};

ListRun runList(const QString& option, const QString& filter = QString())
{
    program().ReportOption = option;
    program().ReportFilter = filter;
    ListRun r;
    r.layout = std::make_shared<rptMissingData>();
    r.doc = report::run(*r.layout);
    return r;
}

std::string joined(const QStringList& texts)
{
    return texts.join(QStringLiteral(" / ")).toStdString();
}

// Everything the missing-data list looks at, given.
testing_support::FieldValues complete(testing_support::FieldValues more = {})
{
    testing_support::FieldValues fields = {{"Youth_Address1", "1 Elm St"},
                                           {"Youth_Bday", day(2009, 6, 1)},
                                           {"Youth_HomePhone", "555-0100"},
                                           {"Youth_Email", "kid@mail.example"}};
    for (const auto& [name, value] : more) {
        auto given = std::find_if(fields.begin(), fields.end(),
                                  [&name](const auto& field) { return field.first == name; });
        if (given != fields.end())
            given->second = value;
        else
            fields.emplace_back(name, value);
    }
    return fields;
}

const testing_support::FieldValues kActive = {{"Youth_Status", std::int16_t(1)}};

testing_support::FieldValues lastSeen(std::int16_t status, int year, int month, int dayOfMonth)
{
    return {{"Youth_Status", status}, {"Youth_Last_Attended", day(year, month, dayOfMonth)}};
}

} // namespace

TEST(MissingDataReport, ListsPeopleWithANullAddressBirthdayPhoneOrEmail)
{
    DataFixture db;
    db.addPerson("All", "Given", complete());
    db.addPerson("Emp", "Ty", complete({{"Youth_Email", ""}, {"Youth_Address1", ""}}));
    db.addPerson("No", "Birthday",
                 {{"Youth_Address1", "2 Oak"},
                  {"Youth_HomePhone", "555-0101"},
                  {"Youth_Email", "nb@mail.example"},
                  {"Youth_City", "Troy"},
                  {"Youth_State", "oh"},
                  {"Youth_Zip", "45373"}});
    db.addPerson("No", "Mail",
                 {{"Youth_Address1", "3 Ash"},
                  {"Youth_Bday", moment(2010, 2, 3, 6, 0)}, // the time is not printed
                  {"Youth_HomePhone", "555-0102"}});
    db.addPerson("No", "Phone", complete({{"Youth_HomePhone", data::Variant()}}));
    db.addPerson("No", "Street", complete({{"Youth_Address1", data::Variant()}}));
    db.addPerson("Rem", "Oved", {{"Youth_Deleted", true}});

    const ListRun r = runList(QString());

    EXPECT_EQ(joined(r.doc->texts("txtYouthName")), "No Birthday / No Mail / No Phone / No Street");
    EXPECT_EQ(joined(r.doc->texts("txtDate")), " / 2/3/2010 / 6/1/2009 / 6/1/2009");
    EXPECT_EQ(joined(r.doc->texts("txtAddress")), "2 Oak / 3 Ash / 1 Elm St / ");
    EXPECT_EQ(joined(r.doc->texts("txtEmail")),
              "nb@mail.example /  / kid@mail.example / kid@mail.example");
    EXPECT_EQ(joined(r.doc->texts("txtPhone")), "555-0101 / 555-0102 /  / 555-0100");
    EXPECT_EQ(joined(r.doc->texts("txtCity")), "Troy /  /  / ");
    EXPECT_EQ(joined(r.doc->texts("txtState")), "OH /  /  / ");
    EXPECT_EQ(joined(r.doc->texts("txtZip")), "45373 /  /  / ");
    EXPECT_EQ(r.doc->caption(), QStringLiteral("Missing Data"));
    EXPECT_EQ(r.doc->texts("Title"), QStringList({"Missing Data in the Directory"}));
    EXPECT_EQ(r.doc->texts("DateLabel"), QStringList({"Birthday"}));
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_TRUE(r.doc->errors().empty());

    // With a condition; an option word other than exactly "MIA" is this list too.
    const ListRun named = runList(QStringLiteral("mia"), QStringLiteral("Youth_LName='Mail'"));
    EXPECT_EQ(named.doc->caption(), QStringLiteral("Missing Data"));
    EXPECT_EQ(joined(named.doc->texts("txtYouthName")), "No Mail");
}

TEST(MissingDataReport, MissingInActionByWholeWeeksOfAbsence)
{
    // Today is 15 May 2024; with the default of 4 weeks, 35 days away is missing, 34 is not.
    DataFixture db;
    db.addPerson("Fiv", "Weeks", lastSeen(1, 2024, 4, 10));
    db.addPerson("Fou", "Weeks", lastSeen(1, 2024, 4, 11));
    db.addPerson("Las", "Week", lastSeen(1, 2024, 5, 8));
    db.addPerson("Nev", "Came", kActive);
    db.addPerson("Old", "Timer",
                 {{"Youth_Status", std::int16_t(1)},
                  {"Youth_Last_Attended", moment(2023, 1, 1, 18, 0)},
                  {"Youth_City", "Troy"},
                  {"Youth_State", "oh"},
                  {"Youth_Email", "old@mail.example"}});
    db.addPerson("Awa", "Y", lastSeen(2, 2023, 1, 1));
    db.addPerson("Ina", "Ctive", lastSeen(3, 2023, 1, 1));
    db.addPerson("Rem", "Oved",
                 {{"Youth_Status", std::int16_t(1)},
                  {"Youth_Last_Attended", day(2023, 1, 1)},
                  {"Youth_Deleted", true}});

    const ListRun r = runList(QStringLiteral("MIA"));

    EXPECT_EQ(joined(r.doc->texts("txtYouthName")), "Old Timer / Fiv Weeks");
    EXPECT_EQ(joined(r.doc->texts("txtDate")), "1/1/2023 / 4/10/2024");
    EXPECT_EQ(joined(r.doc->texts("txtState")), "OH / ");
    EXPECT_EQ(joined(r.doc->texts("txtEmail")), "old@mail.example / ");
    // Every active person was read; only those missing printed.
    EXPECT_EQ(r.layout->RowCount(), 5);
    EXPECT_EQ(r.layout->ListedCount(), 2);
    EXPECT_EQ(r.doc->caption(), QStringLiteral("Missing in Action"));
    EXPECT_EQ(r.doc->texts("Title"), QStringList({"Missing in Action List"}));
    EXPECT_EQ(r.doc->texts("DateLabel"), QStringList({"MIA Since"}));
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_TRUE(r.doc->errors().empty());

    // The status rules' week count decides.
    settings().setWeeksToMIA(0);
    EXPECT_EQ(joined(runList(QStringLiteral("MIA")).doc->texts("txtYouthName")),
              "Old Timer / Las Week / Fiv Weeks / Fou Weeks");
}

TEST(MissingDataReport, MissingInActionTakesTheConditionInsideItsOwn)
{
    DataFixture db;
    db.addPerson("Blu", "One",
                 {{"Youth_Team", "Blue"},
                  {"Youth_Status", std::int16_t(1)},
                  {"Youth_Last_Attended", day(2023, 1, 1)}});
    db.addPerson("Red", "Two",
                 {{"Youth_Team", "Red"},
                  {"Youth_Status", std::int16_t(1)},
                  {"Youth_Last_Attended", day(2023, 1, 1)}});
    db.addPerson("Blu", "Away",
                 {{"Youth_Team", "Blue"},
                  {"Youth_Status", std::int16_t(2)},
                  {"Youth_Last_Attended", day(2023, 1, 1)}});

    const ListRun r = runList(QStringLiteral("MIA"), QStringLiteral("Youth_Team='Blue'"));

    EXPECT_EQ(joined(r.doc->texts("txtYouthName")), "Blu One");
    EXPECT_EQ(r.layout->RowCount(), 1);
}

TEST(MissingDataReport, NobodyMissingInActionSaysNoMatchingRecords)
{
    DataFixture db;
    db.addPerson("Las", "Week", lastSeen(1, 2024, 5, 8));
    db.addPerson("Nev", "Came", kActive);

    const ListRun r = runList(QStringLiteral("MIA"));

    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Plain);
    EXPECT_EQ(testenv::messages().last().text, rptMissingData::kNoRecordsText);
    EXPECT_EQ(testenv::messages().last().title, QStringLiteral("No Matching Records"));
    EXPECT_EQ(r.layout->RowCount(), 2);
    EXPECT_EQ(r.layout->ListedCount(), 0);
    ASSERT_EQ(r.doc->pageCount(), 1);
    EXPECT_EQ(r.doc->count(QStringLiteral("Detail")), 0);
    EXPECT_EQ(r.doc->texts("Title"), QStringList({"Missing in Action List"}));

    // No active person at all: the message once, as for any empty list.
    testenv::messages().clear();
    runList(QStringLiteral("MIA"), QStringLiteral("Youth_Team='Nobody'"));
    EXPECT_EQ(testenv::messages().shown().size(), 1u);
}

TEST(MissingDataReport, MissingInActionPageAsPrinted)
{
    DataFixture db;
    settings().setGroupName(QStringLiteral("Harbor Youth"));
    db.addPerson("Ann", "Abel",
                 {{"Youth_Status", std::int16_t(1)},
                  {"Youth_Last_Attended", day(2024, 1, 7)},
                  {"Youth_Address1", "12 Elm St"},
                  {"Youth_City", "Dayton"},
                  {"Youth_State", "oh"},
                  {"Youth_Zip", "45402"},
                  {"Youth_HomePhone", "555-0101"},
                  {"Youth_Email", "ann@mail.example"}});
    db.addPerson("Bob", "Here", lastSeen(1, 2024, 5, 12)); // not missing: takes no room
    db.addPerson("Cal", "Gone", lastSeen(1, 2023, 11, 5));

    EXPECT_DUMP(*runList(QStringLiteral("MIA")).doc, "expected/missing-in-action-page.dump");
}
