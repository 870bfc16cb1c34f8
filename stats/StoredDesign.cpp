#include "stats/StoredDesign.h"

namespace stats::design {

namespace {

void style(report::TextControl& control, const StoredLabel& stored)
{
    control.setBounds(stored.left, stored.top, stored.width, stored.height);
    control.setFontSize(stored.points);
    control.setFontBold(stored.bold);
    control.setAlignment(stored.alignment);
}

} // namespace

report::Label& addLabel(report::Section& section, const StoredLabel& stored)
{
    auto& label = section.Controls().add<report::Label>(QString::fromLatin1(stored.name));
    style(label, stored);
    label.setCaption(QString::fromLatin1(stored.caption));
    return label;
}

report::TextBox& addTextBox(report::Section& section, const StoredLabel& stored)
{
    auto& box = section.Controls().add<report::TextBox>(QString::fromLatin1(stored.name));
    style(box, stored);
    box.setText(QString::fromLatin1(stored.caption));
    return box;
}

report::Shape& addShape(report::Section& section, const StoredShape& stored)
{
    auto& shape = section.Controls().add<report::Shape>(QString::fromLatin1(stored.name));
    shape.setBounds(stored.left, stored.top, stored.width, stored.height);
    if (stored.shaded) {
        shape.setBackColor(report::colorFromLong(0xE0E0E0));
        shape.setBackStyle(report::BackStyle::Opaque);
    }
    return shape;
}

report::Line& addLine(report::Section& section, const StoredLine& stored)
{
    auto& line = section.Controls().add<report::Line>(QString::fromLatin1(stored.name));
    line.setPoints(stored.x1, stored.y1, stored.x2, stored.y2);
    return line;
}

} // namespace stats::design
