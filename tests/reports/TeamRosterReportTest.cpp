#include "reports/rptTeamRoster.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/report/Engine.h"
#include "tests/reports/LayoutRun.h"
#include "tests/support/DataFixture.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using testing_support::DataFixture;

namespace {

using RosterRun = reports_test::LayoutRun<rptTeamRoster>;

RosterRun runRoster()
{
    return reports_test::runLayout<rptTeamRoster>();
}

// The body of the report as lines: "[team caption]", a person's name, or "(8 blank rows)".
QStringList body(const report::Document& doc)
{
    QStringList lines;
    for (const report::Page& page : doc.pages()) {
        for (const report::PlacedSection& section : page.sections) {
            if (section.name == QLatin1String("TeamHeader")) {
                for (const auto& item : section.items) {
                    if (report::itemBase(item).control == QLatin1String("TeamLabel"))
                        lines << QLatin1Char('[') + report::itemText(item) + QLatin1Char(']');
                }
            } else if (section.name == QLatin1String("Detail")) {
                for (const auto& item : section.items) {
                    if (report::itemBase(item).control == QLatin1String("txtYouthName"))
                        lines << report::itemText(item);
                }
            } else if (section.name == QLatin1String("GroupFooter1")) {
                lines << QStringLiteral("(8 blank rows)");
            }
        }
    }
    return lines;
}

class TeamRosterReport : public ::testing::Test {
protected:
    testing_support::RecordingMessageBoxes& messages() { return testenv::messages(); }
    int person(const char* first, const char* last, const data::Variant& team,
               testing_support::FieldValues more = {})
    {
        more.push_back({QStringLiteral("Youth_Team"), team});
        if (std::none_of(more.begin(), more.end(),
                         [](const auto& f) { return f.first == QLatin1String("Youth_Status"); }))
            more.push_back({QStringLiteral("Youth_Status"), std::int16_t(1)});
        return db.addPerson(QString::fromUtf8(first), QString::fromUtf8(last), more);
    }
    DataFixture db;
};

} // namespace

TEST_F(TeamRosterReport, OneBandPerTeamWithoutRegardToCaseAndBlankRowsAfterEachTeam)
{
    person("Zed", "Young", "Blue");
    person("Amy", "Young", "blue");
    person("Bob", "Adams", "Blue");
    person("Cal", "Cole", "Red");
    person("Dee", "Dunn", "Gold");
    person("Eve", "Ever", "  "); // blanks only
    person("Lee", "Leader", "Red", {{"Youth_Leader", true}});
    person("Nat", "NoTeam", data::Variant::null());
    person("Emm", "Empty", "");
    person("Rex", "Removed", "Red", {{"Youth_Deleted", true}});

    const RosterRun r = runRoster();

    EXPECT_EQ(body(*r.doc), QStringList({"[Members not on a team]", "Eve Ever", "(8 blank rows)",
                                         // the band shows the team as its first row spells it
                                         "[Blue]", "Bob Adams", "Amy Young", "Zed Young",
                                         "(8 blank rows)", "[Gold]", "Dee Dunn", "(8 blank rows)",
                                         "[Red]", "Cal Cole", "(8 blank rows)"}));
    EXPECT_EQ(r.doc->count(QStringLiteral("TeamHeader")), 4);
    EXPECT_EQ(r.doc->count(QStringLiteral("GroupFooter1")), 4);
    EXPECT_TRUE(messages().shown().empty());
    EXPECT_TRUE(r.doc->errors().empty());
}

TEST_F(TeamRosterReport, RowFields)
{
    person("Kim", "Full", "Blue",
           {{"Youth_HomePhone", "555-0101"}, {"Youth_EMail", "k@x.example"}});
    db.addPerson(
        {{"Youth_LName", "Smith"}, {"Youth_Team", "Blue"}, {"Youth_Status", std::int16_t(1)}});

    const RosterRun r = runRoster();

    EXPECT_EQ(r.doc->texts(QStringLiteral("txtYouthName")), QStringList({"Kim Full", " Smith"}));
    EXPECT_EQ(r.doc->texts(QStringLiteral("txtPhone")), QStringList({"555-0101", ""}));
    EXPECT_EQ(r.doc->texts(QStringLiteral("txtEmail")), QStringList({"k@x.example", ""}));
}

