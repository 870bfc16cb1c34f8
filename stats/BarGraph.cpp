#include "stats/BarGraph.h"

#include "shell/Conversions.h"
#include "shell/FittedText.h"
#include "platform/data/LocaleText.h"

#include <QFontMetricsF>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace stats {

namespace {

// Scale lines: a tick 70 twips either side of the frame's left edge, and a value label 1440
// wide whose left edge is 1480 left of the tick's start.
constexpr double kTickReach = 70;
constexpr double kScaleLabelOffset = 1480;
constexpr double kScaleLabelWidth = 1440;
constexpr int kScaleLines = 5;

// A caption box reaches 72 twips beyond each side of its bar.
constexpr double kCaptionOverhang = 72;

} // namespace

QColor BarYellow()
{
    return report::colorFromLong(0xFFFF);
}

QColor BarDarkRed()
{
    return report::colorFromLong(0xC0);
}

QColor GridGrey()
{
    return report::colorFromLong(0x808080);
}

QString GeneralNumber(double value)
{
    return data::text::formatNumber(value, 15);
}

std::vector<ScaleLine> ScaleLines(const QRectF& frame, double scaleMax, double labelHeight)
{
    std::vector<ScaleLine> lines;
    lines.reserve(kScaleLines);
    for (int i = 1; i <= kScaleLines; ++i) {
        ScaleLine line;
        const double y = frame.top() + frame.height() - frame.height() * i / kScaleLines;
        line.value = scaleMax / kScaleLines * i;
        line.tick = QLineF(frame.left() - kTickReach, y, frame.left() + kTickReach, y);
        line.grid = QLineF(line.tick.x2(), y, frame.left() + frame.width(), y);
        line.label = QRectF(line.tick.x1() - kScaleLabelOffset, y - labelHeight / 4,
                            kScaleLabelWidth, labelHeight);
        lines.push_back(line);
    }
    return lines;
}

double BarLayout::height(double value, double scaleMax) const
{
    if (scaleMax <= 0 || value <= 0)
        return 0;
    return frame.height() * value / scaleMax;
}

QRectF BarLayout::bar(int i, double value, double scaleMax) const
{
    const double h = height(value, scaleMax);
    return QRectF(left(i), frame.bottom() - h, width, h);
}

QRectF BarLayout::captionBox(int i, double top, double height) const
{
    return QRectF(left(i) - kCaptionOverhang, top, width + 2 * kCaptionOverhang, height);
}

BarLayout FitBars(const QRectF& frame, int count, double gap, double maxWidth)
{
    BarLayout bars;
    bars.frame = frame;
    const double share = frame.width() / std::max(1, count);
    double width = std::min(convert::roundHalfEven(share - gap), maxWidth);
    // Rounded up, the bars would add up to more than the frame: the last would stand past it.
    if (std::max(1, count) * (width + gap) > frame.width())
        width = std::floor(share - gap);
    if (width >= kMinBarWidth) {
        bars.width = width;
        bars.gap = gap;
        return bars;
    }
    // Too many bars for the gap: half of each share for the bar, half for the gap before it.
    bars.width = std::max(1.0, std::floor(share / 2));
    bars.gap = share - bars.width;
    bars.evenlyDivided = true;
    return bars;
}

bool CaptionFits(const BarLayout& bars, double captionWidth)
{
    return captionWidth <= std::min(bars.width + 2 * kCaptionOverhang, bars.pitch());
}

std::vector<MonthBand> MonthBands(const std::vector<DatedBar>& bars, double frameLeft)
{
    std::vector<MonthBand> bands;
    const DatedBar* last = nullptr;
    for (const DatedBar& bar : bars) {
        if (!bar.date.isValid())
            continue;
        if (bands.empty()) {
            bands.push_back({{frameLeft, 0}, bar.date.year(), bar.date.month()});
        } else if (bands.back().year != bar.date.year() || bands.back().month != bar.date.month()) {
            bands.back().span.Right = bar.left;
            bands.push_back({{bar.left, 0}, bar.date.year(), bar.date.month()});
        }
        last = &bar;
    }
    if (last)
        bands.back().span.Right = last->right;
    return bands;
}

QString ShortMonthName(int month)
{
    return QLocale().monthName(month, QLocale::ShortFormat);
}

