#include "stats/BarGraph.h"
#include "stats/OfferingSummary.h"
#include "stats/rptOffering.h"
#include "shell/ProgramState.h"
#include "platform/report/Engine.h"
#include "tests/stats/PageInspection.h"
#include "tests/support/DataFixture.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using testing_support::DataFixture;
using namespace statstest;

namespace {

const QRectF kFrame(2760, 1920, 6720, 1920);
// The list's first line and the left edge of each column's dates.
constexpr double kFirstLine = 5130;
constexpr double kDateLefts[] = {600, 3480, 6360};

struct OfferingRun {
    std::shared_ptr<rptOffering> layout;
    std::shared_ptr<const report::Document> doc;

    QString text(const char* control) const
    {
        return doc->texts(QString::fromLatin1(control)).value(0);
    }
};

OfferingRun runOffering(const QString& condition)
{
    program().ReportFilter = condition;
    OfferingRun r;
    r.layout = std::make_shared<rptOffering>();
    program().ReportFilter.clear();
    r.doc = report::run(*r.layout);
    return r;
}

int meeting(DataFixture& db, const QDate& date, const data::Variant& offering,
            const char* type = "Sunday")
{
    return db.addMeeting(date, {{"Wk_Offering", offering}, {"Wk_Mtg_Type", type}});
}

QString collapsed(QString sql)
{
    return sql.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")).trimmed();
}

} // namespace

TEST(OfferingMoney, ExactSumsAndTheirTexts)
{
    EXPECT_EQ(stats::ToMoney(data::Variant::currency(0.1)), 1000);
    EXPECT_EQ(stats::ToMoney(data::Variant(1234.5678)), 12345678);
    EXPECT_EQ(stats::ToMoney(data::Variant::null()), std::nullopt);
    EXPECT_EQ(stats::ToMoney(data::Variant("lots")), std::nullopt);

    // Three offerings of 0.10 make 0.30 exactly, in one month and in the totals.
    const std::vector<stats::WeekOffering> weeks = {
        {3, 0, stats::ToMoney(0.1)}, {3, 0, stats::ToMoney(0.1)}, {3, 0, stats::ToMoney(0.1)}};
    EXPECT_EQ(stats::SumOfferingMonths(weeks).totals[2], 3000);
    EXPECT_EQ(stats::CurrencyText(3000), QStringLiteral("$0.30"));

    const struct {
        double amount;
        const char* text;
    } whole[] = {{0, "$0"},
                 {0.2, "$0"},
                 {0.6, "$1"},
                 {1234.56, "$1,235"},
                 {40000, "$40,000"},
                 {-50.25, "-$50"},
                 {2500000, "$2,500,000"}};
    for (const auto& w : whole)
        EXPECT_EQ(stats::WholeDollarText(w.amount), QString::fromLatin1(w.text)) << w.amount;
    EXPECT_EQ(stats::CurrencyText(12345000), QStringLiteral("$1,234.50"));
}

