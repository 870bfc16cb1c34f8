#include "shell/Twips.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {
int dpiOf(const QWidget* widget)
{
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return dpi > 0 ? dpi : 96;
}
} // namespace

int twipsToPixels(double twips, const QWidget* widget)
{
    return static_cast<int>(std::lround(twips * dpiOf(widget) / kTwipsPerInch));
}

double pixelsToTwips(int pixels, const QWidget* widget)
{
    return static_cast<double>(pixels) * kTwipsPerInch / dpiOf(widget);
}

QRect twipsRectToPixels(double left, double top, double width, double height, const QWidget* widget)
{
    return QRect(twipsToPixels(left, widget), twipsToPixels(top, widget),
                 std::max(0, twipsToPixels(width, widget)), std::max(0, twipsToPixels(height, widget)));
}
