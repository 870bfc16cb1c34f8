#include "platform/data/LocaleText.h"
#include "platform/data/Variant.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace data;

namespace {

double day(int y, int m, int d)
{
    return jetdate::fromDate(QDate(y, m, d));
}

struct LocaleGuard {
    QLocale saved;
    explicit LocaleGuard(const QLocale& l) { QLocale::setDefault(l); }
    ~LocaleGuard() { QLocale::setDefault(saved); }
};

} // namespace

TEST(JetDate, DayNumbersAroundTheEpoch)
{
    EXPECT_EQ(jetdate::fromDate(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(jetdate::fromDate(QDate(1900, 1, 1)), 2.0);
    EXPECT_EQ(jetdate::fromDate(QDate(2024, 3, 3)), 45354.0);
    EXPECT_EQ(jetdate::toDate(45354.75), QDate(2024, 3, 3));
    EXPECT_EQ(jetdate::toDateTime(45354.75), QDateTime(QDate(2024, 3, 3), QTime(18, 0)));
    // Negative day numbers keep the time as a positive fraction.
    EXPECT_EQ(jetdate::toDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_DOUBLE_EQ(jetdate::fromDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
}

TEST(LocaleText, WritesFourDigitYearsAndGeneralDates)
{
    EXPECT_EQ(text::shortDateFormat(), QStringLiteral("M/d/yyyy"));
    EXPECT_EQ(text::formatShortDate(QDate(2024, 3, 5)), QStringLiteral("3/5/2024"));
    EXPECT_EQ(text::formatGeneralDate(day(2024, 3, 5)), QStringLiteral("3/5/2024"));
    EXPECT_EQ(text::formatGeneralDate(day(2024, 3, 5) + 0.5), QStringLiteral("3/5/2024 12:00:00 PM"));
    EXPECT_EQ(text::formatGeneralDate(0.75), QStringLiteral("6:00:00 PM"));
    EXPECT_EQ(text::formatUsDate(QDate(987, 1, 2)), QStringLiteral("1/2/0987"));
}

TEST(LocaleText, ReadsDatesInTheLocaleWithTheTwoDigitYearWindow)
{
    struct Case {
        const char* text;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"3/5/2024", day(2024, 3, 5)},
        {" 03/05/2024 ", day(2024, 3, 5)},
        {"3-5-2024", day(2024, 3, 5)},
        {"3/5/24", day(2024, 3, 5)},
        {"3/5/29", day(2029, 3, 5)},
        {"3/5/30", day(1930, 3, 5)},
        {"12/31/99", day(1999, 12, 31)},
        {"2024-03-05", day(2024, 3, 5)},
        {"March 5, 2024", day(2024, 3, 5)},
        {"5-Mar-2024", day(2024, 3, 5)},
        {"2/29/2024", day(2024, 2, 29)},
        {"2/29/2023", std::nullopt},
        {"4/31/2024", std::nullopt},
        {"13/1/2024", std::nullopt},
        {"3/5", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"12", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(text::parseDate(QString::fromUtf8(c.text)), c.expected);
    }
    EXPECT_DOUBLE_EQ(*text::parseDate(QStringLiteral("3/5/2024 6:00 PM")), day(2024, 3, 5) + 0.75);
    EXPECT_DOUBLE_EQ(*text::parseDate(QStringLiteral("2024-03-05T06:00:00")), day(2024, 3, 5) + 0.25);
    EXPECT_DOUBLE_EQ(*text::parseDate(QStringLiteral("12:00:00 PM")), 0.5);
    EXPECT_FALSE(text::parseDate(QStringLiteral("3/5/2024 13:00 PM")));
}

TEST(LocaleText, FollowsTheDefaultLocale)
{
    LocaleGuard german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(text::formatShortDate(QDate(2024, 3, 5)), QStringLiteral("05.03.2024"));
    EXPECT_EQ(text::parseDate(QStringLiteral("5.3.24")), day(2024, 3, 5));
    EXPECT_EQ(text::parseDate(QStringLiteral("2024-03-05")), day(2024, 3, 5));
    EXPECT_EQ(text::parseNumber(QStringLiteral("1.234,5")), 1234.5);
    EXPECT_EQ(text::formatNumber(2.5), QStringLiteral("2,5"));
}

TEST(LocaleText, ReadsNumbers)
{
    struct Case {
        const char* text;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"12", 12.0},       {"  -12.5 ", -12.5}, {"+3", 3.0},     {"1,234.5", 1234.5},
        {"1e3", 1000.0},    {"$12.50", 12.5},    {"-$3", -3.0},   {"", std::nullopt},
        {" ", std::nullopt}, {"abc", std::nullopt}, {"12abc", std::nullopt}, {"nan", std::nullopt},
        {"inf", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(text::parseNumber(QString::fromUtf8(c.text)), c.expected);
    }
}

TEST(LocaleText, WritesNumbersWithoutGrouping)
{
    EXPECT_EQ(text::formatNumber(12), QStringLiteral("12"));
    EXPECT_EQ(text::formatNumber(1234567), QStringLiteral("1234567"));
    EXPECT_EQ(text::formatNumber(-0.5), QStringLiteral("-0.5"));
    EXPECT_EQ(text::formatNumber(0.1 + 0.2), QStringLiteral("0.3"));
}

TEST(VariantValue, KeepsNullEmptyAndTextApart)
{
    EXPECT_TRUE(Variant().isEmpty());
    EXPECT_TRUE(Variant::null().isNull());
    EXPECT_TRUE(Variant("").isString());
    EXPECT_NE(Variant(), Variant::null());
    EXPECT_NE(Variant::null(), Variant(""));
    EXPECT_EQ(Variant(true).number(), -1.0);
    EXPECT_EQ(Variant(std::int16_t(5)).type(), Variant::Type::Integer);
    EXPECT_EQ(Variant(5).type(), Variant::Type::Long);
    EXPECT_EQ(Variant::currency(1.23456).number(), 1.2346);
    EXPECT_EQ(Variant::fromInt64(5000000000LL).type(), Variant::Type::Double);
    EXPECT_EQ(Variant::date(QDate(2024, 1, 2)).toQDate(), QDate(2024, 1, 2));
}
