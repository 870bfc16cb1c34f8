#include "stats/AttendanceSummary.h"
#include "stats/rptAttendance.h"
#include "shell/ProgramState.h"
#include "platform/report/Engine.h"
#include "tests/stats/PageInspection.h"
#include "tests/support/DataFixture.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include <QRegularExpression>

#include <cmath>

#include <gtest/gtest.h>

using testing_support::DataFixture;
using namespace statstest;

namespace {

const QRectF kFrame(360, 1500, 13800, 7440);

QString collapsed(QString sql)
{
    return sql.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")).trimmed();
}

struct SummaryRun {
    std::shared_ptr<rptAttendance> layout;
    std::shared_ptr<const report::Document> doc;
};

SummaryRun runSummary(const QString& condition)
{
    program().ReportFilter = condition;
    SummaryRun r;
    r.layout = std::make_shared<rptAttendance>();
    program().ReportFilter.clear();
    r.doc = report::run(*r.layout);
    return r;
}

std::int16_t code(int value)
{
    return std::int16_t(value);
}

} // namespace

TEST(AttendanceSummary, QueriesTakeTheConditionApart)
{
    const QString join =
        QStringLiteral("FROM Youth INNER JOIN (Weeks INNER JOIN Attendance ON Weeks.Wk_ID = "
                       "Attendance.Attend_Wk_ID) ON Youth.Youth_ID = Attendance.Attend_Youth_ID ");
    const auto year = stats::ReadSummaryFilter(QStringLiteral("YearPart=2006"), 2024, true);
    EXPECT_EQ(collapsed(stats::FirstTimeSql(year)),
              collapsed(QStringLiteral("SELECT DISTINCT Youth_ID, First(Wk_Date) AS FirstWk ") +
                        join +
                        QStringLiteral("WHERE ((Wk_Date Between #10/15/2005# AND #1/15/2007#) "
                                       "AND Youth_Leader = False) GROUP BY Youth_ID ORDER BY "
                                       "First(Wk_Date);")));
    EXPECT_EQ(collapsed(stats::WeeklyAttendanceSql(year)),
              collapsed(QStringLiteral("SELECT Wk_Date, Count(Attend_Youth_ID) AS TotAttendance ") +
                        join +
                        QStringLiteral("WHERE Year([Wk_Date])=2006 AND Youth_Leader = False "
                                       "GROUP BY Wk_Date ORDER BY Wk_Date;")));

    const auto teamGrade = stats::ReadSummaryFilter(
        QStringLiteral("Youth_Team='Blue' AND YearPart=2006 AND Youth_School_Grade=9"), 2024, true);
    EXPECT_TRUE(collapsed(stats::FirstTimeSql(teamGrade))
                    .contains(QLatin1String("WHERE Youth_Team='Blue' AND Youth_School_Grade=9 AND "
                                            "((Wk_Date Between #10/15/2005# AND #1/15/2007#)")));
    EXPECT_TRUE(collapsed(stats::WeeklyAttendanceSql(teamGrade))
                    .endsWith(QLatin1String(
                        "GROUP BY Wk_Date , Youth_Team, Youth_School_Grade HAVING "
                        "Youth_Team='Blue' AND Youth_School_Grade=9 ORDER BY Wk_Date;")));
}

