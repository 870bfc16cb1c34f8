#include "stats/GroupStats.h"

#include "stats/QueryRows.h"

#include "shell/Conversions.h"
#include "shell/Helpers.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <functional>

namespace stats {

namespace {

// The page's queries, one per part. Who each counts: removed people never, except that the
// attendance rows of the attendance graph are not tested; leaders everywhere but in the
// attendance graph and the gender chart; Unassigned people not in the grid, Inactive people
// not in the birthdays, ages, gender and team charts.
const QString kGridSql = QStringLiteral(
    "SELECT Youth_Status, Youth_Visitor, Count(Youth_ID) AS MbrCount FROM Youth WHERE "
    "Youth_Deleted=False GROUP BY Youth_Status, Youth_Visitor HAVING Youth_Status > 0;");
const QString kSchoolsSql = QStringLiteral(
    "SELECT Youth_School, Count(Youth_ID) AS MbrCount FROM Youth WHERE Youth_Deleted = False "
    "GROUP BY Youth_School HAVING Youth_School > '' ORDER BY Count(Youth_ID) DESC, Youth_School;");
const QString kAttendanceSql = QStringLiteral(
    "SELECT top 12 Wk_Date, Count(Attend_Youth_ID) AS TotAttendance FROM Youth INNER JOIN "
    "(Weeks INNER JOIN Attendance ON Weeks.Wk_ID = Attendance.Attend_Wk_ID) ON Youth.Youth_ID = "
    "Attendance.Attend_Youth_ID WHERE Youth_Leader = False GROUP BY Wk_Date ORDER BY Wk_Date "
    "DESC;");
const QString kBirthdaysSql =
    QStringLiteral("SELECT Youth_Bday FROM Youth WHERE Youth_Deleted=False "
                   "AND Youth_Status<3 AND Youth_Bday Is Not Null;");
const QString kGendersSql = QStringLiteral(
    "SELECT Youth_Sex, Count(Youth_ID) AS SubTotal FROM Youth WHERE Youth_Deleted=False AND "
    "Youth_Leader = False AND (Youth_Status = 1 Or Youth_Status = 2) GROUP BY Youth_Sex;");
const QString kStatusesSql =
    QStringLiteral("SELECT Youth_Status, Count(Youth_ID) AS SubTotal FROM Youth WHERE "
                   "Youth_Deleted = False GROUP BY Youth_Status;");
const QString kTeamsSql = QStringLiteral(
    "SELECT Trim([Youth_Team]) AS YouthTeam, Count(Youth.Youth_ID) AS SubTotal FROM Youth WHERE "
    "Youth_Deleted = False AND Youth_Status < 3 GROUP BY Trim([Youth_Team]) HAVING "
    "Trim([Youth_Team])>'';");

constexpr GroupStatsPart kAllParts[] = {GroupStatsPart::Grid,       GroupStatsPart::Schools,
                                        GroupStatsPart::Attendance, GroupStatsPart::Birthdays,
                                        GroupStatsPart::Genders,    GroupStatsPart::Statuses,
                                        GroupStatsPart::Teams};

std::optional<std::int32_t> optionalLong(const data::Variant& value)
{
    return value.isNull() ? std::nullopt : convert::toLong(value);
}

// Reads every row of a part's query; a failure empties the part and records why.
template <class Row>
void readPart(GroupStatsData& data, GroupStatsPart part, data::Connection& connection,
              const QString& sql, std::vector<Row>& rows,
              const std::function<Row(data::Recordset&)>& read)
{
    const QString error =
        ReadQueryRows(connection, sql, [&](data::Recordset& rs) { rows.push_back(read(rs)); });
    if (!error.isEmpty()) {
        rows.clear();
        data.failed[part] = error;
    }
}

NameCount nameCount(data::Recordset& rs, const char* nameField, const char* countField)
{
    return {ToString(rs[QLatin1String(nameField)], QString()),
            ToLong(rs[QLatin1String(countField)], 0)};
}

CodeCount codeCount(data::Recordset& rs, const char* codeField)
{
    return {optionalLong(rs[QLatin1String(codeField)]), ToLong(rs[QStringLiteral("SubTotal")], 0)};
}

// Adds the percentage to a label: directly ("Male(52.4%)") or after a blank ("Blue (25.0%)").
QString withPercent(const QString& label, const QString& separator, double value, double total)
{
    return label + separator + QLatin1Char('(') + Percent(value, total) + QStringLiteral("%)");
}

// A chart of fixed categories from code counts: codes outside 0 to last count as 0.
std::vector<double> countsByCode(const std::vector<CodeCount>& rows, int last, bool skipNull,
                                 double& total)
{
    std::vector<double> values(std::size_t(last) + 1, 0.0);
    total = 0;
    for (const CodeCount& row : rows) {
        if (skipNull && !row.code)
            continue;
        const std::int32_t code = row.code.value_or(0);
        const std::size_t column = code >= 0 && code <= last ? std::size_t(code) : 0;
        values[column] += row.count;
        total += row.count;
    }
    return values;
}

report::ChartData codeChart(const std::vector<CodeCount>& rows, const QStringList& labels,
                            bool skipNull)
{
    double total = 0;
    const std::vector<double> values = countsByCode(rows, int(labels.size()) - 1, skipNull, total);
    report::ChartData chart;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        report::ChartCategory c;
        c.label = labels[i];
        if (total == 0) {
            // Nothing to divide: the chart is one whole "Unassigned".
            c.value = i == 0 ? 1 : 0;
        } else {
            c.value = values[std::size_t(i)];
            if (i > 0)
                c.label = withPercent(c.label, QString(), c.value, total);
        }
        chart.categories.push_back(c);
    }
    return chart;
}

} // namespace

