#include "platform/report/ChartPicture.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>

#include <algorithm>
#include <cmath>
#include <functional>

namespace report {

namespace {

// The slices' edge pen, in chart units (half a point).
constexpr double kEdgePenUnits = 2;
constexpr double kTitlePoints = 10;

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

// The legend's text items that show, top to bottom.
std::vector<const QGraphicsTextItem*> legendTexts(const QLegend& legend)
{
    std::vector<const QGraphicsTextItem*> texts;
    std::function<void(const QGraphicsItem*)> walk = [&](const QGraphicsItem* item) {
        if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(item)) {
            if (text->isVisible())
                texts.push_back(text);
        }
        for (const QGraphicsItem* child : item->childItems())
            walk(child);
    };
    walk(&legend);
    std::stable_sort(texts.begin(), texts.end(), [](const auto* a, const auto* b) {
        return a->sceneBoundingRect().top() < b->sceneBoundingRect().top();
    });
    return texts;
}

} // namespace

struct ChartPicture::Scene {
    QGraphicsScene scene;
    QChart* chart = nullptr; // owned by the scene
    QPieSeries* series = nullptr;
    QSizeF units;
    QStringList labels; // the labels that have a legend entry
    bool legendVisible = true;
};

ChartPicture::ChartPicture(const ChartData& data, QSizeF twips, double legendPoints)
    : m(std::make_unique<Scene>())
{
    m->units = QSizeF(std::max(1.0, twips.width() / kChartTwipsPerUnit),
                      std::max(1.0, twips.height() / kChartTwipsPerUnit));
    m->legendVisible = data.legendVisible;

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

    QLegend* legend = chart->legend();
    legend->setVisible(data.legendVisible);
    legend->setAlignment(Qt::AlignRight);
    legend->setBackgroundVisible(false);
    legend->setShowToolTips(false);
    legend->setFont(chartFont(legendPoints));
    legend->setLabelColor(Qt::black);

    m->series = new QPieSeries;
    for (const ChartCategory& category : data.categories)
        m->series->append(category.label, std::max(0.0, category.value));
    chart->addSeries(m->series);

    // Pens and brushes only now: adding the series to the chart gives its slices the theme's.
    const QList<QPieSlice*> slices = m->series->slices();
    for (qsizetype i = 0; i < slices.size(); ++i) {
        const ChartCategory& category = data.categories[std::size_t(i)];
        QPieSlice* slice = slices[i];
        slice->setLabelVisible(false);
        if (category.fill)
            slice->setBrush(*category.fill);
        slice->setPen(QPen(data.edgeColor, kEdgePenUnits));
    }
    const QList<QLegendMarker*> markers = legend->markers(m->series);
    for (qsizetype i = 0; i < markers.size() && i < qsizetype(data.categories.size()); ++i) {
        const QString& label = data.categories[std::size_t(i)].label;
        markers[i]->setVisible(!blank(label));
        if (!blank(label))
            m->labels << label;
    }

    m->scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), m->units));
}

ChartPicture::~ChartPicture() = default;

void ChartPicture::paint(QPainter& painter, const QRectF& target) const
{
    m->scene.render(&painter, target, QRectF(QPointF(0, 0), m->units), Qt::IgnoreAspectRatio);
}

QStringList ChartPicture::shownLegendLabels() const
{
    QStringList shown;
    if (!m->legendVisible)
        return shown;
    for (const QGraphicsTextItem* text : legendTexts(*m->chart->legend()))
        shown << text->toPlainText();
    return shown;
}

bool ChartPicture::legendFits() const
{
    if (!m->legendVisible || m->labels.isEmpty())
        return true;
    const auto texts = legendTexts(*m->chart->legend());
    if (qsizetype(texts.size()) != m->labels.size())
        return false;
    const QRectF area(QPointF(0, 0), m->units);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i]->toPlainText() != m->labels[qsizetype(i)])
            return false;
        const QRectF box = texts[i]->sceneBoundingRect();
        // Half a unit of slack for the rounding of the legend's position to whole units.
        if (box.top() < area.top() - 0.5 || box.bottom() > area.bottom() + 0.5 ||
            box.right() > area.right() + 0.5)
            return false;
    }
    return true;
}

QPieSeries& ChartPicture::series() const
{
    return *m->series;
}

double fitLegendPoints(const ChartData& data, QSizeF twips)
{
    // Sizes in quarter points; whether a size fits falls as the size grows, so the largest
    // that fits is found by halving the range.
    int low = int(std::lround(kLegendMinPoints * 4));
    int high = int(std::lround(kLegendMaxPoints * 4));
    auto fits = [&](int quarters) {
        return ChartPicture(data, twips, quarters / 4.0).legendFits();
    };
    if (fits(high))
        return high / 4.0;
    if (!fits(low))
        return low / 4.0;
    // fits(low) and not fits(high)
    while (high - low > 1) {
        const int middle = (low + high) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle;
    }
    return low / 4.0;
}

} // namespace report
