#include "stats/rptAttendance.h"

#include "stats/StoredDesign.h"
#include "shell/ReportParts.h"
#include "shell/Helpers.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/ui/Services.h"

#include <algorithm>

using report::Alignment;
using stats::design::StoredLabel;
using stats::design::StoredShape;

namespace {

constexpr StoredLabel kLabels[] = {
    {"Subtitle", 5520, 0, 8580, 300, 12, false, Alignment::Right, ""},
    {"ReportYear", 5520, 300, 8580, 300, 12, false, Alignment::Right, ""},
    {"PrintStamp", 7200, 660, 6900, 300, 8.25, false, Alignment::Right, ""},
};

constexpr StoredShape kGraphBorder = {"GraphBorder", 360, 1500, 13800, 7440, false};

constexpr StoredShape kTotColorLegend = {"TotColorLegend", 360, 9660, 180, 180, false};
constexpr StoredLabel kTotLegendText = {
    "Label6", 600, 9660, 1740, 240, 9, false, Alignment::Left, "- Total Attendance"};
constexpr StoredShape kVisColorLegend = {"VisColorLegend", 2580, 9660, 180, 180, false};
constexpr StoredLabel kVisLegendText = {
    "Label7", 2820, 9660, 2160, 240, 9, false, Alignment::Left, "- First-time Visitors"};
constexpr StoredLabel kLeadersNote = {
    "Label8", 5700, 9660, 3120, 240, 9, false, Alignment::Left, "*This graph excludes Leaders"};

// Bars stand 144 twips apart and are at most 400 wide; the count stands 215 twips above the
// bar's top, the day of the month 288 twips below the frame.
constexpr double kGap = 144;
constexpr double kMaxBarWidth = 400;
constexpr double kCountAboveBar = 215;
constexpr double kDayBelowFrame = 288;

} // namespace

rptAttendance::rptAttendance()
{
    setCaption(QStringLiteral("Attendance Summary"));
    buildDesign();
    Printer().setMargins(720, 720, 720, 720);

    m_filter = stats::ReadSummaryFilter(program().ReportFilter, ui::today().year(), true);
    report::ControlCollection& header = PageHeader().Controls();
    header.Item<report::Label>(QStringLiteral("ReportYear"))
        .setCaption(stats::SummaryCaption(m_filter));
    header.Item<report::Label>(QStringLiteral("Subtitle")).setCaption(settings().GroupName());
    header.Item<report::Label>(QStringLiteral("PrintStamp"))
        .setCaption(QStringLiteral("Printed: ") + reportparts::timestampText());

    PageHeader().onFormat([this] { PageHeader_Format(); });
}

void rptAttendance::buildDesign()
{
    report::Section& header = PageHeader();
    header.setHeight(10455);
    Detail().setHeight(0);
    PageFooter().setHeight(0);

    reportparts::addTitle(header, {0, 0, 5280, 600}, QStringLiteral("Attendance Summary"),
                          Alignment::Left)
        .setFontSize(24);
    for (const StoredLabel& stored : kLabels)
        stats::design::addLabel(header, stored);
    stats::design::addShape(header, kGraphBorder);
    stats::design::addShape(header, kTotColorLegend);
    stats::design::addLabel(header, kTotLegendText);
    stats::design::addShape(header, kVisColorLegend);
    stats::design::addLabel(header, kVisLegendText);
    stats::design::addLabel(header, kLeadersNote);

    reportparts::addMakerFooter(header, {0, 10200, 14040, 240}, {0, 10200, 3240, 240},
                                {10920, 10140, 3120, 240});
}

void rptAttendance::ReportStart()
{
    m_landscape.start(*this, 14112, 10512);
}

void rptAttendance::ReportEnd()
{
    m_landscape.end(*this);
}

std::int32_t rptAttendance::CountFirstTimeVisitors(const QDate& date) const
{
    if (!date.isValid())
        return 0;
    const auto it = m_firstTime.find(date);
    return it == m_firstTime.end() ? 0 : it->second;
}

