#pragma once

#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/report/Report.h"
#include "shell/ReportParts.h"

#include <QString>

#include <cstdint>

// The base of the list layouts: layouts that run their own query while they are created and
// print one detail instance for every row of it.
//
// What the base does:
//   - OpenQuery (called by the layout's constructor, after it built its design): opens its own
//     connection on program().ConnectionString and the query on it, takes the row count and
//     tells the user when there is nothing to print ("No Matching Records") or when the rows
//     could not be read at all (a critical message with the error). The report opens in both
//     cases, with its page headers and footers and no rows.
//   - The detail's Format handler: counts the rows printed; while rows remain, it has the
//     layout fill the detail from the current row (FillDetail), moves to the next row and
//     requests the next detail. The call after the last row makes no request, which ends the
//     rows, so exactly one detail prints per row.
//   - The page header's Format handler puts the group name into "SubTitle" (when the layout has
//     one); the page footer's Format handler puts the time stamp into "lblTimestamp" and
//     "Page: " + the page number into "lblPage" (page header controls, captured when the page
//     closes, so both are right on every page).
// The header and footer controls come from the shared builders of shell/ReportParts.h.
//
// A list layout in brief:
//   rptExample::rptExample()
//   {
//       setCaption("Example");
//       PageHeader().setHeight(1020);
//       reportparts::addTitle(PageHeader(), {0, 0, 10710, 540}, "Example");
//       reportparts::addSubTitle(PageHeader(), {0, 480, 10740, 360});
//       reportparts::addTimestampAndPage(PageHeader(), {7470, 0, 3240, 270},
//                                        {7470, 270, 3240, 270});
//       ... detail controls ...
//       PageFooter().setHeight(360);
//       reportparts::addMakerFooter(PageFooter(), {0, 90, 10710, 270}, {0, 90, 3240, 270},
//                                   {7470, 90, 3240, 270});
//       OpenQuery("SELECT ... WHERE Youth_Deleted = False" + AndReportFilter() + " ORDER BY ...");
//   }
//   void rptExample::FillDetail(data::Recordset& rows) { ... controls from rows["..."] ... }
class ListReport : public report::Report {
public:
    ~ListReport() override;

    // The number of rows of the query, taken once when it was opened; 0 when it failed.
    std::int32_t RowCount() const { return m_rowCount; }
    // The number of detail Format calls so far.
    std::int32_t PrintedCount() const { return m_printedCount; }

    // The message shown when the query has no rows.
    static const QString kNoRecordsText;
    static const QString kNoRecordsTitle;

protected:
    ListReport();

    // " AND " followed by the report condition (program().ReportFilter), or nothing when
    // there is none.
    static QString AndReportFilter();

    // Opens the connection and the query (client-side cursors, a static optimistic
    // recordset), takes the row count and stands on the first row. Shows "No Matching
    // Records" for an empty result and a critical message when the rows cannot be read; the
    // row count is then 0. Never throws.
    void OpenQuery(const QString& sql);

    // The query's rows; the current row is the one the next detail prints.
    data::Recordset& Rows() { return m_rows; }

    // Fills the detail's controls from the current row. An error thrown here costs the rest of
    // this row's filling only: the rows go on.
    virtual void FillDetail(data::Recordset& rows) = 0;

    // The page handlers; a layout that overrides them calls these for the shared part.
    virtual void PageHeader_Format();
    virtual void PageFooter_Format();

private:
    void Detail_Format();

    data::Connection m_connection;
    data::Recordset m_rows;
    std::int32_t m_rowCount = 0;
    std::int32_t m_printedCount = 0;
};
