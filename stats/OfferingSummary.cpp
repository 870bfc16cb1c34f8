#include "stats/OfferingSummary.h"

#include "stats/QueryRows.h"
#include "shell/Conversions.h"
#include "shell/Helpers.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace stats {

namespace {

// The scale is kept within what the scale rule can count in.
constexpr std::int64_t kLargestScaled = 2'000'000'000;

std::optional<std::int32_t> optionalLong(const data::Variant& value)
{
    return value.isNull() ? std::nullopt : convert::toLong(value);
}

} // namespace

std::optional<Money> ToMoney(const data::Variant& value)
{
    if (value.isNull() || value.isEmpty())
        return std::nullopt;
    const auto amount = convert::toDouble(value);
    if (!amount || !std::isfinite(*amount) ||
        std::abs(*amount) > double(std::numeric_limits<Money>::max() / kMoneyUnit))
        return std::nullopt;
    return Money(std::llround(*amount * double(kMoneyUnit)));
}

double MoneyAmount(Money money)
{
    return double(money) / double(kMoneyUnit);
}

QString CurrencyText(Money money)
{
    return QLocale().toCurrencyString(MoneyAmount(money));
}

QString WholeDollarText(double amount)
{
    const long long whole = std::llround(amount);
    return (whole < 0 ? QStringLiteral("-$") : QStringLiteral("$")) +
           QLocale().toString(whole < 0 ? -whole : whole);
}

QString YearlyOfferingSql(const SummaryFilter& filter)
{
    return QStringLiteral("SELECT Year([Wk_Date]) AS YearPart, Sum(Weeks.Wk_Offering) AS "
                          "SumOfWk_Offering ") +
           QStringLiteral(" FROM Weeks ") + QStringLiteral(" GROUP BY Year([Wk_Date])") +
           GroupByHavingTerms(filter) + QStringLiteral(" ORDER BY Year([Wk_Date]);");
}

QString WeeklyOfferingSql(const SummaryFilter& filter)
{
    return QStringLiteral("SELECT Month([Wk_Date]) AS MonthPart, Wk_Offering AS WeekOffering, "
                          "Wk_Date ") +
           QStringLiteral(" FROM Weeks ") + QStringLiteral(" WHERE Year([Wk_Date])=") +
           QString::number(filter.reportYear) + TrailingWhereTerms(filter) +
           QStringLiteral(" ORDER BY Wk_Date;");
}

OfferingYears ReadOfferingYears(data::Connection& connection, const QString& connectionString,
                                const SummaryFilter& filter)
{
    return ReadAllRows<YearOffering>(
        connection, connectionString, YearlyOfferingSql(filter),
        [](data::Recordset& rs) {
            return YearOffering{optionalLong(rs[QStringLiteral("YearPart")]),
                                ToMoney(rs[QStringLiteral("SumOfWk_Offering")])};
        },
        data::adOpenStatic, data::adLockOptimistic);
}

OfferingWeeks ReadOfferingWeeks(data::Connection& connection, const QString& connectionString,
                                const SummaryFilter& filter)
{
    return ReadAllRows<WeekOffering>(
        connection, connectionString, WeeklyOfferingSql(filter),
        [](data::Recordset& rs) {
            return WeekOffering{ToInteger(rs[QStringLiteral("MonthPart")], 0),
                                ToDate(rs[QStringLiteral("Wk_Date")], 0),
                                ToMoney(rs[QStringLiteral("WeekOffering")])};
        },
        data::adOpenStatic, data::adLockOptimistic);
}

OfferingTotals SumOfferingYears(const std::vector<YearOffering>& years, std::int32_t reportYear)
{
    OfferingTotals totals;
    for (const YearOffering& row : years) {
        if (!row.sum)
            continue; // a year of empty offerings adds nothing
        totals.allYears += *row.sum;
        if (row.year == reportYear)
            totals.year = *row.sum;
    }
    return totals;
}

MonthlyOfferings SumOfferingMonths(const std::vector<WeekOffering>& weeks)
{
    MonthlyOfferings months;
    for (const WeekOffering& week : weeks) {
        if (week.month < 1 || week.month > 12)
            continue;
        Money& total = months.totals[std::size_t(week.month - 1)];
        total += week.offering.value_or(0);
        // Rounded up, so that the largest bar never stands above its scale.
        const std::int64_t whole = (total + kMoneyUnit - 1) / kMoneyUnit;
        if (total > 0 && whole > months.largest)
            months.largest = whole;
    }
    return months;
}

std::int32_t OfferingScaleMax(std::int64_t largest)
{
    std::int32_t n = std::int32_t(std::clamp<std::int64_t>(largest, 0, kLargestScaled));
    return ChartScaleMax(n);
}

ListPlace OfferingListPlace(int row)
{
    ListPlace place;
    place.column = row > 2 * kOfferingListLines ? 3 : row > kOfferingListLines ? 2 : 1;
    place.line = row - 1 - (place.column - 1) * kOfferingListLines;
    return place;
}

} // namespace stats
