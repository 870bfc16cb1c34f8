#include "tests/platform/report/TestLayouts.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace report;
using reporttest::numberedRows;
using reporttest::RowsLayout;

namespace {

// The page sizes of a PDF file in points, in page order, from its MediaBox entries.
std::vector<QSizeF> pdfPageSizes(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromLatin1(file.readAll());
    static const QRegularExpression box(
        QStringLiteral(R"(/MediaBox\s*\[\s*([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s*\])"));
    std::vector<QSizeF> sizes;
    for (auto it = box.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        sizes.emplace_back(m.captured(3).toDouble() - m.captured(1).toDouble(),
                           m.captured(4).toDouble() - m.captured(2).toDouble());
    }
    return sizes;
}

// Three pages: portrait, landscape, portrait; counts every handler call.
struct TurningLayout : RowsLayout {
    TurningLayout() : RowsLayout(numberedRows(3), 14256 - 1000) {}
    int handlerCalls() const { return int(events.size()) + detailFormats; }
    void PageStart() override
    {
        RowsLayout::PageStart();
        Printer().setOrientation(PageNumber() == 2 ? Orientation::Landscape
                                                   : Orientation::Portrait);
    }
};

QColor pixelAtTwips(const QImage& image, double x, double y, double dpi)
{
    return image.pixelColor(int(x * dpi / 1440), int(y * dpi / 1440));
}

} // namespace

TEST(ReportOutput, ThePdfKeepsEachPagesOwnOrientation)
{
    TurningLayout layout;
    auto doc = run(layout);
    const QString file = testenv::programFile(QStringLiteral("turning.pdf"));
    QString error;
    ASSERT_TRUE(doc->exportPdf(file, &error)) << error.toStdString();
    const auto sizes = pdfPageSizes(file);
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(sizes[0], QSizeF(612, 792));
    EXPECT_EQ(sizes[1], QSizeF(792, 612));
    EXPECT_EQ(sizes[2], QSizeF(612, 792));
}

TEST(ReportOutput, PrintingKeepsEachPagesOwnOrientation)
{
    TurningLayout layout;
    auto doc = run(layout);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = testenv::programFile(QStringLiteral("printed.pdf"));
    printer.setOutputFileName(file);
    ASSERT_TRUE(doc->print(printer));
    const auto sizes = pdfPageSizes(file);
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(sizes[1], QSizeF(792, 612));
    EXPECT_EQ(sizes[2], QSizeF(612, 792));
}

TEST(ReportOutput, ViewingPrintingAndExportingNeverCallTheLayoutAgain)
{
    TurningLayout layout;
    auto doc = run(layout);
    const int calls = layout.handlerCalls();
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(doc->exportPdf(testenv::programFile(QStringLiteral("again.pdf"))));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(testenv::programFile(QStringLiteral("again-printed.pdf")));
        ASSERT_TRUE(doc->print(printer));
        for (int page = 0; page < doc->pageCount(); ++page)
            doc->renderPage(page, 50);
    }
    EXPECT_EQ(layout.handlerCalls(), calls);
}

TEST(ReportOutput, ExportToAnUnwritablePlaceFailsWithAReason)
{
    RowsLayout layout(numberedRows(1));
    auto doc = run(layout);
    QString error;
    EXPECT_FALSE(doc->exportPdf(QStringLiteral("/nonexistent-folder/x.pdf"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(ReportPainting, DrawsSectionFillsShapesAndLinesWhereTheModelPutsThem)
{
    RowsLayout layout(numberedRows(1), 600);
    GroupHeader& header = layout.addRowGroup(420, 0);
    header.setBackColor(QColor(192, 192, 192));
    header.setBackStyle(BackStyle::Opaque);
    auto& bar = layout.Detail().Controls().add<Shape>(QStringLiteral("bar"));
    bar.setBounds(4000, 0, 1000, 600);
    bar.setBackColor(colorFromLong(0xFFFF));
    bar.setBackStyle(BackStyle::Opaque);
    auto& rule = layout.Detail().Controls().add<Line>(QStringLiteral("rule"));
    rule.setPoints(6000, 0, 6000, 600);
    rule.setLineWeight(4);
    rule.setLineColor(QColor(0, 0, 255));
    auto doc = run(layout);

    const double dpi = 96;
    const QImage image = doc->renderPage(0, dpi);
    EXPECT_EQ(image.size(), QSize(816, 1056));
    const double headerTop = 792 + 500;
    const double detailTop = headerTop + 420;
    EXPECT_EQ(pixelAtTwips(image, 720 + 8000, headerTop + 210, dpi), QColor(192, 192, 192));
    EXPECT_EQ(pixelAtTwips(image, 720 + 4500, detailTop + 300, dpi), QColor(255, 255, 0));
    EXPECT_EQ(pixelAtTwips(image, 720 + 6000, detailTop + 300, dpi), QColor(0, 0, 255));
    EXPECT_EQ(pixelAtTwips(image, 720 + 8000, detailTop + 300, dpi), QColor(Qt::white));
}

TEST(ReportPainting, ASectionCutOffAtTheFooterDrawsNothingBelowTheBody)
{
    RowsLayout layout(numberedRows(1), 5000);
    layout.setPrintHeight(4000);
    auto& fill = layout.Detail().Controls().add<Shape>(QStringLiteral("fill"));
    fill.setBounds(0, 0, 5000, 5000);
    fill.setBackColor(Qt::red);
    fill.setBackStyle(BackStyle::Opaque);
    fill.setLineStyle(LineStyle::Transparent);
    auto doc = run(layout);
    const QImage image = doc->renderPage(0, 72);
    const double bodyBottom = 792 + 4000 - 500;
    EXPECT_EQ(pixelAtTwips(image, 2000, bodyBottom - 100, 72), QColor(Qt::red));
    EXPECT_EQ(pixelAtTwips(image, 2000, bodyBottom + 100, 72), QColor(Qt::white));
}

TEST(ReportPainting, TextStaysInsideItsControl)
{
    RowsLayout layout({});
    auto& text = layout.PageHeader().Controls().add<Label>(QStringLiteral("long"));
    text.setBounds(0, 0, 1440, 250);
    text.setFontSize(12);
    text.setCaption(QStringLiteral("WWWWWWWWWWWWWWWWWWWW WWWWWWWWWWWWWWWWWWWWWW WWWWWWWWWWWWW"));
    auto doc = run(layout);
    const QImage image = doc->renderPage(0, 144);
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < image.height() / 4; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) > 128)
                continue;
            const double tx = x * 1440.0 / 144;
            const double ty = y * 1440.0 / 144;
            const bool in = tx >= 700 && tx <= 720 + 1440 + 20 && ty >= 780 && ty <= 792 + 250 + 20;
            (in ? inside : outside) += 1;
        }
    }
    EXPECT_GT(inside, 50);
    EXPECT_EQ(outside, 0);
}
