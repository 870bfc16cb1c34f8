#pragma once

#include "platform/report/Controls.h"
#include "platform/report/Report.h"
#include "platform/report/Section.h"

#include <QRectF>
#include <QString>

// The header and footer parts that report layouts share, for any layout, with or without a
// query, in whichever section it puts them (bounds in twips: left, top, width, height; Arial).
//
//   PageHeader().setHeight(1020);
//   reportparts::addTitle(PageHeader(), {0, 0, 10710, 540}, "Group Directory");
//   reportparts::addSubTitle(PageHeader(), {0, 480, 10740, 360});
//   reportparts::addTimestampAndPage(PageHeader(), {7470, 0, 3240, 270}, {7470, 270, 3240, 270});
//   PageFooter().setHeight(360);
//   reportparts::addMakerFooter(PageFooter(), {0, 90, 10710, 270}, {0, 90, 3240, 270},
//                               {7470, 90, 3240, 270});
//   PageHeader().onFormat([this] { reportparts::setSubTitle(PageHeader()); });
//   PageFooter().onFormat([this] { reportparts::stampPage(*this); });
//
// The builders return the new labels, so a layout whose design differs (another font size,
// a left-aligned title) changes them after.
namespace reportparts {

// A label with its caption, font size, weight and alignment.
report::Label& addLabel(report::Section& section, const QString& name, const QRectF& bounds,
                        const QString& caption, double points, bool bold,
                        report::Alignment alignment = report::Alignment::Left);

// "Title": 18 pt bold, centred unless told otherwise, with its fixed text.
report::Label& addTitle(report::Section& section, const QRectF& bounds, const QString& text,
                        report::Alignment alignment = report::Alignment::Center);
// "SubTitle": 14 pt, centred unless told otherwise, showing the group name from the start.
report::Label& addSubTitle(report::Section& section, const QRectF& bounds,
                           report::Alignment alignment = report::Alignment::Center);
// "lblTimestamp" and "lblPage": 9 pt, right-aligned, filled by stampPage.
void addTimestampAndPage(report::Section& section, const QRectF& timestamp, const QRectF& page);
// The footer line, 9 pt bold: "Label3", the maker's name (centred); "Label4", the product's
// full name (left); "Label5", the maker's web address (right).
void addMakerFooter(report::Section& section, const QRectF& maker, const QRectF& product,
                    const QRectF& webAddress);

// "SubTitle" of the section := the group name; for the page header's Format handler.
void setSubTitle(report::Section& section);
// "lblTimestamp" := the present date and time, "lblPage" := "Page: " + the page number, in
// whichever section of the layout holds them. Call it from the page footer's Format handler:
// a page header is taken when its page closes, so both show the values of their own page.
void stampPage(report::Report& layout);

// "Page: " + n.
QString pageText(int pageNumber);
// The present date and time as report headers show it (short date, and the time unless it is
// midnight).
QString timestampText();

} // namespace reportparts