QString PartName(GroupStatsPart part)
{
    switch (part) {
    case GroupStatsPart::Grid:
        return QStringLiteral("the summary by status");
    case GroupStatsPart::Schools:
        return QStringLiteral("the school table");
    case GroupStatsPart::Attendance:
        return QStringLiteral("the attendance graph");
    case GroupStatsPart::Birthdays:
        return QStringLiteral("the birthdays graph and the age chart");
    case GroupStatsPart::Genders:
        return QStringLiteral("the gender chart");
    case GroupStatsPart::Statuses:
        return QStringLiteral("the status chart");
    case GroupStatsPart::Teams:
        return QStringLiteral("the team chart");
    }
    return QString();
}

GroupStatsData GatherGroupStats(data::Connection& connection, const QString& connectionString)
{
    GroupStatsData data;
    if (const QString error = OpenStatsConnection(connection, connectionString); !error.isEmpty()) {
        for (const GroupStatsPart part : kAllParts)
            data.failed[part] = error;
        return data;
    }

    readPart<StatusVisitorCount>(
        data, GroupStatsPart::Grid, connection, kGridSql, data.grid, [](data::Recordset& rs) {
            return StatusVisitorCount{optionalLong(rs[QStringLiteral("Youth_Status")]),
                                      ToBoolean(rs[QStringLiteral("Youth_Visitor")], false),
                                      ToLong(rs[QStringLiteral("MbrCount")], 0)};
        });
    readPart<NameCount>(
        data, GroupStatsPart::Schools, connection, kSchoolsSql, data.schools,
        [](data::Recordset& rs) { return nameCount(rs, "Youth_School", "MbrCount"); });
    readPart<DateCount>(data, GroupStatsPart::Attendance, connection, kAttendanceSql,
                        data.lastMeetings, [](data::Recordset& rs) {
                            const double day = ToDate(rs[QStringLiteral("Wk_Date")], 0);
                            return DateCount{data::jetdate::toDate(day),
                                             ToLong(rs[QStringLiteral("TotAttendance")], 0)};
                        });
    readPart<double>(
        data, GroupStatsPart::Birthdays, connection, kBirthdaysSql, data.birthDays,
        [](data::Recordset& rs) { return ToDate(rs[QStringLiteral("Youth_Bday")], 0); });
    readPart<CodeCount>(data, GroupStatsPart::Genders, connection, kGendersSql, data.genders,
                        [](data::Recordset& rs) { return codeCount(rs, "Youth_Sex"); });
    readPart<CodeCount>(data, GroupStatsPart::Statuses, connection, kStatusesSql, data.statuses,
                        [](data::Recordset& rs) { return codeCount(rs, "Youth_Status"); });
    readPart<NameCount>(data, GroupStatsPart::Teams, connection, kTeamsSql, data.teams,
                        [](data::Recordset& rs) { return nameCount(rs, "YouthTeam", "SubTotal"); });
    if (data.lastMeetings.size() > std::size_t(kAttendanceSlots))
        data.lastMeetings.resize(kAttendanceSlots);
    return data;
}

