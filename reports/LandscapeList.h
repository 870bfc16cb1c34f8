#pragma once

#include "reports/ListReport.h"
#include "platform/report/Landscape.h"

#include <QStringList>

#include <initializer_list>

// The base of the list layouts printed as one landscape table: one row a person, the columns
// separated by rules, their headings in a box at the foot of the page header under the title,
// the group name, the time stamp and the page number; the maker's footer below. Arial
// throughout: headings 9 pt bold, fields 9 pt. The pages are landscape for the run; the
// printer's orientation is put back when the run ends.
class LandscapeList : public ListReport {
protected:
    // The table's width; the page header's height and the top of the box that holds the
    // column headings; the left edge of the time stamp and the page number (right-aligned).
    struct Frame {
        report::Twips width = 0;
        report::Twips headerHeight = 0;
        report::Twips headingBoxTop = 0;
        report::Twips stampLeft = 0;
    };
    explicit LandscapeList(const Frame& frame);

    void ReportStart() override;
    void ReportEnd() override;

    // A column heading in the page header, one line high; a field in the detail, one line high,
    // that cuts a text too long for it at its right edge.
    report::Label& addHeading(const QString& name, report::Twips left, report::Twips top,
                              report::Twips width, const QString& text,
                              report::Alignment alignment = report::Alignment::Left);
    report::TextBox& addField(const QString& name, report::Twips left, report::Twips top,
                              report::Twips width,
                              report::Alignment alignment = report::Alignment::Left);

    // The rules between the columns at the given x: in the heading box (named VLine1, VLine2,
    // ...), and in the detail, where the outer edges and a line under the row join them (named
    // in order: left edge, the rules, right edge, the line under the row).
    void addHeadingRules(std::initializer_list<report::Twips> rules);
    void addRowRules(std::initializer_list<report::Twips> rules, const QStringList& names);

    // Sets the text of a detail field.
    void setField(const QString& name, const QString& text);

    // Names made of a stem and the numbers from first to last: "Line1" ... "Line10".
    static QStringList numbered(const QString& stem, int first, int last);

    const Frame& frame() const { return m_frame; }

private:
    Frame m_frame;
    report::LandscapeRun m_landscape;
};
