#pragma once

#include "platform/data/Variant.h"

#include <QDate>
#include <QString>

#include <initializer_list>
#include <utility>
#include <vector>

struct sqlite3;

namespace testing_support {

// Field values for the insert helpers, by field name:
//     {{"Youth_Status", 1}, {"Youth_Visitor", true}, {"Youth_Bday", day(2008, 3, 20)}}
using FieldValues = std::vector<std::pair<QString, data::Variant>>;

// A date value, and a date with a time of day.
data::Variant day(int year, int month, int dayOfMonth);
data::Variant moment(int year, int month, int dayOfMonth, int hour, int minute, int second = 0);

// A fresh, empty data file "CorvessaData.mdb" in the test's program folder, made from the
// table layout; in the tests of the program, program().ConnectionString points at it. Its helpers
// add rows and read values back with plain SQLite SQL (not the Jet dialect), independently of the
// data layer:
//
//     DataFixture db;
//     const int ann = db.addPerson("Ann", "Smith", {{"Youth_Status", 1}});
//     const int week = db.addMeeting(QDate(2024, 3, 3));
//     db.addAttendance(ann, week);
//     ... run the screen or report ...
//     EXPECT_EQ(db.count("Attendance", "Attend_Wk_ID = " + QString::number(week)), 1);
class DataFixture {
public:
    DataFixture();
    ~DataFixture();
    DataFixture(const DataFixture&) = delete;
    DataFixture& operator=(const DataFixture&) = delete;

    QString path() const { return m_path; }
    QString connectionString() const;

    // Adds a person (a Youth row) and returns the new Youth_ID. Fields not given keep their
    // defaults (Yes/No fields False, Youth_Created now, everything else Null).
    int addPerson(const QString& firstName, const QString& lastName, const FieldValues& more = {});
    int addPerson(const FieldValues& values);
    // Adds a meeting (a Weeks row) on a date and returns the new Wk_ID.
    int addMeeting(const QDate& date, const FieldValues& more = {});
    // Adds one attendance row, or one per person.
    void addAttendance(int personId, int meetingId);
    void attend(int meetingId, std::initializer_list<int> personIds);

    // Plain SQLite SQL. value(): the first column of the first row (Empty when there is no
    // row); numbers come back as Long or Double, text as String, Null as Null.
    data::Variant value(const QString& sql);
    std::vector<std::vector<data::Variant>> rows(const QString& sql);
    long long count(const QString& table, const QString& where = QString());
    void exec(const QString& sql);

private:
    int insert(const QString& table, const FieldValues& values);

    QString m_path;
    sqlite3* m_db = nullptr;
};

} // namespace testing_support
