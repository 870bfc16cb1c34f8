#include "tests/platform/report/TestLayouts.h"
#include "tests/support/TestEnvironment.h"

#include "platform/report/ChartPicture.h"
#include "platform/report/Engine.h"

#include <QFile>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>

#include <algorithm>
#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

using namespace report;

namespace {

// The status chart of the group statistics: four categories, fixed fills, one of them empty.
ChartData statusChart()
{
    ChartData data;
    data.categories = {{QStringLiteral("Unassigned"), 2, QColor(198, 198, 198)},
                       {QStringLiteral("Active(40.0%)"), 4, QColor(0, 255, 0)},
                       {QStringLiteral("Away(0.0%)"), 0, QColor(0, 0, 255)},
                       {QStringLiteral("Inactive(40.0%)"), 4, QColor(255, 0, 0)}};
    return data;
}

// The chart sizes of the group statistics page.
const QSizeF kStatsChart(4020, 2460);

// A layout whose page header holds one chart over a grey box.
struct ChartLayout : Report {
    explicit ChartLayout(const ChartData& data, QRectF bounds = {0, 0, 4020, 2460})
    {
        auto& box = PageHeader().Controls().add<Shape>(QStringLiteral("Frame"));
        box.setBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
        box.setBackColor(QColor(200, 200, 200));
        box.setBackStyle(BackStyle::Opaque);
        box.setLineStyle(LineStyle::Transparent);
        auto& chart = PageHeader().Controls().add<Chart>(QStringLiteral("StatusChart"));
        chart.setBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
        chart.setData(data);
    }
};

QByteArray fileBytes(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A chart painted on white, one pixel to a chart unit times the scale.
QImage painted(const ChartPicture& picture, QSizeF twips, int scale = 1)
{
    QImage image((twips / kChartTwipsPerUnit * scale).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.paint(painter, image.rect());
    painter.end();
    return image;
}

bool sameColour(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <=
           6;
}

// The legend markers of a chart painted at scale 1: squares whose whole border has the edge
// colour, the left column first, each column top to bottom.
std::vector<QRect> markersIn(const QImage& image, const QColor& edge)
{
    const auto isEdge = [&](int x, int y) {
        return image.rect().contains(x, y) && sameColour(image.pixelColor(x, y), edge);
    };
    std::vector<QRect> markers;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!isEdge(x, y) || isEdge(x - 1, y) || isEdge(x, y - 1))
                continue;
            int right = x;
            while (isEdge(right + 1, y))
                ++right;
            int bottom = y;
            while (isEdge(x, bottom + 1))
                ++bottom;
            const QRect box(QPoint(x, y), QPoint(right, bottom));
            if (box.width() < 5 || box.width() > 60 || std::abs(box.width() - box.height()) > 1)
                continue;
            bool outlined = !isEdge(box.center().x(), box.center().y());
            for (int i = x; i <= right; ++i)
                outlined = outlined && isEdge(i, bottom);
            for (int j = y; j <= bottom; ++j)
                outlined = outlined && isEdge(right, j);
            if (outlined)
                markers.push_back(box);
        }
    }
    std::sort(markers.begin(), markers.end(), [](const QRect& a, const QRect& b) {
        return std::pair(a.left(), a.top()) < std::pair(b.left(), b.top());
    });
    return markers;
}

// The bounds of the pixels of these colours outside the legend markers: the pie.
QRect pieIn(const QImage& image, const std::vector<QColor>& colours,
            const std::vector<QRect>& markers)
{
    QRect pie;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::none_of(colours.begin(), colours.end(),
                             [&](const QColor& c) { return sameColour(pixel, c); }))
                continue;
            if (std::none_of(markers.begin(), markers.end(), [&](const QRect& m) {
                    return m.adjusted(-1, -1, 1, 1).contains(x, y);
                }))
                pie |= QRect(x, y, 1, 1);
        }
    }
    return pie;
}

// True when a row of the image holds a pixel of that colour between two columns.
bool rowHolds(const QImage& image, int y, int fromX, int toX, const QColor& colour)
{
    for (int x = std::max(0, fromX); x < std::min(image.width(), toX); ++x) {
        if (sameColour(image.pixelColor(x, y), colour))
            return true;
    }
    return false;
}

} // namespace

