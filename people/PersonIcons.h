#pragma once

#include "platform/data/Variant.h"

#include <QIcon>
#include <QString>
#include <QStringList>

#include <cstdint>

// The picture key of a person in the picker: "mbr", then "V" for a visitor, the status digit
// for a member (1 active, 2 away, 3 inactive; any other status as 3) or "MIA" for a member
// missing in action, then, except for "MIA", "M" when on the mail list and "L" for a leader.
// A member whose absence cannot be measured (an unreadable WeeksToMIA setting, a last-attended
// value that is no date) counts as not missing.
QString GetPersonIconKey(bool isVisitor, const data::Variant& lastAttended, std::int16_t status,
                         bool onMailList, bool isLeader);

// The 17 picture keys the picker knows.
const QStringList& PersonIconKeys();

// The picture of a key (drawn once, then kept); a key outside the 17 gives an empty icon.
QIcon PersonIcon(const QString& key);
