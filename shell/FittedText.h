#pragma once

#include "platform/report/Controls.h"

#include <QString>

// The type size, in half points from designedPoints down to smallestPoints, at which every
// line of the text (lines are split at line breaks) fits the width in that font: the designed
// size when it fits, the smallest when none does.
double fittedPoints(const report::Font& font, const QString& text, double width,
                    double designedPoints, double smallestPoints = 6);

// True when every line of the text fits the width in that font.
bool textFits(const report::Font& font, const QString& text, double width);

// Sets a text box's text in its designed type size, or smaller, in half points down to
// smallestPoints, where a line would not fit the box's width: a long name, town or e-mail
// address prints whole instead of cut off. A line still too long at the smallest size is cut
// off as before.
void setFittedText(report::TextBox& box, const QString& text, double designedPoints,
                   double smallestPoints = 6);
