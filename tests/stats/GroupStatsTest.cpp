#include "stats/GroupStats.h"
#include "platform/data/Variant.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace stats;

namespace {

QStringList labels(const report::ChartData& chart)
{
    QStringList out;
    for (const report::ChartCategory& c : chart.categories)
        out << c.label;
    return out;
}

std::vector<double> values(const report::ChartData& chart)
{
    std::vector<double> out;
    for (const report::ChartCategory& c : chart.categories)
        out.push_back(c.value);
    return out;
}

AgeCounts agesOf(std::initializer_list<std::pair<int, int>> ageAndCount)
{
    AgeCounts ages{};
    for (const auto& [age, count] : ageAndCount)
        ages[std::size_t(age)] = count;
    return ages;
}

std::vector<NameCount> schoolsOf(std::initializer_list<std::pair<const char*, int>> rows)
{
    std::vector<NameCount> out;
    for (const auto& [name, count] : rows)
        out.push_back({QString::fromLatin1(name), count});
    return out;
}

} // namespace

TEST(SummaryGrid, CountsMembersAndVisitorsByStatusAndLeavesOtherCodesOut)
{
    const SummaryGrid grid = CountSummaryGrid({
        {1, false, 10},
        {2, false, 3},
        {3, false, 7},
        {1, true, 4},
        {2, true, 1},
        {0, false, 99},           // Unassigned has no cell
        {7, true, 50},            // nor has an unknown code
        {std::nullopt, false, 5}, // nor Null
    });
    EXPECT_EQ(grid.members, (std::array<std::int32_t, 4>{0, 10, 3, 7}));
    EXPECT_EQ(grid.visitors, (std::array<std::int32_t, 4>{0, 4, 1, 0}));
    EXPECT_EQ(grid.total(1), 14);
    EXPECT_EQ(grid.total(2), 4);
    EXPECT_EQ(grid.total(3), 7);
    EXPECT_EQ(grid.memberTotal(), 20);
    EXPECT_EQ(grid.visitorTotal(), 5);
    EXPECT_EQ(grid.grandTotal(), 25);
}

TEST(SchoolTable, RowsPoolSingleSchoolsAndOverflow)
{
    struct Case {
        const char* what;
        std::vector<NameCount> schools;
        int capacity;
        std::vector<std::pair<QString, int>> rows;
    };
    std::vector<NameCount> forty;
    for (int i = 1; i <= 40; ++i)
        forty.push_back({QStringLiteral("School %1").arg(i, 2, 10, QLatin1Char('0')), 2});
    std::vector<std::pair<QString, int>> fortyRows;
    for (int i = 1; i <= 28; ++i)
        fortyRows.emplace_back(QStringLiteral("School %1").arg(i, 2, 10, QLatin1Char('0')), 2);
    fortyRows.emplace_back(kOthersSchool, 24);
    const auto rowsOf = [](const std::vector<NameCount>& schools) {
        std::vector<std::pair<QString, int>> out;
        for (const NameCount& s : schools)
            out.emplace_back(s.name, s.count);
        return out;
    };
    const std::vector<NameCount> twentyNine(forty.begin(), forty.begin() + 29);
    std::vector<NameCount> twentyEightAndOne(forty.begin(), forty.begin() + 28);
    twentyEightAndOne.push_back({QStringLiteral("Lone"), 1});
    auto twentyEightAndOthers = rowsOf({forty.begin(), forty.begin() + 28});
    twentyEightAndOthers.emplace_back(kOthersSchool, 1);
    auto twentyNineAndOne = twentyNine;
    twentyNineAndOne.push_back({QStringLiteral("Lone"), 1});
    auto twentyEightAndPooled = rowsOf({forty.begin(), forty.begin() + 28});
    twentyEightAndPooled.emplace_back(kOthersSchool, 3); // school 29 and the single one

    const std::vector<Case> cases = {
        {"mixed counts",
         schoolsOf({{"A", 3}, {"B", 3}, {"C", 2}, {"D", 1}, {"E", 1}}),
         29,
         {{"A", 3}, {"B", 3}, {"C", 2}, {kOthersSchool, 2}}},
        {"only singletons", schoolsOf({{"A", 1}, {"B", 1}, {"C", 1}}), 29, {{kOthersSchool, 3}}},
        {"no schools", {}, 29, {}},
        {"more schools than the frame holds", forty, 29, fortyRows},
        {"exactly full without others", twentyNine, 29, rowsOf(twentyNine)},
        {"exactly full with others", twentyEightAndOne, 29, twentyEightAndOthers},
        {"one row too many", twentyNineAndOne, 29, twentyEightAndPooled},
        {"no room at all", schoolsOf({{"A", 3}}), 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto rows = SchoolRows(c.schools, c.capacity);
        ASSERT_EQ(rows.size(), c.rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].name, c.rows[i].first) << i;
            EXPECT_EQ(rows[i].count, c.rows[i].second) << i;
        }
    }
}

