#pragma once

#include "platform/data/Variant.h"

#include <QString>

#include <cstdint>
#include <optional>

// Tolerant conversions: each turns any value into one plain type and gives back the caller's
// default instead when the conversion is not possible (Null, text that is not a number, a
// number out of range). They never throw.
//
// Field values convert through data::Variant (fields convert to it implicitly).

bool ToBoolean(const data::Variant& value, bool fallback);
double ToDate(const data::Variant& value, double fallback); // Jet day number
double ToDouble(const data::Variant& value, double fallback);
std::int16_t ToInteger(const data::Variant& value, std::int16_t fallback);
std::int32_t ToLong(const data::Variant& value, std::int32_t fallback);
QString ToString(const data::Variant& value, const QString& fallback);

// The value of a check box (1 checked, 0 unchecked) for a Boolean.
std::int16_t BoolToCheckValue(bool b);

// A stored date as the locale's short date, whatever time of day it carries (ToString would
// add the time): empty text for Null; a value that is no date prints as ToString gives it.
QString shortDateText(const data::Variant& value);

// The conversions without a default: nullopt where the conversion fails.
namespace convert {
std::optional<bool> toBoolean(const data::Variant& value);
std::optional<double> toDate(const data::Variant& value);
std::optional<double> toDouble(const data::Variant& value);
std::optional<std::int16_t> toInteger(const data::Variant& value);
std::optional<std::int32_t> toLong(const data::Variant& value);
std::optional<QString> toString(const data::Variant& value);
// Round half to even, as whole-number conversions do (2.5 to 2, 3.5 to 4).
double roundHalfEven(double value);
} // namespace convert
