#include "people/frmDefault.h"
#include "shell/Panel.h"
#include "shell/ProgramState.h"
#include "shell/ScreenRegistry.h"
#include "shell/clsCorvessa.h"
#include "shell/frmMainMDI.h"
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/ui/Twips.h"
#include "tests/support/DataFixture.h"
#include "tests/support/ScreenDoubles.h"
#include "tests/support/TestEnvironment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTest>

#include <sqlite3.h>

#include <gtest/gtest.h>

using testing_support::DataFixture;
using testing_support::FieldValues;
using testing_support::RecordingScreens;

namespace {

const QString kCustomize = QStringLiteral(
    "Customize the program for your group using Options under the Tools menu above.");

void store(const char* section, const char* key, const QString& value)
{
    testenv::settings().write(QString::fromUtf8(section), QString::fromUtf8(key), value);
}

QString storedDate(const QDate& d)
{
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

class StartPageTest : public ::testing::Test {
protected:
    StartPageTest()
    {
        ScreenRegistry::registerScreen(QStringLiteral("frmDefault"), [] { return new frmDefault; });
    }

    // Starts a run of the program: the main window opens on the Start page.
    void start()
    {
        program().MainForm = std::make_unique<frmMainMDI>();
        main().Load();
        main().Show();
    }
    // Ends the run and starts the next one on a day.
    void restartOn(const QDate& today)
    {
        program().MainForm.reset();
        program().Settings.reset();
        program().StoredReminders.clear();
        flushDeletes();
        testenv::clock().setToday(today);
        start();
    }
    void visitStart()
    {
        main().ClickNode(1);
        flushDeletes();
    }
    static void flushDeletes()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    frmMainMDI& main() { return *program().MainForm; }
    frmDefault& page()
    {
        auto* p = qobject_cast<frmDefault*>(main().CurrentForm());
        EXPECT_NE(p, nullptr);
        return *p;
    }
    template <class T> T* control(const char* name)
    {
        T* c = page().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QStringList items(const char* list)
    {
        QStringList texts;
        QListWidget* l = control<QListWidget>(list);
        for (int i = 0; i < l->count(); ++i)
            texts << l->item(i)->text();
        return texts;
    }
    QStringList reminders()
    {
        auto* box = control<QPlainTextEdit>("txtReminder");
        if (!box->isVisibleTo(&page()))
            return {};
        return box->toPlainText().split(QLatin1Char('\n'));
    }
    // "Caption number" per line of the counts pane.
    QStringList counts()
    {
        const QStringList captions = control<QLabel>("lblStatus")->text().split(QLatin1Char('\n'));
        const QStringList numbers = control<QLabel>("lblNumbers")->text().split(QLatin1Char('\n'));
        QStringList lines;
        for (int i = 0; i < captions.size(); ++i)
            lines << captions[i] + QLatin1Char(' ') + numbers.value(i, QStringLiteral("?"));
        return lines;
    }
    void doubleClick(const char* list, int row)
    {
        QListWidget* l = control<QListWidget>(list);
        QListWidgetItem* item = l->item(row);
        ASSERT_NE(item, nullptr);
        const QPoint at = l->visualItemRect(item).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
        flushDeletes();
    }

    int person(const QString& first, const QString& last, int status, FieldValues more = {})
    {
        more.emplace_back(QStringLiteral("Youth_Status"), static_cast<std::int32_t>(status));
        return m_db.addPerson(first, last, more);
    }
    data::Variant daysAgo(int days) const
    {
        return data::Variant::date(ui::today().addDays(-days));
    }
    data::Variant field(int id, const char* name)
    {
        return m_db.value(QStringLiteral("SELECT %1 FROM Youth WHERE Youth_ID = %2")
                              .arg(QLatin1String(name))
                              .arg(id));
    }
    // `count` people last seen 200 days ago, each with a comment long enough that changing
    // them all outgrows the page cache; `columns` take `values`, expressions of the row number i.
    void addLongGonePeople(int count, const char* columns, const char* values)
    {
        const double longAgo = data::jetdate::fromDate(ui::today().addDays(-200));
        m_db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                 "WHERE i < %1) INSERT INTO Youth (Youth_FName, Youth_LName, "
                                 "Youth_Last_Attended, Youth_Comments, %2) SELECT 'P' || i, 'Q', "
                                 "%3, printf('%.*c', 1500, 'x'), %4 FROM n")
                      .arg(count)
                      .arg(QLatin1String(columns))
                      .arg(longAgo)
                      .arg(QLatin1String(values)));
    }
    std::int32_t number(int id, const char* name)
    {
        return static_cast<std::int32_t>(field(id, name).number());
    }

    DataFixture m_db;
    RecordingScreens m_screens;
};

} // namespace

