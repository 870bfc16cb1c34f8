#include "reports/ListTable.h"

#include "shell/Conversions.h"

namespace listtable {

namespace {

// The height of one line of 9 pt text with a little room below it.
constexpr report::Twips kLineHeight = 240;
constexpr double kPoints = 9;

} // namespace

QString fieldText(data::Recordset& rows, const QString& field)
{
    return ToString(rows[field], QString());
}

report::Label& addHeading(report::Section& section, const QString& name, report::Twips left,
                          report::Twips top, report::Twips width, const QString& text,
                          report::Alignment alignment)
{
    auto& heading = section.Controls().add<report::Label>(name);
    heading.setBounds(left, top, width, kLineHeight);
    heading.setFontSize(kPoints);
    heading.setFontBold(true);
    heading.setAlignment(alignment);
    heading.setCaption(text);
    return heading;
}

report::TextBox& addField(report::Section& section, const QString& name, report::Twips left,
                          report::Twips top, report::Twips width, report::Alignment alignment)
{
    auto& field = section.Controls().add<report::TextBox>(name);
    field.setBounds(left, top, width, kLineHeight);
    field.setFontSize(kPoints);
    field.setAlignment(alignment);
    // A value too long for its column is cut at the rule rather than wrapped out of sight.
    field.setWordWrap(false);
    return field;
}

report::Line& addVerticalRule(report::Section& section, const QString& name, report::Twips x,
                              report::Twips top, report::Twips bottom)
{
    auto& rule = section.Controls().add<report::Line>(name);
    rule.setPoints(x, top, x, bottom);
    return rule;
}

report::Line& addHorizontalRule(report::Section& section, const QString& name, report::Twips y,
                                report::Twips left, report::Twips right)
{
    auto& rule = section.Controls().add<report::Line>(name);
    rule.setPoints(left, y, right, y);
    return rule;
}

report::Shape& addBox(report::Section& section, const QString& name, const QRectF& bounds)
{
    auto& box = section.Controls().add<report::Shape>(name);
    box.setBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
    return box;
}

} // namespace listtable
