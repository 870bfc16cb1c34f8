#include "platform/data/Variant.h"

#include <cmath>
#include <limits>

namespace data {

Variant Variant::null()
{
    Variant v;
    v.m_type = Type::Null;
    return v;
}

Variant Variant::currency(double value)
{
    Variant v;
    v.m_type = Type::Currency;
    v.m_number = std::round(value * 10000.0) / 10000.0;
    return v;
}

Variant Variant::date(double dayNumber)
{
    Variant v;
    v.m_type = Type::Date;
    v.m_number = dayNumber;
    return v;
}

Variant Variant::date(const QDate& d)
{
    return d.isValid() ? date(jetdate::fromDate(d)) : null();
}

Variant Variant::dateTime(const QDateTime& dt)
{
    return dt.isValid() ? date(jetdate::fromDateTime(dt)) : null();
}

Variant Variant::fromInt64(std::int64_t value)
{
    if (value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max())
        return Variant(static_cast<std::int32_t>(value));
    return Variant(static_cast<double>(value));
}

bool Variant::hasNumber() const
{
    switch (m_type) {
    case Type::Empty:
    case Type::Null:
    case Type::String:
        return false;
    default:
        return true;
    }
}

QDate Variant::toQDate() const
{
    return m_type == Type::Date ? jetdate::toDate(m_number) : QDate();
}

QDateTime Variant::toQDateTime() const
{
    return m_type == Type::Date ? jetdate::toDateTime(m_number) : QDateTime();
}

bool Variant::operator==(const Variant& other) const
{
    if (m_type != other.m_type)
        return false;
    if (m_type == Type::String)
        return m_text == other.m_text;
    return m_number == other.m_number;
}

QString Variant::debugString() const
{
    switch (m_type) {
    case Type::Empty:
        return QStringLiteral("Empty");
    case Type::Null:
        return QStringLiteral("Null");
    case Type::String:
        return QStringLiteral("String(\"%1\")").arg(m_text);
    case Type::Date:
        return QStringLiteral("Date(%1)").arg(toQDateTime().toString(Qt::ISODate));
    default:
        return QStringLiteral("%1(%2)").arg(QLatin1String(typeName(m_type))).arg(m_number, 0, 'g', 17);
    }
}

const char* typeName(Variant::Type type)
{
    switch (type) {
    case Variant::Type::Empty:
        return "Empty";
    case Variant::Type::Null:
        return "Null";
    case Variant::Type::Boolean:
        return "Boolean";
    case Variant::Type::Integer:
        return "Integer";
    case Variant::Type::Long:
        return "Long";
    case Variant::Type::Single:
        return "Single";
    case Variant::Type::Double:
        return "Double";
    case Variant::Type::Currency:
        return "Currency";
    case Variant::Type::Date:
        return "Date";
    case Variant::Type::String:
        return "String";
    }
    return "?";
}

namespace jetdate {

QDate epoch()
{
    return QDate(1899, 12, 30);
}

double fromDate(const QDate& d)
{
    return static_cast<double>(epoch().daysTo(d));
}

double fromDateTime(const QDateTime& dt)
{
    const double days = fromDate(dt.date());
    const double frac = dt.time().msecsSinceStartOfDay() / 86400000.0;
    // Negative day numbers carry the time as a positive fraction below the whole day.
    return days < 0 ? days - frac : days + frac;
}

QDate toDate(double dayNumber)
{
    if (!std::isfinite(dayNumber))
        return QDate();
    return epoch().addDays(static_cast<qint64>(std::trunc(dayNumber)));
}

QDateTime toDateTime(double dayNumber)
{
    if (!std::isfinite(dayNumber))
        return QDateTime();
    const double whole = std::trunc(dayNumber);
    double frac = std::fabs(dayNumber - whole);
    qint64 msecs = std::llround(frac * 86400000.0);
    QDate day = epoch().addDays(static_cast<qint64>(whole));
    if (msecs >= 86400000) {
        msecs = 0;
        day = day.addDays(dayNumber < 0 ? -1 : 1);
    }
    return QDateTime(day, QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs)));
}

bool hasTime(double dayNumber)
{
    return toDateTime(dayNumber).time() != QTime(0, 0);
}

} // namespace jetdate
} // namespace data
