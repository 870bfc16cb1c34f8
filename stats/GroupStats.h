#pragma once

#include "stats/BarGraph.h"
#include "platform/report/ChartData.h"

#include <QDate>
#include <QString>

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace data {
class Connection;
}

// The group statistics page in three layers: GatherGroupStats runs the page's queries into
// plain rows; the functions after it compute every number, caption and table from those rows;
// rptGrpStats places the result on the page.
namespace stats {

// ---- Gathered rows --------------------------------------------------------------------------

struct StatusVisitorCount {
    std::optional<std::int32_t> status; // nullopt for Null
    bool visitor = false;
    std::int32_t count = 0;
};

struct NameCount {
    QString name;
    std::int32_t count = 0;
};

struct DateCount {
    QDate date;
    std::int32_t count = 0;
};

struct CodeCount {
    std::optional<std::int32_t> code; // nullopt for Null
    std::int32_t count = 0;
};

// The parts of the page that have a query of their own.
enum class GroupStatsPart { Grid, Schools, Attendance, Birthdays, Genders, Statuses, Teams };

// What the page's queries read. A part whose query failed has no rows and its error in failed.
struct GroupStatsData {
    std::vector<StatusVisitorCount> grid; // members and visitors by status
    std::vector<NameCount> schools;       // by count, largest first, then by name
    std::vector<DateCount> lastMeetings;  // the 12 newest meeting dates, newest first
    std::vector<double> birthDays;        // birth dates (day numbers) of people not inactive
    std::vector<CodeCount> genders;       // active and away non-leaders by gender code
    std::vector<CodeCount> statuses;      // everybody by status code
    std::vector<NameCount> teams;         // team (trimmed) with its count
    std::map<GroupStatsPart, QString> failed;

    bool ok(GroupStatsPart part) const { return failed.find(part) == failed.end(); }
};

// What a part is called in a message ("the summary grid").
QString PartName(GroupStatsPart part);

// Opens the connection (client-side cursors) on the connection string, unless it is open, and
// runs the page's seven queries in turn. Never throws: a query that fails leaves its part
// empty and records why; when the connection cannot be opened every part fails.
GroupStatsData GatherGroupStats(data::Connection& connection, const QString& connectionString);

// The message shown when parts failed: which parts and the first error.
QString GroupStatsFailureText(const GroupStatsData& data);

// ---- Summary grid ---------------------------------------------------------------------------

// Members and visitors of statuses 1 (Active), 2 (Away) and 3 (Inactive); rows of any other
// status name no cell and are left out.
struct SummaryGrid {
    std::array<std::int32_t, 4> members{};  // by status; [0] unused
    std::array<std::int32_t, 4> visitors{}; // by status; [0] unused

    std::int32_t total(int status) const { return members.at(status) + visitors.at(status); }
    std::int32_t memberTotal() const { return members[1] + members[2] + members[3]; }
    std::int32_t visitorTotal() const { return visitors[1] + visitors[2] + visitors[3]; }
    std::int32_t grandTotal() const { return memberTotal() + visitorTotal(); }
};

SummaryGrid CountSummaryGrid(const std::vector<StatusVisitorCount>& rows);

// ---- School table ---------------------------------------------------------------------------

inline const QString kOthersSchool = QStringLiteral("* Others *");

// Rows are 200 twips apart, the first 50 twips under the column heads.
inline constexpr double kSchoolRowStep = 200;
inline constexpr double kSchoolFirstRowGap = 50;

// The top of school row `row` (from 1) under heads at headTop with headHeight.
double SchoolRowTop(double headTop, double headHeight, int row);

// How many rows of rowHeight fit between the first row's top and the bottom edge.
int SchoolTableCapacity(double firstRowTop, double rowHeight, double bottom);

// The table's rows from the schools (largest first): schools of one person are pooled into a
// closing "* Others *" row with their summed count. When the listed schools and that row would
// be more than capacity rows, the first capacity - 1 schools are listed and every other school
// is pooled, whatever its count.
std::vector<NameCount> SchoolRows(const std::vector<NameCount>& schools, int capacity);

// ---- Bar graphs -----------------------------------------------------------------------------

inline constexpr int kAttendanceSlots = 12;

// The last meeting dates in slots 1 to 12 (index 0 to 11), the newest in slot 12; with fewer
// than 12 dates the oldest slots stay empty.
std::array<AttendancePoint, kAttendanceSlots>
LastMeetingSlots(const std::vector<DateCount>& newestFirst);

// Birthdays by month, January first.
std::array<std::int32_t, 12> BirthdaysByMonth(const std::vector<double>& birthDays);

// ---- Ages -----------------------------------------------------------------------------------

// People by age in whole years: [age] for ages 1 to 100; [0] unused.
using AgeCounts = std::array<std::int32_t, 101>;
inline constexpr int kOldestCountedAge = 100;

// Ages from today (GetAge); ages below 1 or above 100 are not counted.
AgeCounts CountAges(const std::vector<double>& birthDays);

// The people aged first to last inclusive (ages above 100 are skipped); 0 when first > last.
std::int32_t AgeRangeCount(const AgeCounts& ages, int first, int last);

// The band set (1 to 5) that fits where most ages lie: the first of the ranges 1-13, 12-20,
// 18-35 and 30-70 with the largest count (ties go to the younger set); 5 when all are empty.
std::int16_t DetermineAgeConcentration(const AgeCounts& ages);

struct AgeBand {
    int first = 0;
    int last = 0;
    const char* text = ""; // the label before the percentage, e.g. "3-5 Yrs ("
};
const std::array<AgeBand, 5>& AgeBandSet(int set);

// ---- Charts ---------------------------------------------------------------------------------

// value / total * 100 with one decimal in the user's number format ("52.4").
QString Percent(double value, double total);

// Gender of active and away non-leaders: "Unassigned" (code 0, Null or any unknown code),
// "Male", "Female". Percentages of the whole total on Male and Female.
report::ChartData GenderChart(const std::vector<CodeCount>& rows);
// Everybody by status: "Unassigned" (0 or an unknown code; Null rows are left out), "Active",
// "Away", "Inactive" in grey, green, blue and red. Percentages on all but "Unassigned".
report::ChartData StatusChart(const std::vector<CodeCount>& rows);
// Five age bands of the set DetermineAgeConcentration chooses, or "No Active Members".
report::ChartData AgeChart(const AgeCounts& ages);
// One category per team, or "Teams Not Used".
report::ChartData TeamChart(const std::vector<NameCount>& rows);

} // namespace stats