TEST(SchoolTable, RowPositionsAndCapacityOfTheLeftColumn)
{
    EXPECT_DOUBLE_EQ(SchoolRowTop(3360, 300, 1), 3710);
    EXPECT_DOUBLE_EQ(SchoolRowTop(3360, 300, 4), 4310);
    // Rows between 3710 and the left column's frame bottom at 9600.
    EXPECT_EQ(SchoolTableCapacity(3710, 200, 9600), 29);
    EXPECT_EQ(SchoolTableCapacity(3710, 270, 9600), 29);
    EXPECT_EQ(SchoolTableCapacity(3710, 300, 9600), 28);
    EXPECT_EQ(SchoolTableCapacity(9500, 200, 9600), 0);
}

TEST(AttendanceSlots, NewestMeetingRightAndEmptySlotsLeft)
{
    std::vector<DateCount> newestFirst;
    for (int i = 0; i < 5; ++i)
        newestFirst.push_back({QDate(2024, 2, 5).addDays(-7 * i), 10 + i});
    const auto filled = LastMeetingSlots(newestFirst);
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_FALSE(filled[i].WeekDate.isValid()) << i;
        EXPECT_EQ(filled[i].count, 0) << i;
    }
    EXPECT_EQ(filled[7].WeekDate, QDate(2024, 1, 8));
    EXPECT_EQ(filled[7].count, 14);
    EXPECT_EQ(filled[11].WeekDate, QDate(2024, 2, 5));
    EXPECT_EQ(filled[11].count, 10);

    // More than twelve: the twelve newest.
    std::vector<DateCount> many;
    for (int i = 0; i < 20; ++i)
        many.push_back({QDate(2024, 5, 5).addDays(-7 * i), i});
    const auto twelve = LastMeetingSlots(many);
    EXPECT_EQ(twelve[0].count, 11);
    EXPECT_EQ(twelve[11].count, 0);
    EXPECT_TRUE(twelve[11].WeekDate.isValid());
}

