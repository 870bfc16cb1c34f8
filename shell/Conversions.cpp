#include "shell/Conversions.h"

#include "platform/data/LocaleText.h"

#include <cmath>

using data::Variant;
using Type = data::Variant::Type;

namespace convert {

double roundHalfEven(double value)
{
    return std::nearbyint(value); // the default rounding mode rounds half to even
}

namespace {

// Earliest and latest dates a date value may hold: 1 January 100 and 31 December 9999.
const double kMinDate = data::jetdate::fromDate(QDate(100, 1, 1));
const double kMaxDate = data::jetdate::fromDate(QDate(9999, 12, 31)) + 0.99999999;

std::optional<double> wholeInRange(std::optional<double> value, double low, double high)
{
    if (!value)
        return std::nullopt;
    const double r = roundHalfEven(*value);
    if (!std::isfinite(r) || r < low || r > high)
        return std::nullopt;
    return r;
}

} // namespace

std::optional<double> toDouble(const Variant& value)
{
    switch (value.type()) {
    case Type::Null:
        return std::nullopt;
    case Type::Empty:
        return 0.0;
    case Type::String:
        return data::text::parseNumber(value.text());
    default:
        return value.number();
    }
}

std::optional<bool> toBoolean(const Variant& value)
{
    switch (value.type()) {
    case Type::Null:
        return std::nullopt;
    case Type::Empty:
        return false;
    case Type::String: {
        const QString t = value.text().trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        const auto n = data::text::parseNumber(value.text());
        if (!n)
            return std::nullopt;
        return *n != 0.0;
    }
    default:
        return value.number() != 0.0;
    }
}

std::optional<double> toDate(const Variant& value)
{
    switch (value.type()) {
    case Type::Null:
        return std::nullopt;
    case Type::Empty:
        return 0.0;
    case Type::String: {
        const auto d = data::text::parseDate(value.text());
        if (!d || *d < kMinDate || *d > kMaxDate)
            return std::nullopt;
        return d;
    }
    case Type::Date:
        return value.number();
    default: {
        const double n = value.number();
        if (!std::isfinite(n) || n < kMinDate || n > kMaxDate)
            return std::nullopt;
        return n;
    }
    }
}

std::optional<std::int16_t> toInteger(const Variant& value)
{
    const auto r = wholeInRange(toDouble(value), -32768.0, 32767.0);
    if (!r)
        return std::nullopt;
    return static_cast<std::int16_t>(*r);
}

std::optional<std::int32_t> toLong(const Variant& value)
{
    const auto r = wholeInRange(toDouble(value), -2147483648.0, 2147483647.0);
    if (!r)
        return std::nullopt;
    return static_cast<std::int32_t>(*r);
}

std::optional<QString> toString(const Variant& value)
{
    switch (value.type()) {
    case Type::Null:
        return std::nullopt;
    case Type::Empty:
        return QString();
    case Type::String:
        return value.text();
    case Type::Boolean:
        return value.number() != 0.0 ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Date:
        return data::text::formatGeneralDate(value.number());
    case Type::Single:
        return data::text::formatNumber(value.number(), 7);
    default:
        return data::text::formatNumber(value.number());
    }
}

} // namespace convert

bool ToBoolean(const Variant& value, bool fallback)
{
    return convert::toBoolean(value).value_or(fallback);
}

double ToDate(const Variant& value, double fallback)
{
    return convert::toDate(value).value_or(fallback);
}

double ToDouble(const Variant& value, double fallback)
{
    return convert::toDouble(value).value_or(fallback);
}

std::int16_t ToInteger(const Variant& value, std::int16_t fallback)
{
    return convert::toInteger(value).value_or(fallback);
}

std::int32_t ToLong(const Variant& value, std::int32_t fallback)
{
    return convert::toLong(value).value_or(fallback);
}

QString ToString(const Variant& value, const QString& fallback)
{
    return convert::toString(value).value_or(fallback);
}

std::int16_t BoolToCheckValue(bool b)
{
    return ToInteger(Variant(b), 0) == 0 ? 0 : 1;
}

QString shortDateText(const Variant& value)
{
    if (value.isEmpty())
        return QString();
    if (const auto day = convert::toDate(value))
        return data::text::formatShortDate(data::jetdate::toDate(*day));
    return ToString(value, QString());
}
