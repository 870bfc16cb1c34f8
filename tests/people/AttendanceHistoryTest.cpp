#include "people/AttendanceHistory.h"
#include "shell/ProgramState.h"
#include "tests/support/DataFixture.h"
#include "tests/support/TestEnvironment.h"

#include <QListWidget>

#include <gtest/gtest.h>

using testing_support::DataFixture;

namespace {

// Today in every test: 15 May 2024.
QDate daysAgo(int days)
{
    return QDate(2024, 5, 15).addDays(-days);
}

QStringList lines(const QListWidget& list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}

class History : public ::testing::Test {
protected:
    // Shows a person's record as the directory does: the dates read once, then the marks.
    QStringList show(const data::Variant& id)
    {
        AttendanceHistory history(&list);
        history.LoadRecentWeeks();
        history.ShowAttendanceRecord(id);
        return lines(list);
    }

    DataFixture db;
    QListWidget list;
};

} // namespace

TEST_F(History, OneLinePerRecentMeetingNewestFirst)
{
    const int ann = db.addPerson("Ann", "Smith");
    std::vector<int> meetings;
    for (int week = 0; week < 10; ++week) // inserted oldest first
        meetings.push_back(db.addMeeting(daysAgo(7 * (9 - week))));
    db.attend(meetings[9], {ann});                      // 15 May
    db.attend(meetings[5], {ann});                      // 17 April
    db.attend(meetings[0], {ann});                      // 13 March
    db.addAttendance(ann, db.addMeeting(daysAgo(400))); // long ago: not listed

    const QStringList record = show(ann);

    ASSERT_EQ(record.size(), 10);
    EXPECT_EQ(record.first(), QStringLiteral("05/15/2024 -  PRESENT"));
    EXPECT_EQ(record.at(1), QStringLiteral("05/08/2024 -  Absent"));
    EXPECT_EQ(record.at(4), QStringLiteral("04/17/2024 -  PRESENT"));
    EXPECT_EQ(record.last(), QStringLiteral("03/13/2024 -  PRESENT"));
    EXPECT_EQ(record.filter(QStringLiteral("PRESENT")).size(), 3);
}

TEST_F(History, NothingForANewPersonOrAPersonWithoutRecentAttendance)
{
    const int ann = db.addPerson("Ann", "Smith");
    const int bob = db.addPerson("Bob", "Jones");
    db.addMeeting(daysAgo(7));
    db.addMeeting(daysAgo(14));
    db.addAttendance(bob, db.addMeeting(daysAgo(300)));

    EXPECT_EQ(show(ann), QStringList()) << "not a list of absences";
    EXPECT_EQ(show(bob), QStringList());
    EXPECT_EQ(show(data::Variant::null()), QStringList());

    // The list is emptied when the next person shown has no record.
    AttendanceHistory history(&list);
    history.LoadRecentWeeks();
    db.addAttendance(ann, db.addMeeting(daysAgo(1)));
    history.ShowAttendanceRecord(ann);
    EXPECT_EQ(list.count(), 2) << "meetings added after the dates were read are not listed";
    history.ShowAttendanceRecord(std::int32_t(0));
    EXPECT_EQ(list.count(), 0);
}

TEST_F(History, WindowEdgesAndMeetingsSharingADate)
{
    const int ann = db.addPerson("Ann", "Smith");
    const int service = db.addMeeting(daysAgo(7));
    db.addMeeting(daysAgo(7), {{"Wk_Mtg_Type", "Bible study"}});
    const int edge = db.addMeeting(daysAgo(182)); // exactly 26 weeks ago
    db.addMeeting(daysAgo(183));
    db.addMeeting(daysAgo(-7)); // planned for next week
    db.attend(service, {ann});
    db.attend(edge, {ann});

    EXPECT_EQ(show(ann), QStringList({"05/22/2024 -  Absent", "05/08/2024 -  PRESENT",
                                      "05/08/2024 -  PRESENT", "11/15/2023 -  PRESENT"}));
}

TEST_F(History, GrowsPastTwoHundredAndElevenMeetings)
{
    const int ann = db.addPerson("Ann", "Smith");
    db.exec(QStringLiteral("BEGIN"));
    for (int i = 0; i < 250; ++i)
        db.addMeeting(daysAgo(i % 180));
    db.exec(QStringLiteral("COMMIT"));
    db.addAttendance(ann, 1);

    EXPECT_EQ(show(ann).size(), 250);
}

TEST_F(History, AFailingQueryIsToldOnceAndLeavesTheListEmpty)
{
    const int ann = db.addPerson("Ann", "Smith");
    db.addAttendance(ann, db.addMeeting(daysAgo(7)));
    AttendanceHistory history(&list);
    history.LoadRecentWeeks();
    history.ShowAttendanceRecord(ann);
    ASSERT_EQ(list.count(), 1);

    program().ConnectionString = QStringLiteral(
        "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=/no/such/folder/CorvessaData.mdb;");
    history.ShowAttendanceRecord(ann);
    history.ShowAttendanceRecord(ann);

    EXPECT_EQ(list.count(), 0);
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(testenv::messages().last().text.startsWith(
        QStringLiteral("The attendance record could not be read.")));
}
