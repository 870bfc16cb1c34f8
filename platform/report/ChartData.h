#pragma once

#include <QColor>
#include <QString>

#include <optional>
#include <vector>

namespace report {

// One category of a chart: one slice of the pie and one legend entry.
struct ChartCategory {
    QString label;              // the legend text; blank text shows no legend entry at all
    double value = 0;           // 0 (or less) draws no slice but keeps the legend entry
    std::optional<QColor> fill; // none: the next colour of the chart's fixed palette

    bool operator==(const ChartCategory&) const = default;
};

// What a chart shows: plain values that layouts fill. The engine draws them as a pie, one
// slice per category in order, every slice outlined in the edge colour, with the legend to the
// right of the pie; the legend's font is chosen so that every label shows whole.
struct ChartData {
    std::vector<ChartCategory> categories;
    QColor edgeColor = Qt::black;
    bool legendVisible = true;
    QString title; // empty: no title

    bool operator==(const ChartData&) const = default;
};

} // namespace report
