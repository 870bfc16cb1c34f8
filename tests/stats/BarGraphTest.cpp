#include "stats/BarGraph.h"
#include "tests/stats/PageInspection.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace stats;

namespace {

// The frames of the three pages' graphs.
const QRectF kAttendFrame(9900, 7380, 4020, 2220);
const QRectF kBirthdaysFrame(5280, 7380, 4020, 2220);
const QRectF kOfferingFrame(2760, 1920, 6720, 1920);
const QRectF kSummaryFrame(360, 1500, 13800, 7440);

QStringList captions(const std::vector<ScaleLine>& lines)
{
    QStringList out;
    for (const ScaleLine& line : lines)
        out << GeneralNumber(line.value);
    return out;
}

std::vector<DatedBar> slotsOf(const BarLayout& bars, const std::vector<QDate>& dates)
{
    std::vector<DatedBar> out;
    for (std::size_t i = 0; i < dates.size(); ++i) {
        const int n = int(i) + 1;
        out.push_back({dates[i], bars.left(n), bars.right(n)});
    }
    return out;
}

// The width of a caption printed in a graph label's font (Arial) at a size.
double widthAt(const QString& text, double points)
{
    report::Font font;
    font.size = points;
    return statstest::printedWidth(text, font);
}

// Weekly dates from a first date.
std::vector<QDate> weekly(const QDate& first, int count)
{
    std::vector<QDate> dates;
    for (int i = 0; i < count; ++i)
        dates.push_back(first.addDays(7 * i));
    return dates;
}

} // namespace

TEST(ScaleLines, FiveLinesUpTheFrameWithTheirValues)
{
    const auto lines = ScaleLines(kAttendFrame, 8, 200);
    ASSERT_EQ(lines.size(), 5u);
    const double ys[] = {9156, 8712, 8268, 7824, 7380};
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(lines[i].tick.y1(), ys[i]);
        EXPECT_DOUBLE_EQ(lines[i].grid.y2(), ys[i]);
        EXPECT_EQ(lines[i].tick, QLineF(9830, ys[i], 9970, ys[i]));
        EXPECT_EQ(lines[i].grid, QLineF(9970, ys[i], 13920, ys[i]));
        // Right-aligned text ending 40 twips left of the tick, raised by a quarter height.
        EXPECT_EQ(lines[i].label, QRectF(8350, ys[i] - 50, 1440, 200));
    }
    // The birthdays frame shares the same rule, 4620 twips to the left.
    EXPECT_EQ(ScaleLines(kBirthdaysFrame, 8, 200)[0].tick, QLineF(5210, 9156, 5350, 9156));
    // The summaries' frame: labels start left of the page edge and end at 250.
    const auto summary = ScaleLines(kSummaryFrame, 20, 200);
    EXPECT_DOUBLE_EQ(summary[0].label.left(), -1190);
    EXPECT_DOUBLE_EQ(summary[0].label.right(), 250);
    EXPECT_DOUBLE_EQ(summary[0].tick.y1(), 7452);
    EXPECT_DOUBLE_EQ(summary[4].tick.y1(), 1500);
}

TEST(ScaleLines, CaptionsAreGeneralNumbers)
{
    EXPECT_EQ(captions(ScaleLines(kAttendFrame, 8, 200)),
              QStringList({"1.6", "3.2", "4.8", "6.4", "8"}));
    EXPECT_EQ(captions(ScaleLines(kAttendFrame, 20, 200)),
              QStringList({"4", "8", "12", "16", "20"}));
    EXPECT_EQ(captions(ScaleLines(kAttendFrame, 1, 200)),
              QStringList({"0.2", "0.4", "0.6", "0.8", "1"}));
    EXPECT_EQ(captions(ScaleLines(kAttendFrame, 3, 200)),
              QStringList({"0.6", "1.2", "1.8", "2.4", "3"}));
    EXPECT_EQ(captions(ScaleLines(kAttendFrame, 7000, 200)),
              QStringList({"1400", "2800", "4200", "5600", "7000"}));
    EXPECT_EQ(GeneralNumber(0), QStringLiteral("0"));
    EXPECT_EQ(GeneralNumber(8.0 / 5 * 3), QStringLiteral("4.8"));
    EXPECT_EQ(GeneralNumber(-2.5), QStringLiteral("-2.5"));
}

