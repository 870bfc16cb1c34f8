#pragma once

#include "platform/report/Section.h"

// The stored controls of the statistics layouts, described as tables of twips and fonts.
namespace stats::design {

struct LabelSpec {
    const char* name;
    double left, top, width, height;
    double points; // Arial
    bool bold;
    report::Alignment alignment;
    const char* caption;
};

struct ShapeSpec {
    const char* name;
    double left, top, width, height;
    bool shaded; // a light grey heading band rather than an open frame
};

struct LineSpec {
    const char* name;
    double x1, y1, x2, y2;
};

report::Label& addLabel(report::Section& section, const LabelSpec& spec);
// A text box laid out as a label spec; its text starts as the spec's caption.
report::TextBox& addTextBox(report::Section& section, const LabelSpec& spec);
report::Shape& addShape(report::Section& section, const ShapeSpec& spec);
report::Line& addLine(report::Section& section, const LineSpec& spec);

} // namespace stats::design