TEST(ChartPicture, EveryCategoryIsASliceOutlinedInTheEdgeColourWithItsOwnFill)
{
    ChartData data = statusChart();
    const QColor edge(128, 0, 128); // apart from the fills and the black legend text
    data.edgeColor = edge;
    ChartPicture picture(data, kStatsChart, 6);
    const QList<QPieSlice*> slices = picture.series().slices();
    ASSERT_EQ(slices.size(), 4);
    for (qsizetype i = 0; i < slices.size(); ++i) {
        SCOPED_TRACE(i);
        const ChartCategory& category = data.categories[std::size_t(i)];
        EXPECT_EQ(slices[i]->label(), category.label);
        EXPECT_EQ(slices[i]->value(), category.value);
        EXPECT_EQ(slices[i]->brush().color(), *category.fill);
        // Set after the series joined the chart, so the theme's white pen does not win; the
        // empty slice draws no stray line from the centre.
        if (category.value > 0)
            EXPECT_EQ(slices[i]->pen().color(), edge);
        else
            EXPECT_EQ(slices[i]->pen().style(), Qt::NoPen);
        EXPECT_FALSE(slices[i]->isLabelVisible());
    }
    // The empty category keeps its legend entry.
    EXPECT_EQ(picture.shownLegendLabels(),
              QStringList({"Unassigned", "Active(40.0%)", "Away(0.0%)", "Inactive(40.0%)"}));

    // As painted: the legend is one column of markers in the categories' order and fills,
    // outlined in the edge colour, each with its text, beside the pie on the right and centred
    // from top to bottom.
    const QImage image = painted(picture, kStatsChart);
    const auto markers = markersIn(image, edge);
    ASSERT_EQ(markers.size(), 4u);
    std::vector<QColor> fills;
    for (const ChartCategory& category : data.categories)
        fills.push_back(*category.fill);
    // (The grey fill is left out of the search: the text's smoothed edges have greys too.)
    const QRect pie = pieIn(image, {fills[1], fills[3], edge}, markers);
    const int pitch = markers[1].top() - markers[0].top();
    EXPECT_GT(pitch, markers[0].height());
    for (std::size_t k = 0; k < markers.size(); ++k) {
        SCOPED_TRACE(k);
        const QRect& marker = markers[k];
        EXPECT_TRUE(sameColour(image.pixelColor(marker.center()), fills[k]));
        EXPECT_EQ(marker.left(), markers[0].left());
        EXPECT_NEAR(marker.top(), markers[0].top() + int(k) * pitch, 1);
        EXPECT_GT(marker.left(), pie.right());
        EXPECT_TRUE(
            rowHolds(image, marker.center().y(), marker.right() + 2, image.width(), Qt::black));
    }
    EXPECT_GT(markers.front().top(), pie.top());
    EXPECT_LT(markers.back().bottom(), pie.bottom());
    EXPECT_NEAR((markers.front().top() + markers.back().bottom()) / 2.0, image.height() / 2.0, 3);

    // The pie is round and takes the room left of the legend, in its middle.
    EXPECT_NEAR(pie.width(), pie.height(), 2);
    EXPECT_NEAR(pie.center().x(), markers[0].left() / 2.0, 10);
    EXPECT_NEAR(pie.center().y(), image.height() / 2.0, 2);
    // Each slice is its category's share of the circle, in order clockwise from twelve o'clock,
    // outlined along its radii and round its rim; the empty category has no slice.
    const QPointF centre = QRectF(pie).center();
    const double radius = pie.width() / 2.0;
    const auto at = [&](double degrees, double share) {
        const double a = degrees * std::numbers::pi / 180;
        return image.pixelColor(QPointF(centre.x() + share * radius * std::sin(a),
                                        centre.y() - share * radius * std::cos(a))
                                    .toPoint());
    };
    const struct {
        double from;
        double to;
        std::size_t category;
    } shares[] = {{0, 72, 0}, {72, 216, 1}, {216, 360, 3}};
    for (const auto& slice : shares) {
        SCOPED_TRACE(slice.category);
        for (const double degrees : {slice.from + 4, (slice.from + slice.to) / 2, slice.to - 4})
            EXPECT_TRUE(sameColour(at(degrees, 0.5), fills[slice.category])) << degrees;
        bool radiusOutlined = false;
        for (double degrees = slice.from - 2; degrees <= slice.from + 2; degrees += 0.25)
            radiusOutlined = radiusOutlined || sameColour(at(degrees, 0.5), edge);
        EXPECT_TRUE(radiusOutlined);
    }
    for (double degrees = 0; degrees < 360; degrees += 10) {
        bool rimOutlined = false;
        for (double share = 0.9; share <= 1.1; share += 0.002)
            rimOutlined = rimOutlined || sameColour(at(degrees, share), edge);
        EXPECT_TRUE(rimOutlined) << degrees;
        EXPECT_EQ(at(degrees, 1.1), QColor(Qt::white)) << degrees;
    }
    // Painted twice as large, the chart scales whole: the pie doubles and so does its outline,
    // half a point wide.
    const QImage twice = painted(picture, kStatsChart, 2);
    const QRect bigPie = pieIn(twice, {fills[1], fills[3], edge}, markersIn(twice, edge));
    EXPECT_NEAR(bigPie.width(), 2 * pie.width(), 3);
    EXPECT_NEAR(bigPie.center().x(), 2 * pie.center().x(), 3);
    EXPECT_NEAR(bigPie.center().y(), 2 * pie.center().y(), 3);
    int outline = 0;
    for (int x = bigPie.center().x() + 20; x <= bigPie.right(); ++x)
        outline += sameColour(twice.pixelColor(x, bigPie.center().y()), edge) ? 1 : 0;
    EXPECT_NEAR(outline, 2 * 2, 1);

    // Without fills the categories take the chart's fixed palette: the same every time.
    ChartData plain;
    plain.categories = {{QStringLiteral("Male"), 3, {}}, {QStringLiteral("Female"), 4, {}}};
    ChartPicture first(plain, kStatsChart, 6);
    ChartPicture second(plain, kStatsChart, 6);
    EXPECT_NE(first.series().slices()[0]->brush().color(),
              first.series().slices()[1]->brush().color());
    EXPECT_EQ(first.series().slices()[0]->brush().color(),
              second.series().slices()[0]->brush().color());
    EXPECT_EQ(first.series().slices()[1]->pen().color(), QColor(Qt::black));
}