TEST(BarLayout, WidthsAndPositionsOfEachGraph)
{
    struct Case {
        const char* what;
        QRectF frame;
        int count;
        double gap;
        double cap;
        double width;
        double firstLeft;
        double lastRight;
    };
    const double none = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"attendance, 12 slots", kAttendFrame, 12, 72, 250, 250, 9972, 13764},
        {"birthdays", kBirthdaysFrame, 12, 72, 250, 250, 5352, 9144},
        {"offering months", kOfferingFrame, 12, 144, none, 416, 2904, 9480},
        {"summary, 1 date (cap)", kSummaryFrame, 1, 144, 400, 400, 504, 904},
        {"summary, 10 dates (cap)", kSummaryFrame, 10, 144, 400, 400, 504, 5800},
        {"summary, 52 dates", kSummaryFrame, 52, 144, 400, 121, 504, 14140},
        {"summary, 49 dates: 137.6 trimmed to 137", kSummaryFrame, 49, 144, 400, 137, 504, 14129},
        {"summary, 80 dates: 28.5 to even", kSummaryFrame, 80, 144, 400, 28, 504, 14120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BarLayout bars = FitBars(c.frame, c.count, c.gap, c.cap);
        EXPECT_DOUBLE_EQ(bars.width, c.width);
        EXPECT_DOUBLE_EQ(bars.gap, c.gap);
        EXPECT_DOUBLE_EQ(bars.left(1), c.firstLeft);
        EXPECT_DOUBLE_EQ(bars.right(c.count), c.lastRight);
    }
    // Ten dates: bar i starts at 544 i - 40.
    const BarLayout ten = FitBars(kSummaryFrame, 10, 144, 400);
    for (int i = 1; i <= 10; ++i)
        EXPECT_DOUBLE_EQ(ten.left(i), 544 * i - 40);
}

TEST(BarLayout, ManyDatesDivideTheFrameEvenly)
{
    // From 95 dates on the gap of 144 leaves no usable bar (95 gives 1 twip, 96 gives 0,
    // 104 a negative width): every bar keeps a real width and stays inside the frame.
    for (const int n : {83, 95, 96, 104, 150, 366}) {
        SCOPED_TRACE(n);
        const BarLayout bars = FitBars(kSummaryFrame, n, 144, 400);
        EXPECT_GE(bars.width, 1);
        EXPECT_GT(bars.gap, 0);
        EXPECT_GT(bars.left(1), kSummaryFrame.left());
        EXPECT_LE(bars.right(n), kSummaryFrame.right() + 1e-6);
        for (int i = 2; i <= n; ++i)
            ASSERT_GT(bars.left(i), bars.right(i - 1)) << i;
    }
    const BarLayout twiceWeekly = FitBars(kSummaryFrame, 104, 144, 400);
    EXPECT_DOUBLE_EQ(twiceWeekly.width, 66);
    EXPECT_NEAR(twiceWeekly.pitch(), 13800.0 / 104, 1e-9);
    // The last formula width still usable.
    EXPECT_DOUBLE_EQ(FitBars(kSummaryFrame, 82, 144, 400).width, 24);
}

TEST(BarLayout, HeightsStandOnTheFrameAndNeverGoNegative)
{
    const BarLayout bars = FitBars(kAttendFrame, 12, 72, 250);
    // A largest count of 7 gives the scale 8: a bar of 4 is half the frame.
    EXPECT_EQ(bars.bar(1, 4, 8), QRectF(9972, 8490, 250, 1110));
    EXPECT_EQ(bars.bar(12, 0, 8), QRectF(13514, 9600, 250, 0));
    EXPECT_DOUBLE_EQ(bars.height(-50, 100), 0);
    EXPECT_DOUBLE_EQ(bars.height(5, 0), 0);
    // A caption box is 144 twips wider than its bar and centred on it.
    EXPECT_EQ(bars.captionBox(1, 8275, 200), QRectF(9900, 8275, 394, 200));
}