TEST(AttendanceSummary, FirstTimeIsTheEarliestAttendanceInTheWindow)
{
    DataFixture db;
    const auto person = [&](const char* name, testing_support::FieldValues fields = {}) {
        return db.addPerson(QString::fromLatin1(name), QStringLiteral("Test"), fields);
    };
    const int p1 = person("P1");
    const int p2 = person("P2");
    const int p3 = person("P3", {{"Youth_Leader", true}});
    const int p4 = person("P4", {{"Youth_Deleted", true}});
    const int p5 = person("P5");
    const int p6 = person("P6");
    const int p7 = person("P7");
    const int sep25 = db.addMeeting(QDate(2005, 9, 25));
    const int oct14 = db.addMeeting(QDate(2005, 10, 14));
    const int oct15 = db.addMeeting(QDate(2005, 10, 15));
    const int nov6 = db.addMeeting(QDate(2005, 11, 6));
    const int jan15 = db.addMeeting(QDate(2006, 1, 15)); // entered before 1 January's
    const int jan1 = db.addMeeting(QDate(2006, 1, 1));
    const int jan8 = db.addMeeting(QDate(2006, 1, 8));
    db.attend(nov6, {p1});
    db.attend(sep25, {p2});
    db.attend(oct15, {p6});
    db.attend(oct14, {p7});
    db.attend(jan15, {p5}); // saved out of date order
    db.attend(jan1, {p5, p6, p7});
    db.attend(jan8, {p1, p2, p3, p4});

    const SummaryRun r = runSummary(QStringLiteral("YearPart=2006"));
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_EQ(r.layout->CountFirstTimeVisitors(QDate(2006, 1, 1)), 2);  // P5 and P7
    EXPECT_EQ(r.layout->CountFirstTimeVisitors(QDate(2006, 1, 8)), 2);  // P2 and removed P4
    EXPECT_EQ(r.layout->CountFirstTimeVisitors(QDate(2006, 1, 15)), 0); // P5 came before
    EXPECT_EQ(r.layout->CountFirstTimeVisitors(QDate()), 0);

    const auto& points = r.layout->points();
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].WeekDate, QDate(2006, 1, 1));
    EXPECT_EQ(points[0].count, 3);
    EXPECT_EQ(points[1].count, 3); // the leader is left out, the removed person is not
    EXPECT_EQ(points[2].count, 1);

    // The dark red bar is the share of newcomers in the yellow one.
    const auto yellow = barsIn(*r.doc, kFrame, stats::BarYellow());
    const auto red = barsIn(*r.doc, kFrame, stats::BarDarkRed());
    ASSERT_EQ(yellow.size(), 3u);
    ASSERT_EQ(red.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(red[i].left(), yellow[i].left());
        EXPECT_DOUBLE_EQ(red[i].bottom(), kFrame.bottom());
    }
    EXPECT_NEAR(red[0].height(), yellow[0].height() * 2 / 3, 0.01);
    EXPECT_NEAR(red[1].height(), yellow[1].height() * 2 / 3, 0.01);
    EXPECT_DOUBLE_EQ(red[2].height(), 0);
    // Largest count 3: scale 4.
    EXPECT_EQ(scaleCaptions(*r.doc, kFrame), QStringList({"0.8", "1.6", "2.4", "3.2", "4"}));
    EXPECT_NEAR(yellow[0].height(), kFrame.height() * 3 / 4, 0.01);

    // One landscape page; the printer is given back as it was found.
    ASSERT_EQ(r.doc->pageCount(), 1);
    EXPECT_EQ(r.doc->pages()[0].orientation, report::Orientation::Landscape);
    EXPECT_EQ(r.layout->Printer().Orientation(), report::Orientation::Portrait);
    EXPECT_DUMP(*r.doc, "expected/attendance-first-time.dump");
}

TEST(AttendanceSummary, FilterClausesRestrictBothQueriesAndNameTeamAndType)
{
    DataFixture db;
    const int blue =
        db.addPerson("Bea", "Blue", {{"Youth_Team", "Blue"}, {"Youth_School_Grade", code(9)}});
    const int blue10 =
        db.addPerson("Ben", "Blue", {{"Youth_Team", "Blue"}, {"Youth_School_Grade", code(10)}});
    const int red =
        db.addPerson("Rod", "Red", {{"Youth_Team", "Red"}, {"Youth_School_Grade", code(9)}});
    const int mixed = db.addPerson("Ada", "Mixed", {{"Youth_Team", "Youth AND Adults"}});
    const int sunday = db.addMeeting(QDate(2006, 2, 5), {{"Wk_Mtg_Type", "Sunday"}});
    const int club = db.addMeeting(QDate(2006, 2, 8), {{"Wk_Mtg_Type", "Kid's Club"}});
    db.attend(sunday, {blue, blue10, red, mixed});
    db.attend(club, {blue, red});

    const struct {
        const char* condition;
        const char* caption;
        std::vector<std::pair<QDate, int>> points; // date, count
        int firstTimeFeb8;
    } cases[] = {
        {"Youth_Team='Blue' AND YearPart=2006",
         "Report for 2006, Team='Blue'",
         {{QDate(2006, 2, 5), 2}, {QDate(2006, 2, 8), 1}},
         0},
        {"YearPart=2006 AND Youth_School_Grade=9",
         "Report for 2006",
         {{QDate(2006, 2, 5), 2}, {QDate(2006, 2, 8), 2}},
         0},
        {"YearPart=2006 AND Wk_Mtg_Type='Kid''s Club'",
         "Report for 2006, Mtg Type='Kid''s Club'",
         {{QDate(2006, 2, 8), 2}},
         2},
        {"Youth_Team='Youth AND Adults' AND YearPart=2006",
         "Report for 2006, Team='Youth AND Adults'",
         {{QDate(2006, 2, 5), 1}},
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.condition);
        const SummaryRun r = runSummary(QString::fromUtf8(c.condition));
        EXPECT_TRUE(testenv::messages().shown().empty());
        EXPECT_EQ(r.doc->texts(QStringLiteral("ReportYear")).value(0),
                  QString::fromUtf8(c.caption));
        std::vector<std::pair<QDate, int>> points;
        for (const auto& p : r.layout->points())
            points.emplace_back(p.WeekDate, p.count);
        EXPECT_EQ(points, c.points);
        EXPECT_EQ(r.layout->CountFirstTimeVisitors(QDate(2006, 2, 8)), c.firstTimeFeb8);
    }
}

