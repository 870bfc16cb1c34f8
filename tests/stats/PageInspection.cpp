#include "tests/stats/PageInspection.h"

#include <QFontMetricsF>
#include <QtGlobal>

namespace statstest {

namespace {

bool near(double a, double b)
{
    return std::abs(a - b) < 0.01;
}

} // namespace

QRectF localRect(const report::FoundItem& item)
{
    return report::itemBase(*item.item).rect.translated(-item.section->rect.topLeft());
}

QStringList addedTextsAt(const report::Document& doc, double left)
{
    QStringList out;
    for (const report::FoundItem& f : doc.items(QString())) {
        if (std::holds_alternative<report::TextItem>(*f.item) && near(localRect(f).left(), left))
            out << report::itemText(*f.item);
    }
    return out;
}

std::vector<std::pair<QString, QRectF>> addedLabelsAtTop(const report::Document& doc, double top)
{
    std::vector<std::pair<QString, QRectF>> out;
    for (const report::FoundItem& f : doc.items(QString())) {
        if (std::holds_alternative<report::TextItem>(*f.item) && near(localRect(f).top(), top))
            out.emplace_back(report::itemText(*f.item), localRect(f));
    }
    return out;
}

std::vector<QRectF> barsIn(const report::Document& doc, const QRectF& frame, const QColor& color)
{
    std::vector<QRectF> bars;
    for (const report::FoundItem& f : doc.items(QString())) {
        const auto* shape = std::get_if<report::ShapeItem>(f.item);
        if (!shape || !shape->backColor.isValid())
            continue;
        if (color.isValid() && shape->backColor != color)
            continue;
        const QRectF r = localRect(f);
        if (r.left() >= frame.left() && r.left() < frame.right() && r.top() >= frame.top() - 0.01 &&
            std::abs(r.bottom() - frame.bottom()) < 0.01)
            bars.push_back(r);
    }
    return bars;
}

QStringList scaleCaptions(const report::Document& doc, const QRectF& frame)
{
    return addedTextsAt(doc, frame.left() - 70 - 1480);
}

double lineY2(const report::Document& doc, const QString& name)
{
    const auto found = doc.items(name);
    const auto& line = std::get<report::LineItem>(*found.at(0).item);
    return line.line.y2() - found.at(0).section->rect.top();
}

double printedWidth(const QString& text, const report::Font& font)
{
    return QFontMetricsF(report::toQFont(font)).horizontalAdvance(text);
}

} // namespace statstest
