#include "platform/report/ChartPicture.h"

#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace report {

namespace {

// The slices' edge pen, in chart units (half a point); legend markers are outlined thinner.
constexpr double kEdgePenUnits = 2;
constexpr double kMarkerPenUnits = 1;
constexpr double kTitlePoints = 10;

// The width the pie keeps beside the legend, as a share of the chart's height: at least this
// much for a legend that fits, and at least this much whatever the legend (its labels are cut
// short to leave it).
constexpr double kFittingPieShare = 0.5;
constexpr double kLeastPieShare = 0.2;

QFont chartFont(double points, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(std::lround(points * kTwipsPerPoint / kChartTwipsPerUnit))));
    font.setBold(bold);
    return font;
}

bool blank(const QString& label)
{
    return label.trimmed().isEmpty();
}

// One legend entry as laid out, in chart units.
struct LegendEntry {
    std::size_t category = 0;
    QString shown; // the label, or its beginning and "..." when it had to be cut short
    QRectF marker;
    QPointF textTopLeft;
};

struct LegendLayout {
    std::vector<LegendEntry> entries;
    double pieWidth = 0; // the room left of the legend
    bool whole = true;   // every label shows whole inside the chart
};

QString cutShort(const QString& label, const QFontMetricsF& metrics, double width)
{
    if (metrics.horizontalAdvance(label) <= width)
        return label;
    const QString dots = QStringLiteral("...");
    QString shown = label;
    while (!shown.isEmpty() && metrics.horizontalAdvance(shown + dots) > width)
        shown.chop(1);
    return shown + dots;
}

// The entries of the labels that are not blank, top to bottom in as few columns as the chart's
// height allows, the columns side by side at the chart's right edge and the block centred
// from top to bottom.
LegendLayout layOutLegend(const std::vector<ChartCategory>& categories, QSizeF units, double points)
{
    LegendLayout layout;
    layout.pieWidth = units.width();
    std::vector<std::size_t> listed;
    for (std::size_t i = 0; i < categories.size(); ++i) {
        if (!blank(categories[i].label))
            listed.push_back(i);
    }
    if (listed.empty())
        return layout;

    const QFont font = chartFont(points);
    const QFontMetricsF metrics(font);
    const double size = font.pixelSize();
    const double margin = size / 2;
    const double marker = std::round(size * 0.7);
    const double markerGap = size * 0.4;
    const double columnGap = size * 0.8;
    const double pitch = metrics.lineSpacing();

    const int count = int(listed.size());
    const int rowsThatFit =
        std::max(1, int(std::floor((units.height() - 2 * margin - metrics.height()) / pitch)) + 1);
    const int columns = (count + rowsThatFit - 1) / rowsThatFit;
    const int rows = (count + columns - 1) / columns;
    const double height = (rows - 1) * pitch + metrics.height();
    layout.whole = height <= units.height();

    std::vector<double> textWidths(std::size_t(columns), 0);
    for (int k = 0; k < count; ++k) {
        double& width = textWidths[std::size_t(k / rows)];
        width =
            std::max(width, metrics.horizontalAdvance(categories[listed[std::size_t(k)]].label));
    }
    const double entryExtra = marker + markerGap;
    double width = std::accumulate(textWidths.begin(), textWidths.end(), 0.0) +
                   columns * entryExtra + (columns - 1) * columnGap;
    const double most = units.width() - 2 * margin - kLeastPieShare * units.height();
    if (width > most) {
        // No room beside the pie: columns of one width, the labels cut short to it.
        const double textRoom =
            std::max(0.0, (most - (columns - 1) * columnGap) / columns - entryExtra);
        std::fill(textWidths.begin(), textWidths.end(), textRoom);
        width = std::max(0.0, most);
    }

    double x = units.width() - margin - width;
    layout.pieWidth = std::max(1.0, x - margin);
    const double top = std::max(0.0, (units.height() - height) / 2);
    for (int column = 0; column < columns; ++column) {
        for (int row = 0; row < rows; ++row) {
            const int k = column * rows + row;
            if (k >= count)
                break;
            LegendEntry entry;
            entry.category = listed[std::size_t(k)];
            const QString& label = categories[entry.category].label;
            entry.shown = cutShort(label, metrics, textWidths[std::size_t(column)]);
            layout.whole = layout.whole && entry.shown == label;
            const double y = top + row * pitch;
            entry.marker = QRectF(x, y + (metrics.height() - marker) / 2, marker, marker);
            entry.textTopLeft = QPointF(x + entryExtra, y);
            layout.entries.push_back(entry);
        }
        x += entryExtra + textWidths[std::size_t(column)] + columnGap;
    }
    return layout;
}

// The chart's size in its units.
QSizeF chartUnits(QSizeF twips)
{
    return QSizeF(std::max(1.0, twips.width() / kChartTwipsPerUnit),
                  std::max(1.0, twips.height() / kChartTwipsPerUnit));
}

bool fits(const LegendLayout& legend, QSizeF units)
{
    return legend.whole && legend.pieWidth >= kFittingPieShare * units.height();
}

} // namespace

