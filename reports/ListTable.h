#pragma once

#include "platform/data/Recordset.h"
#include "platform/report/Section.h"

#include <QString>

// Building blocks of the lists printed as a table: a column heading in the page header, a
// field in the detail and the rules between the columns. Arial throughout; headings 9 pt
// bold, fields 9 pt.
namespace listtable {

// The text of a field of the current row; empty for Null.
QString fieldText(data::Recordset& rows, const QString& field);

report::Label& addHeading(report::Section& section, const QString& name, report::Twips left,
                          report::Twips top, report::Twips width, const QString& text,
                          report::Alignment alignment = report::Alignment::Left);
report::TextBox& addField(report::Section& section, const QString& name, report::Twips left,
                          report::Twips top, report::Twips width,
                          report::Alignment alignment = report::Alignment::Left);

// A vertical rule at x from top to bottom, and a horizontal one at y from left to right.
report::Line& addVerticalRule(report::Section& section, const QString& name, report::Twips x,
                              report::Twips top, report::Twips bottom);
report::Line& addHorizontalRule(report::Section& section, const QString& name, report::Twips y,
                                report::Twips left, report::Twips right);

// An outlined box.
report::Shape& addBox(report::Section& section, const QString& name, const QRectF& bounds);

} // namespace listtable
