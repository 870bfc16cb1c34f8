#pragma once

#include "platform/report/Controls.h"

#include <QString>

// Sets a text box's text in its designed type size, or smaller, in half points down to
// smallestPoints, where a line (lines are split at line breaks) would not fit the box's
// width: a long name, town or e-mail address prints whole instead of cut off. A line still too
// long at the smallest size is cut off as before.
void setFittedText(report::TextBox& box, const QString& text, double designedPoints,
                   double smallestPoints = 6);