TEST_F(StartPageTest, FirstVisitAppliesTheRulesAndReportsTheChangesInOrder)
{
    testenv::clock().setToday(QDate(2024, 12, 2));
    store("Members", "LastAutoGradSchoolDate", QStringLiteral("2023-06-14"));
    const int ann = person("Ann", "Adams", 1,
                           {{"Youth_Last_Attended", daysAgo(98)}, {"Youth_School_Grade", 12}});
    const int bea = person("Bea", "Baker", 3, {{"Youth_Last_Attended", daysAgo(3)}});
    const int cal =
        person("Cal", "Cole", 0, {{"Youth_Visitor", true}, {"Youth_Last_Attended", daysAgo(1)}});
    const int dee =
        person("Dee", "Dunn", 1, {{"Youth_Last_Attended", daysAgo(97)}, {"Youth_School_Grade", 0}});
    const int gus = person("Gus", "Grant", 1,
                           {{"Youth_Last_Attended", daysAgo(150)}, {"Youth_School_Grade", 1}});
    const int moss = m_db.addPerson(
        {{"Youth_LName", "Moss"}, {"Youth_Status", 3}, {"Youth_Last_Attended", daysAgo(0)}});
    // Deleted people qualify for every change and get none.
    const int gone = person("Old", "Abbot", 1,
                            {{"Youth_Deleted", true},
                             {"Youth_Last_Attended", daysAgo(200)},
                             {"Youth_School_Grade", 4}});
    const int goneVisitor = person(
        "Vic", "Abel", 3,
        {{"Youth_Deleted", true}, {"Youth_Visitor", true}, {"Youth_Last_Attended", daysAgo(2)}});
    for (int days : {2, 9, 16, 23}) {
        const int meeting = m_db.addMeeting(ui::today().addDays(-days));
        m_db.attend(meeting, {cal, goneVisitor});
    }

    start();

    EXPECT_EQ(reminders(),
              (QStringList{
                  kCustomize, "Reminder: December graduations are coming up!",
                  "The school year is over! All grade levels have been increased by one for you.",
                  "These people have become inactive: Ann Adams, Gus Grant",
                  "These people have become active again: Bea Baker,  Moss",
                  "These visitors are now members: Cal Cole"}));
    EXPECT_TRUE(main().EvalsDone());
    EXPECT_EQ(number(ann, "Youth_Status"), 3);
    EXPECT_EQ(number(ann, "Youth_School_Grade"), 13);
    EXPECT_EQ(number(bea, "Youth_Status"), 1);
    EXPECT_TRUE(field(bea, "Youth_School_Grade").isNull());
    EXPECT_EQ(number(cal, "Youth_Visitor"), 0);
    EXPECT_EQ(number(cal, "Youth_Status"), 0); // becoming a member leaves the status alone
    EXPECT_EQ(number(dee, "Youth_Status"), 1);
    EXPECT_EQ(number(dee, "Youth_School_Grade"), 0);
    EXPECT_EQ(number(gus, "Youth_School_Grade"), 2);
    EXPECT_EQ(number(moss, "Youth_Status"), 1);
    EXPECT_EQ(number(gone, "Youth_Status"), 1);
    EXPECT_EQ(number(gone, "Youth_School_Grade"), 4);
    EXPECT_EQ(number(goneVisitor, "Youth_Status"), 3);
    EXPECT_EQ(number(goneVisitor, "Youth_Visitor"), -1);
    EXPECT_EQ(testenv::settings().read("Members", "LastAutoGradSchoolDate"),
              storedDate(ui::today()));

    // The page shows the people after the rules: Ann and Gus are no longer missing.
    EXPECT_EQ(counts(), (QStringList{"Total Members+Visitors: 6", "Active: 3", "Away: 0",
                                     "Inactive: 2", "Unassigned: 1"}));
    EXPECT_EQ(items("List_MIA"), QStringList{"Dee Dunn  (08/27)"});
    EXPECT_EQ(program().StoredReminders, reminders().mid(1).join(QLatin1Char('\n')));
}

TEST_F(StartPageTest, GraduationReminderInItsTwoSeasons)
{
    store("GroupInfo", "GroupName", QStringLiteral("Harbor Youth"));
    store("Members", "AutoGradSchool", QStringLiteral("False"));
    const struct {
        QDate today;
        const char* remindSetting; // nullptr: absent
        const char* line;          // nullptr: none
    } cases[] = {
        {{2024, 4, 24}, nullptr, nullptr},
        {{2024, 4, 25}, nullptr, "Reminder: May graduations are coming up!"},
        {{2024, 5, 9}, nullptr, "Reminder: May graduations are coming up!"},
        {{2024, 5, 10}, nullptr, nullptr},
        {{2024, 11, 24}, nullptr, nullptr},
        {{2024, 11, 25}, nullptr, "Reminder: December graduations are coming up!"},
        {{2024, 12, 9}, nullptr, "Reminder: December graduations are coming up!"},
        {{2024, 12, 10}, nullptr, nullptr},
        {{2024, 4, 25}, "0", nullptr},
        {{2024, 12, 1}, "False", nullptr},
        {{2024, 4, 25}, "1", "Reminder: May graduations are coming up!"},
        // An unreadable setting is told and its default (on) used; the page is built all the same.
        {{2024, 4, 25}, "perhaps", "Reminder: May graduations are coming up!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.today.toString(Qt::ISODate) + QStringLiteral(" ") +
                      QString::fromLatin1(c.remindSetting))
                         .toStdString());
        if (c.remindSetting)
            store("Reminders", "RemindGrad", QString::fromLatin1(c.remindSetting));
        restartOn(c.today);
        EXPECT_EQ(reminders(), c.line ? QStringList{QString::fromLatin1(c.line)} : QStringList{});
        EXPECT_TRUE(main().EvalsDone());
    }
}

