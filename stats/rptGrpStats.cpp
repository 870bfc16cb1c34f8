#include "stats/rptGrpStats.h"

#include "stats/StoredDesign.h"
#include "shell/ReportParts.h"
#include "shell/Conversions.h"
#include "shell/Helpers.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/ui/Services.h"

#include <algorithm>

using report::Alignment;

namespace {

using stats::design::addLabel;
using stats::design::addLine;
using stats::design::addShape;
using stats::design::StoredLabel;
using stats::design::StoredLine;
using stats::design::StoredShape;

constexpr double kGridPoints = 9.75;
constexpr double kHeadingPoints = 12;
constexpr double kNotePoints = 9;

constexpr StoredLabel kTopLabels[] = {
    {"Subtitle", 8700, 0, 5340, 300, 12, false, Alignment::Right, ""},
    {"PrintStamp", 8700, 300, 5340, 300, 8.25, false, Alignment::Right, ""},
    {"Label25", 60, 1140, 4800, 360, 14.25, true, Alignment::Center, "Stats Summary"},
};

constexpr StoredShape kGridShapes[] = {
    {"Shape6", 60, 1500, 4800, 8100, false}, {"Shape7", 180, 1680, 4560, 1440, false},
    {"Shape8", 180, 1680, 4560, 360, true},  {"Shape9", 180, 1680, 960, 1440, true},
    {"Shape10", 180, 3300, 4560, 360, true},
};

constexpr StoredLabel kGridHeads[] = {
    {"Label29", 1140, 1740, 900, 300, kGridPoints, true, Alignment::Center, "Active"},
    {"Label30", 2040, 1740, 900, 300, kGridPoints, true, Alignment::Center, "Away"},
    {"Label31", 2940, 1740, 900, 300, kGridPoints, true, Alignment::Center, "Inactive"},
    {"Label32", 3840, 1740, 900, 300, kGridPoints, true, Alignment::Center, "TOTAL"},
    {"Label26", 180, 2100, 900, 300, kGridPoints, true, Alignment::Center, "Member"},
    {"Label27", 180, 2460, 900, 300, kGridPoints, true, Alignment::Center, "Visitor"},
    {"Label28", 180, 2820, 900, 300, kGridPoints, true, Alignment::Center, "TOTAL"},
};

constexpr StoredLine kGridLines[] = {
    {"Line1", 180, 2040, 4740, 2040},  {"Line2", 180, 2400, 4740, 2400},
    {"Line3", 180, 2760, 4740, 2760},  {"Line4", 1140, 1680, 1140, 3120},
    {"Line5", 2040, 1680, 2040, 3120}, {"Line6", 2940, 1680, 2940, 3120},
    {"Line7", 3840, 1680, 3840, 3120},
};

// The grid's cells: rows Mbr, Vis, Tot at tops 2100, 2460, 2820; columns 1, 2, 3 and the
// row total at lefts 1200, 2100, 3000, 3900. Totals are bold.
constexpr const char* kCellRows[] = {"Mbr", "Vis", "Tot"};
constexpr double kCellRowTops[] = {2100, 2460, 2820};
constexpr double kCellLefts[] = {1200, 2100, 3000, 3900};
constexpr double kCellWidth = 840;
constexpr double kCellHeight = 300;

constexpr StoredLabel kSchoolHeads[] = {
    {"lblSchoolHdr", 300, 3360, 3420, 300, kGridPoints, true, Alignment::Left, "School Name"},
    {"lblSchoolCountHdr", 3900, 3360, 780, 300, kGridPoints, true, Alignment::Right, "Count"},
};

constexpr StoredLine kSchoolFrame[] = {
    {"School_Left", 180, 3300, 180, 3720},
    {"School_Middle", 3840, 3300, 3840, 3720},
    {"School_Right", 4740, 3300, 4740, 3720},
    {"School_Bottom", 180, 3720, 4740, 3720},
};

// Each chart's heading, chart, frame and note, and each graph's heading, frame and note.
struct ChartDesign {
    StoredLabel heading;
    const char* chart; // none for the bar graphs
    QRectF chartRect;
    StoredShape frame;
    StoredLabel note;
};

const ChartDesign kCharts[] = {
    {{"Label10", 5340, 1200, 4020, 300, kHeadingPoints, false, Alignment::Center,
      "Gender Distribution"},
     "GenderChart",
     {5400, 1080, 3960, 2520},
     {"Shape2", 5340, 1500, 4020, 2220, false},
     {"Label11", 5460, 3420, 3600, 240, kNotePoints, false, Alignment::Center,
      "Excludes leaders & inactive members"}},
    {{"Label12", 9840, 1200, 4020, 300, kHeadingPoints, false, Alignment::Center,
      "Status Distribution"},
     "StatusChart",
     {9840, 1080, 4020, 2460},
     {"Shape3", 9840, 1500, 4020, 2220, false},
     {"Label13", 9960, 3420, 3840, 240, kNotePoints, false, Alignment::Center,
      "Includes all members & visitors"}},
    {{"Label21", 5280, 4140, 4020, 300, kHeadingPoints, false, Alignment::Center,
      "Age Distribution"},
     "AgeChart",
     {5280, 4020, 4020, 2460},
     {"Shape4", 5280, 4440, 4020, 2220, false},
     {"Label22", 5400, 6360, 3840, 240, kNotePoints, false, Alignment::Center,
      "Excludes inactive members"}},
    {{"Label23", 9900, 4140, 4020, 300, kHeadingPoints, false, Alignment::Center,
      "Team Distribution"},
     "TeamChart",
     {9900, 4020, 4020, 2460},
     {"Shape5", 9900, 4440, 4020, 2220, false},
     {"Label24", 10020, 6360, 3840, 240, kNotePoints, false, Alignment::Center,
      "Excludes inactive members"}},
    {{"Label19", 5280, 7080, 4020, 300, kHeadingPoints, false, Alignment::Center,
      "Birthdays Each Month"},
     nullptr,
     {},
     {"GraphBorder_Birthdays", 5280, 7380, 4020, 2220, false},
     {"Label20", 5280, 9900, 4020, 240, kNotePoints, false, Alignment::Center,
      "Excludes inactive members"}},
    {{"Label9", 9900, 7080, 4020, 300, kHeadingPoints, false, Alignment::Center,
      "Attendance: Last 12 Meetings"},
     nullptr,
     {},
     {"GraphBorder_Attend", 9900, 7380, 4020, 2220, false},
     {"Label8", 9900, 9900, 3120, 240, kNotePoints, false, Alignment::Center, "Excludes leaders"}},
};

// A chart's stored rectangle reaches over its heading and its note; it is drawn in the part
// of that rectangle which lies in its frame above the note, so that both stay readable.
QRectF chartBounds(const ChartDesign& d)
{
    const QRectF room(d.frame.left, d.frame.top, d.frame.width, d.note.top - d.frame.top);
    return d.chartRect.intersected(room);
}

// Bars of both graphs: 72 twips apart, at most 250 wide; captions above the attendance bars
// stand 215 twips above the bar's top.
constexpr double kGraphGap = 72;
constexpr double kGraphMaxBarWidth = 250;
constexpr double kCountAboveBar = 215;

const QString kPrintedPrefix = QStringLiteral("Printed: ");

QString cellName(int row, int column)
{
    const QString prefix = QString::fromLatin1(kCellRows[row]);
    return column < 3 ? prefix + QString::number(column + 1) : prefix + QStringLiteral("Tot");
}

} // namespace