TEST(BarLayout, CaptionsFitTheRoomBetweenBars)
{
    const BarLayout weekly = FitBars(kSummaryFrame, 52, 144, 400); // pitch 265
    EXPECT_TRUE(CaptionFits(weekly, 265));
    EXPECT_FALSE(CaptionFits(weekly, 266));
    const BarLayout twiceWeekly = FitBars(kSummaryFrame, 104, 144, 400); // pitch 132.7
    EXPECT_TRUE(CaptionFits(twiceWeekly, 130));
    EXPECT_FALSE(CaptionFits(twiceWeekly, 140));
    const BarLayout ten = FitBars(kSummaryFrame, 10, 144, 400); // box 544, pitch 544
    EXPECT_TRUE(CaptionFits(ten, 544));
    EXPECT_FALSE(CaptionFits(ten, 545));

    // Counts over 49 bars: smaller where they are wider than their room, never below 6 pt,
    // apart from each other and inside the frame.
    const BarLayout many = FitBars(kSummaryFrame, 49, 144, 400);
    const FittedCaption last = FitCaption(many, 49, 1000, 200, QStringLiteral("167"));
    const FittedCaption before = FitCaption(many, 48, 1000, 200, QStringLiteral("1660"));
    const FittedCaption tooWide = FitCaption(many, 49, 1000, 200, QStringLiteral("1670"));
    EXPECT_TRUE(last.fits && before.fits);
    EXPECT_LT(last.points, 8);
    EXPECT_EQ(before.points, 6);
    EXPECT_LE(last.box.right(), kSummaryFrame.right());
    EXPECT_LE(before.box.right(), last.box.left());
    EXPECT_FALSE(tooWide.fits);
    EXPECT_EQ(tooWide.points, 6);
    EXPECT_LE(tooWide.box.right(), kSummaryFrame.right());
    EXPECT_EQ(FitCaption(many, 49, 1000, 200, QStringLiteral("16")).points, 8);

    // A caption's type is the largest in half points, from 8 down, at which it fits its box;
    // the box is no wider than its bar's room and stays clear of its neighbours' and inside the
    // frame.
    const struct {
        int count;
        int bar;
        const char* text;
    } fitted[] = {
        {49, 49, "167"}, {52, 26, "100"}, {52, 52, "100"}, {60, 60, "10"},
        {82, 41, "10"},  {95, 47, "10"},  {104, 52, "1"},  {104, 104, "1"},
    };
    for (const auto& c : fitted) {
        SCOPED_TRACE(std::to_string(c.count) + " bars, bar " + std::to_string(c.bar) + ": " +
                     c.text);
        const BarLayout bars = FitBars(kSummaryFrame, c.count, 144, 400);
        const QString text = QString::fromLatin1(c.text);
        const FittedCaption caption = FitCaption(bars, c.bar, 1000, 200, text);
        ASSERT_TRUE(caption.fits);
        EXPECT_EQ(std::fmod(caption.points * 2, 1.0), 0.0);
        EXPECT_LE(caption.points, 8);
        EXPECT_LE(widthAt(text, caption.points), caption.box.width());
        if (caption.points < 8) {
            EXPECT_GT(widthAt(text, caption.points + 0.5), caption.box.width());
        }
        EXPECT_LE(caption.box.width(), bars.pitch() + 1e-9);
        EXPECT_GE(caption.box.left(), kSummaryFrame.left());
        EXPECT_LE(caption.box.right(), kSummaryFrame.right());
        if (c.bar > 1) {
            EXPECT_LE(FitCaption(bars, c.bar - 1, 1000, 200, text).box.right(),
                      caption.box.left() + 1e-9);
        }
    }
    // Between bars packed closer than the usual gap two digits do not fit even at 6 pt.
    EXPECT_FALSE(FitCaption(twiceWeekly, 52, 1000, 200, QStringLiteral("10")).fits);
}

