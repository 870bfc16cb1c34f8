#include "stats/rptOffering.h"

#include "stats/BarGraph.h"
#include "stats/StoredDesign.h"
#include "shell/ReportParts.h"
#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/ui/Services.h"

using report::Alignment;
using stats::design::StoredLabel;
using stats::design::StoredLine;
using stats::design::StoredShape;

namespace {

constexpr double kListHeadPoints = 11.25;

constexpr StoredLabel kLabels[] = {
    {"Subtitle", 5100, 0, 5640, 300, 12, false, Alignment::Right, ""},
    {"ReportYear", 5100, 300, 5640, 300, 12, false, Alignment::Right, ""},
    {"PrintStamp", 5400, 660, 5340, 300, 8.25, false, Alignment::Right, ""},
    {"YTDLabel", 0, 900, 3300, 360, 12, true, Alignment::Right, ""},
};
constexpr StoredLabel kYearTotal = {"txtYTD", 3360, 900, 1860, 360, 12, true, Alignment::Right, ""};
constexpr StoredLabel kAllYearsLabel = {
    "Label8", 0, 1320, 3300, 360, 12, false, Alignment::Right, "Total Received To-Date:"};
constexpr StoredLabel kAllYearsTotal = {"txtOverall",     3360, 1320, 1860, 360, 12, false,
                                        Alignment::Right, ""};
constexpr StoredLine kRuleAbove = {"Line1", 0, 1740, 10740, 1740};
constexpr StoredLabel kByMonth = {"Label6",         0,          1920, 1440, 360, 12, true,
                                  Alignment::Right, "By Month:"};
constexpr StoredShape kGraphBorder = {"GraphBorder", 2760, 1920, 6720, 1920, false};
constexpr StoredLine kRuleBelow = {"Line2", 0, 4260, 10740, 4260};
constexpr StoredLabel kByWeek = {"Label7",         0,         4320, 1440, 360, 12, true,
                                 Alignment::Right, "By Week:"};

// The heads of the list's three columns, each a date and an amount over an underline; those of
// columns 2 and 3 are moved into place when the page is built.
constexpr const char* kDateHeads[] = {"DateLabel", "DateLabel2", "DateLabel3"};
constexpr const char* kAmountHeads[] = {"AmountLabel", "AmountLabel2", "AmountLabel3"};
constexpr const char* kDateLines[] = {"DateLine", "DateLine2", "DateLine3"};
constexpr const char* kAmountLines[] = {"AmountLine", "AmountLine2", "AmountLine3"};
constexpr double kHeadTop = 4740;
constexpr double kHeadWidth = 1080;
constexpr double kHeadHeight = 240;
constexpr double kDateHeadLeft = 600;
constexpr double kAmountHeadLeft = 1860;
constexpr double kHeadLineY = 5040;

// Graph: bars 144 apart; amounts 215 above the bar's top, month names 144 below the frame.
constexpr double kGap = 144;
constexpr double kAmountAboveBar = 215;
constexpr double kMonthBelowFrame = 144;

// List: columns 2880 apart, lines 230 apart starting 90 under the heads' underline.
constexpr double kColumnStep = 2880;
constexpr double kLineStep = 230;
constexpr double kFirstLineGap = 90;
constexpr double kListPoints = 10;

QString head(const char* name)
{
    return QString::fromLatin1(name);
}

} // namespace

