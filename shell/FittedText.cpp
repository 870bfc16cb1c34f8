#include "shell/FittedText.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>

namespace {

QStringList lines(const QString& text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return plain.split(u'\n');
}

} // namespace

bool textFits(const report::Font& font, const QString& text, double width)
{
    const QFontMetricsF metrics(report::toQFont(font));
    const QStringList all = lines(text);
    return std::all_of(all.begin(), all.end(), [&](const QString& line) {
        return metrics.horizontalAdvance(line) <= width;
    });
}

double fittedPoints(const report::Font& font, const QString& text, double width,
                    double designedPoints, double smallestPoints)
{
    report::Font sized = font;
    for (sized.size = designedPoints; sized.size > smallestPoints; sized.size -= 0.5) {
        if (textFits(sized, text, width))
            break;
    }
    return std::max(sized.size, smallestPoints);
}

void setFittedText(report::TextBox& box, const QString& text, double designedPoints,
                   double smallestPoints)
{
    box.setText(text);
    report::Font font = box.Font();
    font.size = fittedPoints(font, text, box.Width(), designedPoints, smallestPoints);
    box.setFont(font);
}
