#include "shell/Conversions.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <limits>

using data::Variant;

namespace {

const Variant kNull = Variant::null();
const Variant kEmpty;

double day(int y, int m, int d)
{
    return data::jetdate::fromDate(QDate(y, m, d));
}

} // namespace

TEST(ToInteger, ConvertsOrFallsBack)
{
    struct Case {
        Variant value;
        std::int16_t fallback;
        std::int16_t expected;
    };
    const Case cases[] = {
        {kNull, 0, 0},
        {kNull, 9, 9},
        {kEmpty, 9, 0}, // an unset value is 0, not the default
        {Variant("12"), 0, 12},
        {Variant(" -12 "), 0, -12},
        {Variant("abc"), 5, 5},
        {Variant(""), 7, 7},
        {Variant("1,234"), 0, 1234},
        {Variant(2.5), 0, 2},
        {Variant(3.5), 0, 4},
        {Variant(-2.5), 0, -2},
        {Variant("2.5"), 0, 2},
        {Variant(32767), 0, 32767},
        {Variant(-32768), 0, -32768},
        {Variant(32767.5), 1, 1}, // rounds to 32768: out of range
        {Variant(40000), 3, 3},
        {Variant(true), 0, -1},
        {Variant(false), 4, 0},
        {Variant::date(day(1900, 1, 1) + 0.75), 0, 3},
        {Variant::date(day(2024, 1, 1)), 8, 8}, // 45292 days is past 16 bits
        {Variant::currency(12.5), 0, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.debugString().toStdString());
        EXPECT_EQ(ToInteger(c.value, c.fallback), c.expected);
    }
}

