#include "tests/people/MeetingsScreenFixture.h"

#include "people/MeetingsText.h"
#include "platform/data/RecordsetModel.h"
#include "tests/support/ScreenDoubles.h"

#include <QClipboard>

#include <functional>
#include <stdexcept>

using namespace meetings_text;
using testing_support::day;

namespace {

QString meetingDates(testing_support::DataFixture& db)
{
    QStringList dates;
    for (const auto& row : db.rows("SELECT Wk_Date FROM Weeks ORDER BY Wk_Date, Wk_ID"))
        dates << data::jetdate::toDate(row[0].number()).toString("M/d/yyyy");
    return dates.join(' ');
}

class MeetingsScreen : public MeetingsScreenTest {
protected:
    void SetUp() override
    {
        ann = db.addPerson("Ann", "Adams", {{"Youth_Status", 1}});
        bob = db.addPerson("Bob", "Brown", {{"Youth_Status", 1}});
        db.addPerson("Cy", "Cole", {{"Youth_Status", 2}});                         // away
        db.addPerson("Di", "Dale", {{"Youth_Status", 3}});                         // inactive
        db.addPerson("Ed", "Eve", {{"Youth_Status", 1}, {"Youth_Deleted", true}}); // removed
    }
    int ann = 0;
    int bob = 0;
};

TEST_F(MeetingsScreen, OpensOnTheLatestMeetingAndAddsOneAWeekAfterIt)
{
    const int first = db.addMeeting(QDate(2024, 3, 1));
    const int second = db.addMeeting(QDate(2024, 3, 8), {{"Wk_Topic", "Grace"}});
    db.attend(second, {ann});
    db.attend(first, {bob});
    testenv::clock().setToday(QDate(2024, 3, 10));
    open();
    EXPECT_EQ(text("Wk_Date"), "3/8/2024");
    EXPECT_EQ(text("Wk_Topic"), "Grace");
    EXPECT_EQ(list(), QStringList({"[x] Adams, Ann"}));
    EXPECT_EQ(count(), " 1 Total Names");
    EXPECT_FALSE(saveListShown());
    EXPECT_EQ(control<QLabel>("lblInstructions")->text(), kNormalInstructions);

    click("cmdAdd");
    EXPECT_EQ(meetingDates(db), "3/1/2024 3/8/2024 3/15/2024");
    EXPECT_EQ(db.count("Weeks", "Wk_Date = 45366 AND Wk_Mtg_Type IS NULL AND Wk_Topic IS NULL"), 1);
    EXPECT_EQ(text("Wk_Date"), "3/15/2024");
    EXPECT_EQ(text("Wk_Topic"), "");
    // All active people not removed, none ticked: no one away, inactive or removed.
    EXPECT_EQ(list(), QStringList({"[ ] Adams, Ann", "[ ] Brown, Bob"}));
    EXPECT_EQ(count(), " 2 Total Names");
    EXPECT_TRUE(saveListShown());
    EXPECT_EQ(control<QLabel>("lblInstructions")->text(), kPrefillInstructions);

    click("cmdSet"); // nobody ticked: nothing stored, and the list is empty
    EXPECT_EQ(db.count("Attendance"), 2);
    EXPECT_TRUE(list().isEmpty());
    EXPECT_EQ(count(), " 0 Total Names");
    EXPECT_FALSE(saveListShown());
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(MeetingsScreen, AddsAWeekAfterAFutureMeetingAndTodayOnAnEmptyTable)
{
    db.addMeeting(QDate(2024, 6, 1)); // today is 15 May 2024
    open();
    click("cmdAdd");
    EXPECT_EQ(meetingDates(db), "6/1/2024 6/8/2024");
    EXPECT_EQ(text("Wk_Date"), "6/8/2024");

    db.exec("DELETE FROM Weeks");
    leave();
    open();
    EXPECT_EQ(meetingDates(db), "5/15/2024");
    EXPECT_EQ(text("Wk_Date"), "5/15/2024");
    EXPECT_EQ(list(), QStringList({"[ ] Adams, Ann", "[ ] Brown, Bob"}));
    EXPECT_TRUE(saveListShown());
    EXPECT_EQ(control<QLabel>("lblInstructions")->text(), kPrefillInstructions);
}

TEST_F(MeetingsScreen, BrowsesByButtonsAndKeysWithTheEndMessages)
{
    for (int d : {1, 8, 15, 22})
        db.addMeeting(QDate(2024, 3, d));
    frmServices& s = open();
    const auto at = [&] { return text("Wk_Date"); };
    const struct {
        const char* button;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* date;
        const char* message;
    } steps[] = {
        {"cmdNext", {}, {}, "3/22/2024", "End of Records"},
        {"cmdFirst", {}, {}, "3/1/2024", nullptr},
        {"cmdPrevious", {}, {}, "3/1/2024", "Beginning of Records"},
        {"cmdNext", {}, {}, "3/8/2024", nullptr},
        {"cmdLast", {}, {}, "3/22/2024", nullptr},
        {"cmdPrevious", {}, {}, "3/15/2024", nullptr},
        {nullptr, Qt::Key_Home, {}, "3/1/2024", nullptr},
        {nullptr, Qt::Key_Down, Qt::ControlModifier, "3/22/2024", nullptr},
        {nullptr, Qt::Key_Up, Qt::ControlModifier | Qt::KeypadModifier, "3/1/2024", nullptr},
        {nullptr, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier, "3/8/2024", nullptr},
        {nullptr, Qt::Key_PageDown, {}, "3/15/2024", nullptr},
        {nullptr, Qt::Key_PageUp, {}, "3/8/2024", nullptr},
        {nullptr, Qt::Key_End, {}, "3/22/2024", nullptr},
        {nullptr, Qt::Key_Down, {}, "3/22/2024", "End of Records"},
        {nullptr, Qt::Key_Up, {}, "3/15/2024", nullptr},
    };
    for (const auto& step : steps) {
        testenv::messages().clear();
        if (step.button) {
            click(step.button);
        } else {
            s.setFocus();
            QTest::keyClick(&s, step.key, step.modifiers);
        }
        SCOPED_TRACE(step.button ? step.button : QTest::toString(step.key));
        EXPECT_EQ(at(), step.date);
        if (step.message) {
            ASSERT_EQ(testenv::messages().shown().size(), 1u);
            EXPECT_EQ(testenv::messages().last().title, step.message);
            EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Information);
        } else {
            EXPECT_TRUE(messageTexts().isEmpty());
        }
    }
}

TEST_F(MeetingsScreen, DeletesAMeetingWithItsAttendanceButNeverItsUnsavedList)
{
    const int first = db.addMeeting(QDate(2024, 3, 1));
    const int second = db.addMeeting(QDate(2024, 3, 8));
    const int third = db.addMeeting(QDate(2024, 3, 15));
    db.attend(first, {ann});
    db.attend(second, {ann, bob});
    db.attend(third, {bob});
    testenv::clock().setToday(QDate(2024, 3, 9));
    open();

    testenv::messages().scriptAnswer(Answer::No);
    click("cmdDelete");
    EXPECT_EQ(testenv::messages().last().title, "Delete this week?");
    EXPECT_EQ(testenv::messages().last().text, kDeleteQuestion);
    EXPECT_EQ(db.count("Weeks"), 3);

    // A meeting that cannot be deleted keeps its attendance too.
    db.exec("CREATE TRIGGER keep BEFORE DELETE ON Weeks BEGIN SELECT RAISE(ABORT, 'locked'); END;");
    testenv::messages().clear();
    click("cmdDelete");
    EXPECT_EQ(messageTexts(), QStringList({kDeleteQuestion, "locked"}));
    EXPECT_EQ(db.count("Weeks"), 3);
    EXPECT_EQ(attendees(third), QList<int>({bob}));
    EXPECT_EQ(text("Wk_Date"), "3/15/2024");
    db.exec("DROP TRIGGER keep");

    click("cmdDelete"); // the last meeting: the screen shows the new last one
    EXPECT_EQ(meetingDates(db), "3/1/2024 3/8/2024");
    EXPECT_EQ(attendees(third), QList<int>());
    EXPECT_EQ(text("Wk_Date"), "3/8/2024");
    EXPECT_EQ(list(), QStringList({"[x] Adams, Ann", "[x] Brown, Bob"}));

    // Unsaved ticks of a deleted meeting are neither asked about nor saved anywhere.
    toggle("Adams, Ann");
    testenv::messages().clear();
    click("cmdDelete");
    EXPECT_EQ(messageTexts(), QStringList({kDeleteQuestion}));
    EXPECT_EQ(db.count("Attendance"), 1);
    EXPECT_EQ(attendees(first), QList<int>({ann}));
    EXPECT_EQ(lastAttended(ann), QDate());
    EXPECT_EQ(text("Wk_Date"), "3/1/2024");

    // The only meeting left: an empty screen, then Add Meeting works again.
    testenv::messages().clear();
    click("cmdDelete");
    EXPECT_EQ(messageTexts(), QStringList({kDeleteQuestion}));
    EXPECT_EQ(db.count("Weeks"), 0);
    EXPECT_EQ(db.count("Attendance"), 0);
    EXPECT_EQ(text("Wk_Date"), "");
    EXPECT_TRUE(list().isEmpty());
    EXPECT_FALSE(box("Wk_Topic")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("cmdDelete")->isEnabled());
    click("cmdNext");
    click("cmdPrevious");
    EXPECT_EQ(testenv::messages().shown().size(), 1u);
    click("cmdAdd");
    EXPECT_EQ(meetingDates(db), "3/9/2024");
    EXPECT_EQ(text("Wk_Date"), "3/9/2024");
    EXPECT_EQ(list(), QStringList({"[ ] Adams, Ann", "[ ] Brown, Bob"}));
    EXPECT_TRUE(box("Wk_Topic")->isEnabled());
    EXPECT_EQ(testenv::messages().shown().size(), 1u);
}

TEST_F(MeetingsScreen, ADataFileThatCannotBeReadIsReportedOnceAndOffersNoCommand)
{
    const QString missing = testenv::programFile("Gone.mdb");
    program().ConnectionString =
        QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=") + missing + ";";
    open();
    EXPECT_EQ(messageTexts(), QStringList({data::dataFileMissingText(missing)}));
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    for (const char* command : {"cmdAdd", "cmdDelete", "cmdNext", "cmdSet", "cmdNewAttendee"})
        EXPECT_FALSE(control<QPushButton>(command)->isEnabled()) << command;
    leave();
    EXPECT_EQ(testenv::messages().shown().size(), 1u);
}

TEST_F(MeetingsScreen, StoresEditedFieldsAndTheMeetingTypeWhenLeft)
{
    const int week =
        db.addMeeting(QDate(2024, 3, 8), {{"Wk_Offering", data::Variant::currency(12345.5049)},
                                          {"Wk_Mtg_Type", "Sunday"},
                                          {"Wk_Comments", "Snow"}});
    db.addMeeting(QDate(2024, 3, 1), {{"Wk_Mtg_Type", "Bible Study"}});
    db.addMeeting(QDate(2024, 2, 23), {{"Wk_Mtg_Type", "sunday "}}); // the same type again
    const auto stored = [&](const char* field) {
        return db.value(
            QStringLiteral("SELECT %1 FROM Weeks WHERE Wk_ID = %2").arg(field).arg(week));
    };
    open();
    // The formatted amount is longer than the box's typing limit and is shown whole.
    EXPECT_EQ(text("Wk_Offering"), "$12,345.50");
    auto* types = control<QComboBox>("Select_Type");
    EXPECT_EQ(types->currentText(), "Sunday");
    QStringList entries;
    for (int i = 0; i < types->count(); ++i)
        entries << types->itemText(i);
    EXPECT_EQ(entries, QStringList({"", "Bible Study", "Sunday"}));

    // Browsing and leaving without edits writes nothing and asks nothing.
    click("cmdFirst");
    click("cmdLast");
    leave();
    EXPECT_EQ(stored("Wk_Offering").number(), 12345.5049);
    EXPECT_TRUE(messageTexts().isEmpty());

    open();
    auto* offering = qobject_cast<QLineEdit*>(box("Wk_Offering"));
    offering->setFocus();
    offering->end(false);
    QTest::keyClicks(offering, "9"); // the box takes no more than 8 typed characters
    EXPECT_EQ(offering->text(), "$12,345.50");
    type(box("Wk_Topic"), QString(60, 'x'));
    EXPECT_EQ(text("Wk_Topic"), QString(50, 'x'));
    type(box("Wk_Comments"), "Rain");
    // A 60-character type is cut to its first 50, trimmed.
    types = control<QComboBox>("Select_Type");
    types->setFocus();
    types->lineEdit()->selectAll();
    QApplication::clipboard()->setText(QString(45, 't') + QString(5, ' ') + QString(10, 'u'));
    QTest::keyClick(types->lineEdit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(types->currentText(), QString(45, 't'));
    box("Wk_Scripture")->setFocus();
    EXPECT_EQ(types->findText(QString(45, 't')), types->count() - 1); // a typed type is offered
    leave();
    EXPECT_EQ(stored("Wk_Topic").text(), QString(50, 'x'));
    EXPECT_EQ(stored("Wk_Comments").text(), "Rain");
    EXPECT_EQ(stored("Wk_Mtg_Type").text(), QString(45, 't'));
    EXPECT_EQ(stored("Wk_Offering").number(), 12345.5049);

    // A type chosen from the drop-down is stored when the screen is left.
    open();
    types = control<QComboBox>("Select_Type");
    types->setFocus();
    types->setCurrentIndex(0);
    QTest::keyClick(types, Qt::Key_Down);
    leave();
    EXPECT_EQ(stored("Wk_Mtg_Type").text(), "Bible Study");
    EXPECT_TRUE(messageTexts().isEmpty());

    // A typed type is stored as typed, also when a listed one begins with it.
    open();
    type(control<QComboBox>("Select_Type")->lineEdit(), "Sun");
    leave();
    EXPECT_EQ(stored("Wk_Mtg_Type").text(), "Sun");

    // Edits that cannot be stored when the screen is left are reported, not dropped silently:
    // the user stays with them (No), or leaves without them (Yes).
    db.exec("CREATE TRIGGER keep BEFORE UPDATE ON Weeks BEGIN SELECT RAISE(ABORT, 'read-only'); "
            "END;");
    open();
    // A move to another meeting that fails stays on this one and says why: a refused write as
    // the edits not saved, any other failure (also one with no edits to save) in its own words.
    auto* rows = screen().findChild<data::RecordsetModel*>();
    ASSERT_NE(rows, nullptr);
    const struct {
        const char* typed;
        std::function<void()> alsoFails; // during the move, before the write
        ui::MessageKind kind;
        QString message;
    } moves[] = {
        {nullptr, [] { throw data::DataError("The data file is busy."); }, ui::MessageKind::Plain,
         "The data file is busy."},
        {"Lost?", [] { throw std::runtime_error("out of memory"); }, ui::MessageKind::Plain,
         "out of memory"},
        {"Lost?", nullptr, ui::MessageKind::Critical,
         kMeetingNotStored + " " + kTypingKept + "\n\nread-only"},
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(m.message.toStdString());
        if (m.typed)
            type(box("Wk_Topic"), m.typed);
        testenv::messages().clear();
        const auto failing =
            m.alsoFails
                ? QObject::connect(rows, &data::RecordsetModel::submitRequested, m.alsoFails)
                : QMetaObject::Connection();
        click("cmdFirst");
        QObject::disconnect(failing);
        ASSERT_EQ(testenv::messages().shown().size(), 1u);
        EXPECT_EQ(testenv::messages().last().kind, m.kind);
        EXPECT_EQ(testenv::messages().last().text, m.message);
        EXPECT_EQ(text("Wk_Date"), "3/8/2024");
        EXPECT_EQ(text("Wk_Topic"), m.typed ? m.typed : QString(50, 'x'));
    }
    testenv::messages().clear();
    leave();
    EXPECT_EQ(messageTexts(), QStringList({kMeetingNotStored + " " + kTypingKept +
                                           "\n\nread-only\n\n" + kLeaveWithoutStoring}));
    EXPECT_EQ(main().CurrentNodeIndex(), 4);
    EXPECT_EQ(text("Wk_Topic"), "Lost?");
    testenv::messages().scriptAnswer(Answer::Yes);
    leave();
    EXPECT_EQ(main().CurrentNodeIndex(), 1);
    EXPECT_EQ(stored("Wk_Topic").text(), QString(50, 'x'));
}

TEST_F(MeetingsScreen, LeavingKeepsAListThatCannotBeSavedAndAsksAboutARefusedEntry)
{
    const int week = db.addMeeting(QDate(2024, 5, 12));
    db.attend(week, {bob});
    open();

    // A changed list whose save fails as the screen is left: the user stays, the list as it was.
    addFromDropDown("Adams, Ann");
    db.exec("CREATE TRIGGER full BEFORE INSERT ON Attendance BEGIN SELECT RAISE(ABORT, 'disk "
            "full'); END;");
    testenv::messages().scriptAnswer(Answer::Yes);
    testing_support::clickTreeNode(main(), "Start");
    EXPECT_EQ(messageTexts(), QStringList({kSaveListQuestion, kListNotSaved + "\n\ndisk full"}));
    EXPECT_EQ(main().CurrentNodeIndex(), 4);
    EXPECT_EQ(testing_support::highlightedNode(main()), "Service Info");
    EXPECT_EQ(list(), QStringList({"[x] Brown, Bob", "[x] Adams, Ann"}));
    EXPECT_TRUE(saveListShown());
    EXPECT_EQ(attendees(week), QList<int>({bob}));
    // The same when the save fails on a move to another meeting.
    db.addMeeting(QDate(2024, 5, 5));
    testenv::messages().clear();
    testenv::messages().scriptAnswer(Answer::Yes);
    click("cmdPrevious");
    EXPECT_EQ(text("Wk_Date"), "5/12/2024");
    EXPECT_EQ(list(), QStringList({"[x] Brown, Bob", "[x] Adams, Ann"}));
    db.exec("DROP TRIGGER full");
    testenv::messages().scriptAnswer(Answer::Yes);
    leave();
    EXPECT_EQ(main().CurrentNodeIndex(), 1);
    EXPECT_EQ(attendees(week), QList<int>({ann, bob}));

    // A date that would be refused, still in its box: leaving asks instead of storing it.
    open();
    auto* date = qobject_cast<QLineEdit*>(box("Wk_Date"));
    date->setFocus();
    date->selectAll();
    QTest::keyClicks(date, "soon");
    testenv::messages().clear();
    testing_support::clickTreeNode(main(), "Start");
    EXPECT_EQ(messageTexts(), QStringList({kDateInvalid + "\n\n" + kLeaveWithoutEntry}));
    EXPECT_EQ(main().CurrentNodeIndex(), 4);
    EXPECT_EQ(testing_support::highlightedNode(main()), "Service Info");
    EXPECT_EQ(text("Wk_Date"), "soon");
    testenv::messages().scriptAnswer(Answer::Yes);
    testing_support::clickTreeNode(main(), "Start");
    EXPECT_EQ(main().CurrentNodeIndex(), 1);
    EXPECT_EQ(db.count("Weeks", QStringLiteral("Wk_ID = %1 AND Wk_Date = %2")
                                    .arg(week)
                                    .arg(data::jetdate::fromDate(QDate(2024, 5, 12)))),
              1);
}

TEST_F(MeetingsScreen, RefusesADateOrAmountThatIsNone)
{
    const int week =
        db.addMeeting(QDate(2024, 3, 8), {{"Wk_Offering", data::Variant::currency(10)}});
    open();
    const struct {
        const char* field;
        const char* typed;
        const QString& message;
        const char* shown;
    } cases[] = {
        {"Wk_Date", "", kDateRefused, "3/8/2024"},
        {"Wk_Date", "3/32/2024", kDateRefused, "3/8/2024"},
        {"Wk_Date", "soon", kDateRefused, "3/8/2024"},
        {"Wk_Offering", "ten", kOfferingRefused, "$10.00"},
        {"Wk_Attendance", "1x", kAttendanceRefused, ""},
        {"Wk_Date", "3/9/24", QString(), "3/9/2024"},
        {"Wk_Offering", "$1,250.5", QString(), "$1,250.50"},
        {"Wk_Offering", "", QString(), ""},
        {"Wk_Attendance", "42", QString(), "42"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.typed);
        testenv::messages().clear();
        type(box(c.field), QString::fromUtf8(c.typed));
        EXPECT_EQ(messageTexts(), c.message.isEmpty() ? QStringList() : QStringList({c.message}));
        EXPECT_EQ(text(c.field), c.shown);
    }
    leave();
    const auto row =
        db.rows(QStringLiteral("SELECT Wk_Date, Wk_Offering, Wk_Attendance FROM Weeks WHERE "
                               "Wk_ID = %1")
                    .arg(week))
            .front();
    EXPECT_EQ(data::jetdate::toDate(row[0].number()), QDate(2024, 3, 9));
    EXPECT_TRUE(row[1].isNull());
    EXPECT_EQ(row[2].number(), 42);
}

TEST_F(MeetingsScreen, AsksBeforeLeavingAMeetingWithUnsavedTicks)
{
    const int first = db.addMeeting(QDate(2024, 5, 10));
    const int second = db.addMeeting(QDate(2024, 5, 12));
    db.attend(second, {bob});
    db.attend(first, {ann});
    open();

    // Yes saves the list to the meeting being left.
    addFromDropDown("Adams, Ann");
    testenv::messages().scriptAnswer(Answer::Yes);
    click("cmdPrevious");
    EXPECT_EQ(testenv::messages().last().title, "Save List Changes?");
    EXPECT_EQ(testenv::messages().last().text, kSaveListQuestion);
    EXPECT_EQ(attendees(second), QList<int>({ann, bob}));
    EXPECT_EQ(list(), QStringList({"[x] Adams, Ann"}));

    // No drops the ticks; the next meeting's own list is shown.
    toggle("Adams, Ann");
    testenv::messages().scriptAnswer(Answer::No);
    click("cmdNext");
    EXPECT_EQ(attendees(first), QList<int>({ann}));
    EXPECT_EQ(list(), QStringList({"[x] Adams, Ann", "[x] Brown, Bob"}));

    // Leaving the screen asks too, with or without an edited field.
    const struct {
        bool editField;
        const char* untick;
        QList<int> kept;
    } leaving[] = {{false, "Brown, Bob", {ann}}, {true, "Adams, Ann", {}}};
    for (const auto& l : leaving) {
        testenv::messages().clear();
        toggle(l.untick);
        if (l.editField)
            type(box("Wk_Topic"), "Psalms");
        testenv::messages().scriptAnswer(Answer::Yes);
        leave();
        EXPECT_EQ(messageTexts(), QStringList({kSaveListQuestion}));
        EXPECT_EQ(attendees(second), l.kept);
        open();
    }
    EXPECT_EQ(text("Wk_Topic"), "Psalms");
}

} // namespace