TEST_F(StartPageTest, GradesRiseOnceAYearFromFifteenthOfJune)
{
    store("GroupInfo", "GroupName", QStringLiteral("Harbor Youth"));
    const int senior = person("Sam", "Senior", 1, {{"Youth_School_Grade", 12}});
    const int first = person("Fay", "First", 1, {{"Youth_School_Grade", 1}});
    const int none = person("Ned", "None", 1, {{"Youth_School_Grade", 0}});
    const int unknown = person("Una", "Known", 1);
    const QString raised = QStringLiteral(
        "The school year is over! All grade levels have been increased by one for you.");
    const auto grades = [&] {
        return std::vector<data::Variant>{
            field(senior, "Youth_School_Grade"), field(first, "Youth_School_Grade"),
            field(none, "Youth_School_Grade"), field(unknown, "Youth_School_Grade")};
    };
    const auto lastRaise = [] {
        return testenv::settings().read("Members", "LastAutoGradSchoolDate");
    };
    const std::vector<data::Variant> before = grades();

    // The very first run only records the school year: 14 June of last year before 15 June,
    // of this year from 15 June on.
    const std::pair<QDate, const char*> firstRuns[] = {{QDate(2024, 6, 14), "2023-06-14"},
                                                       {QDate(2024, 6, 15), "2024-06-14"},
                                                       {QDate(2024, 6, 10), "2023-06-14"}};
    for (const auto& [day, recorded] : firstRuns) {
        testenv::settings().write("Members", "LastAutoGradSchoolDate", QStringLiteral("0"));
        restartOn(day);
        EXPECT_EQ(lastRaise(), QString::fromLatin1(recorded)) << day.toString().toStdString();
        EXPECT_EQ(grades(), before);
    }
    // ... and the next run on 14 June raises nothing either.
    restartOn(QDate(2024, 6, 14));
    EXPECT_EQ(reminders(), QStringList{});
    EXPECT_EQ(grades(), before);

    // With the yearly raise turned off, 15 June passes without a raise.
    store("Members", "AutoGradSchool", QStringLiteral("0"));
    restartOn(QDate(2024, 6, 15));
    EXPECT_EQ(grades(), before);
    EXPECT_EQ(lastRaise(), QStringLiteral("2023-06-14"));

    // Turned on again, the next run raises every grade of 1 or more.
    store("Members", "AutoGradSchool", QStringLiteral("1"));
    restartOn(QDate(2024, 6, 15));
    EXPECT_EQ(reminders(), QStringList{raised});
    EXPECT_EQ(grades(),
              (std::vector<data::Variant>{data::Variant::fromInt64(13), data::Variant::fromInt64(2),
                                          data::Variant::fromInt64(0), data::Variant::null()}));
    EXPECT_EQ(lastRaise(), QStringLiteral("2024-06-15"));

    // A second run the same day, and later that year, raise nothing.
    const std::vector<data::Variant> after = grades();
    restartOn(QDate(2024, 6, 15));
    EXPECT_EQ(reminders(), QStringList{});
    restartOn(QDate(2024, 12, 31));
    EXPECT_EQ(grades(), after);

    // A first run after 15 June records 14 June of this year.
    testenv::settings().write("Members", "LastAutoGradSchoolDate", QStringLiteral("0"));
    restartOn(QDate(2025, 6, 20));
    EXPECT_EQ(grades(), after);
    EXPECT_EQ(lastRaise(), QStringLiteral("2025-06-14"));
}

TEST_F(StartPageTest, VisitorsBecomeMembersAfterEnoughMeetingsInEightWeeks)
{
    store("GroupInfo", "GroupName", QStringLiteral("Harbor Youth"));
    const int four = person("Four", "Times", 0, {{"Youth_Visitor", true}});
    const int three = person("Three", "Times", 0, {{"Youth_Visitor", true}});
    // Three meetings in the period, one of them next week, and one just before it.
    for (int days : {-7, 0, 56})
        m_db.attend(m_db.addMeeting(ui::today().addDays(-days)), {four, three});
    m_db.attend(m_db.addMeeting(ui::today().addDays(-57)), {four, three});
    m_db.attend(m_db.addMeeting(ui::today().addDays(-30)), {four});

    // Turned off, nobody changes.
    store("Members", "AutoGradVisitor", QStringLiteral("False"));
    start();
    EXPECT_EQ(reminders(), QStringList{});
    EXPECT_EQ(number(four, "Youth_Visitor"), -1);

    store("Members", "AutoGradVisitor", QStringLiteral("True"));
    restartOn(ui::today());
    EXPECT_EQ(reminders(), QStringList{"These visitors are now members: Four Times"});
    EXPECT_EQ(number(four, "Youth_Visitor"), 0);
    EXPECT_EQ(number(three, "Youth_Visitor"), -1);

    // Unreadable: nobody is made a member on the default's guess, and the user is told why.
    m_db.exec(QStringLiteral("UPDATE Youth SET Youth_Visitor=-1 WHERE Youth_ID=%1").arg(four));
    store("Members", "AutoGradVisitor", QStringLiteral("sometimes"));
    restartOn(ui::today());
    EXPECT_EQ(reminders(), QStringList{});
    EXPECT_EQ(number(four, "Youth_Visitor"), -1);
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_TRUE(testenv::messages().last().text.contains(
        "AutoGradVisitor holds \"sometimes\", which is not True or False."));
    EXPECT_TRUE(testenv::messages().last().text.contains(
        "not made at this start: regular visitors becoming members."));
}