TEST(ToLong, KeepsTheFullThirtyTwoBitRange)
{
    EXPECT_EQ(ToLong(Variant(40000), 0), 40000);
    EXPECT_EQ(ToLong(Variant("40000"), 0), 40000);
    EXPECT_EQ(ToLong(Variant("000007"), 0), 7);
    EXPECT_EQ(ToLong(Variant(2147483647.0), 0), 2147483647);
    EXPECT_EQ(ToLong(Variant(-2147483648.0), 0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ToLong(Variant(2147483648.0), 6), 6);
    EXPECT_EQ(ToLong(Variant(-2147483649.0), 6), 6);
    EXPECT_EQ(ToLong(Variant(1e300), 6), 6);
    EXPECT_EQ(ToLong(kNull, 6), 6);
    EXPECT_EQ(ToLong(Variant(""), 6), 6);
    EXPECT_EQ(ToLong(Variant(4.5), 0), 4);
    EXPECT_EQ(ToLong(Variant(5.5), 0), 6);
    EXPECT_EQ(ToLong(Variant::date(day(2024, 1, 1)), 0), 45292);
}

TEST(ToDouble, ReadsNumbersAndNumericText)
{
    EXPECT_EQ(ToDouble(Variant("12.75"), 0), 12.75);
    EXPECT_EQ(ToDouble(Variant(" 1e3 "), 0), 1000.0);
    EXPECT_EQ(ToDouble(Variant("$1,250.50"), 0), 1250.5);
    EXPECT_EQ(ToDouble(Variant("12 apples"), -1), -1.0);
    EXPECT_EQ(ToDouble(Variant(""), -1), -1.0);
    EXPECT_EQ(ToDouble(kNull, -1), -1.0);
    EXPECT_EQ(ToDouble(kEmpty, -1), 0.0);
    EXPECT_EQ(ToDouble(Variant(true), 0), -1.0);
    EXPECT_EQ(ToDouble(Variant::date(day(2024, 3, 3) + 0.5), 0), 45354.5);
    EXPECT_EQ(ToDouble(Variant::currency(19.99), 0), 19.99);
}

TEST(ToBoolean, AcceptsWordsAndNumbersOnly)
{
    struct Case {
        Variant value;
        bool fallback;
        bool expected;
    };
    const Case cases[] = {
        {Variant("1"), false, true},
        {Variant("0"), true, false},
        {Variant("-1"), false, true},
        {Variant("TRUE"), false, true},
        {Variant("false"), true, false},
        {Variant("yes"), true, true},
        {Variant("yes"), false, false},
        {Variant(""), true, true},
        {kNull, true, true},
        {kEmpty, true, false},
        {Variant(0.0), true, false},
        {Variant(0.1), false, true},
        {Variant(std::int16_t(0)), true, false},
        {Variant::date(0.0), true, false},
        {Variant::date(1.0), false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.debugString().toStdString());
        EXPECT_EQ(ToBoolean(c.value, c.fallback), c.expected);
    }
}

TEST(ToDate, ReadsDatesAndDayNumbers)
{
    const double fallback = 123.0;
    EXPECT_EQ(ToDate(kNull, fallback), fallback);
    EXPECT_EQ(ToDate(kEmpty, fallback), 0.0);
    EXPECT_EQ(ToDate(Variant(""), fallback), fallback);
    EXPECT_EQ(ToDate(Variant("2/31/2024"), fallback), fallback);
    EXPECT_EQ(ToDate(Variant("31/1/2024"), fallback), fallback); // a month 31
    EXPECT_EQ(ToDate(Variant("1/31/2024"), fallback), day(2024, 1, 31));
    EXPECT_EQ(ToDate(Variant("1/31/24"), fallback), day(2024, 1, 31));
    EXPECT_EQ(ToDate(Variant::date(day(2001, 9, 9)), fallback), day(2001, 9, 9));
    EXPECT_EQ(ToDate(Variant(45354.25), fallback), 45354.25);
    EXPECT_EQ(ToDate(Variant(true), fallback), -1.0);
    // 1 January 100 to 31 December 9999.
    EXPECT_EQ(ToDate(Variant(day(100, 1, 1)), fallback), day(100, 1, 1));
    EXPECT_EQ(ToDate(Variant(day(100, 1, 1) - 1), fallback), fallback);
    EXPECT_EQ(ToDate(Variant(day(9999, 12, 31)), fallback), day(9999, 12, 31));
    EXPECT_EQ(ToDate(Variant(day(9999, 12, 31) + 1), fallback), fallback);
}

TEST(ToString, WritesTheLocaleForms)
{
    EXPECT_EQ(ToString(kNull, QString()), QString());
    EXPECT_EQ(ToString(kNull, QStringLiteral("n/a")), QStringLiteral("n/a"));
    EXPECT_EQ(ToString(kEmpty, QStringLiteral("n/a")), QString());
    EXPECT_EQ(ToString(Variant(12), QString()), QStringLiteral("12"));
    EXPECT_EQ(ToString(Variant(std::int16_t(-3)), QString()), QStringLiteral("-3"));
    EXPECT_EQ(ToString(Variant(0.5), QString()), QStringLiteral("0.5"));
    EXPECT_EQ(ToString(Variant(0.1f), QString()), QStringLiteral("0.1"));
    EXPECT_EQ(ToString(Variant(true), QString()), QStringLiteral("True"));
    EXPECT_EQ(ToString(Variant(false), QString()), QStringLiteral("False"));
    EXPECT_EQ(ToString(Variant::currency(25.5), QString()), QStringLiteral("25.5"));
    EXPECT_EQ(ToString(Variant::date(day(2024, 3, 3)), QString()), QStringLiteral("3/3/2024"));
    EXPECT_EQ(ToString(Variant::date(day(2024, 3, 3) + 0.75), QString()),
              QStringLiteral("3/3/2024 6:00:00 PM"));
    EXPECT_EQ(ToString(Variant("x"), QString()), QStringLiteral("x"));
    EXPECT_EQ(ToString(Variant(""), QStringLiteral("d")), QString());

    // The short date drops the time of day, also on days before the zero date.
    EXPECT_EQ(shortDateText(Variant::date(day(2024, 3, 3) + 0.75)), QStringLiteral("3/3/2024"));
    EXPECT_EQ(shortDateText(Variant::date(-1.25)), QStringLiteral("12/29/1899"));
    EXPECT_EQ(shortDateText(kNull), QString());
    EXPECT_EQ(shortDateText(Variant("x")), QStringLiteral("x"));
}

TEST(BoolToCheckValue, GivesCheckBoxValues)
{
    EXPECT_EQ(BoolToCheckValue(true), 1);
    EXPECT_EQ(BoolToCheckValue(false), 0);
}
