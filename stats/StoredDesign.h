#pragma once

#include "platform/report/Section.h"

// The stored controls of the statistics layouts, described as tables of twips and fonts.
namespace stats::design {

struct StoredLabel {
    const char* name;
    double left, top, width, height;
    double points; // Arial
    bool bold;
    report::Alignment alignment;
    const char* caption;
};

struct StoredShape {
    const char* name;
    double left, top, width, height;
    bool shaded; // a light grey heading band rather than an open frame
};

struct StoredLine {
    const char* name;
    double x1, y1, x2, y2;
};

report::Label& addLabel(report::Section& section, const StoredLabel& stored);
// A text box laid out as a stored label; its text starts as that label's caption.
report::TextBox& addTextBox(report::Section& section, const StoredLabel& stored);
report::Shape& addShape(report::Section& section, const StoredShape& stored);
report::Line& addLine(report::Section& section, const StoredLine& stored);

} // namespace stats::design
