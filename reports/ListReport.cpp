#include "reports/ListReport.h"

#include "platform/data/DataError.h"
#include "platform/ui/Services.h"
#include "shell/ProgramState.h"
#include "shell/TryStep.h"

const QString ListReport::kNoRecordsText =
    QStringLiteral("There are no records to print on this report.");
const QString ListReport::kNoRecordsTitle = QStringLiteral("No Matching Records");

ListReport::ListReport()
{
    PageHeader().onFormat([this] { PageHeader_Format(); });
    Detail().onFormat([this] { Detail_Format(); });
    PageFooter().onFormat([this] { PageFooter_Format(); });
}

ListReport::~ListReport()
{
    m_rows.Close();
}

QString ListReport::AndReportFilter()
{
    const QString& filter = program().ReportFilter;
    return filter.isEmpty() ? QString() : QStringLiteral(" AND ") + filter;
}

void ListReport::OpenQuery(const QString& sql)
{
    m_rowCount = 0;
    QString error;
    try {
        m_connection.setCursorLocation(data::adUseClient);
        m_connection.Open(program().ConnectionString, QString(), QString(), -1);
        m_rows.Open(sql, m_connection, data::adOpenStatic, data::adLockOptimistic, -1);
        m_rows.MoveLast();
        m_rowCount = m_rows.RecordCount();
        m_rows.MoveFirst();
    } catch (const data::DataError& e) {
        error = e.description();
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    if (!error.isNull()) {
        // A query that could not run is not an empty result: say what went wrong.
        m_rowCount = 0;
        ui::critical(QStringLiteral("The records for the report \"%1\" could not be read.\n\n%2")
                         .arg(Caption(), error));
        return;
    }
    if (m_rowCount == 0)
        ui::plainMessage(kNoRecordsText, kNoRecordsTitle);
}

void ListReport::Detail_Format()
{
    ++m_printedCount;
    if (m_printedCount > m_rowCount)
        return;
    TryStep("Filling a report row", [&] { FillDetail(m_rows); });
    TryStep("Moving to the next report row", [&] { m_rows.MoveNext(); });
    Detail().request();
}

void ListReport::PageHeader_Format()
{
    reportparts::setSubTitle(PageHeader());
}

void ListReport::PageFooter_Format()
{
    reportparts::stampPage(*this);
}
