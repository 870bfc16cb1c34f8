#pragma once

#include <QRect>

class QPaintDevice;
class QWidget;

// Lengths are kept in twips (1440 to the inch) and converted to pixels only here, at the edge.
inline constexpr int kTwipsPerInch = 1440;

int twipsToPixels(double twips, const QWidget* widget);
double pixelsToTwips(int pixels, const QWidget* widget);
// A rectangle given in twips (left, top, width, height), in pixels; negative sizes become 0.
QRect twipsRectToPixels(double left, double top, double width, double height, const QWidget* widget);
