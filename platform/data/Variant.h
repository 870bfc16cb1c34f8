#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstdint>

namespace data {

// The value of a field, a setting or a box on screen: a tagged value that keeps the kinds
// the program relies on apart. Empty (never set) and Null (a field without a value) are two
// different states, and both differ from empty text.
//
// Dates are Jet day numbers: days since 30 December 1899 (day 0, the zero date), with the
// time of day as the fraction. Currency is held as a double rounded to 4 decimals.
class Variant {
public:
    enum class Type : std::uint8_t {
        Empty,
        Null,
        Boolean,
        Integer, // 16-bit signed
        Long,    // 32-bit signed
        Single,
        Double,
        Currency,
        Date,
        String,
    };

    Variant() = default;
    Variant(bool b) : m_type(Type::Boolean), m_number(b ? -1.0 : 0.0) {}
    Variant(std::int16_t i) : m_type(Type::Integer), m_number(i) {}
    Variant(std::int32_t i) : m_type(Type::Long), m_number(i) {}
    Variant(float f) : m_type(Type::Single), m_number(f) {}
    Variant(double d) : m_type(Type::Double), m_number(d) {}
    Variant(const QString& s) : m_type(Type::String), m_text(s) {}
    Variant(QString&& s) : m_type(Type::String), m_text(std::move(s)) {}
    Variant(const char* s) : m_type(Type::String), m_text(QString::fromUtf8(s)) {}

    static Variant null();
    static Variant currency(double value);
    static Variant date(double dayNumber);
    static Variant date(const QDate& d);
    static Variant dateTime(const QDateTime& dt);
    // A whole number from a 64-bit source: Long when it fits 32 bits, else Double.
    static Variant fromInt64(std::int64_t value);

    Type type() const { return m_type; }
    bool isEmpty() const { return m_type == Type::Empty; }
    bool isNull() const { return m_type == Type::Null; }
    bool isString() const { return m_type == Type::String; }
    bool isDate() const { return m_type == Type::Date; }
    bool isBoolean() const { return m_type == Type::Boolean; }
    // Boolean, the integer kinds, Single, Double, Currency and Date all carry a number.
    bool hasNumber() const;

    // The number carried (Boolean True is -1, a date its day number); 0 for the other kinds.
    double number() const { return m_number; }
    // The text carried; empty for the other kinds.
    const QString& text() const { return m_text; }

    QDate toQDate() const;         // date part of a Date value; invalid for the other kinds
    QDateTime toQDateTime() const; // Date value as local date and time

    // Same kind and same value.
    bool operator==(const Variant& other) const;
    bool operator!=(const Variant& other) const { return !(*this == other); }

    // A short readable form for messages and test output, e.g. Long(12), String("x"), Null.
    QString debugString() const;

private:
    Type m_type = Type::Empty;
    double m_number = 0.0;
    QString m_text;
};

const char* typeName(Variant::Type type);

// Jet day numbers.
namespace jetdate {
QDate epoch(); // 30 December 1899
double fromDate(const QDate& d);
double fromDateTime(const QDateTime& dt);
// Whole days (towards zero) and the time of day as the absolute fraction, as Jet reads
// negative day numbers: -1.25 is 29 December 1899, 06:00.
QDate toDate(double dayNumber);
QDateTime toDateTime(double dayNumber);
bool hasTime(double dayNumber);
} // namespace jetdate

} // namespace data