TEST_F(StartPageTest, NoRuleGoesByASettingThatCouldNotBeRead)
{
    // Each case: the stored settings (or a store that cannot be read), which changes are made,
    // and what the one message says.
    struct Case {
        const char* name;
        std::vector<std::array<const char*, 3>> stored; // section, key, text
        bool storeUnreadable;
        bool inactive, member, raised;
        QStringList told;
    };
    const QString unreadable = QStringLiteral(
        "The settings file /home/u/.config/Corvessa/Corvessa.ini cannot be read: Permission "
        "denied.");
    const Case cases[] = {
        {"store unreadable",
         {{"Members", "AutoGradVisitor", "False"}},
         true,
         false,
         false,
         false,
         {unreadable, "not made at this start: active people who stay away becoming inactive, "
                      "regular visitors becoming members and the yearly raise of the school "
                      "grades."}},
        {"two keys of another type and one only shown",
         {{"Members", "AutoGradVisitor", "maybe"},
          {"Members", "WeeksToInactive", "abc"},
          {"Reminders", "RemindInactiveBday", "x"}},
         false,
         false,
         false,
         true,
         {"WeeksToInactive holds \"abc\", which is not a whole number.",
          "AutoGradVisitor holds \"maybe\", which is not True or False.",
          "RemindInactiveBday holds \"x\", which is not True or False. The default, False, is "
          "used in its place.",
          "not made at this start: active people who stay away becoming inactive and regular "
          "visitors becoming members."}},
        {"the raise switch",
         {{"Members", "AutoGradSchool", "perhaps"}},
         false,
         true,
         true,
         false,
         {"AutoGradSchool holds \"perhaps\"", "the yearly raise of the school grades."}},
        {"all readable", {}, false, true, true, true, {}},
    };
    const QDate today(2024, 6, 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* table : {"Attendance", "Weeks", "Youth"})
            m_db.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        testenv::settings() = testing_support::MemorySettingsStore();
        store("GroupInfo", "GroupName", QStringLiteral("Harbor Youth"));
        store("Members", "LastAutoGradSchoolDate", QStringLiteral("2023-06-14"));
        for (const auto& [section, key, text] : c.stored)
            store(section, key, QString::fromUtf8(text));
        testenv::clock().setToday(today);
        const int gone = person("Gil", "Gone", 1, {{"Youth_Last_Attended", daysAgo(100)}});
        const int back = person("Bo", "Back", 3,
                                {{"Youth_Last_Attended", daysAgo(2)}, {"Youth_School_Grade", 7}});
        const int visitor = person("Vi", "Visits", 0, {{"Youth_Visitor", true}});
        for (int days : {1, 8, 15, 22})
            m_db.attend(m_db.addMeeting(today.addDays(-days)), {visitor});
        if (c.storeUnreadable)
            testenv::settings().unreadable = unreadable.toStdString();
        testenv::messages().clear();

        restartOn(today);
        testenv::settings().unreadable.reset();
        // A rule that needs no setting is applied all the same.
        EXPECT_EQ(number(back, "Youth_Status"), 1);
        EXPECT_EQ(number(gone, "Youth_Status"), c.inactive ? 3 : 1);
        EXPECT_EQ(number(visitor, "Youth_Visitor"), c.member ? 0 : -1);
        EXPECT_EQ(number(back, "Youth_School_Grade"), c.raised ? 8 : 7);
        EXPECT_EQ(testenv::settings().read("Members", "LastAutoGradSchoolDate"),
                  c.raised ? storedDate(today) : QStringLiteral("2023-06-14"));
        if (c.told.isEmpty()) {
            EXPECT_TRUE(testenv::messages().shown().empty());
            continue;
        }
        ASSERT_EQ(testenv::messages().shown().size(), 1u);
        EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
        // Each problem once, however often the setting was read.
        for (const QString& part : c.told)
            EXPECT_EQ(testenv::messages().last().text.count(part), 1)
                << testenv::messages().last().text.toStdString();
        // Nothing of it is told again on a later visit.
        visitStart();
        EXPECT_EQ(testenv::messages().shown().size(), 1u);
    }
}