void rptAttendance::PageHeader_Format()
{
    if (m_formatted)
        return;
    m_formatted = true;

    report::ControlCollection& header = PageHeader().Controls();
    const auto& frameShape = header.Item<report::Shape>(QStringLiteral("GraphBorder"));
    const QRectF frame = frameShape.rect();

    const stats::AttendanceSummaryData data =
        stats::GatherAttendanceSummary(m_conn, program().ConnectionString, m_filter);
    if (!data.failure.isEmpty())
        ui::critical(QStringLiteral("The attendance of %1 could not be read, so the graph is "
                                    "left empty.\n\n%2")
                         .arg(m_filter.reportYear)
                         .arg(data.failure));
    m_points = data.points;
    m_firstTime = stats::FirstTimeCounts(data.firstDates);

    std::int32_t largest = 0;
    for (const stats::AttendancePoint& point : m_points)
        largest = std::max(largest, point.count);
    const std::int32_t scaleMax = ChartScaleMax(largest);
    stats::AddScaleLines(PageHeader(), frame, scaleMax, stats::GeneralNumber);

    if (data.failure.isEmpty()) {
        // A year without attendance still shows its single empty point: a flat bar with "0".
        if (m_points.empty())
            m_points.push_back({});
        showBars(stats::FitBars(frame, int(m_points.size()), kGap, kMaxBarWidth), scaleMax);
    }

    for (const auto& [name, color] : {std::pair{"TotColorLegend", stats::BarYellow()},
                                      std::pair{"VisColorLegend", stats::BarDarkRed()}}) {
        auto& swatch = header.Item<report::Shape>(QString::fromLatin1(name));
        swatch.setBackStyle(report::BackStyle::Opaque);
        swatch.setBackColor(color);
    }
}

void rptAttendance::showBars(const stats::BarLayout& bars, std::int32_t scaleMax)
{
    report::Section& header = PageHeader();
    const double countHeight = stats::DefaultLabelHeight();
    std::vector<stats::DatedBar> dated;
    for (int i = 1; i <= int(m_points.size()); ++i) {
        const stats::AttendancePoint& point = m_points[std::size_t(i - 1)];
        const QRectF bar = bars.bar(i, point.count, scaleMax);
        stats::AddBar(header, bar, stats::BarYellow());

        const double firstTime = stats::FirstTimeHeight(bar.height(), point.count,
                                                        CountFirstTimeVisitors(point.WeekDate));
        stats::AddBar(header,
                      QRectF(bar.left(), bars.frame.bottom() - firstTime, bar.width(), firstTime),
                      stats::BarDarkRed());

        // Captions too wide for the room between bars would run into each other: a count is
        // set smaller, and left out where the bars had to be packed closer and even that is
        // too wide; the day is left out.
        const QString count = QString::number(point.count);
        const stats::FittedCaption fitted =
            stats::FitCaption(bars, i, bar.top() - kCountAboveBar, countHeight, count);
        if (!bars.evenlyDivided || fitted.fits) {
            stats::AddGraphLabel(header, fitted.box.left(), fitted.box.top(), fitted.box.width(),
                                 count, Alignment::Center)
                .setFontSize(fitted.points);
        }
        const QString dayOfMonth =
            point.WeekDate.isValid() ? QString::number(point.WeekDate.day()) : QString();
        if (!dayOfMonth.isEmpty() &&
            stats::CaptionFits(bars, stats::DefaultLabelTextWidth(dayOfMonth))) {
            const QRectF box =
                bars.captionBox(i, bars.frame.bottom() + kDayBelowFrame, countHeight);
            stats::AddGraphLabel(header, box.left(), box.top(), box.width(), dayOfMonth,
                                 Alignment::Center);
        }
        dated.push_back({point.WeekDate, bar.left(), bar.right()});
    }

    const std::vector<stats::MonthBand> bands = stats::MonthBands(dated, bars.frame.left());
    m_bands.clear();
    for (const stats::MonthBand& band : bands)
        m_bands.push_back(band.span);
    stats::AddMonthBands(header, bands, bars.frame.bottom());
}
