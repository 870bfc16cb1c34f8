#pragma once

#include "platform/report/Document.h"

#include <QRectF>
#include <QStringList>

#include <vector>

// Reading back what a statistics layout placed on its page: the controls added at run time
// have no names, so they are found by where they stand, in twips relative to their section.
namespace statstest {

QRectF localRect(const report::FoundItem& item);

// Texts of the run-time labels whose left edge is at `left`, in the order they were added.
QStringList addedTextsAt(const report::Document& doc, double left);
// Texts and rectangles of the run-time labels whose top edge is at `top`.
std::vector<std::pair<QString, QRectF>> addedLabelsAtTop(const report::Document& doc, double top);

// The filled shapes standing on a frame's bottom edge from inside it (bars), in the order they
// were added; color, when
// valid, keeps only shapes of that fill.
std::vector<QRectF> barsIn(const report::Document& doc, const QRectF& frame,
                           const QColor& color = QColor());

// The captions of the scale left of a frame, lowest line first.
QStringList scaleCaptions(const report::Document& doc, const QRectF& frame);

// The second point's y of a named line, relative to its section.
double lineY2(const report::Document& doc, const QString& name);

// The width of a text printed in that font, in twips.
double printedWidth(const QString& text, const report::Font& font);

} // namespace statstest