TEST_F(StartPageTest, LaterVisitsShowTheSameRemindersWithoutRunningTheRulesAgain)
{
    const int ann = person("Ann", "Adams", 1, {{"Youth_Last_Attended", daysAgo(100)}});
    const int bob = person("Bob", "Best", 1, {{"Youth_Last_Attended", daysAgo(1)}});
    start();
    const QStringList first = reminders();
    EXPECT_EQ(first, (QStringList{kCustomize, "These people have become inactive: Ann Adams"}));

    // Bob's absence now qualifies, but the rules ran for this run already.
    m_db.exec(
        QStringLiteral(
            "UPDATE Youth SET Youth_Last_Attended = Youth_Last_Attended - 200 WHERE Youth_ID = %1")
            .arg(bob));
    for (int visit = 0; visit < 3; ++visit) {
        m_screens.log.events.clear();
        main().ClickNode(3);
        visitStart();
        EXPECT_EQ(reminders(), first);
    }
    EXPECT_EQ(number(ann, "Youth_Status"), 3);
    EXPECT_EQ(number(bob, "Youth_Status"), 1);
    EXPECT_EQ(items("List_MIA"), QStringList{"Bob Best  (10/27)"});
}

TEST_F(StartPageTest, UnreadableDataFileLeavesTheRulesForTheNextVisit)
{
    const int ann = person("Ann", "Adams", 1, {{"Youth_Last_Attended", daysAgo(100)}});
    const QString fixture = program().ConnectionString;
    program().ConnectionString =
        QStringLiteral("Data Source=") + testenv::programFile("Missing.mdb");

    start();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(testenv::messages().last().text.contains(QStringLiteral("Missing.mdb")));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(main().EvalsDone());
    // No numbers: zeros would say the group is empty.
    EXPECT_EQ(counts(),
              (QStringList{"Total Members+Visitors: ", "Active: ?", "Away: ?", "Inactive: ?"}));
    EXPECT_EQ(reminders(), QStringList{kCustomize});

    program().ConnectionString = fixture;
    visitStart();
    EXPECT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_TRUE(main().EvalsDone());
    EXPECT_EQ(number(ann, "Youth_Status"), 3);
    EXPECT_EQ(reminders(),
              (QStringList{kCustomize, "These people have become inactive: Ann Adams"}));
}

TEST_F(StartPageTest, APersonWhoseChangeCannotBeStoredIsNotReportedAsChanged)
{
    store("GroupInfo", "GroupName", QStringLiteral("Harbor Youth"));
    const int ann = person("Ann", "Adams", 1, {{"Youth_Last_Attended", daysAgo(100)}});
    const int bob = person("Bob", "Best", 1, {{"Youth_Last_Attended", daysAgo(100)}});
    const int cal = person("Cal", "Cole", 1, {{"Youth_Last_Attended", daysAgo(100)}});
    const int dot = person("Dot", "Dale", 1, {{"Youth_Last_Attended", daysAgo(100)}});
    const auto lock = [&](const char* name, int id) {
        m_db.exec(QStringLiteral("CREATE TRIGGER Keep%1 BEFORE UPDATE ON Youth WHEN OLD.Youth_ID "
                                 "= %2 BEGIN SELECT RAISE(ABORT, '%1 is locked'); END;")
                      .arg(QLatin1String(name))
                      .arg(id));
    };
    lock("Bob", bob);

    start();
    EXPECT_EQ(reminders(),
              QStringList{"These people have become inactive: Ann Adams, Cal Cole, Dot Dale"});
    EXPECT_EQ(number(ann, "Youth_Status"), 3);
    EXPECT_EQ(number(bob, "Youth_Status"), 1);
    EXPECT_EQ(number(cal, "Youth_Status"), 3);
    // Bob is shown as stored: still active, and missing.
    EXPECT_EQ(items("List_MIA"), QStringList{"Bob Best  (02/05)"});
    // The user is told once, after the evaluation, how many people it missed and why.
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(
        testenv::messages().last().text.contains("could not be applied in full to 1 person"));
    EXPECT_TRUE(testenv::messages().last().text.endsWith("The reason: Bob is locked"));

    // Two people missed for two reasons: the first one met is named.
    m_db.exec(QStringLiteral("UPDATE Youth SET Youth_Status = 1 WHERE Youth_ID <> %1").arg(bob));
    lock("Dot", dot);
    restartOn(ui::today());
    ASSERT_EQ(testenv::messages().shown().size(), 2u);
    EXPECT_TRUE(
        testenv::messages().last().text.contains("could not be applied in full to 2 people"));
    EXPECT_TRUE(testenv::messages().last().text.endsWith("The first reason: Bob is locked"));

    // The visitors' attendance cannot be read: every visitor stays one and counts as missed;
    // the other rules go on.
    for (const char* sql :
         {"DROP TRIGGER KeepBob", "DROP TRIGGER KeepDot", "UPDATE Youth SET Youth_Status = 1",
          "ALTER TABLE Attendance RENAME TO Gone"})
        m_db.exec(QString::fromLatin1(sql));
    const int vic = person("Vic", "Visitor", 0, {{"Youth_Visitor", true}});
    restartOn(ui::today());
    EXPECT_EQ(number(vic, "Youth_Visitor"), -1);
    EXPECT_EQ(number(bob, "Youth_Status"), 3);
    ASSERT_EQ(testenv::messages().shown().size(), 3u);
    EXPECT_TRUE(
        testenv::messages().last().text.contains("could not be applied in full to 1 person"));
    EXPECT_TRUE(testenv::messages().last().text.contains("no such table: Attendance"))
        << testenv::messages().last().text.toStdString();
}

