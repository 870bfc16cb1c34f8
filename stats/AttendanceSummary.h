#pragma once

#include "stats/BarGraph.h"
#include "stats/SummaryFilter.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <map>
#include <vector>

namespace data {
class Connection;
}

// The attendance summary of one year: one bar per meeting date with the number of people
// present (leaders left out) and, inside it, the people who came for the first time that day.
namespace stats {

// A person's first time is their first attendance between 15 October of the year before the
// report year and 15 January of the year after, member or visitor, removed or not; leaders
// never count. The report condition's other clauses restrict both queries.
QString FirstTimeSql(const SummaryFilter& filter);
// Non-leader attendance rows by meeting date in the report year.
QString WeeklyAttendanceSql(const SummaryFilter& filter);

struct AttendanceSummaryData {
    std::vector<AttendancePoint> points; // by date; none when the year has no attendance
    std::vector<QDate> firstDates;       // each person's first date in the window
    QString failure;                     // why the queries could not be read; empty when they were
};

// Opens the connection unless it is open and runs both queries. Never throws; on a failure
// nothing is kept but the reason.
AttendanceSummaryData GatherAttendanceSummary(data::Connection& connection,
                                              const QString& connectionString,
                                              const SummaryFilter& filter);

// People by the date of their first time.
std::map<QDate, std::int32_t> FirstTimeCounts(const std::vector<QDate>& firstDates);

// The height of the first-time bar inside a bar of `count` people that is barHeight high.
double FirstTimeHeight(double barHeight, std::int32_t count, std::int32_t firstTime);

} // namespace stats