TEST(AttendanceSummary, TwiceWeeklyMeetingsStayInsideTheFrame)
{
    DataFixture db;
    const int ann = db.addPerson("Ann", "Test");
    db.exec(QStringLiteral("BEGIN"));
    for (QDate d(2006, 1, 1); d.addDays(3).year() == 2006; d = d.addDays(7)) {
        db.attend(db.addMeeting(d), {ann});
        db.attend(db.addMeeting(d.addDays(3)), {ann});
    }
    db.exec(QStringLiteral("COMMIT"));

    const SummaryRun r = runSummary(QStringLiteral("YearPart=2006"));
    const std::size_t n = r.layout->points().size();
    ASSERT_EQ(n, 104u);
    const auto bars = barsIn(*r.doc, kFrame, stats::BarYellow());
    ASSERT_EQ(bars.size(), n);
    for (std::size_t i = 0; i < n; ++i) {
        EXPECT_GT(bars[i].width(), 0) << i;
        EXPECT_LE(bars[i].right(), kFrame.right() + 1e-6) << i;
        if (i > 0) {
            EXPECT_GT(bars[i].left(), bars[i - 1].right()) << i;
        }
    }
    // The counts stand in boxes no wider than a bar's share of the frame, clear of each other.
    const auto counts = addedLabelsAtTop(*r.doc, bars[0].top() - 215);
    ASSERT_EQ(counts.size(), n);
    for (std::size_t i = 0; i < n; ++i) {
        EXPECT_LE(counts[i].second.width(), kFrame.width() / double(n) + 1e-6) << i;
        EXPECT_LE(counts[i].second.right(), kFrame.right() + 1e-6) << i;
        if (i > 0) {
            EXPECT_GE(counts[i].second.left(), counts[i - 1].second.right() - 1e-6) << i;
        }
    }
    // Day numbers of two digits do not fit between such bars and are left out; one digit fits.
    const auto days = addedLabelsAtTop(*r.doc, kFrame.bottom() + 288);
    ASSERT_FALSE(days.empty());
    for (const auto& [text, rect] : days)
        EXPECT_EQ(text.size(), 1) << text.toStdString();
    EXPECT_EQ(r.layout->monthBands().size(), 12u);
}

TEST(AttendanceSummary, ACountWiderThanItsRoomPrintsWholeInTheLargestTypeThatFits)
{
    // A year of weekly meetings with a crowd of a hundred at midsummer and at the last one:
    // "100" is wider than the room over one of 52 bars in 8 pt, and the last bar's room is cut
    // at the frame.
    DataFixture db;
    db.exec(QStringLiteral("BEGIN"));
    const int ann = db.addPerson("Ann", "Test");
    std::vector<int> crowd;
    for (int i = 1; i < 100; ++i)
        crowd.push_back(db.addPerson(QStringLiteral("P%1").arg(i), QStringLiteral("Crowd")));
    for (int week = 0; week < 52; ++week) {
        const int meeting = db.addMeeting(QDate(2006, 1, 1).addDays(7 * week));
        db.attend(meeting, {ann});
        if (week == 25 || week == 51) {
            for (const int person : crowd)
                db.addAttendance(person, meeting);
        }
    }
    db.exec(QStringLiteral("COMMIT"));

    const SummaryRun r = runSummary(QStringLiteral("YearPart=2006"));
    const auto bars = barsIn(*r.doc, kFrame, stats::BarYellow());
    ASSERT_EQ(bars.size(), 52u);
    // The count over each bar, as printed.
    std::vector<std::pair<report::TextItem, QRectF>> counts;
    for (const QRectF& bar : bars) {
        for (const report::FoundItem& f : r.doc->items(QString())) {
            const auto* text = std::get_if<report::TextItem>(f.item);
            const QRectF box = localRect(f);
            if (text && std::abs(box.top() - (bar.top() - 215)) < 0.01 &&
                box.left() <= bar.center().x() && bar.center().x() <= box.right())
                counts.emplace_back(*text, box);
        }
    }
    ASSERT_EQ(counts.size(), 52u);
    const double room = kFrame.width() / 52;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& [text, box] = counts[i];
        EXPECT_LE(box.width(), room);
        EXPECT_LE(box.right(), kFrame.right());
        if (i > 0) {
            EXPECT_GE(box.left(), counts[i - 1].second.right());
        }
        // Whole, in the largest type in half points up to 8 that fits the box.
        EXPECT_LE(text.font.size, 8);
        EXPECT_EQ(std::fmod(text.font.size * 2, 1.0), 0.0);
        EXPECT_LE(printedWidth(text.text, text.font), box.width());
        if (text.font.size < 8) {
            report::Font larger = text.font;
            larger.size += 0.5;
            EXPECT_GT(printedWidth(text.text, larger), box.width());
        }
        EXPECT_EQ(text.text, QLatin1String(i == 25 || i == 51 ? "100" : "1"));
    }
    EXPECT_LT(counts[25].first.font.size, 8);
    EXPECT_LT(counts[51].first.font.size, counts[25].first.font.size);
    EXPECT_EQ(counts[0].first.font.size, 8);
}