TEST(MonthBands, RunsOfOneMonthUnderTheBars)
{
    const BarLayout bars = FitBars(kAttendFrame, 12, 72, 250);
    struct Expected {
        int year;
        int month;
        double left;
        double right;
    };
    struct Case {
        const char* what;
        std::vector<QDate> dates; // one per slot; invalid for an empty slot
        std::vector<Expected> bands;
    };
    std::vector<QDate> fiveMeetings(7);
    for (const QDate& d : weekly(QDate(2024, 1, 8), 5))
        fiveMeetings.push_back(d);
    std::vector<QDate> twoMarches(10);
    twoMarches.push_back(QDate(2005, 3, 20));
    twoMarches.push_back(QDate(2006, 3, 19));

    const std::vector<Case> cases = {
        {"five meetings: the first band covers the empty slots",
         fiveMeetings,
         {{2024, 1, 9900, 13514}, {2024, 2, 13514, 13764}}},
        {"late November to early February",
         weekly(QDate(2023, 11, 22), 12),
         {{2023, 11, 9900, 10616},
          {2023, 12, 10616, 11904},
          {2024, 1, 11904, 13514},
          {2024, 2, 13514, 13764}}},
        {"the same month of two years stays apart",
         twoMarches,
         {{2005, 3, 9900, 13514}, {2006, 3, 13514, 13764}}},
        {"no dated bar, no band", std::vector<QDate>(12), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto bands = MonthBands(slotsOf(bars, c.dates), kAttendFrame.left());
        ASSERT_EQ(bands.size(), c.bands.size());
        for (std::size_t i = 0; i < bands.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(bands[i].year, c.bands[i].year);
            EXPECT_EQ(bands[i].month, c.bands[i].month);
            EXPECT_DOUBLE_EQ(bands[i].span.Left, c.bands[i].left);
            EXPECT_DOUBLE_EQ(bands[i].span.Right, c.bands[i].right);
        }
    }
}

TEST(MonthBands, AYearStartingInMarchHasNoJanuaryBandAndMissingMonthsNone)
{
    // Weekly from 5 March, with no meeting in July.
    std::vector<QDate> dates;
    for (const QDate& d : weekly(QDate(2006, 3, 5), 44))
        if (d.month() != 7 && d.year() == 2006)
            dates.push_back(d);
    const BarLayout bars = FitBars(kSummaryFrame, int(dates.size()), 144, 400);
    const auto bands = MonthBands(slotsOf(bars, dates), kSummaryFrame.left());

    QList<int> months;
    for (const MonthBand& b : bands)
        months << b.month;
    EXPECT_EQ(months, QList<int>({3, 4, 5, 6, 8, 9, 10, 11, 12}));
    EXPECT_DOUBLE_EQ(bands.front().span.Left, kSummaryFrame.left());
    // Bands follow each other without gaps or empty boxes; June reaches August's first bar.
    for (std::size_t i = 1; i < bands.size(); ++i) {
        EXPECT_DOUBLE_EQ(bands[i].span.Left, bands[i - 1].span.Right);
        EXPECT_GT(bands[i].span.Right, bands[i].span.Left);
    }
    const auto firstAugust =
        std::find_if(dates.begin(), dates.end(), [](const QDate& d) { return d.month() == 8; });
    EXPECT_DOUBLE_EQ(bands[3].span.Right, bars.left(int(firstAugust - dates.begin()) + 1));
    EXPECT_DOUBLE_EQ(bands.back().span.Right, bars.right(int(dates.size())));
    EXPECT_EQ(ShortMonthName(3), QStringLiteral("Mar"));
}