QString GroupStatsFailureText(const GroupStatsData& data)
{
    if (data.failed.empty())
        return QString();
    QStringList parts;
    for (const auto& [part, error] : data.failed)
        parts << PartName(part);
    QString list;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            list += i + 1 == parts.size() ? QStringLiteral(" and ") : QStringLiteral(", ");
        list += parts[i];
    }
    return QStringLiteral("The group statistics could not be read for %1, which %2 left empty."
                          "\n\n%3")
        .arg(list, parts.size() == 1 ? QStringLiteral("is") : QStringLiteral("are"),
             data.failed.begin()->second);
}

SummaryGrid CountSummaryGrid(const std::vector<StatusVisitorCount>& rows)
{
    SummaryGrid grid;
    for (const StatusVisitorCount& row : rows) {
        if (!row.status || *row.status < 1 || *row.status > 3)
            continue;
        auto& cells = row.visitor ? grid.visitors : grid.members;
        cells[std::size_t(*row.status)] += row.count;
    }
    return grid;
}

double SchoolRowTop(double headTop, double headHeight, int row)
{
    return headTop + headHeight + kSchoolFirstRowGap + (row - 1) * kSchoolRowStep;
}

int SchoolTableCapacity(double firstRowTop, double rowHeight, double bottom)
{
    const double room = bottom - rowHeight - firstRowTop;
    if (room < 0)
        return 0;
    return int(std::floor(room / kSchoolRowStep)) + 1;
}

std::vector<NameCount> SchoolRows(const std::vector<NameCount>& schools, int capacity)
{
    std::vector<NameCount> listed;
    std::int32_t others = 0;
    for (const NameCount& school : schools) {
        if (school.count <= 1)
            others += school.count;
        else
            listed.push_back(school);
    }
    if (capacity < 1)
        return {};
    const std::size_t room = std::size_t(capacity);
    if (listed.size() + (others > 0 ? 1 : 0) > room) {
        // Keep the largest schools and a last row for all the rest.
        for (std::size_t i = room - 1; i < listed.size(); ++i)
            others += listed[i].count;
        listed.resize(room - 1);
    }
    if (others > 0)
        listed.push_back({kOthersSchool, others});
    return listed;
}

std::array<AttendancePoint, kAttendanceSlots>
LastMeetingSlots(const std::vector<DateCount>& newestFirst)
{
    std::array<AttendancePoint, kAttendanceSlots> filled{};
    const std::size_t n = std::min(newestFirst.size(), std::size_t(kAttendanceSlots));
    for (std::size_t i = 0; i < n; ++i)
        filled[kAttendanceSlots - 1 - i] = {newestFirst[i].date, newestFirst[i].count};
    return filled;
}

std::array<std::int32_t, 12> BirthdaysByMonth(const std::vector<double>& birthDays)
{
    std::array<std::int32_t, 12> months{};
    for (const double day : birthDays) {
        const QDate date = data::jetdate::toDate(day);
        if (date.isValid())
            ++months[std::size_t(date.month() - 1)];
    }
    return months;
}

AgeCounts CountAges(const std::vector<double>& birthDays)
{
    AgeCounts ages{};
    for (const double day : birthDays) {
        const int age = GetAge(data::Variant::date(day));
        if (age >= 1 && age <= kOldestCountedAge)
            ++ages[std::size_t(age)];
    }
    return ages;
}

std::int32_t AgeRangeCount(const AgeCounts& ages, int first, int last)
{
    if (first > last)
        return 0;
    std::int32_t count = 0;
    for (int age = std::max(first, 1); age <= std::min(last, kOldestCountedAge); ++age)
        count += ages[std::size_t(age)];
    return count;
}