rptGrpStats::rptGrpStats()
{
    setCaption(QStringLiteral("Group Stats"));
    buildDesign();
    report::ControlCollection& header = PageHeader().Controls();
    header.Item<report::Label>(QStringLiteral("Subtitle")).setCaption(settings().GroupName());
    header.Item<report::Label>(QStringLiteral("PrintStamp"))
        .setCaption(kPrintedPrefix + ToString(data::Variant::date(ui::today()), QString()));

    PageHeader().onFormat([this] { PageHeader_Format(); });
}

void rptGrpStats::buildDesign()
{
    report::Section& header = PageHeader();
    header.setHeight(10656);
    Detail().setHeight(0);
    PageFooter().setHeight(0);

    reportparts::addTitle(header, {0, 0, 5280, 600}, QStringLiteral("Group Stats"), Alignment::Left)
        .setFontSize(24);
    for (const StoredLabel& d : kTopLabels)
        addLabel(header, d);
    for (const StoredShape& d : kGridShapes)
        addShape(header, d);
    for (const StoredLabel& d : kGridHeads)
        addLabel(header, d);
    for (const StoredLine& d : kGridLines)
        addLine(header, d);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const bool total = row == 2 || column == 3;
            auto& cell = header.Controls().add<report::Label>(cellName(row, column));
            cell.setBounds(kCellLefts[column], kCellRowTops[row], kCellWidth, kCellHeight);
            cell.setFontSize(kGridPoints);
            cell.setFontBold(total);
            cell.setAlignment(Alignment::Center);
            cell.setCaption(QStringLiteral("0"));
        }
    }
    for (const StoredLabel& d : kSchoolHeads)
        addLabel(header, d);
    for (const StoredLine& d : kSchoolFrame)
        addLine(header, d);
    for (const ChartDesign& d : kCharts) {
        addLabel(header, d.heading);
        if (d.chart) {
            const QRectF r = chartBounds(d);
            header.Controls()
                .add<report::Chart>(QString::fromLatin1(d.chart))
                .setBounds(r.left(), r.top(), r.width(), r.height());
        }
        addShape(header, d.frame);
        addLabel(header, d.note);
    }
    reportparts::addMakerFooter(header, {0, 10320, 14160, 240}, {0, 10320, 3240, 240},
                                {10920, 10260, 3240, 240});
}