rptOffering::rptOffering()
{
    setCaption(QStringLiteral("Offering Summary"));
    buildDesign();
    // Portrait on the report's own page, whatever the printer was last set to.
    Printer().setOrientation(report::Orientation::Portrait);
    Printer().setMargins(720, 720, 720, 360);

    m_filter = stats::ReadSummaryFilter(program().ReportFilter, ui::today().year(), false);
    const stats::OfferingYears years =
        stats::ReadOfferingYears(m_conn, program().ConnectionString, m_filter);

    report::ControlCollection& header = PageHeader().Controls();
    header.Item<report::Label>(QStringLiteral("ReportYear"))
        .setCaption(stats::SummaryCaption(m_filter));
    header.Item<report::Label>(QStringLiteral("YTDLabel"))
        .setCaption(QStringLiteral("Offering Received in %1:").arg(m_filter.reportYear));
    if (years.failure.isEmpty()) {
        m_totals = stats::SumOfferingYears(years.rows, m_filter.reportYear);
        header.Item<report::TextBox>(QStringLiteral("txtYTD"))
            .setText(stats::CurrencyText(m_totals.year));
        header.Item<report::TextBox>(QStringLiteral("txtOverall"))
            .setText(stats::CurrencyText(m_totals.allYears));
    } else {
        showFailure(QStringLiteral("The offering totals"), years.failure);
    }
    header.Item<report::Label>(QStringLiteral("Subtitle")).setCaption(settings().GroupName());
    header.Item<report::Label>(QStringLiteral("PrintStamp"))
        .setCaption(QStringLiteral("Printed: ") + reportparts::timestampText());

    PageHeader().onFormat([this] { PageHeader_Format(); });
}

void rptOffering::buildDesign()
{
    report::Section& header = PageHeader();
    header.setHeight(14580);
    Detail().setHeight(0);
    PageFooter().setHeight(0);

    reportparts::addTitle(header, {0, 0, 5040, 600}, QStringLiteral("Offering Summary"),
                          Alignment::Left)
        .setFontSize(24);
    for (const StoredLabel& stored : kLabels)
        stats::design::addLabel(header, stored);
    stats::design::addTextBox(header, kYearTotal);
    stats::design::addLabel(header, kAllYearsLabel);
    stats::design::addTextBox(header, kAllYearsTotal);
    stats::design::addLine(header, kRuleAbove);
    stats::design::addLabel(header, kByMonth);
    stats::design::addShape(header, kGraphBorder);
    stats::design::addLine(header, kRuleBelow);
    stats::design::addLabel(header, kByWeek);
    for (int c = 0; c < 3; ++c) {
        stats::design::addLabel(header,
                                {kDateHeads[c], kDateHeadLeft, kHeadTop, kHeadWidth, kHeadHeight,
                                 kListHeadPoints, true, Alignment::Center, "Date"});
        stats::design::addLabel(header,
                                {kAmountHeads[c], kAmountHeadLeft, kHeadTop, kHeadWidth,
                                 kHeadHeight, kListHeadPoints, true, Alignment::Center, "Amount"});
        stats::design::addLine(header, {kDateLines[c], kDateHeadLeft, kHeadLineY,
                                        kDateHeadLeft + kHeadWidth, kHeadLineY});
        stats::design::addLine(header, {kAmountLines[c], kAmountHeadLeft, kHeadLineY,
                                        kAmountHeadLeft + kHeadWidth, kHeadLineY});
    }

    reportparts::addMakerFooter(header, {0, 14340, 10740, 240}, {0, 14340, 3240, 240},
                                {7500, 14340, 3240, 240});
}

void rptOffering::showFailure(const QString& what, const QString& error)
{
    // One message for the report, however many of its queries the same cause breaks.
    if (m_failureShown)
        return;
    m_failureShown = true;
    ui::critical(QStringLiteral("%1 for the offering summary of %2 could not be read and are left "
                                "empty.\n\n%3")
                     .arg(what)
                     .arg(m_filter.reportYear)
                     .arg(error));
}