TEST(Birthdays, CountedByMonthOfBirth)
{
    const std::vector<double> days = {
        data::jetdate::fromDate(QDate(2010, 1, 31)), data::jetdate::fromDate(QDate(2011, 1, 1)),
        data::jetdate::fromDate(QDate(1990, 12, 31)), data::jetdate::fromDate(QDate(2000, 2, 29))};
    const auto months = BirthdaysByMonth(days);
    EXPECT_EQ(months, (std::array<std::int32_t, 12>{2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
}

TEST(Ages, CountedFromTodayBetweenOneAndOneHundred)
{
    testenv::clock().setToday(QDate(2024, 5, 15));
    const auto on = [](int y, int m, int d) { return data::jetdate::fromDate(QDate(y, m, d)); };
    const AgeCounts ages = CountAges({
        on(2010, 5, 15), // 14 today
        on(2010, 5, 16), // 13 until tomorrow
        on(2023, 12, 1), // 0: counted nowhere
        on(1924, 5, 15), // 100: counted
        on(1920, 1, 1),  // 104: not counted
        on(2030, 1, 1),  // not born yet
    });
    EXPECT_EQ(ages[14], 1);
    EXPECT_EQ(ages[13], 1);
    EXPECT_EQ(ages[100], 1);
    EXPECT_EQ(AgeRangeCount(ages, 1, 100), 3);
}

TEST(Ages, RangeCountsAndTheChoiceOfBandSet)
{
    const AgeCounts spread = agesOf({{5, 1}, {6, 1}, {14, 1}, {95, 2}, {100, 3}});
    EXPECT_EQ(AgeRangeCount(spread, 5, 3), 0);
    EXPECT_EQ(AgeRangeCount(spread, 1, 13), 2);
    EXPECT_EQ(AgeRangeCount(spread, 12, 20), 1);
    EXPECT_EQ(AgeRangeCount(spread, 95, 120), 5); // ages above 100 are skipped
    EXPECT_EQ(AgeRangeCount(spread, -3, 5), 1);

    struct Case {
        const char* what;
        AgeCounts ages;
        int set;
    };
    const Case cases[] = {
        {"ages 5, 6 and 14", agesOf({{5, 1}, {6, 1}, {14, 1}}), 1},
        {"a tie between 1-13 and 12-20 goes to the younger set", agesOf({{10, 4}, {15, 4}}), 1},
        {"teenagers", agesOf({{15, 6}, {17, 3}, {10, 2}}), 2},
        {"young adults", agesOf({{19, 1}, {22, 5}, {25, 5}}), 3},
        {"a 30-70 majority", agesOf({{45, 9}, {25, 3}}), 4},
        {"ages 12 and 13 count for both first ranges: set 1", agesOf({{12, 2}, {13, 2}}), 1},
        {"only people aged 75", agesOf({{75, 4}}), 5},
        {"nobody", AgeCounts{}, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DetermineAgeConcentration(c.ages), c.set) << c.what;
}

TEST(AgeChart, BandsOfTheChosenSetWithPercentages)
{
    EXPECT_EQ(labels(AgeChart(agesOf({{5, 1}, {6, 1}, {14, 1}}))),
              QStringList({"Under 3 (0.0%)", "3-5 Yrs (33.3%)", "6-8 Yrs (33.3%)",
                           "9-12 Yrs (0.0%)", "Over 12 (33.3%)"}));
    EXPECT_EQ(values(AgeChart(agesOf({{5, 1}, {6, 1}, {14, 1}}))),
              (std::vector<double>{0, 1, 1, 0, 1}));

    const report::ChartData elders = AgeChart(agesOf({{75, 4}}));
    EXPECT_EQ(labels(elders),
              QStringList({"Under 20 (0.0%)", "20-39 Yrs (0.0%)", "40-59 Yrs (0.0%)",
                           "60-79 Yrs (100.0%)", "Over 79 (0.0%)"}));

    // Age 100 is counted but in no band and not in the total: with nobody else, no chart.
    const report::ChartData none = AgeChart(agesOf({{100, 2}}));
    EXPECT_EQ(labels(none), QStringList({"No Active Members", " ", " ", " ", " "}));
    EXPECT_EQ(values(none), (std::vector<double>{1, 0, 0, 0, 0}));

    // Every band set covers ages 1 to 99 without gaps or overlaps.
    for (int set = 1; set <= 5; ++set) {
        int next = 1;
        for (const AgeBand& band : AgeBandSet(set)) {
            EXPECT_EQ(band.first, next) << set;
            next = band.last + 1;
        }
        EXPECT_EQ(next, 100) << set;
    }
}

TEST(GenderChart, CountsAddIntoTheirColumnAndUnknownCodesAreUnassigned)
{
    const report::ChartData split = GenderChart({{1, 11}, {2, 10}});
    EXPECT_EQ(labels(split), QStringList({"Unassigned", "Male(52.4%)", "Female(47.6%)"}));
    EXPECT_EQ(values(split), (std::vector<double>{0, 11, 10}));

    // Null and 0 both mean "none": they add up, as do codes outside 0 to 2, and the
    // percentages are of the whole total.
    const report::ChartData mixed = GenderChart({{std::nullopt, 2}, {0, 3}, {1, 4}, {5, 1}});
    EXPECT_EQ(values(mixed), (std::vector<double>{6, 4, 0}));
    EXPECT_EQ(labels(mixed), QStringList({"Unassigned", "Male(40.0%)", "Female(0.0%)"}));

    const report::ChartData nobody = GenderChart({});
    EXPECT_EQ(labels(nobody), QStringList({"Unassigned", "Male", "Female"}));
    EXPECT_EQ(values(nobody), (std::vector<double>{1, 0, 0}));
    for (const report::ChartCategory& c : split.categories)
        EXPECT_FALSE(c.fill.has_value());
    EXPECT_EQ(split.edgeColor, QColor(Qt::black));
}

TEST(StatusChart, FixedColoursAndUnknownCodesUnassigned)
{
    const report::ChartData chart =
        StatusChart({{0, 1}, {1, 4}, {2, 1}, {3, 3}, {7, 1}, {std::nullopt, 9}});
    EXPECT_EQ(values(chart), (std::vector<double>{2, 4, 1, 3}));
    EXPECT_EQ(labels(chart),
              QStringList({"Unassigned", "Active(40.0%)", "Away(10.0%)", "Inactive(30.0%)"}));
    const QColor fills[] = {QColor(198, 198, 198), QColor(0, 255, 0), QColor(0, 0, 255),
                            QColor(255, 0, 0)};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(chart.categories[i].fill, fills[i]) << i;
    EXPECT_EQ(chart.edgeColor, QColor(Qt::black));

    const report::ChartData empty = StatusChart({});
    EXPECT_EQ(values(empty), (std::vector<double>{1, 0, 0, 0}));
    EXPECT_EQ(labels(empty), QStringList({"Unassigned", "Active", "Away", "Inactive"}));
}

TEST(TeamChart, OneCategoryPerTeamWithItsShare)
{
    const report::ChartData teams = TeamChart(schoolsOf({{"Blue", 1}, {"Gold", 2}, {"Red", 1}}));
    EXPECT_EQ(labels(teams), QStringList({"Blue (25.0%)", "Gold (50.0%)", "Red (25.0%)"}));
    EXPECT_EQ(values(teams), (std::vector<double>{1, 2, 1}));

    const report::ChartData none = TeamChart({});
    EXPECT_EQ(labels(none), QStringList({"Teams Not Used"}));
    EXPECT_EQ(values(none), (std::vector<double>{1}));

    std::vector<NameCount> sixty;
    for (int i = 0; i < 60; ++i)
        sixty.push_back({QStringLiteral("Team %1").arg(i), 1});
    const report::ChartData many = TeamChart(sixty);
    ASSERT_EQ(many.categories.size(), 60u);
    EXPECT_EQ(many.categories.back().label, QStringLiteral("Team 59 (1.7%)"));
}
