#pragma once

#include "stats/QueryRows.h"
#include "stats/SummaryFilter.h"
#include "platform/data/Variant.h"

#include <QDate>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace data {
class Connection;
}

// The offering summary of one year: the year's total and the total of all years, the twelve
// monthly totals as a bar graph and the year's meetings with their offerings, all restricted
// to the meeting type chosen.
namespace stats {

// An amount of money, exact to four decimals: ten-thousandths of the currency unit.
using Money = std::int64_t;
inline constexpr Money kMoneyUnit = 10000;

// A stored amount as money; nullopt for Null (no offering) or a value that is no number.
std::optional<Money> ToMoney(const data::Variant& value);
double MoneyAmount(Money money);

// The amount in the user's currency form ("$1,234.50").
QString CurrencyText(Money money);
// The amount rounded to whole units after a "$", with thousands separators ("$1,235").
QString WholeDollarText(double amount);

// The offering summed per year, restricted to the condition's other clauses.
QString YearlyOfferingSql(const SummaryFilter& filter);
// The report year's meetings in date order, restricted likewise.
QString WeeklyOfferingSql(const SummaryFilter& filter);

struct YearOffering {
    std::optional<std::int32_t> year;
    std::optional<Money> sum; // nullopt when every offering of the year is empty
};

struct WeekOffering {
    std::int32_t month = 0; // 1 to 12
    double day = 0;         // the meeting's date (day number)
    std::optional<Money> offering;
};

using OfferingYears = QueryResult<YearOffering>;
using OfferingWeeks = QueryResult<WeekOffering>;

// Open the connection unless it is open and run one query each. Never throw.
OfferingYears ReadOfferingYears(data::Connection& connection, const QString& connectionString,
                                const SummaryFilter& filter);
OfferingWeeks ReadOfferingWeeks(data::Connection& connection, const QString& connectionString,
                                const SummaryFilter& filter);

struct OfferingTotals {
    Money year = 0;
    Money allYears = 0;
};
OfferingTotals SumOfferingYears(const std::vector<YearOffering>& years, std::int32_t reportYear);

struct MonthlyOfferings {
    std::array<Money, 12> totals{}; // January first
    // The largest a month's total reached while the meetings were added, rounded up to whole
    // units; 0 when no month went above 0.
    std::int64_t largest = 0;
};
MonthlyOfferings SumOfferingMonths(const std::vector<WeekOffering>& weeks);

// The graph's scale maximum for the largest month.
std::int32_t OfferingScaleMax(std::int64_t largest);

// The weekly list: three columns of 40 lines, at most 120 meetings.
inline constexpr int kOfferingListColumns = 3;
inline constexpr int kOfferingListLines = 40;
inline constexpr int kOfferingListRows = kOfferingListColumns * kOfferingListLines;

struct ListPlace {
    int column = 1; // 1 to 3
    int line = 0;   // 0 to 39
};
// Where meeting `row` (from 1) of the list stands.
ListPlace OfferingListPlace(int row);

} // namespace stats
