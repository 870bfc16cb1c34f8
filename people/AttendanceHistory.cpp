#include "people/AttendanceHistory.h"

#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/LocaleText.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Services.h"

#include <QListWidget>

namespace {

QString sqlDate(const QDate& date)
{
    return QLatin1Char('#') + data::text::formatUsDate(date) + QLatin1Char('#');
}

// The meeting dates of a query's first column, in the query's order.
std::vector<QDate> readDates(const QString& sql, data::CursorTypeEnum cursor)
{
    data::Connection connection;
    connection.setCursorLocation(data::adUseServer);
    connection.Open(program().ConnectionString);
    data::Recordset rows;
    rows.Open(sql, connection, cursor);
    std::vector<QDate> dates;
    dates.reserve(static_cast<std::size_t>(rows.RecordCount()));
    for (; !rows.EOF(); rows.MoveNext()) {
        if (const auto day = convert::toDate(rows[0].Value()))
            dates.push_back(data::jetdate::toDate(*day));
    }
    rows.Close();
    connection.Close();
    return dates;
}

} // namespace

AttendanceHistory::AttendanceHistory(QListWidget* list) : m_list(list) {}

QDate AttendanceHistory::CutOff()
{
    return ui::today().addDays(-kWindowDays);
}

QString AttendanceHistory::HistoryLine(const QDate& meeting, bool present)
{
    return meeting.toString(QStringLiteral("MM/dd/yyyy")) +
           (present ? QStringLiteral(" -  PRESENT") : QStringLiteral(" -  Absent"));
}

QStringList AttendanceHistory::HistoryLines(const std::vector<QDate>& recent,
                                            const QSet<QDate>& attended)
{
    QStringList lines;
    if (attended.isEmpty())
        return lines;
    lines.reserve(static_cast<qsizetype>(recent.size()));
    for (const QDate& meeting : recent)
        lines << HistoryLine(meeting, attended.contains(meeting));
    return lines;
}

void AttendanceHistory::LoadRecentWeeks()
{
    m_recent.clear();
    try {
        m_recent = readDates(QStringLiteral("SELECT Wk_Date FROM Weeks WHERE Wk_Date>=") +
                                 sqlDate(CutOff()) + QStringLiteral(" ORDER BY Wk_Date DESC;"),
                             data::adOpenForwardOnly);
    } catch (const data::DataError& e) {
        reportFailure(e.description());
    }
}

void AttendanceHistory::ShowAttendanceRecord(const data::Variant& youthId)
{
    m_list->clear();
    const std::int32_t id = ToLong(youthId, 0);
    if (id == 0)
        return;
    std::vector<QDate> attended;
    try {
        attended = readDates(QStringLiteral("SELECT Wk_Date FROM Weeks INNER JOIN Attendance ON "
                                            "Weeks.Wk_ID = Attendance.Attend_Wk_ID WHERE "
                                            "Attend_Youth_ID=") +
                                 QString::number(id) + QStringLiteral(" AND Wk_Date>=") +
                                 sqlDate(CutOff()) + QLatin1Char(';'),
                             data::adOpenStatic);
    } catch (const data::DataError& e) {
        reportFailure(e.description());
        return;
    }
    m_list->addItems(HistoryLines(m_recent, QSet<QDate>(attended.begin(), attended.end())));
}

void AttendanceHistory::reportFailure(const QString& description)
{
    if (m_failureTold)
        return;
    m_failureTold = true;
    ui::critical(QStringLiteral("The attendance record could not be read.\n\n") + description);
}