std::int16_t DetermineAgeConcentration(const AgeCounts& ages)
{
    struct Range {
        int first;
        int last;
        std::int16_t set;
    };
    static constexpr Range kRanges[] = {{1, 13, 1}, {12, 20, 2}, {18, 35, 3}, {30, 70, 4}};
    std::int32_t best = 0;
    std::int16_t set = 5;
    for (const Range& range : kRanges) {
        const std::int32_t count = AgeRangeCount(ages, range.first, range.last);
        if (count > best) {
            best = count;
            set = range.set;
        }
    }
    return set;
}

const std::array<AgeBand, 5>& AgeBandSet(int set)
{
    static const std::array<std::array<AgeBand, 5>, 5> kSets = {{
        {{{1, 2, "Under 3 ("},
          {3, 5, "3-5 Yrs ("},
          {6, 8, "6-8 Yrs ("},
          {9, 12, "9-12 Yrs ("},
          {13, 99, "Over 12 ("}}},
        {{{1, 11, "Under 12 ("},
          {12, 14, "12-14 Yrs ("},
          {15, 17, "15-17 Yrs ("},
          {18, 20, "18-20 Yrs ("},
          {21, 99, "Over 20 ("}}},
        {{{1, 17, "Under 18 ("},
          {18, 22, "18-22 Yrs ("},
          {23, 27, "23-27 Yrs ("},
          {28, 32, "28-32 Yrs ("},
          {33, 99, "Over 32 ("}}},
        {{{1, 29, "Under 30 ("},
          {30, 39, "30-39 Yrs ("},
          {40, 49, "40-49 Yrs ("},
          {50, 70, "50-70 Yrs ("},
          {71, 99, "Over 70 ("}}},
        {{{1, 19, "Under 20 ("},
          {20, 39, "20-39 Yrs ("},
          {40, 59, "40-59 Yrs ("},
          {60, 79, "60-79 Yrs ("},
          {80, 99, "Over 79 ("}}},
    }};
    return kSets.at(std::size_t(std::clamp(set, 1, 5) - 1));
}

QString Percent(double value, double total)
{
    return QLocale().toString(value / total * 100, 'f', 1);
}

report::ChartData GenderChart(const std::vector<CodeCount>& rows)
{
    return codeChart(
        rows, {QStringLiteral("Unassigned"), QStringLiteral("Male"), QStringLiteral("Female")},
        false);
}

report::ChartData StatusChart(const std::vector<CodeCount>& rows)
{
    report::ChartData chart = codeChart(rows,
                                        {QStringLiteral("Unassigned"), QStringLiteral("Active"),
                                         QStringLiteral("Away"), QStringLiteral("Inactive")},
                                        true);
    const QColor fills[] = {QColor(198, 198, 198), QColor(0, 255, 0), QColor(0, 0, 255),
                            QColor(255, 0, 0)};
    for (std::size_t i = 0; i < chart.categories.size(); ++i)
        chart.categories[i].fill = fills[i];
    return chart;
}

report::ChartData AgeChart(const AgeCounts& ages)
{
    report::ChartData chart;
    const std::int32_t total = AgeRangeCount(ages, 1, 99);
    if (total < 1) {
        chart.categories.push_back({QStringLiteral("No Active Members"), 1, std::nullopt});
        for (int i = 0; i < 4; ++i)
            chart.categories.push_back({QStringLiteral(" "), 0, std::nullopt});
        return chart;
    }
    for (const AgeBand& band : AgeBandSet(DetermineAgeConcentration(ages))) {
        const std::int32_t count = AgeRangeCount(ages, band.first, band.last);
        chart.categories.push_back(
            {QString::fromLatin1(band.text) + Percent(count, total) + QStringLiteral("%)"),
             double(count), std::nullopt});
    }
    return chart;
}

report::ChartData TeamChart(const std::vector<NameCount>& rows)
{
    report::ChartData chart;
    if (rows.empty()) {
        chart.categories.push_back({QStringLiteral("Teams Not Used"), 1, std::nullopt});
        return chart;
    }
    double total = 0;
    for (const NameCount& row : rows) {
        chart.categories.push_back({row.name, double(row.count), std::nullopt});
        total += row.count;
    }
    if (total >= 1) {
        for (report::ChartCategory& c : chart.categories)
            c.label = withPercent(c.label, QStringLiteral(" "), c.value, total);
    }
    return chart;
}

} // namespace stats