TEST(ChartPicture, BlankLabelsShowNoLegendEntry)
{
    ChartData age;
    age.categories = {{QStringLiteral("No Active Members"), 1, {}},
                      {QStringLiteral(" "), 0, {}},
                      {QStringLiteral(" "), 0, {}},
                      {QStringLiteral(" "), 0, {}},
                      {QStringLiteral(" "), 0, {}}};
    ChartPicture picture(age, kStatsChart, 6);
    EXPECT_EQ(picture.series().slices().size(), 5);
    EXPECT_EQ(picture.shownLegendLabels(), QStringList({"No Active Members"}));
    EXPECT_TRUE(picture.legendFits());

    // The one slice is the whole pie, and the empty ones draw nothing: no line runs from the
    // centre up to the edge.
    QImage image(QSize(804, 492), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.paint(painter, image.rect());
    painter.end();
    const QRgb fill = picture.series().slices()[0]->brush().color().rgb();
    const auto filled = [&](int x, int y) {
        const QRgb p = image.pixel(x, y);
        return std::abs(qRed(p) - qRed(fill)) + std::abs(qGreen(p) - qGreen(fill)) +
                   std::abs(qBlue(p) - qBlue(fill)) <=
               3;
    };
    // The pie's middle: the middle of the longest run of its fill.
    QPoint centre;
    int widest = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0, run = 0; x < image.width(); ++x) {
            run = filled(x, y) ? run + 1 : 0;
            if (run > widest) {
                widest = run;
                centre = QPoint(x - run / 2, y);
            }
        }
    }
    ASSERT_GT(widest, 200);
    for (int y = centre.y() - widest / 2 + 5; y < centre.y(); ++y)
        ASSERT_TRUE(filled(centre.x(), y)) << y;
    // The disc is outlined in the edge colour.
    int x = centre.x();
    while (filled(x, centre.y()))
        ++x;
    EXPECT_EQ(image.pixelColor(x, centre.y()), QColor(Qt::black));
}

