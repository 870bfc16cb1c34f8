#include "shell/StatusRules.h"

#include "shell/Conversions.h"
#include "shell/Helpers.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/data/Connection.h"
#include "platform/data/LocaleText.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Services.h"

#include <stdexcept>

namespace {

// Days within which an Inactive person who comes back counts as active again.
constexpr int kReactivateDays = 7;
// The period in which a visitor's attendance is counted.
constexpr int kMemberPeriodDays = 8 * 7;

constexpr std::int16_t code(PersonStatus status)
{
    return static_cast<std::int16_t>(status);
}

// Whole weeks since the last attendance, the remainder dropped; nullopt for Null.
std::optional<int> weeksSinceAttended(const data::Variant& lastAttended)
{
    const auto days = DaysSinceAttended(lastAttended);
    if (!days)
        return std::nullopt;
    return *days / 7;
}

} // namespace

std::optional<int> DaysSinceAttended(const data::Variant& lastAttended)
{
    if (lastAttended.isNull())
        return std::nullopt;
    const auto day = convert::toDate(lastAttended);
    const QDate last = day ? data::jetdate::toDate(*day) : QDate();
    if (!last.isValid())
        throw std::invalid_argument("The last attendance " +
                                    lastAttended.debugString().toStdString() + " is not a date.");
    return static_cast<int>(last.daysTo(ui::today()));
}

bool ShouldReactivate(std::int16_t status, const data::Variant& lastAttended)
{
    if (status != code(PersonStatus::Inactive))
        return false;
    const auto days = DaysSinceAttended(lastAttended);
    return days && *days <= kReactivateDays;
}

bool ShouldBecomeInactive(std::int16_t status, const data::Variant& lastAttended)
{
    if (status != code(PersonStatus::Active))
        return false;
    const auto weeks = weeksSinceAttended(lastAttended);
    if (!weeks)
        return false;
    clsCorvessa& s = settings();
    return *weeks > s.WeeksToMIA() + s.WeeksToInactive();
}

bool IsMIA(std::int16_t status, const data::Variant& lastAttended)
{
    if (status != code(PersonStatus::Active))
        return false;
    const auto weeks = weeksSinceAttended(lastAttended);
    return weeks && *weeks > settings().WeeksToMIA();
}

namespace {

// Attendance rows of meetings dated on or after the first day of the member period.
QString memberPeriodQuery()
{
    const QDate cutoff = ui::today().addDays(-kMemberPeriodDays);
    return QStringLiteral("SELECT Attend_Youth_ID ") +
           QStringLiteral("FROM Weeks INNER JOIN Attendance ON Weeks.Wk_ID = "
                          "Attendance.Attend_Wk_ID ") +
           QStringLiteral("WHERE Wk_Date>=#") + data::text::formatUsDate(cutoff) +
           QStringLiteral("#");
}

} // namespace

bool QualifiesAsMember(std::int32_t personId)
{
    data::Connection conn;
    conn.setCursorLocation(data::adUseServer);
    conn.Open(program().ConnectionString, QString(), QString());
    data::Recordset rs;
    // Only this person's rows are read: the count is that of all rows of the period whose
    // Attend_Youth_ID is the person's.
    rs.Open(memberPeriodQuery() + QStringLiteral(" AND Attend_Youth_ID=") +
                QString::number(personId) + QStringLiteral(";"),
            conn, data::adOpenForwardOnly, data::adLockReadOnly);
    int count = 0;
    for (; !rs.EOF(); rs.MoveNext()) {
        if (ToLong(rs["Attend_Youth_ID"], 0) == personId)
            ++count;
    }
    rs.Close();
    conn.Close();
    return AttendsOftenEnoughForMember(count);
}

QHash<std::int32_t, int> MemberPeriodAttendance(data::Connection& conn)
{
    data::Recordset rs;
    rs.Open(memberPeriodQuery() + QStringLiteral(";"), conn, data::adOpenForwardOnly,
            data::adLockReadOnly);
    QHash<std::int32_t, int> counts;
    for (; !rs.EOF(); rs.MoveNext())
        ++counts[ToLong(rs["Attend_Youth_ID"], 0)];
    rs.Close();
    return counts;
}

bool AttendsOftenEnoughForMember(int periodAttendance)
{
    return periodAttendance >= settings().WeeksToMember();
}
