#pragma once

#include "reports/ListReport.h"
#include "reports/PersonBarcode.h"

#include <memory>

// The roll sheet: names in three columns, filled down the page and then across, each with a
// "Present" box. From the catalogue it lists every person who is not removed and meets the
// report condition, with empty boxes to tick by hand; from the meetings screen (a meeting id
// handed over) it lists that meeting's saved attendees, ticked, with the meeting's date,
// attendance, offering, topic and verse in the header. With the barcode option each name has
// the person's barcode under it.
class rptRollSheet final : public ListReport {
public:
    rptRollSheet();

    bool MeetingMode() const { return m_meetingMode; }
    bool BarcodeMode() const { return m_barcodeMode; }

    // The page's printable height, set at the start of every page.
    static constexpr report::Twips kPageHeight = 14256;

protected:
    void ReportStart() override;
    void PageStart() override;
    void PageHeader_Format() override;
    void FillDetail(data::Recordset& rows) override;

private:
    // The meeting's header texts, read from the first row when the layout is created (every
    // row carries the same meeting), so that every page header shows them.
    struct Meeting {
        QString date;
        QString offering;
        QString topic;
        QString verse;
    };

    bool m_meetingMode = false;
    bool m_barcodeMode = false;
    Meeting m_meeting;
    std::unique_ptr<PersonBarcodeSymbol> m_barcode;
};