TEST_F(StartPageTest, AnEvaluationThatStoresThousandsOfChangesNeverWaitsForItself)
{
    // Should anything wait for a lock this program holds itself, the test hangs instead of
    // passing.
    const int usualTimeout = data::busyTimeout();
    data::setBusyTimeout(24 * 60 * 60 * 1000);
    const auto restore = qScopeGuard([&] { data::setBusyTimeout(usualTimeout); });
    store("GroupInfo", "GroupName", QStringLiteral("Harbor Youth"));

    // 3,000 active people long gone, with enough text each that their changes outgrow the
    // page cache, and 600 visitors. Every other visitor came four times in the last eight
    // weeks: on one day twice, to a meeting of another type, and next week.
    addLongGonePeople(
        3600, "Youth_Status, Youth_Visitor",
        "CASE WHEN i <= 3000 THEN 1 ELSE 0 END, CASE WHEN i > 3000 THEN -1 ELSE 0 END");
    const QDate today = ui::today();
    const int week = m_db.addMeeting(today.addDays(-56));
    const int sameDay1 = m_db.addMeeting(today.addDays(-7));
    const int sameDay2 =
        m_db.addMeeting(today.addDays(-7), {{"Wk_Mtg_Type", QStringLiteral("Retreat")}});
    const int nextWeek = m_db.addMeeting(today.addDays(7));
    for (const int meeting : {week, sameDay1, sameDay2})
        m_db.exec(QStringLiteral("INSERT INTO Attendance (Attend_Youth_ID, Attend_Wk_ID) SELECT "
                                 "Youth_ID, %1 FROM Youth WHERE Youth_Visitor <> 0")
                      .arg(meeting));
    m_db.exec(
        QStringLiteral("INSERT INTO Attendance (Attend_Youth_ID, Attend_Wk_ID) SELECT "
                       "Youth_ID, %1 FROM Youth WHERE Youth_Visitor <> 0 AND Youth_ID % 2 = 0")
            .arg(nextWeek));

    start();
    EXPECT_TRUE(testenv::messages().shown().empty())
        << testenv::messages().last().text.toStdString();
    EXPECT_EQ(m_db.count("Youth", "Youth_Status = 3"), 3000);
    EXPECT_EQ(m_db.count("Youth", "Youth_Visitor <> 0"), 300);
    EXPECT_EQ(m_db.count("Youth", "Youth_Visitor = 0 AND Youth_ID % 2 = 0 AND Youth_ID > 3000"),
              300);
    EXPECT_EQ(reminders().size(), 2);
}

TEST_F(StartPageTest, AnotherProgramReadingTheFilePutsTheRulesOffToTheNextStartWhole)
{
    // A database browser holds a read transaction open. The evaluation's changes outgrow the
    // page cache, so each spill asks for the file again; the waits share one short budget, then
    // the whole evaluation is rolled back and the user told once.
    constexpr int kBudget = 300;
    const int usualTimeout = data::busyTimeout();
    data::setBusyTimeout(kBudget);
    const auto restore = qScopeGuard([&] { data::setBusyTimeout(usualTimeout); });
    testenv::clock().setToday(QDate(2024, 6, 20));
    store("GroupInfo", "GroupName", QStringLiteral("Harbor Youth"));
    store("Members", "LastAutoGradSchoolDate", QStringLiteral("2023-06-14"));
    addLongGonePeople(2000, "Youth_Status, Youth_School_Grade", "1, 5");
    sqlite3* browser = nullptr;
    ASSERT_EQ(sqlite3_open(m_db.path().toUtf8().constData(), &browser), SQLITE_OK);
    const auto closeBrowser = qScopeGuard([&] { sqlite3_close(browser); });
    ASSERT_EQ(
        sqlite3_exec(browser, "BEGIN; SELECT count(*) FROM Youth;", nullptr, nullptr, nullptr),
        SQLITE_OK);

    QElapsedTimer waited;
    waited.start();
    start();
    EXPECT_LT(waited.elapsed(), 20 * kBudget);
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(testenv::messages().last().text.startsWith(data::dataFileInUseText(m_db.path())));
    EXPECT_TRUE(testenv::messages().last().text.endsWith(
        "nothing was changed. The changes will be made at the next start of the program."));
    EXPECT_EQ(m_db.count("Youth", "Youth_Status = 3 OR Youth_School_Grade <> 5"), 0);
    EXPECT_EQ(testenv::settings().read("Members", "LastAutoGradSchoolDate"),
              QStringLiteral("2023-06-14"));
    EXPECT_EQ(reminders(), QStringList{});
    // Not tried again in this run.
    visitStart();
    EXPECT_EQ(testenv::messages().shown().size(), 1u);

    sqlite3_exec(browser, "COMMIT", nullptr, nullptr, nullptr);
    restartOn(ui::today());
    EXPECT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(m_db.count("Youth", "Youth_Status = 3 AND Youth_School_Grade = 6"), 2000);
}