struct ChartPicture::Scene {
    QGraphicsScene scene;
    QChart* chart = nullptr; // owned by the scene
    QPieSeries* series = nullptr;
    QSizeF units;
    LegendLayout legend;
    bool legendVisible = true;
};

ChartPicture::ChartPicture(const ChartData& data, QSizeF twips, double legendPoints)
    : m(std::make_unique<Scene>())
{
    m->units = chartUnits(twips);
    m->legendVisible = data.legendVisible;
    if (m->legendVisible)
        m->legend = layOutLegend(data.categories, m->units, legendPoints);
    else
        m->legend.pieWidth = m->units.width();

    auto* chart = new QChart;
    m->chart = chart;
    chart->setTheme(QChart::ChartThemeLight);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setDropShadowEnabled(false);
    chart->setBackgroundVisible(false);
    chart->setPlotAreaBackgroundVisible(false);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(0, 0, 0, 0));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setTitleFont(chartFont(kTitlePoints, true));
    chart->setTitleBrush(QBrush(Qt::black));
    chart->setTitle(data.title);
    chart->legend()->setVisible(false);

    m->series = new QPieSeries;
    for (const ChartCategory& category : data.categories)
        m->series->append(category.label, std::max(0.0, category.value));
    chart->addSeries(m->series);

    m->scene.addItem(chart);
    chart->setGeometry(QRectF(0, 0, m->legend.pieWidth, m->units.height()));
    const QRectF plot = chart->plotArea();
    const double radius = std::min(plot.width(), plot.height()) / 2 * m->series->pieSize();
    const QPointF centre(plot.left() + plot.width() * m->series->horizontalPosition(),
                         plot.top() + plot.height() * m->series->verticalPosition());

    // Pens and brushes only now: adding the series to the chart gives its slices the theme's.
    // A slice's outline runs along its two radii: an empty slice has none (it would be a stray
    // line from the centre), and a slice that is the whole pie is drawn as a plain disc
    // instead. Many slices in a small pie get thinner outlines, so that it does not turn into
    // a black disc.
    const QList<QPieSlice*> slices = m->series->slices();
    const auto drawn = std::count_if(data.categories.begin(), data.categories.end(),
                                     [](const ChartCategory& c) { return c.value > 0; });
    const double arc = 2 * std::numbers::pi * radius / double(std::max<qsizetype>(1, drawn));
    const QPen edge(data.edgeColor, std::min(kEdgePenUnits, arc / 4));
    for (qsizetype i = 0; i < slices.size(); ++i) {
        const ChartCategory& category = data.categories[std::size_t(i)];
        QPieSlice* slice = slices[i];
        slice->setLabelVisible(false);
        if (category.fill)
            slice->setBrush(*category.fill);
        slice->setPen(category.value > 0 ? edge : QPen(Qt::NoPen));
        if (category.value > 0 && drawn == 1) {
            m->series->setVisible(false);
            m->scene.addEllipse(
                QRectF(centre - QPointF(radius, radius), 2 * QSizeF(radius, radius)), edge,
                slice->brush());
        }
    }

    const QFont font = chartFont(legendPoints);
    for (const LegendEntry& entry : m->legend.entries) {
        auto* marker = m->scene.addRect(entry.marker, QPen(data.edgeColor, kMarkerPenUnits),
                                        slices[qsizetype(entry.category)]->brush());
        marker->setZValue(1);
        auto* text = m->scene.addSimpleText(entry.shown, font);
        text->setBrush(Qt::black);
        text->setPos(entry.textTopLeft);
        text->setZValue(1);
    }
}

ChartPicture::~ChartPicture() = default;

void ChartPicture::paint(QPainter& painter, const QRectF& target) const
{
    m->scene.render(&painter, target, QRectF(QPointF(0, 0), m->units), Qt::IgnoreAspectRatio);
}

QStringList ChartPicture::shownLegendLabels() const
{
    QStringList shown;
    for (const LegendEntry& entry : m->legend.entries)
        shown << entry.shown;
    return shown;
}

bool ChartPicture::legendWhole() const
{
    return m->legend.whole;
}

bool ChartPicture::legendFits() const
{
    return fits(m->legend, m->units);
}

QPieSeries& ChartPicture::series() const
{
    return *m->series;
}

double fitLegendPoints(const ChartData& data, QSizeF twips)
{
    // Sizes in quarter points; whether a size fits falls as the size grows, so the largest
    // that fits is found by halving the range.
    const QSizeF units = chartUnits(twips);
    auto fitsAt = [&](int quarters) {
        return fits(layOutLegend(data.categories, units, quarters / 4.0), units);
    };
    int low = int(std::lround(kLegendMinPoints * 4));
    int high = int(std::lround(kLegendMaxPoints * 4));
    if (fitsAt(high))
        return high / 4.0;
    if (!fitsAt(low))
        return low / 4.0;
    // fitsAt(low) and not fitsAt(high)
    while (high - low > 1) {
        const int middle = (low + high) / 2;
        if (fitsAt(middle))
            low = middle;
        else
            high = middle;
    }
    return low / 4.0;
}

} // namespace report
