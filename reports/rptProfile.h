#pragma once

#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/report/Report.h"

// The profile sheet: one person's whole record (SelectedYouthID) on one page, in six titled
// boxes (contact information, picture, demographics, history, classifications, comments),
// with the dates the record was created and last edited. Every value is set in the page
// header, which holds the whole sheet; the detail is empty.
class rptProfile final : public report::Report {
public:
    rptProfile();
    ~rptProfile() override;

private:
    void PageHeader_Format();
    bool hasRow() const;

    data::Connection m_connection;
    data::Recordset m_row;
};