TEST_F(StartPageTest, AYearlyRaiseThatCannotBeRecordedIsUndoneAlone)
{
    // Recording the day of the raise fails: raising the grades now would raise them again at
    // the next run, so the raise is undone; the other rules' changes stand, and the user is
    // told once in the run.
    testenv::clock().setToday(QDate(2024, 6, 20));
    store("Members", "LastAutoGradSchoolDate", QStringLiteral("2023-06-14"));
    const int ann = person("Ann", "Adams", 1,
                           {{"Youth_Last_Attended", daysAgo(100)}, {"Youth_School_Grade", 7}});
    testenv::settings().failWrites = true;

    start();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(testenv::messages().last().text.startsWith("The school year is over, but"));
    EXPECT_TRUE(main().EvalsDone());
    EXPECT_EQ(number(ann, "Youth_School_Grade"), 7);
    EXPECT_EQ(number(ann, "Youth_Status"), 3);
    EXPECT_EQ(reminders(),
              (QStringList{kCustomize, "These people have become inactive: Ann Adams"}));
    EXPECT_TRUE(items("List_MIA").isEmpty());

    visitStart();
    EXPECT_EQ(testenv::messages().shown().size(), 1u);

    testenv::settings().failWrites = false;
    restartOn(QDate(2024, 6, 21));
    EXPECT_EQ(number(ann, "Youth_School_Grade"), 8);
    EXPECT_EQ(testenv::messages().shown().size(), 1u);
}

TEST_F(StartPageTest, CountsByStatusWithUnassignedOnlyWhenThereAreAny)
{
    for (int status : {1, 1, 2, 3})
        person("P", QString::number(status), status);
    person("Gone", "Person", 1, {{"Youth_Deleted", true}});
    start();
    EXPECT_EQ(counts(),
              (QStringList{"Total Members+Visitors: 4", "Active: 2", "Away: 1", "Inactive: 1"}));

    person("Zero", "Status", 0);
    person("Seven", "Status", 7);
    m_db.addPerson("No", "Status");
    visitStart();
    EXPECT_EQ(counts(), (QStringList{"Total Members+Visitors: 7", "Active: 2", "Away: 1",
                                     "Inactive: 1", "Unassigned: 3"}));
}

TEST_F(StartPageTest, BirthdaysFromSixDaysAgoToFourteenDaysAheadInDateOrder)
{
    // Today is 15 May 2024.
    const auto born = [&](const char* first, int year, int month, int day, int status = 1) {
        person(QString::fromLatin1(first), QStringLiteral("Lee"), status,
               {{"Youth_Bday", testing_support::day(year, month, day)}});
    };
    born("Seven", 2008, 5, 8);
    born("Six", 2009, 5, 9);
    born("bea", 2010, 5, 15);
    born("Ann", 2011, 5, 15);
    born("Fourteen", 2007, 5, 29);
    born("Fifteen", 2007, 5, 30);
    born("Resting", 2008, 5, 16, 3);
    person("No", "Birthday", 1);

    start();
    EXPECT_EQ(items("List_Birthday"), (QStringList{"05/09 - Six Lee", "05/15 - Ann Lee",
                                                   "05/15 - bea Lee", "05/29 - Fourteen Lee"}));

    store("Reminders", "RemindInactiveBday", QStringLiteral("1"));
    visitStart();
    EXPECT_TRUE(items("List_Birthday").contains(QStringLiteral("05/16 - Resting Lee")));
}

TEST_F(StartPageTest, BirthdaysAcrossTheTurnOfTheYearAndOnTwentyNinthOfFebruary)
{
    person("Jan", "Third", 1, {{"Youth_Bday", testing_support::day(2010, 1, 3)}});
    person("Dec", "Twentyfifth", 1, {{"Youth_Bday", testing_support::day(2009, 12, 25)}});
    person("Dec", "Thirtieth", 1, {{"Youth_Bday", testing_support::day(2011, 12, 30)}});
    person("Leap", "Day", 1, {{"Youth_Bday", testing_support::day(2008, 2, 29)}});

    restartOn(QDate(2024, 12, 28));
    EXPECT_EQ(items("List_Birthday"), (QStringList{"12/25 - Dec Twentyfifth",
                                                   "12/30 - Dec Thirtieth", "01/03 - Jan Third"}));
    restartOn(QDate(2025, 1, 2));
    EXPECT_EQ(items("List_Birthday"), (QStringList{"12/30 - Dec Thirtieth", "01/03 - Jan Third"}));
    // Without a 29 February the birthday falls on 1 March.
    restartOn(QDate(2023, 3, 7));
    EXPECT_EQ(items("List_Birthday"), QStringList{"03/01 - Leap Day"});
    restartOn(QDate(2024, 3, 6));
    EXPECT_EQ(items("List_Birthday"), QStringList{"02/29 - Leap Day"});
}

