#include "tests/platform/report/TestLayouts.h"
#include "tests/support/TestEnvironment.h"

#include "platform/report/ChartPicture.h"
#include "platform/report/Engine.h"

#include <QFile>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>

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

} // namespace

TEST(ChartPicture, EveryCategoryIsASliceOutlinedInTheEdgeColourWithItsOwnFill)
{
    ChartData data = statusChart();
    data.edgeColor = QColor(0, 0, 0);
    ChartPicture picture(data, kStatsChart, 6);
    const QList<QPieSlice*> slices = picture.series().slices();
    ASSERT_EQ(slices.size(), 4);
    for (qsizetype i = 0; i < slices.size(); ++i) {
        SCOPED_TRACE(i);
        const ChartCategory& category = data.categories[std::size_t(i)];
        EXPECT_EQ(slices[i]->label(), category.label);
        EXPECT_EQ(slices[i]->value(), category.value);
        EXPECT_EQ(slices[i]->brush().color(), *category.fill);
        // Set after the series joined the chart, so the theme's white pen does not win.
        EXPECT_EQ(slices[i]->pen().color(), QColor(Qt::black));
        EXPECT_FALSE(slices[i]->isLabelVisible());
    }
    // The empty category keeps its legend entry.
    EXPECT_EQ(picture.shownLegendLabels(),
              QStringList({"Unassigned", "Active(40.0%)", "Away(0.0%)", "Inactive(40.0%)"}));

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
    const ChartPicture sixtyTeams(sixty, teamChart, forSixty);
    EXPECT_TRUE(sixtyTeams.legendWhole());
    EXPECT_EQ(sixtyTeams.shownLegendLabels(), teams);
}

TEST(ChartLegend, ALabelTooLongForTheSmallestFontIsCutOffAndSaysSo)
{
    ChartData data;
    data.categories = {{QString(200, QLatin1Char('W')), 1, {}}};
    EXPECT_EQ(fitLegendPoints(data, kStatsChart), kLegendMinPoints);
    ChartPicture picture(data, kStatsChart, kLegendMinPoints);
    EXPECT_FALSE(picture.legendFits());
    EXPECT_TRUE(picture.shownLegendLabels().value(0).endsWith(QStringLiteral("...")));
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
