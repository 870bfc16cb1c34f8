#include "shell/StatusRules.h"
#include "shell/clsCorvessa.h"
#include "shell/ProgramState.h"
#include "tests/support/DataFixture.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <optional>

using testing_support::DataFixture;

namespace {

// Today in these tests: Wednesday 15 May 2024, 10:30.
const QDate kToday(2024, 5, 15);

data::Variant daysAgo(int days)
{
    return data::Variant::date(kToday.addDays(-days));
}

void store(const char* section, const char* key, const QString& value)
{
    testenv::settings().write(QString::fromUtf8(section), QString::fromUtf8(key), value);
}

struct RuleCase {
    const char* what;
    std::int16_t status;
    std::optional<int> daysAgo; // nullopt: never attended
    bool reactivate;
    bool becomeInactive;
    bool mia;
};

const RuleCase kDefaultCases[] = {
    // With the defaults an Active person becomes Inactive after more than 13 whole weeks and
    // is missing in action after more than 4.
    {"active, 13 weeks 6 days", 1, 97, false, false, true},
    {"active, 14 weeks", 1, 98, false, true, true},
    {"active, 4 weeks 6 days", 1, 34, false, false, false},
    {"active, 5 weeks", 1, 35, false, false, true},
    {"active, never attended", 1, std::nullopt, false, false, false},
    {"active, attended today", 1, 0, false, false, false},
    {"inactive, 7 days", 3, 7, true, false, false},
    {"inactive, 8 days", 3, 8, false, false, false},
    {"inactive, meeting in the future", 3, -5, true, false, false},
    {"inactive, never attended", 3, std::nullopt, false, false, false},
    {"inactive, a year ago", 3, 365, false, false, false},
    {"away, a year ago", 2, 365, false, false, false},
    {"away, 3 days", 2, 3, false, false, false},
    {"unassigned, a year ago", 0, 365, false, false, false},
    {"unknown code, 2 days", 7, 2, false, false, false},
};

} // namespace

TEST(StatusRules, DecideByStatusAndWholeDaysWithTheDefaults)
{
    testenv::clock().setToday(kToday);
    for (const RuleCase& c : kDefaultCases) {
        SCOPED_TRACE(c.what);
        const data::Variant last = c.daysAgo ? daysAgo(*c.daysAgo) : data::Variant::null();
        EXPECT_EQ(ShouldReactivate(c.status, last), c.reactivate);
        EXPECT_EQ(ShouldBecomeInactive(c.status, last), c.becomeInactive);
        EXPECT_EQ(IsMIA(c.status, last), c.mia);
    }
}

TEST(StatusRules, FollowTheWeekCountsOfTheSettings)
{
    testenv::clock().setToday(kToday);
    store("Members", "WeeksToMIA", QStringLiteral("2"));
    store("Members", "WeeksToInactive", QStringLiteral("10"));
    // More than 2 weeks: missing; more than 12 weeks: inactive.
    EXPECT_FALSE(IsMIA(1, daysAgo(20)));
    EXPECT_TRUE(IsMIA(1, daysAgo(21)));
    EXPECT_FALSE(ShouldBecomeInactive(1, daysAgo(90)));
    EXPECT_TRUE(ShouldBecomeInactive(1, daysAgo(91)));
    // The return within 7 days is fixed.
    EXPECT_TRUE(ShouldReactivate(3, daysAgo(7)));
    EXPECT_FALSE(ShouldReactivate(3, daysAgo(8)));
}

TEST(StatusRules, IgnoreTheTimeOfDay)
{
    // Late at night 7 days ago is still 7 days, early in the morning 8 days ago still 8.
    testenv::clock().set(QDateTime(kToday, QTime(0, 5)));
    EXPECT_TRUE(ShouldReactivate(3, testing_support::moment(2024, 5, 8, 23, 59)));
    testenv::clock().set(QDateTime(kToday, QTime(23, 55)));
    EXPECT_FALSE(ShouldReactivate(3, testing_support::moment(2024, 5, 7, 0, 1)));
    EXPECT_EQ(DaysSinceAttended(testing_support::moment(2024, 5, 16, 18, 0)), -1);
    EXPECT_EQ(DaysSinceAttended(data::Variant::null()), std::nullopt);
}

TEST(StatusRules, PassFailuresToTheCaller)
{
    testenv::clock().setToday(kToday);
    EXPECT_THROW(IsMIA(1, data::Variant("soon")), std::invalid_argument);
    // An unreadable week count is told once and its default (4) used: the rules still run.
    store("Members", "WeeksToMIA", QStringLiteral("many"));
    EXPECT_TRUE(IsMIA(1, daysAgo(50)));
    EXPECT_FALSE(ShouldBecomeInactive(1, daysAgo(91)));
    EXPECT_TRUE(ShouldBecomeInactive(1, daysAgo(98)));
    EXPECT_EQ(testenv::messages().shown().size(), 1u);
    // No week count is needed to know that an Away person is not missing.
    EXPECT_FALSE(IsMIA(2, daysAgo(50)));
}

class QualifiesAsMemberTest : public ::testing::Test {
protected:
    void SetUp() override { testenv::clock().setToday(kToday); }

    // A meeting `days` days before today (negative: after today) attended by the person.
    void attended(int person, int days)
    {
        m_db.addAttendance(person, m_db.addMeeting(kToday.addDays(-days)));
    }

    DataFixture m_db;
};

TEST_F(QualifiesAsMemberTest, CountsAttendanceOfTheLastEightWeeksIncludingFutureMeetings)
{
    const int ann = m_db.addPerson("Ann", "Lee", {{"Youth_Visitor", true}});
    const int bob = m_db.addPerson("Bob", "Ray", {{"Youth_Visitor", true}});
    // Ann: on the first day of the period, inside it, and a meeting next week.
    attended(ann, 56);
    attended(ann, 20);
    attended(ann, -7);
    // Outside the period, and Bob's attendance at a meeting of another type.
    attended(ann, 57);
    m_db.addAttendance(bob, m_db.addMeeting(kToday.addDays(-3), {{"Wk_Mtg_Type", "Retreat"}}));
    EXPECT_FALSE(QualifiesAsMember(ann)); // 3 of 4

    attended(ann, 1);
    EXPECT_TRUE(QualifiesAsMember(ann)); // 4 of 4
    EXPECT_FALSE(QualifiesAsMember(bob));

    store("Members", "WeeksToMember", QStringLiteral("1"));
    settings().ResetValues();
    EXPECT_TRUE(QualifiesAsMember(bob)); // any meeting type counts
}

TEST_F(QualifiesAsMemberTest, CountsTwoMeetingsOnOneDayTwice)
{
    const int ann = m_db.addPerson("Ann", "Lee", {{"Youth_Visitor", true}});
    const int morning = m_db.addMeeting(kToday.addDays(-2));
    const int evening = m_db.addMeeting(kToday.addDays(-2));
    m_db.attend(morning, {ann});
    m_db.attend(evening, {ann});
    store("Members", "WeeksToMember", QStringLiteral("2"));
    EXPECT_TRUE(QualifiesAsMember(ann));
}

TEST_F(QualifiesAsMemberTest, ReportsAnUnreadableDataFile)
{
    program().ConnectionString = QStringLiteral("Data Source=") + testenv::programFile("none.mdb");
    EXPECT_THROW(QualifiesAsMember(1), std::exception);
}
