#include "stats/Registration.h"
#include "stats/rptGrpStats.h"
#include "shell/ProgramState.h"
#include "platform/data/ConnectionString.h"
#include "platform/report/Engine.h"
#include "platform/report/Registry.h"
#include "tests/support/DataFixture.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"
#include "tests/stats/PageInspection.h"

#include <QFile>

#include <gtest/gtest.h>

using testing_support::DataFixture;
using testing_support::day;
using namespace statstest;

namespace {

const QRectF kAttendFrame(9900, 7380, 4020, 2220);
const QRectF kBirthdaysFrame(5280, 7380, 4020, 2220);

std::int16_t code(int value)
{
    return std::int16_t(value);
}

QStringList chartLabels(const report::ChartData& chart)
{
    QStringList out;
    for (const report::ChartCategory& c : chart.categories)
        out << c.label;
    return out;
}

struct GroupStatsRun {
    std::shared_ptr<rptGrpStats> layout;
    std::shared_ptr<const report::Document> doc;

    QString cell(const char* name) const { return doc->texts(QString::fromLatin1(name)).value(0); }
};

GroupStatsRun runGroupStats()
{
    GroupStatsRun r;
    r.layout = std::make_shared<rptGrpStats>();
    r.doc = report::run(*r.layout);
    return r;
}

} // namespace

TEST(GroupStatsPage, EachPartCountsWhomItsQuerySays)
{
    testenv::clock().setToday(QDate(2024, 5, 15));
    DataFixture db;
    const auto person = [&](const char* name, testing_support::FieldValues fields) {
        return db.addPerson(QString::fromLatin1(name), QStringLiteral("Test"), fields);
    };
    const int ann = person("Ann", {{"Youth_Status", code(1)},
                                   {"Youth_Sex", code(2)},
                                   {"Youth_School", "Central High"},
                                   {"Youth_Team", "Blue"},
                                   {"Youth_Bday", day(2010, 3, 10)}});
    const int bob = person("Bob", {{"Youth_Status", code(1)},
                                   {"Youth_Sex", code(1)},
                                   {"Youth_School", "Central High"},
                                   {"Youth_Team", " Blue "},
                                   {"Youth_Bday", day(2009, 7, 1)}});
    person("Cat", {{"Youth_Status", code(0)},
                   {"Youth_Sex", code(2)},
                   {"Youth_School", "Lone School"},
                   {"Youth_Team", "Red"},
                   {"Youth_Bday", day(2012, 3, 1)}});
    const int rex = person("Rex", {{"Youth_Status", code(1)},
                                   {"Youth_Deleted", true},
                                   {"Youth_Sex", code(1)},
                                   {"Youth_School", "Central High"},
                                   {"Youth_Team", "Red"},
                                   {"Youth_Bday", day(2010, 8, 8)}});
    const int lee = person("Lee", {{"Youth_Status", code(1)},
                                   {"Youth_Leader", true},
                                   {"Youth_Sex", code(1)},
                                   {"Youth_School", "Central High"},
                                   {"Youth_Bday", day(1990, 1, 1)}});
    person("Vic", {{"Youth_Status", code(2)},
                   {"Youth_Visitor", true},
                   {"Youth_Sex", code(1)},
                   {"Youth_Bday", day(2008, 12, 1)}});
    person("Ivy", {{"Youth_Status", code(3)},
                   {"Youth_Sex", code(2)},
                   {"Youth_Team", "Green"},
                   {"Youth_School", "Hill Middle"},
                   {"Youth_Bday", day(2011, 6, 6)}});
    const int first = db.addMeeting(QDate(2024, 5, 5));
    const int second = db.addMeeting(QDate(2024, 5, 12));
    const int sameDay = db.addMeeting(QDate(2024, 5, 12), {{"Wk_Mtg_Type", "Bible Study"}});
    const int leadersOnly = db.addMeeting(QDate(2024, 5, 14));
    db.attend(first, {ann, rex, lee});
    db.attend(second, {ann, bob});
    db.attend(sameDay, {ann});
    db.attend(leadersOnly, {lee});

    const GroupStatsRun r = runGroupStats();
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_TRUE(r.doc->errors().empty());

    // Grid: Ann, Bob and Lee active members, Ivy inactive, Vic an away visitor.
    const char* cells[] = {"Mbr1", "Mbr2",   "Mbr3", "MbrTot", "Vis1", "Vis2",
                           "Vis3", "VisTot", "Tot1", "Tot2",   "Tot3", "TotTot"};
    QStringList grid;
    for (const char* c : cells)
        grid << r.cell(c);
    EXPECT_EQ(grid, QStringList({"3", "0", "1", "4", "0", "1", "0", "1", "3", "1", "1", "5"}));

    // Schools of everyone not removed; the school of one person is pooled.
    EXPECT_EQ(addedTextsAt(*r.doc, 300), QStringList({"Central High", "* Others *"}));
    EXPECT_EQ(addedTextsAt(*r.doc, 3900), QStringList({"3", "2"}));

    // Attendance of non-leaders by date, removed people included; a date of leaders only
    // takes no slot; two meetings on one date make one bar.
    const auto& points = r.layout->attendance();
    EXPECT_EQ(points[10].WeekDate, QDate(2024, 5, 5));
    EXPECT_EQ(points[10].count, 2);
    EXPECT_EQ(points[11].WeekDate, QDate(2024, 5, 12));
    EXPECT_EQ(points[11].count, 3);
    EXPECT_FALSE(points[9].WeekDate.isValid());

    // Birthdays of everyone not removed and not inactive: Jan (Lee), Mar (Ann, Cat), Jul (Bob),
    // Dec (Vic). Scale 3: a month of 2 is two thirds of the frame.
    const auto birthdayBars = barsIn(*r.doc, kBirthdaysFrame);
    ASSERT_EQ(birthdayBars.size(), 12u);
    const double h = kBirthdaysFrame.height();
    const double expected[] = {h / 3, 0, 2 * h / 3, 0, 0, 0, h / 3, 0, 0, 0, 0, h / 3};
    for (std::size_t m = 0; m < 12; ++m)
        EXPECT_NEAR(birthdayBars[m].height(), expected[m], 0.01) << m;
    EXPECT_EQ(scaleCaptions(*r.doc, kBirthdaysFrame),
              QStringList({"0.6", "1.2", "1.8", "2.4", "3"}));

    EXPECT_EQ(chartLabels(r.layout->genderChart()),
              QStringList({"Unassigned", "Male(66.7%)", "Female(33.3%)"}));
    EXPECT_EQ(chartLabels(r.layout->statusChart()),
              QStringList({"Unassigned", "Active(50.0%)", "Away(16.7%)", "Inactive(16.7%)"}));
    EXPECT_EQ(r.layout->statusChart().categories[0].value, 1);
    EXPECT_EQ(chartLabels(r.layout->teamChart()), QStringList({"Blue (66.7%)", "Red (33.3%)"}));
    // Ages 12 (Cat), 14 (Ann, Bob), 15 (Vic), 34 (Lee): the teenage bands.
    EXPECT_EQ(r.layout->DetermineAgeConcentration(), 2);
    EXPECT_EQ(r.layout->AgeRangeCount(12, 14), 3);
    EXPECT_EQ(chartLabels(r.layout->ageChart()),
              QStringList({"Under 12 (0.0%)", "12-14 Yrs (60.0%)", "15-17 Yrs (20.0%)",
                           "18-20 Yrs (0.0%)", "Over 20 (20.0%)"}));

    // The whole page, as reviewed.
    EXPECT_DUMP(*r.doc, "expected/group-stats-who-counts.dump");
}