// The grid: grey bands, rows with their boxes and rules, eight blank rows after each team.
TEST_F(TeamRosterReport, TwoTeamsMatchTheirReviewedDump)
{
    person("Ann", "Abel", "Blue",
           {{"Youth_HomePhone", "555-0101"}, {"Youth_EMail", "ann@x.example"}});
    person("Bob", "Baker", "blue");
    person("Cal", "Cole", "Red", {{"Youth_EMail", "cal@x.example"}});
    settings().setGroupName(QStringLiteral("St. Luke Youth"));

    const RosterRun r = runRoster();
    EXPECT_DUMP(*r.doc, "expected/roster-two-teams.dump");
}

TEST_F(TeamRosterReport, IncludeActiveOnlyOrEveryStatus)
{
    person("Ann", "Active", "Blue");
    person("Ava", "Away", "Blue", {{"Youth_Status", std::int16_t(2)}});
    person("Ivy", "Inactive", "Blue", {{"Youth_Status", std::int16_t(3)}});

    program().ReportFilter = QStringLiteral("Youth_Status=1");
    EXPECT_EQ(runRoster().doc->texts(QStringLiteral("txtYouthName")), QStringList({"Ann Active"}));
    program().ReportFilter.clear();
    EXPECT_EQ(runRoster().doc->texts(QStringLiteral("txtYouthName")),
              QStringList({"Ann Active", "Ava Away", "Ivy Inactive"}));
}

TEST_F(TeamRosterReport, NoMatchGivesHeaderAndFooterOnly)
{
    person("Ann", "Active", "Blue");
    program().ReportFilter = QStringLiteral("Youth_Team='Green'");
    settings().setGroupName(QStringLiteral("St. Luke Youth"));

    const RosterRun r = runRoster();

    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().last().title, QStringLiteral("No Matching Records"));
    ASSERT_EQ(r.doc->pageCount(), 1);
    EXPECT_EQ(r.doc->count(QStringLiteral("TeamHeader")), 0);
    EXPECT_EQ(r.doc->count(QStringLiteral("GroupFooter1")), 0);
    EXPECT_EQ(r.doc->count(QStringLiteral("Detail")), 0);
    EXPECT_TRUE(r.doc->texts(QStringLiteral("TeamLabel")).isEmpty()); // no empty "Team Name"
    EXPECT_EQ(r.doc->texts(QStringLiteral("Title")),
              QStringList({"Team Rosters - St. Luke Youth"}));
    EXPECT_EQ(r.doc->texts(QStringLiteral("lblPage")), QStringList({"Page: 1"}));
    EXPECT_EQ(r.doc->texts(QStringLiteral("Label3")), QStringList({"Brantholme Technologies"}));
    EXPECT_EQ(r.doc->caption(), QStringLiteral("Team Roster"));
    EXPECT_TRUE(r.doc->errors().empty());
}

TEST_F(TeamRosterReport, LongTeamRunsOnAndItsBlankRowsStayTogether)
{
    db.exec(QStringLiteral("BEGIN"));
    for (int i = 1; i <= 50; ++i)
        person("Kim", QStringLiteral("P%1").arg(i, 2, 10, QLatin1Char('0')).toUtf8().constData(),
               "Blue");
    db.exec(QStringLiteral("COMMIT"));

    const RosterRun r = runRoster();

    const QStringList lines = body(*r.doc);
    ASSERT_EQ(lines.size(), 52);
    EXPECT_EQ(lines.first(), QStringLiteral("[Blue]"));
    EXPECT_EQ(lines.last(), QStringLiteral("(8 blank rows)"));
    EXPECT_EQ(r.doc->count(QStringLiteral("TeamHeader")), 1); // not repeated on page 2
    ASSERT_EQ(r.doc->pageCount(), 2);
    const auto footer = r.doc->sections(QStringLiteral("GroupFooter1"));
    ASSERT_EQ(footer.size(), 1u);
    const report::Page& page = r.doc->pages()[std::size_t(footer[0].first)];
    EXPECT_FALSE(footer[0].second->clipped);
    EXPECT_LE(footer[0].second->rect.bottom(),
              page.printable.bottom() - 390); // above the page footer
}