void AddScaleLines(report::Section& section, const QRectF& frame, double scaleMax,
                   const std::function<QString(double)>& caption)
{
    report::ControlCollection& controls = section.Controls();
    for (const ScaleLine& line : ScaleLines(frame, scaleMax, DefaultLabelHeight())) {
        auto& tick =
            static_cast<report::Line&>(controls.Add(QStringLiteral("DDActiveReports.Line")));
        tick.setPoints(line.tick.x1(), line.tick.y1(), line.tick.x2(), line.tick.y2());
        tick.setLineStyle(report::LineStyle::Solid);
        tick.setLineWeight(1);

        auto& grid =
            static_cast<report::Line&>(controls.Add(QStringLiteral("DDActiveReports.Line")));
        grid.setPoints(line.grid.x1(), line.grid.y1(), line.grid.x2(), line.grid.y2());
        grid.setLineStyle(report::LineStyle::Solid);
        grid.setLineWeight(1);
        grid.setLineColor(GridGrey());

        AddGraphLabel(section, line.label.left(), line.label.top(), line.label.width(),
                      caption(line.value), report::Alignment::Right);
    }
}

report::Shape& AddBar(report::Section& section, const QRectF& rect, const QColor& color)
{
    auto& bar = static_cast<report::Shape&>(
        section.Controls().Add(QStringLiteral("DDActiveReports.Shape")));
    bar.setBounds(rect.left(), rect.top(), rect.width(), rect.height());
    bar.setBackColor(color);
    bar.setBackStyle(report::BackStyle::Opaque);
    return bar;
}

report::Label& AddGraphLabel(report::Section& section, double left, double top, double width,
                             const QString& caption, report::Alignment alignment,
                             std::optional<double> height)
{
    auto& label = static_cast<report::Label&>(
        section.Controls().Add(QStringLiteral("DDActiveReports.Label")));
    label.setLeft(left);
    label.setTop(top);
    label.setWidth(width);
    if (height)
        label.setHeight(*height);
    label.setAlignment(alignment);
    label.setCaption(caption);
    return label;
}

namespace {

// A label as the engine makes it when one is added by class name.
const report::Label& newLabel()
{
    static report::ControlCollection controls;
    static const auto& label =
        static_cast<const report::Label&>(controls.Add(QStringLiteral("DDActiveReports.Label")));
    return label;
}

} // namespace

double DefaultLabelHeight()
{
    return newLabel().Height();
}

double DefaultLabelTextWidth(const QString& text)
{
    // The font's pixel size is its size in twips, so widths come out in twips.
    return QFontMetricsF(report::toQFont(newLabel().Font())).horizontalAdvance(text);
}

FittedCaption FitCaption(const BarLayout& bars, int i, double top, double height,
                         const QString& text, double smallestPoints)
{
    // No wider than the room a bar and its gap take, and cut at the frame's sides, so that
    // neither the neighbours' captions nor the frame run into the text.
    const double half = std::min(bars.width + 2 * kCaptionOverhang, bars.pitch()) / 2;
    const double centre = (bars.left(i) + bars.right(i)) / 2;
    const double left = std::max(centre - half, bars.frame.left());
    const double right = std::min(centre + half, bars.frame.right());
    double width = std::max(0.0, right - left);
    double middle = (left + right) / 2;
    FittedCaption caption;
    report::Font font = newLabel().Font();
    font.size = fittedPoints(font, text, width, font.size, smallestPoints);
    caption.points = font.size;
    caption.fits = textFits(font, text, width);
    if (!caption.fits) {
        // Too wide even at the smallest size: the box grows to the text, still in the frame.
        width = std::min(QFontMetricsF(report::toQFont(font)).horizontalAdvance(text),
                         bars.frame.width());
        middle = std::clamp(middle, bars.frame.left() + width / 2, bars.frame.right() - width / 2);
    }
    caption.box = QRectF(middle - width / 2, top, width, height);
    return caption;
}

void AddMonthBands(report::Section& section, const std::vector<MonthBand>& bands, double top)
{
    for (const MonthBand& band : bands) {
        const double width = band.span.Right - band.span.Left;
        auto& box = static_cast<report::Shape&>(
            section.Controls().Add(QStringLiteral("DDActiveReports.Shape")));
        box.setBounds(band.span.Left, top, width, kBandHeight);
        AddGraphLabel(section, band.span.Left, top, width, ShortMonthName(band.month),
                      report::Alignment::Center, kBandHeight);
    }
}

} // namespace stats