TEST(GroupStatsPage, OneLandscapePageWithChartsDrawnAsVectors)
{
    DataFixture db;
    db.addPerson("Ann", "Test",
                 {{"Youth_Status", code(1)},
                  {"Youth_Sex", code(2)},
                  {"Youth_Team", "Blue"},
                  {"Youth_Bday", day(2010, 3, 10)}});
    db.addPerson("Bob", "Test",
                 {{"Youth_Status", code(2)},
                  {"Youth_Sex", code(1)},
                  {"Youth_Team", "Red"},
                  {"Youth_Bday", day(1980, 3, 10)}});
    const GroupStatsRun r = runGroupStats();

    ASSERT_EQ(r.doc->pageCount(), 1);
    EXPECT_EQ(r.doc->pages()[0].orientation, report::Orientation::Landscape);
    EXPECT_DOUBLE_EQ(r.doc->pages()[0].printable.width(), 14256);
    // The printer is given back as it was found.
    EXPECT_EQ(r.layout->Printer().Orientation(), report::Orientation::Portrait);
    for (const char* chart : {"GenderChart", "StatusChart", "AgeChart", "TeamChart"}) {
        const auto items = r.doc->items(QString::fromLatin1(chart));
        ASSERT_EQ(items.size(), 1u) << chart;
        EXPECT_TRUE(std::holds_alternative<report::ChartItem>(*items[0].item)) << chart;
    }

    const QString file = testenv::programFile(QStringLiteral("group-stats.pdf"));
    ASSERT_TRUE(r.doc->exportPdf(file));
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_FALSE(bytes.contains("/Subtype /Image")); // no chart is a picture
}