TEST(ChartLegend, TheFontIsTheLargestAtWhichEveryLabelShowsWhole)
{
    struct Case {
        QStringList labels;
        QSizeF size;
    };
    const std::vector<Case> cases = {
        {{"Male(52.4%)", "Female(47.6%)", "Unassigned"}, kStatsChart},
        {{"Unassigned", "Active(40.0%)", "Away(20.0%)", "Inactive(40.0%)"}, kStatsChart},
        {{"Under 18 (37.5%)", "18-22 Yrs (25.0%)", "23-27 Yrs (12.5%)", "28-32 Yrs (0.0%)",
          "Over 32 (25.0%)"},
         kStatsChart},
        {{"A", "B"}, kStatsChart},
        {{"Saturday Worship Team (12.5%)", "Blue (87.5%)"}, kStatsChart},
        {{"Inactive(40.0%)", "Active(60.0%)"}, QSizeF(2400, 1500)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.labels.join(QStringLiteral(", ")).toStdString());
        ChartData data;
        for (const QString& label : c.labels)
            data.categories.push_back({label, 1, {}});
        const double points = fitLegendPoints(data, c.size);
        EXPECT_GE(points, kLegendMinPoints);
        EXPECT_LE(points, kLegendMaxPoints);
        EXPECT_EQ(std::fmod(points * 4, 1.0), 0.0); // quarter points
        ChartPicture chosen(data, c.size, points);
        EXPECT_TRUE(chosen.legendFits());
        EXPECT_EQ(chosen.shownLegendLabels().join(u'|').toStdString(),
                  c.labels.join(u'|').toStdString());
        if (points < kLegendMaxPoints) {
            EXPECT_FALSE(ChartPicture(data, c.size, points + 0.25).legendFits());
        }
    }
}

TEST(ChartLegend, ManyEntriesGetASmallerFontSoThatAllOfThemShow)
{
    ChartData few;
    ChartData many;
    for (int i = 1; i <= 14; ++i) {
        const ChartCategory team{QStringLiteral("Team %1 (7.1%)").arg(i), 1, {}};
        if (i <= 3)
            few.categories.push_back(team);
        many.categories.push_back(team);
    }
    const double forFew = fitLegendPoints(few, kStatsChart);
    const double forMany = fitLegendPoints(many, kStatsChart);
    EXPECT_LT(forMany, forFew);
    ChartPicture picture(many, kStatsChart, forMany);
    EXPECT_TRUE(picture.legendFits());
    EXPECT_EQ(picture.shownLegendLabels().size(), 14);
    // At the size that suits three entries, fourteen would run off the chart.
    EXPECT_FALSE(ChartPicture(many, kStatsChart, forFew).legendFits());

    // Sixty teams in the team chart's room: every entry whole, in columns, at 5 pt or more.
    ChartData sixty;
    QStringList teams;
    for (int i = 1; i <= 60; ++i) {
        teams << QStringLiteral("Team %1 (1.7%)").arg(i);
        sixty.categories.push_back({teams.back(), 1, {}});
    }
    const QSizeF teamChart(4020, 1920);
    const double forSixty = fitLegendPoints(sixty, teamChart);
    EXPECT_GE(forSixty, 5);
    const QColor edge(128, 0, 128);
    sixty.edgeColor = edge;
    const ChartPicture sixtyTeams(sixty, teamChart, forSixty);
    EXPECT_TRUE(sixtyTeams.legendWhole());
    EXPECT_EQ(sixtyTeams.shownLegendLabels(), teams);

    // As painted: four columns of fifteen beside the pie, running down each column first, every
    // marker in its slice's colour from the fixed palette.
    const QImage image = painted(sixtyTeams, teamChart);
    const auto markers = markersIn(image, edge);
    ASSERT_EQ(markers.size(), 60u);
    const QRect pie = pieIn(image, {edge}, markers);
    ASSERT_FALSE(pie.isEmpty());
    const QList<QPieSlice*> slices = sixtyTeams.series().slices();
    for (std::size_t k = 0; k < markers.size(); ++k) {
        SCOPED_TRACE(k);
        const QRect& marker = markers[k];
        EXPECT_EQ(marker.left(), markers[k / 15 * 15].left());
        EXPECT_EQ(marker.top(), markers[k % 15].top());
        EXPECT_GT(marker.left(), pie.right());
        EXPECT_TRUE(image.rect().contains(marker));
        EXPECT_TRUE(
            sameColour(image.pixelColor(marker.center()), slices[qsizetype(k)]->brush().color()));
    }
    EXPECT_GT(markers[15].left(), markers[14].right());
    EXPECT_GT(markers[1].top(), markers[0].bottom());
}

