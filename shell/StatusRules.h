#pragma once

#include "platform/data/Variant.h"

#include <QHash>

#include <cstdint>
#include <optional>

namespace data {
class Connection;
} // namespace data

// The rules that keep a person's status and visitor flag up to date. Each looks at one person
// on today's date (ui::today()); the time of day plays no part. A status is a Youth_Status code
// (PersonStatus); a last-attended value is Youth_Last_Attended as read: a date, or Null for a
// person who never attended.
//
// None of them handles errors: a last-attended value that is not a date or a data file that
// cannot be read is passed to the caller. (An unreadable week count in the settings reads as its
// default, and the settings object tells the user; a caller that changes records by a rule reads
// the counts first through clsCorvessa::RuleCount and applies no rule whose count is unreadable.)

// Whole days from the last attendance to today, negative for a date in the future; nullopt
// for Null. Throws std::invalid_argument for a value that is not a date.
std::optional<int> DaysSinceAttended(const data::Variant& lastAttended);

// An Inactive person who attended within the last 7 days (or on a future date).
bool ShouldReactivate(std::int16_t status, const data::Variant& lastAttended);

// An Active person absent for more than WeeksToMIA + WeeksToInactive whole weeks.
bool ShouldBecomeInactive(std::int16_t status, const data::Variant& lastAttended);

// An Active person absent for more than WeeksToMIA whole weeks. Away, Inactive and unassigned
// people are never missing in action, and neither is anyone who never attended.
bool IsMIA(std::int16_t status, const data::Variant& lastAttended);

// True when the person attended at least WeeksToMember meetings dated on or after the day
// 8 weeks before today (meetings of every type and meetings after today count). Reads the data
// file through a connection of its own on program().ConnectionString; throws data::DataError.
bool QualifiesAsMember(std::int32_t personId);

// The same count for every person at once, read in one statement through `conn`: the number of
// attendance rows of that period, by Attend_Youth_ID (people without any are absent). For a
// caller that is about to write through `conn`: it reads before the first write, so it never
// meets its own lock. Throws data::DataError.
QHash<std::int32_t, int> MemberPeriodAttendance(data::Connection& conn);

// True when that many attendance rows of the period make a visitor a member.
bool AttendsOftenEnoughForMember(int periodAttendance);
