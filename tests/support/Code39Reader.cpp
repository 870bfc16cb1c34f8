#include "tests/support/Code39Reader.h"

#include <QColor>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace code39reader {

namespace {

// The Code 39 character set: nine elements (bar, space, ..., bar), 1 for a wide element.
constexpr std::array<std::pair<char, const char*>, 44> kTable = {{
    {'0', "000110100"}, {'1', "100100001"}, {'2', "001100001"}, {'3', "101100000"},
    {'4', "000110001"}, {'5', "100110000"}, {'6', "001110000"}, {'7', "000100101"},
    {'8', "100100100"}, {'9', "001100100"}, {'A', "100001001"}, {'B', "001001001"},
    {'C', "101001000"}, {'D', "000011001"}, {'E', "100011000"}, {'F', "001011000"},
    {'G', "000001101"}, {'H', "100001100"}, {'I', "001001100"}, {'J', "000011100"},
    {'K', "100000011"}, {'L', "001000011"}, {'M', "101000010"}, {'N', "000010011"},
    {'O', "100010010"}, {'P', "001010010"}, {'Q', "000000111"}, {'R', "100000110"},
    {'S', "001000110"}, {'T', "000010110"}, {'U', "110000001"}, {'V', "011000001"},
    {'W', "111000000"}, {'X', "010010001"}, {'Y', "110010000"}, {'Z', "011010000"},
    {'-', "010000101"}, {'.', "110000100"}, {' ', "011000100"}, {'*', "010010100"},
    {'$', "010101000"}, {'/', "010100010"}, {'+', "010001010"}, {'%', "000101010"},
}};

struct Run {
    bool dark;
    int width;
};

std::vector<Run> runs(const QImage& image, int y, int x0, int x1)
{
    std::vector<Run> result;
    for (int x = std::max(0, x0); x < std::min(x1, image.width()); ++x) {
        const bool dark = qGray(image.pixel(x, y)) < 128;
        if (!result.empty() && result.back().dark == dark)
            ++result.back().width;
        else
            result.push_back({dark, 1});
    }
    return result;
}

// The character of nine element widths: the three widest are wide, and must be clearly wider
// than the rest.
QChar decode(const Run* elements)
{
    std::array<int, 9> widths{};
    for (int i = 0; i < 9; ++i)
        widths[std::size_t(i)] = elements[i].width;
    std::array<int, 9> sorted = widths;
    std::sort(sorted.begin(), sorted.end());
    const int widestNarrow = sorted[5];
    const int narrowestWide = sorted[6];
    if (narrowestWide * 2 < widestNarrow * 3) // wide under 1.5 times narrow: unreadable
        return {};
    QString code;
    for (int w : widths)
        code += w >= narrowestWide ? u'1' : u'0';
    for (const auto& [c, p] : kTable) {
        if (code == QLatin1String(p))
            return QLatin1Char(c);
    }
    return {};
}

} // namespace

QString pattern(QChar c)
{
    for (const auto& [ch, p] : kTable) {
        if (QLatin1Char(ch) == c)
            return QString::fromLatin1(p);
    }
    return {};
}

QStringList readRow(const QImage& image, int y, int x0, int x1)
{
    const std::vector<Run> r = runs(image, y, x0, x1);
    QStringList symbols;
    std::size_t i = 0;
    while (i < r.size()) {
        if (!r[i].dark) {
            ++i;
            continue;
        }
        // A symbol: characters until a light stretch wider than a few narrow elements.
        QString text;
        bool whole = true;
        while (true) {
            if (i + 9 > r.size()) {
                whole = false;
                i = r.size();
                break;
            }
            const QChar c = decode(&r[i]);
            int narrow = r[i].width;
            for (std::size_t k = i; k < i + 9; ++k)
                narrow = std::min(narrow, r[k].width);
            i += 9;
            if (c.isNull())
                whole = false;
            text += c.isNull() ? QChar(u'?') : c;
            if (i >= r.size() || r[i].width > 3 * narrow)
                break; // the quiet zone after the symbol
            ++i;       // the gap between two characters
        }
        if (whole && text.size() >= 2 && text.startsWith(u'*') && text.endsWith(u'*') &&
            !text.mid(1, text.size() - 2).contains(u'*'))
            symbols << text.mid(1, text.size() - 2);
        else
            symbols << QStringLiteral("?");
    }
    return symbols;
}

} // namespace code39reader
