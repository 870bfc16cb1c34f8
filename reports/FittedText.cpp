#include "reports/FittedText.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>

void setFittedText(report::TextBox& box, const QString& text, double designedPoints,
                   double smallestPoints)
{
    box.setText(text);
    report::Font font = box.Font();
    font.size = designedPoints;
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = plain.split(u'\n');
    for (; font.size > smallestPoints; font.size -= 0.5) {
        const QFontMetricsF metrics(report::toQFont(font));
        if (std::all_of(lines.begin(), lines.end(), [&](const QString& line) {
                return metrics.horizontalAdvance(line) <= box.Width();
            }))
            break;
    }
    box.setFont(font);
}
