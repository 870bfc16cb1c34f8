#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>

class QWidget;

namespace ui {

// Lengths on screen and on paper are kept in twips, 1440 to the inch and 20 to the point, as
// the designs give them. They become pixels (or a device's units) only at the edge: for screens
// through the conversions below, for paper where a page is painted.
using Twips = double;
inline constexpr Twips kTwipsPerInch = 1440.0;
inline constexpr Twips kTwipsPerPoint = 20.0;

// A rectangle in twips.
struct TwipsRect {
    Twips left = 0;
    Twips top = 0;
    Twips width = 0;
    Twips height = 0;

    Twips right() const { return left + width; }
    Twips bottom() const { return top + height; }
    QRectF toRectF() const { return {left, top, width, height}; }
    static TwipsRect fromRectF(const QRectF& r) { return {r.x(), r.y(), r.width(), r.height()}; }
    bool operator==(const TwipsRect&) const = default;
};

// Twips and the pixels of the screen a widget is on (96 dots per inch when it cannot tell).
int twipsToPixels(Twips twips, const QWidget* widget);
Twips pixelsToTwips(int pixels, const QWidget* widget);
// A rectangle in pixels; a negative width or height becomes 0.
QRect toPixels(const TwipsRect& rect, const QWidget* widget);
QPoint toPixels(Twips left, Twips top, const QWidget* widget);

// Puts a widget at a rectangle given in twips of its parent, or moves it to a place keeping its
// size.
void place(QWidget* widget, const TwipsRect& rect);
void moveTo(QWidget* widget, Twips left, Twips top);

} // namespace ui
