#pragma once

#include "reports/clsMailingLabels.h"
#include "platform/report/Report.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>

#include <cstdint>

// A street line as a label prints it: in capitals, without full stops and commas, with the
// direction and unit words that stand as words of their own shortened ("NORTH " to "N "), and
// the street type that ends the line shortened ("STREET" to "ST").
QString AbbreviateAddress(const QString& street);

// Mailing labels for sheets of 1 in by 2-5/8 in labels, three across and ten down: one label
// for every person who is not removed, is on the mailing list, has a street address and meets
// the report condition, in the handed-over sort order. With the addresses combined, one label
// serves everybody at one street and postal code, their first names joined by " & ".
//
// The whole list is read while the layout is created; a data file or condition that cannot be
// read throws, so that the report is not opened. Each label prints the optional first line
// as typed, then the name, the street line and the city line in capitals.
class rptLabels final : public report::Report {
public:
    rptLabels();

    const clsMailingLabels& Labels() const { return m_labels; }
    std::int32_t LabelCount() const { return m_labelCount; }

private:
    void LoadLabels();
    void Detail_Format();
    // The lines of one label, each as wide as the label's text box at most, and no more lines
    // than the box holds.
    QString labelText(const clsMailingLabel& label, const QString& line1) const;
    QStringList wrapped(const QString& text) const;
    QString elided(const QString& text) const;

    clsMailingLabels m_labels;
    std::int32_t m_labelCount = 0;
    std::int32_t m_printedCount = 0;
    std::int32_t m_nextLabel = 0;

    report::TextBox& m_labelText;
    QFont m_font;
    QFontMetricsF m_metrics;
    int m_linesPerLabel = 1;
};
