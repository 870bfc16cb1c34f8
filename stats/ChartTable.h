#pragma once

#include <QColor>
#include <QString>

#include <optional>
#include <vector>

namespace stats {

// What one distribution chart shows: one category per slice, each with its legend label, its
// value and, where the chart fixes it, its fill; every slice is outlined in the edge colour.
struct ChartCategory {
    QString label;
    double value = 0;
    std::optional<QColor> fill;

    bool operator==(const ChartCategory&) const = default;
};

struct ChartTable {
    std::vector<ChartCategory> categories;
    QColor edge = Qt::black;
};

} // namespace stats
