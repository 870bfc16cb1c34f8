#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace code39reader {

// Reads Code 39 symbols along one row of pixels, as a scanner's beam would: from x0 up to
// x1, dark pixels are bars and light ones spaces; each character is nine elements, three of
// them wide, followed by a narrow gap; a symbol runs from "*" to "*" and ends at a wide
// light stretch. Returns the text between the start and stop characters of every symbol
// found, left to right; a symbol that cannot be read whole gives "?" in its place.
QStringList readRow(const QImage& image, int y, int x0, int x1);

// The nine elements of a character, bar first, 1 for wide ("000110100" for "0"); empty for
// a character Code 39 has no symbol for.
QString pattern(QChar c);

} // namespace code39reader