TEST(AttendanceSummary, WeeklyMeetingsFromMarchHaveBandsForTheirMonthsOnly)
{
    DataFixture db;
    const int ann = db.addPerson("Ann", "Test");
    for (QDate d(2006, 3, 5); d.year() == 2006; d = d.addDays(7)) {
        if (d.month() != 7)
            db.attend(db.addMeeting(d), {ann});
    }

    const SummaryRun r = runSummary(QStringLiteral("YearPart=2006"));
    const auto bars = barsIn(*r.doc, kFrame, stats::BarYellow());
    ASSERT_EQ(bars.size(), r.layout->points().size());
    // 52 meetings would give 121-wide bars; these fewer are wider and start 144 in.
    EXPECT_DOUBLE_EQ(bars.front().left(), kFrame.left() + 144);

    const auto& bands = r.layout->monthBands();
    ASSERT_EQ(bands.size(), 9u); // March to December without July
    EXPECT_DOUBLE_EQ(bands.front().Left, kFrame.left());
    EXPECT_DOUBLE_EQ(bands.back().Right, bars.back().right());
    const auto names = addedLabelsAtTop(*r.doc, kFrame.bottom());
    QStringList months;
    for (const auto& [text, rect] : names)
        months << text;
    EXPECT_EQ(months, QStringList({"Mar", "Apr", "May", "Jun", "Aug", "Sep", "Oct", "Nov", "Dec"}));
}

TEST(AttendanceSummary, AnEmptyYearShowsOneFlatBarWithoutDayOrBand)
{
    DataFixture db;
    const SummaryRun r = runSummary(QStringLiteral("YearPart=2006"));
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_EQ(scaleCaptions(*r.doc, kFrame), QStringList({"0.2", "0.4", "0.6", "0.8", "1"}));
    const auto bars = barsIn(*r.doc, kFrame, stats::BarYellow());
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0], QRectF(504, kFrame.bottom(), 400, 0));
    const auto counts = addedLabelsAtTop(*r.doc, kFrame.bottom() - 215);
    ASSERT_EQ(counts.size(), 1u);
    EXPECT_EQ(counts[0].first, QStringLiteral("0"));
    EXPECT_TRUE(addedLabelsAtTop(*r.doc, kFrame.bottom() + 288).empty());
    EXPECT_TRUE(r.layout->monthBands().empty());
    EXPECT_EQ(r.doc->texts(QStringLiteral("ReportYear")), QStringList({"Report for 2006"}));
}

TEST(AttendanceSummary, AFailingQueryShowsOneMessageAndAnEmptyGraph)
{
    DataFixture db;
    const int ann = db.addPerson("Ann", "Test");
    db.attend(db.addMeeting(QDate(2006, 5, 7)), {ann});

    const SummaryRun r = runSummary(QStringLiteral("YearPart=2006 AND Youth_Nickname='Al'"));
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(testenv::messages().last().text.contains(QLatin1String("2006")));
    EXPECT_EQ(scaleCaptions(*r.doc, kFrame).size(), 5);
    EXPECT_TRUE(barsIn(*r.doc, kFrame).empty());
    EXPECT_TRUE(r.layout->points().empty());
    // A second format of the page adds nothing and asks nothing.
    report::run(*r.layout);
    EXPECT_EQ(testenv::messages().shown().size(), 1u);
}
