#include "reports/BarcodePictures.h"
#include "reports/Code39.h"
#include "platform/report/Engine.h"
#include "platform/report/Report.h"
#include "tests/support/BuiltProgram.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <map>

namespace {

// Code 39 as the standard writes it, independently of the program's table: bars (B wide,
// b narrow) and spaces (W wide, w narrow), bar first.
const std::map<char, QString> kStandard = {
    {'0', "bwbWBwBwb"}, {'1', "BwbWbwbwB"}, {'2', "bwBWbwbwB"}, {'3', "BwBWbwbwb"},
    {'4', "bwbWBwbwB"}, {'5', "BwbWBwbwb"}, {'6', "bwBWBwbwb"}, {'7', "bwbWbwBwB"},
    {'8', "BwbWbwBwb"}, {'9', "bwBWbwBwb"}, {'*', "bWbwBwBwb"}};

bool isBlack(QRgb pixel)
{
    return qGray(pixel) < 128;
}

// The runs of black and white along a row, as (black, length).
std::vector<std::pair<bool, int>> runsOf(const QImage& image, int y, int from = 0, int to = -1)
{
    std::vector<std::pair<bool, int>> runs;
    if (to < 0)
        to = image.width();
    for (int x = from; x < to; ++x) {
        const bool black = isBlack(image.pixel(x, y));
        if (runs.empty() || runs.back().first != black)
            runs.emplace_back(black, 0);
        ++runs.back().second;
    }
    return runs;
}

// Runs read as elements: narrow when about as wide as the narrowest, wide when about three
// times as wide; "?" for anything else.
QString elementsOf(const std::vector<std::pair<bool, int>>& runs)
{
    int narrow = std::numeric_limits<int>::max();
    for (const auto& [black, length] : runs)
        narrow = std::min(narrow, length);
    QString out;
    for (const auto& [black, length] : runs) {
        const double ratio = double(length) / narrow;
        if (ratio < 1.6)
            out += black ? QLatin1Char('b') : QLatin1Char('w');
        else if (ratio > 2.4 && ratio < 3.6)
            out += black ? QLatin1Char('B') : QLatin1Char('W');
        else
            out += QLatin1Char('?');
    }
    return out;
}

// Reads a whole symbol: characters of nine elements, each followed by a narrow gap.
QString decodeSymbol(const QString& elements)
{
    QString text;
    for (qsizetype i = 0; i + 9 <= elements.size(); i += 10) {
        const QString character = elements.mid(i, 9);
        char found = '?';
        for (const auto& [c, pattern] : kStandard) {
            if (pattern == character)
                found = c;
        }
        text += QLatin1Char(found);
        if (i + 9 < elements.size() && elements.at(i + 9) != QLatin1Char('w'))
            text += QLatin1Char('!'); // no gap between characters
    }
    return text;
}

void expectCharacterPicture(const QImage& picture, char character)
{
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(32, 20));
    const auto runs = runsOf(picture, picture.height() / 2);
    for (int y = 0; y < picture.height(); ++y) {
        EXPECT_EQ(runsOf(picture, y), runs) << "row " << y;
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            EXPECT_TRUE(pixel == qRgb(0, 0, 0) || pixel == qRgb(255, 255, 255));
        }
    }
    // Nine elements and the narrow gap that keeps abutting characters apart.
    EXPECT_EQ(elementsOf(runs), kStandard.at(character) + QLatin1Char('w'));
    // Two pixels a module: narrow elements 2 pixels, wide ones 6, 32 in all.
    int width = 0;
    for (const auto& [black, length] : runs) {
        EXPECT_TRUE(length == 2 || length == 6) << length;
        width += length;
    }
    EXPECT_EQ(width, 32);
}

} // namespace

TEST(BarcodePictures, EachDigitFileTheBuildWroteReadsBackAsItsDigit)
{
    const QDir folder(testenv::builtProgramFolder() + QStringLiteral("/Barcode_GIFS"));
    for (char digit = '0'; digit <= '9'; ++digit) {
        SCOPED_TRACE(digit);
        const QImage picture(folder.filePath(QLatin1Char(digit) + QStringLiteral(".gif")));
        expectCharacterPicture(picture, digit);
    }
}

TEST(BarcodePictures, TheStartAndStopPictureIsMadeFromTheSameTableInCode)
{
    expectCharacterPicture(barcodeAsteriskPicture(), '*');
    EXPECT_EQ(&barcodeAsteriskPicture(), &barcodeAsteriskPicture());
    EXPECT_TRUE(barcodeCharacterPicture('A').isNull());
    EXPECT_TRUE(code39::modules('-').empty());
}

TEST(BarcodePictures, LayoutsFindTheDigitFilesInTheProgramFolder)
{
    EXPECT_EQ(barcodeDigitFile(QLatin1Char('7')),
              QDir(testenv::programFolder()).filePath(QStringLiteral("Barcode_GIFS/7.gif")));
}

TEST(BarcodePictures, ASymbolPrintedFromThePicturesReadsBackWithSharpBars)
{
    // *000007* as a layout prints it: eight pictures 255 x 300 twips, abutting.
    testenv::installBarcodePictures();
    report::Report layout;
    const QString symbol = QStringLiteral("*000007*");
    for (int i = 0; i < symbol.size(); ++i) {
        auto& picture =
            layout.PageHeader().Controls().add<report::Image>(QStringLiteral("bc%1").arg(i));
        picture.setBounds(900 + i * 255, 315, 255, 300);
        picture.setSizeMode(report::SizeMode::Stretch);
        if (symbol.at(i) == QLatin1Char('*'))
            picture.setPicture(barcodeAsteriskPicture(), kBarcodeAsteriskName);
        else
            ASSERT_TRUE(picture.loadPicture(barcodeDigitFile(symbol.at(i))));
    }
    auto doc = report::run(layout);
    ASSERT_TRUE(doc->errors().empty());

    const double dpi = 600;
    const QImage page = doc->renderPage(0, dpi);
    const auto px = [dpi](double twips) { return int(twips * dpi / 1440); };
    const int y = px(792 + 315 + 150);
    // Start a little left of the symbol, in white, and end after it.
    auto runs = runsOf(page, y, px(720 + 900 - 60), px(720 + 900 + 8 * 255 + 60));
    ASSERT_GE(runs.size(), 3u);
    ASSERT_FALSE(runs.front().first);
    runs.erase(runs.begin());
    if (!runs.back().first)
        runs.pop_back();
    EXPECT_EQ(decodeSymbol(elementsOf(runs) + QLatin1Char('w')), symbol);
    // Enlarged without smoothing: no grey at the bars' edges.
    for (int x = px(720 + 900); x < px(720 + 900 + 8 * 255); ++x) {
        const int gray = qGray(page.pixel(x, y));
        EXPECT_TRUE(gray < 30 || gray > 225) << "grey " << gray << " at " << x;
    }
}