TEST(OfferingMoney, LargestMonthAndScale)
{
    const auto month = [](int m, double amount) {
        return stats::WeekOffering{m, 0, stats::ToMoney(amount)};
    };
    struct Case {
        const char* what;
        std::vector<stats::WeekOffering> weeks;
        std::int64_t largest;
        std::int32_t scale;
    };
    const Case cases[] = {
        {"no meetings", {}, 0, 1},
        {"$1,234.56", {month(5, 1000), month(5, 234.56), month(6, 10)}, 1235, 2000},
        {"rounded up so that the bar stays inside", {month(1, 100.40)}, 101, 200},
        {"above $32,767", {month(2, 30000), month(2, 10000)}, 40000, 40000},
        {"a negative month", {month(3, -50), month(4, 20)}, 20, 20},
        {"a refund after the largest total", {month(1, 500), month(1, -450)}, 500, 500},
        {"an empty offering adds nothing", {{7, 0, std::nullopt}, month(7, 8)}, 8, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const stats::MonthlyOfferings months = stats::SumOfferingMonths(c.weeks);
        EXPECT_EQ(months.largest, c.largest);
        EXPECT_EQ(stats::OfferingScaleMax(months.largest), c.scale);
    }
    EXPECT_EQ(stats::SumOfferingMonths({month(1, 500), month(1, -450)}).totals[0], 500000);
}

TEST(OfferingMoney, ListPlacesThreeColumnsOfForty)
{
    const struct {
        int row;
        int column;
        int line;
    } cases[] = {{1, 1, 0}, {40, 1, 39}, {41, 2, 0}, {80, 2, 39}, {81, 3, 0}, {120, 3, 39}};
    for (const auto& c : cases) {
        const stats::ListPlace p = stats::OfferingListPlace(c.row);
        EXPECT_EQ(p.column, c.column) << c.row;
        EXPECT_EQ(p.line, c.line) << c.row;
    }
}

TEST(OfferingSummary, QueriesTakeTheMeetingTypeEverywhere)
{
    const auto filter = stats::ReadSummaryFilter(
        QStringLiteral("YearPart=2006 AND Wk_Mtg_Type='Sunday'"), 2024, false);
    EXPECT_EQ(collapsed(stats::YearlyOfferingSql(filter)),
              QStringLiteral("SELECT Year([Wk_Date]) AS YearPart, Sum(Weeks.Wk_Offering) AS "
                             "SumOfWk_Offering FROM Weeks GROUP BY Year([Wk_Date]), Wk_Mtg_Type "
                             "HAVING Wk_Mtg_Type='Sunday' ORDER BY Year([Wk_Date]);"));
    EXPECT_EQ(collapsed(stats::WeeklyOfferingSql(filter)),
              QStringLiteral("SELECT Month([Wk_Date]) AS MonthPart, Wk_Offering AS WeekOffering, "
                             "Wk_Date FROM Weeks WHERE Year([Wk_Date])=2006 AND "
                             "Wk_Mtg_Type='Sunday' ORDER BY Wk_Date;"));
}

TEST(OfferingSummary, TotalsGraphAndListOfOneYearAndType)
{
    DataFixture db;
    meeting(db, QDate(2005, 6, 5), 100);
    meeting(db, QDate(2005, 12, 31), 0.1);
    meeting(db, QDate(2006, 1, 1), 0.1);
    meeting(db, QDate(2006, 1, 8), 0.1);
    meeting(db, QDate(2006, 1, 15), data::Variant::null());
    meeting(db, QDate(2006, 5, 7), 1000);
    meeting(db, QDate(2006, 5, 14), 234.46);
    meeting(db, QDate(2006, 5, 10), 999, "Bible Study");
    const int newYearsEve = meeting(db, QDate(2006, 12, 31), 66);
    db.exec(QStringLiteral("UPDATE Weeks SET Wk_Date = Wk_Date + 0.75 WHERE Wk_ID = %1")
                .arg(newYearsEve)); // an evening meeting: its year and date without the time
    meeting(db, QDate(2007, 1, 1), 5);
    meeting(db, QDate(2008, 3, 3), data::Variant::null()); // a year of empty offerings

    const OfferingRun r = runOffering(QStringLiteral("YearPart=2006 AND Wk_Mtg_Type='Sunday'"));
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_EQ(r.text("ReportYear"), QStringLiteral("Report for 2006, Mtg Type='Sunday'"));
    EXPECT_EQ(r.text("YTDLabel"), QStringLiteral("Offering Received in 2006:"));
    EXPECT_EQ(r.text("txtYTD"), QStringLiteral("$1,300.66"));
    EXPECT_EQ(r.text("txtOverall"), QStringLiteral("$1,405.76")); // Sunday meetings of all years

    // Months: January 0.20, May 1,234.46, December 66; largest 1,235, scale 2,000.
    EXPECT_EQ(r.layout->months().totals[0], 2000);
    EXPECT_EQ(r.layout->months().totals[4], 12344600);
    EXPECT_EQ(scaleCaptions(*r.doc, kFrame),
              QStringList({"$400", "$800", "$1,200", "$1,600", "$2,000"}));
    const auto bars = barsIn(*r.doc, kFrame, stats::BarDarkRed());
    ASSERT_EQ(bars.size(), 12u);
    EXPECT_NEAR(bars[4].height(), 1920 * 1234.46 / 2000, 0.01);
    EXPECT_EQ(bars[0].left(), 2904);
    EXPECT_EQ(bars[11].right(), 9480);
    const auto months = addedLabelsAtTop(*r.doc, kFrame.bottom() + 144);
    ASSERT_EQ(months.size(), 12u);
    EXPECT_EQ(months[0].first, QStringLiteral("Jan"));
    EXPECT_EQ(months[11].first, QStringLiteral("Dec"));

    // The list: the year's Sunday meetings in date order; no amount for an empty offering.
    EXPECT_EQ(addedTextsAt(*r.doc, 600), QStringList({"1/1/2006", "1/8/2006", "1/15/2006",
                                                      "5/7/2006", "5/14/2006", "12/31/2006"}));
    EXPECT_EQ(addedTextsAt(*r.doc, 1860),
              QStringList({"$0.10", "$0.10", "", "$1,000.00", "$234.46", "$66.00"}));
    // The heads of columns 2 and 3 stand 2880 and 5760 to the right.
    for (const auto& [name, left] :
         {std::pair{"DateLabel2", 3480.0}, std::pair{"DateLabel3", 6360.0},
          std::pair{"AmountLabel2", 4740.0}, std::pair{"AmountLabel3", 7620.0}})
        EXPECT_DOUBLE_EQ(localRect(r.doc->items(QString::fromLatin1(name)).at(0)).left(), left)
            << name;
    EXPECT_EQ(r.layout->Printer().Orientation(), report::Orientation::Portrait);
    ASSERT_EQ(r.doc->pageCount(), 1);
    EXPECT_EQ(r.doc->pages()[0].orientation, report::Orientation::Portrait);
    EXPECT_DUMP(*r.doc, "expected/offering-one-year-of-sundays.dump");
}

TEST(OfferingSummary, TheListStopsAt120MeetingsButTheSumsDoNot)
{
    DataFixture db;
    db.exec(QStringLiteral("BEGIN"));
    QDate d(2006, 1, 1);
    for (int i = 0; i < 130; ++i, d = d.addDays(2))
        meeting(db, d, 1);
    db.exec(QStringLiteral("COMMIT"));

    const OfferingRun r = runOffering(QStringLiteral("YearPart=2006"));
    EXPECT_EQ(r.text("txtYTD"), QStringLiteral("$130.00"));
    std::int64_t graphed = 0;
    for (const stats::Money m : r.layout->months().totals)
        graphed += m;
    EXPECT_EQ(graphed, 130 * stats::kMoneyUnit);

    int dates = 0;
    for (const double left : kDateLefts)
        dates += int(addedTextsAt(*r.doc, left).size());
    EXPECT_EQ(dates, 120);
    // Meeting 41 opens column 2 at the first line, meeting 81 column 3.
    const auto firstLine = addedLabelsAtTop(*r.doc, kFirstLine);
    QStringList starts;
    for (const auto& [text, rect] : firstLine) {
        if (rect.width() == 1080 &&
            (rect.left() == 600 || rect.left() == 3480 || rect.left() == 6360))
            starts << text;
    }
    EXPECT_EQ(starts, QStringList({"1/1/2006", "3/22/2006", "6/10/2006"}));
    EXPECT_EQ(addedTextsAt(*r.doc, 6360).last(), QStringLiteral("8/27/2006")); // meeting 120
    const auto lastLine = addedLabelsAtTop(*r.doc, kFirstLine + 39 * 230);
    EXPECT_EQ(lastLine.size(), 6u); // line 40 of each column: date and amount
}

TEST(OfferingSummary, LargeAndNegativeMonthsStayInsideTheFrame)
{
    DataFixture db;
    meeting(db, QDate(2006, 2, 5), 30000);
    meeting(db, QDate(2006, 2, 12), 10000);
    meeting(db, QDate(2006, 3, 5), -50);

    const OfferingRun r = runOffering(QStringLiteral("YearPart=2006"));
    EXPECT_EQ(scaleCaptions(*r.doc, kFrame).last(), QStringLiteral("$40,000"));
    const auto bars = barsIn(*r.doc, kFrame, stats::BarDarkRed());
    ASSERT_EQ(bars.size(), 12u);
    EXPECT_DOUBLE_EQ(bars[1].top(), kFrame.top()); // the largest month fills the frame
    EXPECT_DOUBLE_EQ(bars[2].height(), 0);
    const auto amounts = addedLabelsAtTop(*r.doc, kFrame.bottom() - 215);
    QStringList flat;
    for (const auto& [text, rect] : amounts)
        flat << text;
    EXPECT_TRUE(flat.contains(QStringLiteral("-$50")));
    EXPECT_EQ(r.text("txtYTD"), QStringLiteral("$39,950.00"));
}

TEST(OfferingSummary, AnEmptyYearDrawsTwelveFlatBars)
{
    DataFixture db;
    meeting(db, QDate(2005, 3, 3), 10);
    const OfferingRun r = runOffering(QStringLiteral("YearPart=2006"));
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_EQ(r.text("txtYTD"), QStringLiteral("$0.00"));
    EXPECT_EQ(r.text("txtOverall"), QStringLiteral("$10.00"));
    EXPECT_EQ(scaleCaptions(*r.doc, kFrame), QStringList({"$0", "$0", "$1", "$1", "$1"}));
    const auto amounts = addedLabelsAtTop(*r.doc, kFrame.bottom() - 215);
    ASSERT_EQ(amounts.size(), 12u);
    for (const auto& [text, rect] : amounts)
        EXPECT_EQ(text, QStringLiteral("$0"));
    EXPECT_TRUE(addedTextsAt(*r.doc, 600).isEmpty());
}

TEST(OfferingSummary, ABrokenConditionShowsOneMessageAndEnds)
{
    DataFixture db;
    meeting(db, QDate(2006, 3, 3), 10);
    const OfferingRun r = runOffering(QStringLiteral("YearPart=2006 AND Wk_Kind='Sunday'"));
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_EQ(r.text("txtYTD"), QString());
    EXPECT_EQ(scaleCaptions(*r.doc, kFrame).size(), 5);
    EXPECT_TRUE(barsIn(*r.doc, kFrame).empty());
    EXPECT_TRUE(addedTextsAt(*r.doc, 600).isEmpty());
}
