#include "stats/StoredDesign.h"

namespace stats::design {

namespace {

void style(report::TextControl& control, const LabelSpec& spec)
{
    control.setBounds(spec.left, spec.top, spec.width, spec.height);
    control.setFontSize(spec.points);
    control.setFontBold(spec.bold);
    control.setAlignment(spec.alignment);
}

} // namespace

report::Label& addLabel(report::Section& section, const LabelSpec& spec)
{
    auto& label = section.Controls().add<report::Label>(QString::fromLatin1(spec.name));
    style(label, spec);
    label.setCaption(QString::fromLatin1(spec.caption));
    return label;
}

report::TextBox& addTextBox(report::Section& section, const LabelSpec& spec)
{
    auto& box = section.Controls().add<report::TextBox>(QString::fromLatin1(spec.name));
    style(box, spec);
    box.setText(QString::fromLatin1(spec.caption));
    return box;
}

report::Shape& addShape(report::Section& section, const ShapeSpec& spec)
{
    auto& shape = section.Controls().add<report::Shape>(QString::fromLatin1(spec.name));
    shape.setBounds(spec.left, spec.top, spec.width, spec.height);
    if (spec.shaded) {
        shape.setBackColor(report::colorFromLong(0xE0E0E0));
        shape.setBackStyle(report::BackStyle::Opaque);
    }
    return shape;
}

report::Line& addLine(report::Section& section, const LineSpec& spec)
{
    auto& line = section.Controls().add<report::Line>(QString::fromLatin1(spec.name));
    line.setPoints(spec.x1, spec.y1, spec.x2, spec.y2);
    return line;
}

} // namespace stats::design
