#include "stats/AttendanceSummary.h"

#include "stats/QueryRows.h"
#include "shell/Conversions.h"
#include "platform/data/Connection.h"
#include "platform/data/LocaleText.h"
#include "platform/data/Recordset.h"

#include <algorithm>

namespace stats {

namespace {

const QString kAttendanceJoin =
    QStringLiteral("FROM Youth INNER JOIN (Weeks INNER JOIN Attendance ON Weeks.Wk_ID = "
                   "Attendance.Attend_Wk_ID) ON Youth.Youth_ID = Attendance.Attend_Youth_ID ");

QString dateLiteral(const QDate& date)
{
    return QLatin1Char('#') + data::text::formatUsDate(date) + QLatin1Char('#');
}

QDate dateOf(const data::Variant& value)
{
    const auto day = convert::toDate(value);
    return day ? data::jetdate::toDate(*day) : QDate();
}

} // namespace

QString FirstTimeSql(const SummaryFilter& filter)
{
    const int year = filter.reportYear;
    return QStringLiteral("SELECT DISTINCT Youth_ID, First(Wk_Date) AS FirstWk ") +
           kAttendanceJoin + QStringLiteral("WHERE ") + LeadingWhereTerms(filter) +
           QStringLiteral("((Wk_Date Between ") + dateLiteral(QDate(year - 1, 10, 15)) +
           QStringLiteral(" AND ") + dateLiteral(QDate(year + 1, 1, 15)) +
           QStringLiteral(") AND Youth_Leader = False) ") + QStringLiteral("GROUP BY Youth_ID ") +
           QStringLiteral("ORDER BY First(Wk_Date);");
}

QString WeeklyAttendanceSql(const SummaryFilter& filter)
{
    return QStringLiteral("SELECT Wk_Date, Count(Attend_Youth_ID) AS TotAttendance ") +
           kAttendanceJoin + QStringLiteral("WHERE Year([Wk_Date])=") +
           QString::number(filter.reportYear) + QStringLiteral(" AND Youth_Leader = False ") +
           QStringLiteral("GROUP BY Wk_Date ") + GroupByHavingTerms(filter) +
           QStringLiteral("ORDER BY Wk_Date;");
}

AttendanceSummaryData GatherAttendanceSummary(data::Connection& connection,
                                              const QString& connectionString,
                                              const SummaryFilter& filter)
{
    AttendanceSummaryData data;
    const auto firstDates = ReadAllRows<QDate>(
        connection, connectionString, FirstTimeSql(filter),
        [](data::Recordset& rs) { return dateOf(rs[QStringLiteral("FirstWk")]); },
        data::adOpenStatic, data::adLockOptimistic);
    data.failure = firstDates.failure;
    if (!data.failure.isEmpty())
        return data;
    const auto points = ReadAllRows<AttendancePoint>(
        connection, connectionString, WeeklyAttendanceSql(filter), [](data::Recordset& rs) {
            return AttendancePoint{dateOf(rs[QStringLiteral("Wk_Date")]),
                                   ToLong(rs[QStringLiteral("TotAttendance")], 0)};
        });
    data.failure = points.failure;
    if (data.failure.isEmpty()) {
        data.firstDates = firstDates.rows;
        data.points = points.rows;
    }
    return data;
}

std::map<QDate, std::int32_t> FirstTimeCounts(const std::vector<QDate>& firstDates)
{
    std::map<QDate, std::int32_t> counts;
    for (const QDate& date : firstDates) {
        if (date.isValid())
            ++counts[date];
    }
    return counts;
}

double FirstTimeHeight(double barHeight, std::int32_t count, std::int32_t firstTime)
{
    if (count < 1 || firstTime < 1)
        return 0;
    return barHeight * std::min(firstTime, count) / count;
}

} // namespace stats
