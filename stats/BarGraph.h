#pragma once

#include "platform/report/Section.h"

#include <QColor>
#include <QDate>
#include <QLineF>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

// The bar graphs of the statistics pages, drawn from shapes, lines and labels added to a
// section at run time inside a frame shape stored in the layout. The frame's position and size
// fix the whole geometry: five scale lines up its left side, bars standing on its bottom edge
// (there is no line at zero), captions above or below the bars and month bands under them.
//
// The geometry is computed by the pure functions below, so that it can be checked without a
// report; the Add... functions place it in a section.
namespace stats {

// One meeting date with its attendance; an empty slot has no (an invalid) date and count 0.
struct AttendancePoint {
    QDate WeekDate;
    std::int32_t count = 0;
};

// Left and right edge of one month band, in twips.
struct BarSpan {
    double Left = 0;
    double Right = 0;
};

// Colours of the graphs.
QColor BarYellow();
QColor BarDarkRed();
QColor GridGrey();

// ---- Scale ----------------------------------------------------------------------------------

// A value written as a general number: up to 15 significant digits, no trailing zeros, no
// thousands separators ("4.8", never "4.800000000000001").
QString GeneralNumber(double value);

// One of the five scale lines: a short tick across the frame's left edge, a grey grid line from
// the tick to the frame's right edge, and the value's label (right-aligned, ending left of the
// tick).
struct ScaleLine {
    double value = 0; // scale maximum / 5 * i
    QLineF tick;
    QLineF grid;
    QRectF label;
};

// The scale lines at a fifth, two fifths ... of the frame's height, bottom up. labelHeight is
// the height of the value labels; each is raised by a quarter of it so that its text stands on
// the line.
std::vector<ScaleLine> ScaleLines(const QRectF& frame, double scaleMax, double labelHeight);

// ---- Bars -----------------------------------------------------------------------------------

// Where n bars stand in a frame: bar i (from 1) starts one gap after the end of bar i - 1 (the
// first one gap after the frame's left edge).
struct BarLayout {
    QRectF frame;
    double width = 0; // whole twips
    double gap = 0;
    bool evenlyDivided = false; // too many bars for the usual gap (see FitBars)

    double left(int i) const { return frame.left() + (i - 1) * width + gap * i; }
    double right(int i) const { return left(i) + width; }
    // The height of a value on a scale, never below 0 (a negative value draws at zero height).
    double height(double value, double scaleMax) const;
    // The bar of a value, standing on the frame's bottom.
    QRectF bar(int i, double value, double scaleMax) const;
    // A caption box centred on bar i: 144 twips wider than the bar.
    QRectF captionBox(int i, double top, double height) const;
    // The room one bar and its gap take: captions wider than this run into their neighbours'.
    double pitch() const { return width + gap; }
};

// The thinnest bar that still reads as a bar on paper (1/60 inch).
inline constexpr double kMinBarWidth = 24;

// Lays out `count` bars: width = frame width / count - gap, rounded half to even (down where
// rounding up would carry the last bar past the frame) and at most maxWidth. When that leaves less
// than kMinBarWidth (many bars in a narrow frame), the frame is divided evenly instead: each bar
// takes half of its share and its gap the other half, so every bar lies inside the frame.
BarLayout FitBars(const QRectF& frame, int count, double gap,
                  double maxWidth = std::numeric_limits<double>::infinity());

// True when a caption of that width, centred on its bar, neither runs out of its box nor into
// the neighbouring bars' captions.
bool CaptionFits(const BarLayout& bars, double captionWidth);

// A caption over bar i, in a new label's type or smaller where it is wider than its box (never
// below smallestPoints). The box is the bar's caption box, no wider than the bar's pitch and
// cut at the frame's sides, so that neither neighbouring captions nor the frame run into it.
// A caption too wide for it even at the smallest size gets a box as wide as itself, centred
// there but kept inside the frame.
struct FittedCaption {
    QRectF box;
    double points = 0;
    bool fits = true; // false: too wide for its box even at the smallest size
};
FittedCaption FitCaption(const BarLayout& bars, int i, double top, double height,
                         const QString& text, double smallestPoints = 6);

// ---- Month bands ----------------------------------------------------------------------------

// A bar as the month bands see it: its date (invalid for an empty slot) and its edges.
struct DatedBar {
    QDate date;
    double left = 0;
    double right = 0;
};

struct MonthBand {
    BarSpan span;
    int year = 0;
    int month = 0; // 1 to 12
};

// One band for each run of consecutive dated bars in the same month of the same year, in bar
// order. The first band starts at the frame's left edge (covering any empty slots before it),
// each later band at the left edge of its first bar; every band ends where the next starts and
// the last at the right edge of the last dated bar. No dated bar, no band.
std::vector<MonthBand> MonthBands(const std::vector<DatedBar>& bars, double frameLeft);

// The month's short name in the user's language ("Jan").
QString ShortMonthName(int month);

// ---- Placing the graph in a section ---------------------------------------------------------

// Height of a band under the bars (0.18 inch).
inline constexpr double kBandHeight = 259.2;

// Adds the five scale lines with their labels; caption turns a scale value into its text.
void AddScaleLines(report::Section& section, const QRectF& frame, double scaleMax,
                   const std::function<QString(double)>& caption);

// Adds an opaque bar.
report::Shape& AddBar(report::Section& section, const QRectF& rect, const QColor& color);

// Adds a label added the way every graph label is: by class name, so that it keeps a new
// label's font and height unless a height is given.
report::Label& AddGraphLabel(report::Section& section, double left, double top, double width,
                             const QString& caption, report::Alignment alignment,
                             std::optional<double> height = std::nullopt);

// The height a new label starts with in this section's engine.
double DefaultLabelHeight();
// The width a caption takes in a new label's font.
double DefaultLabelTextWidth(const QString& text);

// Adds each band as an outlined box with the month's short name centred in it.
void AddMonthBands(report::Section& section, const std::vector<MonthBand>& bands, double top);

} // namespace stats