void rptGrpStats::ReportStart()
{
    m_landscape.start(*this, 14256, 10656);
}

void rptGrpStats::ReportEnd()
{
    m_landscape.end(*this);
}

QRectF rptGrpStats::frameOf(const QString& shape)
{
    return PageHeader().Controls().Item<report::Shape>(shape).rect();
}

void rptGrpStats::PageHeader_Format()
{
    if (mFormatted)
        return;
    // Marked first, so that nothing can build the page a second time.
    mFormatted = true;

    const stats::GroupStatsData data = stats::GatherGroupStats(mConn, program().ConnectionString);
    if (!data.failed.empty())
        ui::critical(stats::GroupStatsFailureText(data));

    showGrid(data);
    showSchools(data);
    showAttendance(data);
    showBirthdays(data);
    showCharts(data);
}

void rptGrpStats::showGrid(const stats::GroupStatsData& data)
{
    report::ControlCollection& header = PageHeader().Controls();
    const bool ok = data.ok(stats::GroupStatsPart::Grid);
    const stats::SummaryGrid grid = stats::CountSummaryGrid(data.grid);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            std::int32_t value = 0;
            if (row == 0)
                value = column < 3 ? grid.members[std::size_t(column + 1)] : grid.memberTotal();
            else if (row == 1)
                value = column < 3 ? grid.visitors[std::size_t(column + 1)] : grid.visitorTotal();
            else
                value = column < 3 ? grid.total(column + 1) : grid.grandTotal();
            header.Item<report::Label>(cellName(row, column))
                .setCaption(ok ? QString::number(value) : QString());
        }
    }
}

void rptGrpStats::PositionSchoolLabels(const QString& school, std::int32_t count, std::int16_t row)
{
    report::ControlCollection& header = PageHeader().Controls();
    const auto& nameHead = header.Item<report::Label>(QStringLiteral("lblSchoolHdr"));
    const auto& countHead = header.Item<report::Label>(QStringLiteral("lblSchoolCountHdr"));
    const double top = stats::SchoolRowTop(nameHead.Top(), nameHead.Height(), row);
    stats::AddGraphLabel(PageHeader(), nameHead.Left(), top, nameHead.Width(), school,
                         Alignment::Left);
    stats::AddGraphLabel(PageHeader(), countHead.Left(), top, countHead.Width(),
                         QString::number(count), Alignment::Right);
}

void rptGrpStats::showSchools(const stats::GroupStatsData& data)
{
    report::ControlCollection& header = PageHeader().Controls();
    const auto& nameHead = header.Item<report::Label>(QStringLiteral("lblSchoolHdr"));
    const double rowHeight = stats::DefaultLabelHeight();
    const int capacity =
        stats::SchoolTableCapacity(stats::SchoolRowTop(nameHead.Top(), nameHead.Height(), 1),
                                   rowHeight, frameOf(QStringLiteral("Shape6")).bottom());
    const std::vector<stats::NameCount> rows = stats::SchoolRows(data.schools, capacity);
    for (std::size_t i = 0; i < rows.size(); ++i)
        PositionSchoolLabels(rows[i].name, rows[i].count, std::int16_t(i + 1));
    if (rows.empty())
        return;

    // The frame reaches down to the bottom of the last row.
    const auto& lastCount = header.Item(header.Count() - 1);
    auto& left = header.Item<report::Line>(QStringLiteral("School_Left"));
    auto& middle = header.Item<report::Line>(QStringLiteral("School_Middle"));
    auto& right = header.Item<report::Line>(QStringLiteral("School_Right"));
    auto& bottom = header.Item<report::Line>(QStringLiteral("School_Bottom"));
    left.setY2(lastCount.Top() + lastCount.Height());
    middle.setY2(left.Y2());
    right.setY2(left.Y2());
    bottom.setPoints(left.X1(), left.Y2(), right.X1(), left.Y2());
}

void rptGrpStats::Bargraph_Draw_H_Lines(const report::Shape& frame, std::int32_t scaleMax)
{
    stats::AddScaleLines(PageHeader(), frame.rect(), scaleMax, stats::GeneralNumber);
}