TEST_F(StartPageTest, VisitorsToContactFollowTheFollowUpSettings)
{
    const FieldValues visitor{{"Youth_Visitor", true}};
    const auto with = [&](FieldValues more) {
        more.insert(more.end(), visitor.begin(), visitor.end());
        return more;
    };
    person("New", "Visitor", 1, visitor);
    person("Lettered", "Visitor", 0, with({{"Youth_VLetter", true}}));
    person("Called", "Visitor", 2, with({{"Youth_VLetter", true}, {"Youth_VCall", true}}));
    person("Resting", "Visitor", 3, visitor);
    person("Visited", "Visitor", 1, with({{"Youth_VHouseCall", true}}));
    person("Known", "Member", 1);

    // By default only the letter is required.
    start();
    EXPECT_EQ(items("List_Visitors"), (QStringList{"New Visitor", "Visited Visitor"}));

    store("Visitors", "VisRequireCall", QStringLiteral("1"));
    visitStart();
    EXPECT_EQ(items("List_Visitors"),
              (QStringList{"Lettered Visitor", "New Visitor", "Visited Visitor"}));

    store("Visitors", "VisRequireLetter", QStringLiteral("0"));
    store("Visitors", "VisRequireCall", QStringLiteral("0"));
    store("Visitors", "VisRequireVisit", QStringLiteral("True"));
    visitStart();
    EXPECT_EQ(items("List_Visitors"),
              (QStringList{"Called Visitor", "Lettered Visitor", "New Visitor"}));

    store("Visitors", "VisRequireVisit", QStringLiteral("False"));
    visitStart();
    EXPECT_EQ(items("List_Visitors"), QStringList{});
}

TEST_F(StartPageTest, DoubleClickOpensThePersonInTheirDirectory)
{
    const int member =
        person("Mel", "Member", 1, {{"Youth_Last_Attended", testing_support::day(2024, 3, 15)}});
    const int visitor = person(
        "Val", "Visitor", 1,
        {{"Youth_Visitor", true}, {"Youth_Last_Attended", testing_support::day(2024, 4, 1)}});
    person("Al", "Away", 2, {{"Youth_Last_Attended", testing_support::day(2024, 1, 1)}});
    start();
    EXPECT_EQ(items("List_MIA"), (QStringList{"Mel Member  (03/15)", "Val Visitor  (04/01)"}));

    doubleClick("List_MIA", 1);
    EXPECT_EQ(program().SelectedYouthID, visitor);
    EXPECT_EQ(main().CurrentNodeIndex(), 2);
    EXPECT_TRUE(main().VisitorMode());
    EXPECT_EQ(main().CurrentForm()->objectName(), QStringLiteral("frmDirectory"));

    visitStart();
    doubleClick("List_MIA", 0);
    EXPECT_EQ(program().SelectedYouthID, member);
    EXPECT_EQ(main().CurrentNodeIndex(), 3);
    EXPECT_FALSE(main().VisitorMode());

    visitStart();
    EXPECT_EQ(items("List_Visitors"), QStringList{"Val Visitor"});
    doubleClick("List_Visitors", 0);
    EXPECT_EQ(program().SelectedYouthID, visitor);
    EXPECT_EQ(main().CurrentNodeIndex(), 2);
    EXPECT_EQ(m_screens.log.events,
              (QStringList{"load frmDirectory#1", "unload frmDirectory#1", "load frmDirectory#2",
                           "unload frmDirectory#2", "load frmDirectory#3"}));
}

TEST_F(StartPageTest, CustomizationLineFollowsTheGroupName)
{
    const struct {
        const char* groupName; // nullptr: absent
        QStringList shown;
    } cases[] = {
        {nullptr, {kCustomize}},     {"Corvessa: Riverside", {kCustomize}},
        {"corvessa: riverside", {}}, {"Corvessa", {}},
        {"Harbor Youth", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.groupName ? c.groupName : "absent");
        if (c.groupName)
            store("GroupInfo", "GroupName", QString::fromUtf8(c.groupName));
        restartOn(ui::today());
        EXPECT_EQ(reminders(), c.shown);
        EXPECT_EQ(control<QPlainTextEdit>("txtReminder")->isVisibleTo(&page()), !c.shown.isEmpty());
    }
}

TEST(StartPageLayout, ResizeSpreadsThePanesOverThePage)
{
    frmDefault page;
    page.show();
    const auto px = [&](double twips) { return ui::twipsToPixels(twips, &page); };
    const auto pane = [&](int i) {
        return page.findChild<Panel*>(QStringLiteral("InfoPanel(%1)").arg(i))->pos();
    };
    // 12,000 by 9,000 twips: the gaps share the width left over, and a third of the height
    // left over under the logo.
    page.resize(px(12000), px(9000));
    const double width = ui::pixelsToTwips(page.width(), &page);
    const double height = ui::pixelsToTwips(page.height(), &page);
    const double top = (width - 3855 - 5415) / 3;
    const double bottom = (width - 2775 - 3255 - 3255) / 4;
    const double gap = (height - 1200 - 2355 - 2715) / 3;
    EXPECT_EQ(pane(0), QPoint(px(top), px(1200 + 0.8 * gap)));
    EXPECT_EQ(pane(1), QPoint(px(3855 + 2 * top), px(1200 + 0.8 * gap)));
    EXPECT_EQ(pane(2), QPoint(px(bottom), px(1200 + 0.8 * gap + 2355 + gap)));
    EXPECT_EQ(pane(3).x(), px(2775 + 2 * bottom));
    EXPECT_EQ(pane(4), QPoint(px(2775 + 3255 + 3 * bottom), pane(2).y()));

    // Too low for the panes: they close up to a small gap.
    page.resize(px(12000), px(5000));
    EXPECT_EQ(pane(0).y(), px(1200 + 0.8 * 40));
    EXPECT_EQ(pane(2).y(), px(1200 + 0.8 * 40 + 2355 + 40));
}