TEST(GroupStatsPage, AnEmptyDataFileShowsZerosScalesAndPlaceholders)
{
    DataFixture db;
    const GroupStatsRun r = runGroupStats();
    EXPECT_TRUE(testenv::messages().shown().empty());

    for (const char* c : {"Mbr1", "Vis3", "Tot2", "TotTot"})
        EXPECT_EQ(r.cell(c), QStringLiteral("0")) << c;
    // No school rows: the frame keeps its stored size.
    EXPECT_TRUE(addedTextsAt(*r.doc, 300).isEmpty());
    EXPECT_DOUBLE_EQ(lineY2(*r.doc, QStringLiteral("School_Left")), 3720);
    // Both graphs: a scale of 1; no attendance bars, twelve flat birthday bars.
    const QStringList unitScale = {"0.2", "0.4", "0.6", "0.8", "1"};
    EXPECT_EQ(scaleCaptions(*r.doc, kAttendFrame), unitScale);
    EXPECT_EQ(scaleCaptions(*r.doc, kBirthdaysFrame), unitScale);
    EXPECT_TRUE(barsIn(*r.doc, kAttendFrame).empty());
    EXPECT_TRUE(r.layout->barSpans().empty());
    EXPECT_EQ(barsIn(*r.doc, kBirthdaysFrame).size(), 12u);

    EXPECT_EQ(chartLabels(r.layout->genderChart()), QStringList({"Unassigned", "Male", "Female"}));
    EXPECT_EQ(r.layout->genderChart().categories[0].value, 1);
    EXPECT_EQ(r.layout->statusChart().categories[0].value, 1);
    EXPECT_EQ(chartLabels(r.layout->ageChart()).value(0), QStringLiteral("No Active Members"));
    EXPECT_EQ(chartLabels(r.layout->teamChart()), QStringList({"Teams Not Used"}));
}

TEST(GroupStatsPage, ThePageIsBuiltOnceWhateverTheFormatsAndFilter)
{
    DataFixture db;
    for (int i = 0; i < 40; ++i)
        db.addPerson(
            QStringLiteral("P%1").arg(i), QStringLiteral("School"),
            {{"Youth_Status", code(1)}, {"Youth_School", QStringLiteral("S%1").arg(i / 2)}});
    // A report condition left by the catalogue changes nothing.
    program().ReportFilter = QStringLiteral("Youth_Status=3");
    rptGrpStats layout;
    const auto first = report::run(layout);
    const int controls = layout.PageHeader().Controls().Count();
    const auto again = report::run(layout);

    EXPECT_EQ(layout.PageHeader().Controls().Count(), controls);
    EXPECT_EQ(again->items(QString()).size(), first->items(QString()).size());
    EXPECT_EQ(first->texts(QStringLiteral("Mbr1")), QStringList({"40"}));

    // Twenty schools of two: 29 rows fit under the stored frame, so all twenty are listed and the
    // frame is stretched to the last row (row 20 at 3710 + 19 * 200, one label high).
    EXPECT_EQ(addedTextsAt(*first, 300).size(), 20);
    EXPECT_DOUBLE_EQ(lineY2(*first, QStringLiteral("School_Left")),
                     3710 + 19 * 200 + stats::DefaultLabelHeight());
    EXPECT_DOUBLE_EQ(lineY2(*first, QStringLiteral("School_Right")),
                     lineY2(*first, QStringLiteral("School_Left")));
}

TEST(GroupStatsPage, AFailingQueryIsNamedOnceAndItsPartStaysEmpty)
{
    DataFixture db;
    db.addPerson(QStringLiteral("Ann"), QStringLiteral("Test"),
                 {{"Youth_Status", code(1)}, {"Youth_School", "Central High"}});
    db.exec(QStringLiteral("DROP TABLE Attendance"));

    const GroupStatsRun r = runGroupStats();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(testenv::messages().last().text.contains(QLatin1String("the attendance graph")));
    EXPECT_FALSE(testenv::messages().last().text.contains(QLatin1String("school")));
    // The attendance frame holds nothing, not even a scale; the rest of the page is whole.
    EXPECT_TRUE(scaleCaptions(*r.doc, kAttendFrame).isEmpty());
    EXPECT_TRUE(barsIn(*r.doc, kAttendFrame).empty());
    EXPECT_EQ(r.cell("Mbr1"), QStringLiteral("1"));
    EXPECT_EQ(addedTextsAt(*r.doc, 300), QStringList({"* Others *"}));
    EXPECT_EQ(barsIn(*r.doc, kBirthdaysFrame).size(), 12u);
}

TEST(GroupStatsPage, WithoutADataFileOneMessageAndAnEmptyPage)
{
    program().ConnectionString =
        data::buildConnectionString(testenv::programFolder(), QStringLiteral("missing.mdb"));
    const GroupStatsRun r = runGroupStats();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_EQ(r.cell("Mbr1"), QString());
    EXPECT_TRUE(r.doc->items(QString()).empty());
    EXPECT_TRUE(r.layout->teamChart().categories.empty());
}

TEST(GroupStatsPage, RegisteredByNameWithItsCaption)
{
    RegisterStats();
    const auto layout = report::createLayout(QStringLiteral("rptGrpStats"));
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->Caption(), QStringLiteral("Group Stats"));
    EXPECT_NE(dynamic_cast<rptGrpStats*>(layout.get()), nullptr);
}