void rptGrpStats::showAttendance(const stats::GroupStatsData& data)
{
    if (!data.ok(stats::GroupStatsPart::Attendance))
        return;
    const auto& frameShape =
        PageHeader().Controls().Item<report::Shape>(QStringLiteral("GraphBorder_Attend"));
    const QRectF frame = frameShape.rect();

    mAttend = stats::LastMeetingSlots(data.lastMeetings);
    std::int32_t largest = 0;
    for (const stats::AttendancePoint& point : mAttend)
        largest = std::max(largest, point.count);
    const std::int32_t scaleMax = ChartScaleMax(largest);
    Bargraph_Draw_H_Lines(frameShape, scaleMax);
    if (data.lastMeetings.empty())
        return; // the frame and its scale only

    const stats::BarLayout bars =
        stats::FitBars(frame, stats::kAttendanceSlots, kGraphGap, kGraphMaxBarWidth);
    std::vector<stats::DatedBar> dated;
    for (int i = 1; i <= stats::kAttendanceSlots; ++i) {
        const stats::AttendancePoint& point = mAttend[std::size_t(i - 1)];
        const QRectF bar = bars.bar(i, point.count, scaleMax);
        stats::AddBar(PageHeader(), bar, stats::BarYellow());
        const QRectF box = bars.captionBox(i, bar.top() - kCountAboveBar, 0);
        stats::AddGraphLabel(PageHeader(), box.left(), box.top(), box.width(),
                             point.count == 0 ? QStringLiteral(" ") : QString::number(point.count),
                             Alignment::Center);
        dated.push_back({point.WeekDate, bar.left(), bar.right()});
    }

    const std::vector<stats::MonthBand> bands = stats::MonthBands(dated, frame.left());
    mBarSpan.clear();
    for (const stats::MonthBand& band : bands)
        mBarSpan.push_back(band.span);
    stats::AddMonthBands(PageHeader(), bands, frame.bottom());
}

void rptGrpStats::showBirthdays(const stats::GroupStatsData& data)
{
    if (!data.ok(stats::GroupStatsPart::Birthdays))
        return;
    const auto& frameShape =
        PageHeader().Controls().Item<report::Shape>(QStringLiteral("GraphBorder_Birthdays"));
    const QRectF frame = frameShape.rect();

    const std::array<std::int32_t, 12> months = stats::BirthdaysByMonth(data.birthDays);
    mAgeCount = stats::CountAges(data.birthDays);
    std::int32_t largest = *std::max_element(months.begin(), months.end());
    const std::int32_t scaleMax = ChartScaleMax(largest);
    Bargraph_Draw_H_Lines(frameShape, scaleMax);

    const stats::BarLayout bars = stats::FitBars(frame, 12, kGraphGap, kGraphMaxBarWidth);
    for (int m = 1; m <= 12; ++m) {
        const QRectF bar = bars.bar(m, months[std::size_t(m - 1)], scaleMax);
        stats::AddBar(PageHeader(), bar, stats::BarYellow());
        const QRectF box = bars.captionBox(m, bar.bottom(), 0);
        stats::AddGraphLabel(PageHeader(), box.left(), box.top(), box.width(),
                             stats::ShortMonthName(m), Alignment::Center);
    }
}

void rptGrpStats::showCharts(const stats::GroupStatsData& data)
{
    report::ControlCollection& header = PageHeader().Controls();
    const auto show = [&](const char* chart, stats::GroupStatsPart part, auto&& table) {
        if (data.ok(part))
            header.Item<report::Chart>(QString::fromLatin1(chart)).setData(table());
    };
    show("GenderChart", stats::GroupStatsPart::Genders,
         [&] { return stats::GenderChart(data.genders); });
    show("StatusChart", stats::GroupStatsPart::Statuses,
         [&] { return stats::StatusChart(data.statuses); });
    show("AgeChart", stats::GroupStatsPart::Birthdays, [&] { return stats::AgeChart(mAgeCount); });
    show("TeamChart", stats::GroupStatsPart::Teams, [&] { return stats::TeamChart(data.teams); });
}

const report::ChartData& rptGrpStats::chartData(const QString& chart) const
{
    return section(QStringLiteral("PageHeader"))->Controls().Item<report::Chart>(chart).data();
}

std::int32_t rptGrpStats::AgeRangeCount(std::int16_t first, std::int16_t last) const
{
    return stats::AgeRangeCount(mAgeCount, first, last);
}

std::int16_t rptGrpStats::DetermineAgeConcentration() const
{
    return stats::DetermineAgeConcentration(mAgeCount);
}
