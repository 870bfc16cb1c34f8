#include "platform/ui/Twips.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

int dpiOf(const QWidget* widget)
{
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return dpi > 0 ? dpi : 96;
}

} // namespace

int twipsToPixels(Twips twips, const QWidget* widget)
{
    return static_cast<int>(std::lround(twips * dpiOf(widget) / kTwipsPerInch));
}

Twips pixelsToTwips(int pixels, const QWidget* widget)
{
    return static_cast<Twips>(pixels) * kTwipsPerInch / dpiOf(widget);
}

QRect toPixels(const TwipsRect& rect, const QWidget* widget)
{
    return QRect(twipsToPixels(rect.left, widget), twipsToPixels(rect.top, widget),
                 std::max(0, twipsToPixels(rect.width, widget)),
                 std::max(0, twipsToPixels(rect.height, widget)));
}

QPoint toPixels(Twips left, Twips top, const QWidget* widget)
{
    return QPoint(twipsToPixels(left, widget), twipsToPixels(top, widget));
}

void place(QWidget* widget, const TwipsRect& rect)
{
    widget->setGeometry(toPixels(rect, widget));
}

void moveTo(QWidget* widget, Twips left, Twips top)
{
    widget->move(toPixels(left, top, widget));
}

} // namespace ui
