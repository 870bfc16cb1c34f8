#pragma once

#include "platform/report/ChartData.h"
#include "platform/report/Units.h"

#include <QRectF>
#include <QSizeF>
#include <QStringList>

#include <memory>

class QPainter;
class QPieSeries;

namespace report {

// Charts are laid out in units of this many twips (288 to the inch), so that the legend's font
// can be sized in steps of a quarter point and the layout is the same on every device.
inline constexpr Twips kChartTwipsPerUnit = 5;
// The legend font's largest and smallest size, in points.
inline constexpr double kLegendMaxPoints = 9;
inline constexpr double kLegendMinPoints = 5;

// Chart data drawn with Qt Charts at one size: a pie with one slice per category, outlined in
// the edge colour, with its legend to the right; no animation, no background, fixed palette.
// A slice of value 0 draws nothing, but keeps its legend entry.
//
// The legend is laid out here rather than by the chart library, which would stack every entry
// in one column and cut off those below the chart: entries run top to bottom in as many
// columns as they need inside the chart's rectangle, and the pie takes the room to their left.
// Only when even that leaves the pie too little room are the labels cut short ("...").
// Painting draws vectors into any painter (screen, printer, PDF).
class ChartPicture {
public:
    ChartPicture(const ChartData& data, QSizeF twips, double legendPoints);
    ~ChartPicture();
    ChartPicture(const ChartPicture&) = delete;
    ChartPicture& operator=(const ChartPicture&) = delete;

    // Draws the chart into the target rectangle (in the painter's units).
    void paint(QPainter& painter, const QRectF& target) const;

    // The legend's texts as laid out, column by column, top to bottom, without the hidden
    // entries; a label cut short shows as its beginning followed by "...".
    QStringList shownLegendLabels() const;
    // True when every legend entry shows its whole label inside the chart's rectangle.
    bool legendWhole() const;
    // True when the legend is whole and still leaves the pie room at least half as wide as the
    // chart is high.
    bool legendFits() const;

    // The series as drawn, for checking slices, pens and brushes.
    QPieSeries& series() const;

private:
    struct Scene;
    std::unique_ptr<Scene> m;
};

// The largest legend font, in quarter points from kLegendMaxPoints down to kLegendMinPoints,
// at which the chart's legend fits (ChartPicture::legendFits) at this size in twips; the
// smallest size when none does (the legend then takes the room it needs from the pie).
double fitLegendPoints(const ChartData& data, QSizeF twips);

} // namespace report