TEST(ChartLegend, ALabelTooLongForTheSmallestFontIsCutOffAndSaysSo)
{
    ChartData data;
    data.categories = {{QString(200, QLatin1Char('W')), 1, {}}};
    EXPECT_EQ(fitLegendPoints(data, kStatsChart), kLegendMinPoints);
    ChartPicture picture(data, kStatsChart, kLegendMinPoints);
    EXPECT_FALSE(picture.legendFits());
    EXPECT_TRUE(picture.shownLegendLabels().value(0).endsWith(QStringLiteral("...")));
    // The label as drawn stops short of the chart's right edge.
    const QImage image = painted(picture, kStatsChart);
    bool text = false;
    for (int y = 0; y < image.height(); ++y) {
        text = text || rowHolds(image, y, image.width() / 2, image.width(), Qt::black);
        ASSERT_FALSE(rowHolds(image, y, image.width() - 4, image.width(), Qt::black)) << y;
    }
    EXPECT_TRUE(text);
}

TEST(ChartControl, KeepsItsDataAndTheChosenLegendFontInThePage)
{
    ChartLayout layout(statusChart());
    auto doc = run(layout);
    const auto found = doc->items(QStringLiteral("StatusChart"));
    ASSERT_EQ(found.size(), 1u);
    const auto& item = std::get<ChartItem>(*found.front().item);
    EXPECT_EQ(item.data, statusChart());
    EXPECT_EQ(item.rect, QRectF(720, 792, 4020, 2460));
    EXPECT_EQ(item.legendPoints, fitLegendPoints(statusChart(), kStatsChart));
}

TEST(ChartControl, IsDrawnOverWhatLiesBehindItWithoutABackground)
{
    ChartLayout layout(statusChart());
    auto doc = run(layout);
    const double dpi = 96;
    const QImage page = doc->renderPage(0, dpi);
    auto at = [&](double x, double y) {
        return page.pixelColor(int((720 + x) * dpi / 1440), int((792 + y) * dpi / 1440));
    };
    // The grey box shows at the chart's corner; the pie covers the middle of its left part.
    EXPECT_EQ(at(30, 30), QColor(200, 200, 200));
    const QColor pie = at(4020 * 0.3, 2460 * 0.5);
    EXPECT_NE(pie, QColor(200, 200, 200));
    EXPECT_NE(pie, QColor(Qt::white));
}

TEST(ChartControl, ExportsToPdfAsVectorsNotAsAPicture)
{
    ChartLayout layout(statusChart());
    auto doc = run(layout);
    const QString file = testenv::programFile(QStringLiteral("chart.pdf"));
    ASSERT_TRUE(doc->exportPdf(file));
    const QByteArray pdf = fileBytes(file);
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    EXPECT_TRUE(pdf.contains("/Font")); // the legend is text

    // A page with a picture does hold one, so the check above can fail.
    Report withPicture;
    auto& image = withPicture.PageHeader().Controls().add<Image>(QStringLiteral("Photo"));
    image.setBounds(0, 0, 1440, 1440);
    QImage red(20, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    image.setPicture(red, QStringLiteral("red"));
    const QString other = testenv::programFile(QStringLiteral("picture.pdf"));
    ASSERT_TRUE(run(withPicture)->exportPdf(other));
    EXPECT_TRUE(fileBytes(other).contains("/Subtype /Image"));
}
