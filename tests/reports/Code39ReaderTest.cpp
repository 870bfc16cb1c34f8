#include "tests/support/Code39Reader.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

// Paints symbols along a row with the uneven element widths a page scaled to print gives:
// narrow elements 3 or 4 pixels, wide ones 9 to 11, and quiet zones between symbols.
QImage paintRow(const QStringList& symbols, bool damageFirstWideBar = false)
{
    QImage image(2000, 5, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    int x = 40;
    int jitter = 0;
    bool damaged = false;
    for (const QString& symbol : symbols) {
        for (QChar c : QLatin1Char('*') + symbol + QLatin1Char('*')) {
            const QString elements = code39reader::pattern(c);
            for (int i = 0; i < 9; ++i) {
                const bool wide = elements.at(i) == u'1';
                int width = wide ? 9 + jitter % 3 : 3 + jitter % 2;
                ++jitter;
                if (wide && i % 2 == 0 && damageFirstWideBar && !damaged) {
                    width = 4;
                    damaged = true;
                }
                if (i % 2 == 0)
                    p.fillRect(x, 0, width, image.height(), Qt::black);
                x += width;
            }
            x += 3 + jitter % 2; // the narrow gap inside the character's picture
        }
        x += 60;
    }
    return image;
}

} // namespace

TEST(Code39Reader, ReadsUnevenlyScaledSymbolsAndRefusesDamagedOnes)
{
    for (QChar c : QStringLiteral("0123456789*ABCXYZ-. $/+%"))
        EXPECT_EQ(code39reader::pattern(c).count(u'1'), 3) << c.toLatin1();

    const QImage row = paintRow({"000007", "12345678", "0042"});
    EXPECT_EQ(code39reader::readRow(row, 2, 0, row.width()),
              QStringList({"000007", "12345678", "0042"}));
    // A window that cuts a symbol in two reads neither half.
    EXPECT_EQ(code39reader::readRow(row, 2, 0, 200), QStringList({"?"}));

    const QImage damaged = paintRow({"000007"}, true);
    EXPECT_EQ(code39reader::readRow(damaged, 2, 0, damaged.width()), QStringList({"?"}));
    const QImage blank(100, 5, QImage::Format_RGB32);
    QImage white = blank;
    white.fill(Qt::white);
    EXPECT_TRUE(code39reader::readRow(white, 2, 0, 100).isEmpty());
}