void rptOffering::PageHeader_Format()
{
    if (m_formatted)
        return;
    m_formatted = true;

    m_conn.Close(); // the meetings are read on a fresh connection
    const stats::OfferingWeeks weeks =
        stats::ReadOfferingWeeks(m_conn, program().ConnectionString, m_filter);
    if (!weeks.failure.isEmpty())
        showFailure(QStringLiteral("The meetings and their offerings"), weeks.failure);
    m_months = stats::SumOfferingMonths(weeks.rows);

    const std::int32_t scaleMax = stats::OfferingScaleMax(m_months.largest);
    const QRectF frame =
        PageHeader().Controls().Item<report::Shape>(QStringLiteral("GraphBorder")).rect();
    stats::AddScaleLines(PageHeader(), frame, scaleMax, stats::WholeDollarText);
    if (weeks.failure.isEmpty())
        showGraph(scaleMax);
    placeListHeads();
    showList(weeks.rows);
}

void rptOffering::showGraph(std::int32_t scaleMax)
{
    report::Section& header = PageHeader();
    const QRectF frame =
        header.Controls().Item<report::Shape>(QStringLiteral("GraphBorder")).rect();
    const stats::BarLayout bars = stats::FitBars(frame, 12, kGap);
    for (int m = 1; m <= 12; ++m) {
        const double amount = stats::MoneyAmount(m_months.totals[std::size_t(m - 1)]);
        const QRectF bar = bars.bar(m, amount, scaleMax);
        stats::AddBar(header, bar, stats::BarDarkRed());
        const QRectF above = bars.captionBox(m, bar.top() - kAmountAboveBar, 0);
        stats::AddGraphLabel(header, above.left(), above.top(), above.width(),
                             stats::WholeDollarText(amount), Alignment::Center);
        const QRectF below = bars.captionBox(m, frame.bottom() + kMonthBelowFrame, 0);
        stats::AddGraphLabel(header, below.left(), below.top(), below.width(),
                             stats::ShortMonthName(m), Alignment::Center);
    }
}

void rptOffering::placeListHeads()
{
    report::ControlCollection& header = PageHeader().Controls();
    for (int c = 1; c < 3; ++c) {
        const auto& datePrevious = header.Item<report::Label>(head(kDateHeads[c - 1]));
        const auto& amountPrevious = header.Item<report::Label>(head(kAmountHeads[c - 1]));
        header.Item<report::Label>(head(kDateHeads[c])).setLeft(datePrevious.Left() + kColumnStep);
        header.Item<report::Label>(head(kAmountHeads[c]))
            .setLeft(amountPrevious.Left() + kColumnStep);
        for (const auto* lines : {kDateLines, kAmountLines}) {
            const auto& previous = header.Item<report::Line>(head(lines[c - 1]));
            auto& line = header.Item<report::Line>(head(lines[c]));
            line.setX1(previous.X1() + kColumnStep);
            line.setX2(previous.X2() + kColumnStep);
        }
    }
}

void rptOffering::showList(const std::vector<stats::WeekOffering>& weeks)
{
    report::ControlCollection& header = PageHeader().Controls();
    const auto& dateHead = header.Item<report::Label>(head(kDateHeads[0]));
    const auto& amountHead = header.Item<report::Label>(head(kAmountHeads[0]));
    const double firstTop = header.Item<report::Line>(head(kDateLines[0])).Y1() + kFirstLineGap;
    const int rows = std::min(int(weeks.size()), stats::kOfferingListRows);
    for (int r = 1; r <= rows; ++r) {
        const stats::WeekOffering& week = weeks[std::size_t(r - 1)];
        const stats::ListPlace place = stats::OfferingListPlace(r);
        const double left = dateHead.Left() + (place.column - 1) * kColumnStep;
        const double top = firstTop + place.line * kLineStep;
        stats::AddGraphLabel(PageHeader(), left, top, dateHead.Width(),
                             shortDateText(data::Variant::date(week.day)), Alignment::Center)
            .setFontSize(kListPoints);
        stats::AddGraphLabel(
            PageHeader(), left + (amountHead.Left() - dateHead.Left()), top, amountHead.Width(),
            week.offering ? stats::CurrencyText(*week.offering) : QString(), Alignment::Center)
            .setFontSize(kListPoints);
    }
}
