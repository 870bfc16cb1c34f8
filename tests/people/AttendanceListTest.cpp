#include "tests/people/MeetingsScreenFixture.h"

#include "people/MeetingsText.h"
#include "platform/report/Registry.h"
#include "tests/support/ScreenDoubles.h"

#include <QFont>

using namespace meetings_text;
using testing_support::day;

namespace {

class AttendanceList : public MeetingsScreenTest {
protected:
    void SetUp() override
    {
        ann = db.addPerson("Ann", "Adams",
                           {{"Youth_Status", 1}, {"Youth_Last_Attended", day(2024, 3, 8)}});
        bob = db.addPerson("Bob", "Brown", {{"Youth_Status", 1}});
        cy = db.addPerson("Cy", "Cole",
                          {{"Youth_Status", 2}, {"Youth_Last_Attended", day(2024, 2, 1)}});
        dee = db.addPerson("Dee", "Dunn", {{"Youth_Status", 1}, {"Youth_Deleted", true}});
        seven = db.addPerson({{"Youth_ID", 7}, {"Youth_FName", "Sam"}, {"Youth_LName", "Seven"}});
        big = db.addPerson({{"Youth_ID", 40000}, {"Youth_FName", "Bea"}, {"Youth_LName", "Big"}});
    }
    int ann = 0, bob = 0, cy = 0, dee = 0, seven = 0, big = 0;
};

TEST_F(AttendanceList, SaveListReplacesTheRowsAndMovesLastAttendedForwardOnly)
{
    const int week = db.addMeeting(QDate(2024, 3, 1));
    db.attend(week, {dee});
    testenv::clock().setToday(QDate(2024, 3, 3));
    open();
    EXPECT_EQ(list(), QStringList({"[x] Dunn, Dee"})); // a removed person who attended stays

    toggle("Dunn, Dee");
    EXPECT_TRUE(saveListShown());
    addFromDropDown("Adams, Ann"); // each add saves the changed list first
    addFromDropDown("Brown, Bob");
    addFromDropDown("Cole, Cy");
    click("cmdSet");
    EXPECT_EQ(attendees(week), QList<int>({ann, bob, cy}));
    EXPECT_EQ(lastAttended(ann), QDate(2024, 3, 8)); // later date kept
    EXPECT_EQ(lastAttended(bob), QDate(2024, 3, 1)); // unset date set
    EXPECT_EQ(lastAttended(cy), QDate(2024, 3, 1));  // earlier date moved forward
    EXPECT_EQ(lastAttended(dee), QDate());
    EXPECT_EQ(list(), QStringList({"[x] Adams, Ann", "[x] Brown, Bob", "[x] Cole, Cy"}));
    EXPECT_FALSE(saveListShown());
    EXPECT_EQ(count(), " 3 Total Names");

    // Unticking and saving drops the row but never moves the date back; no duplicates.
    toggle("Brown, Bob");
    click("cmdSet");
    EXPECT_EQ(attendees(week), QList<int>({ann, cy}));
    EXPECT_EQ(lastAttended(bob), QDate(2024, 3, 1));
    EXPECT_EQ(db.count("Attendance"), 2);
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(AttendanceList, ScansAddPeopleByTheirNumberAndSaveAChangedListFirst)
{
    const int week = db.addMeeting(QDate(2024, 5, 12));
    open();
    EXPECT_TRUE(list().isEmpty());

    scan("000007"); // the barcode's leading zeros: person 7
    EXPECT_EQ(list(), QStringList({"[x] Seven, Sam"}));
    EXPECT_TRUE(saveListShown());
    EXPECT_EQ(attendees(week), QList<int>());

    scan("040000"); // beyond 16 bits; the changed list is saved first
    EXPECT_EQ(attendees(week), QList<int>({seven}));
    EXPECT_EQ(list(), QStringList({"[x] Seven, Sam", "[x] Big, Bea"}));

    scan("*000007*"); // again, with the start and stop signs: saved, then passed over
    EXPECT_EQ(attendees(week), QList<int>({seven, big}));
    EXPECT_EQ(list(), QStringList({"[x] Big, Bea", "[x] Seven, Sam"}));
    EXPECT_FALSE(saveListShown());
    EXPECT_TRUE(messageTexts().isEmpty());

    scan(QString::number(dee).rightJustified(6, '0')); // removed people still scan
    EXPECT_EQ(list().last(), "[x] Dunn, Dee");

    for (const QString& nobody : {QString("000099"), QString()}) {
        testenv::messages().clear();
        scan(nobody);
        ASSERT_EQ(testenv::messages().shown().size(), 1u);
        EXPECT_EQ(testenv::messages().last().title, "Member Not Found");
        EXPECT_EQ(testenv::messages().last().text, kNotFound);
        EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    }
    auto* entry = control<QLineEdit>("bc_Entry");
    EXPECT_EQ(entry->text(), "");
    EXPECT_TRUE(entry->hasFocus());
    EXPECT_EQ(entry->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(entry->font().bold());
    EXPECT_FALSE(control<QLabel>("bc_ReadyImage")->isHidden());

    control<QComboBox>("Select_Youth")->setFocus();
    EXPECT_EQ(entry->text(), kScanIdleText);
    EXPECT_EQ(entry->echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(entry->font().bold());
    EXPECT_TRUE(control<QLabel>("bc_ReadyImage")->isHidden());
}

TEST_F(AttendanceList, AFirstScanIntoANewMeetingSavesThePrefillWithNobodyTicked)
{
    db.addMeeting(QDate(2024, 5, 5));
    open();
    click("cmdAdd");
    EXPECT_EQ(list(), QStringList({"[ ] Adams, Ann", "[ ] Brown, Bob"}));
    EXPECT_FALSE(control<QPushButton>("cmdPrintWeekRoll")->isEnabled());
    scan("7");
    EXPECT_EQ(list(), QStringList({"[x] Seven, Sam"}));
    EXPECT_TRUE(saveListShown());
    EXPECT_EQ(db.count("Attendance"), 0);
}

TEST_F(AttendanceList, TheDropDownSortsBothWaysAndRefusesDuplicates)
{
    db.addMeeting(QDate(2024, 5, 12));
    open();
    auto* people = control<QComboBox>("Select_Youth");
    auto* resort = control<QPushButton>("cmdResort");
    const auto entries = [&] {
        QStringList all;
        for (int i = 0; i < people->count(); ++i)
            all << people->itemText(i);
        return all;
    };
    EXPECT_EQ(entries(),
              QStringList({"Adams, Ann", "Big, Bea", "Brown, Bob", "Cole, Cy", "Seven, Sam"}));
    EXPECT_EQ(people->currentIndex(), -1);
    EXPECT_EQ(people->placeholderText(), "Add Another Name");
    EXPECT_EQ(resort->text(), "Sort by First Name");

    click("cmdNewAttendee"); // nothing chosen: nothing happens
    EXPECT_TRUE(list().isEmpty());

    click("cmdResort");
    EXPECT_EQ(entries(),
              QStringList({"Ann Adams", "Bea Big", "Bob Brown", "Cy Cole", "Sam Seven"}));
    EXPECT_EQ(resort->text(), "Sort by Last Name");
    addFromDropDown("Bob Brown");
    addFromDropDown("Bob Brown"); // saves the list first, then finds him there
    EXPECT_EQ(messageTexts(), QStringList({kAlreadyListed}));
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Plain);
    addFromDropDown("Ann Adams");
    EXPECT_EQ(list(), QStringList({"[x] Brown, Bob", "[x] Ann Adams"}));
    click("cmdSet");
    EXPECT_EQ(list(), QStringList({"[x] Adams, Ann", "[x] Brown, Bob"}));
}

TEST_F(AttendanceList, AnOldMeetingAsksBeforeItsListChanges)
{
    const struct {
        int daysAgo;
        bool asks;
    } ages[] = {{6, false}, {7, true}, {10, true}};
    for (const auto& age : ages) {
        SCOPED_TRACE(age.daysAgo);
        db.exec("DELETE FROM Weeks");
        const int week = db.addMeeting(QDate(2024, 5, 15).addDays(-age.daysAgo));
        db.exec("UPDATE Weeks SET Wk_Date = Wk_Date + 0.75"); // asked by the date alone
        db.addMeeting(QDate(2024, 5, 20));
        db.attend(week, {ann});
        open();
        click("cmdFirst");
        testenv::messages().clear();
        toggle("Adams, Ann"); // No (the default) puts the tick back
        EXPECT_EQ(list(), QStringList({age.asks ? "[x] Adams, Ann" : "[ ] Adams, Ann"}));
        EXPECT_TRUE(saveListShown());
        if (!age.asks) {
            EXPECT_TRUE(messageTexts().isEmpty());
            leave();
            continue;
        }
        const QString question =
            "This attendance list is dated more than 6 days ago.  Are you sure you want to change "
            "information for " +
            QDate(2024, 5, 15).addDays(-age.daysAgo).toString("M/d/yyyy") + "?";
        EXPECT_EQ(messageTexts(), QStringList({question}));
        EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::CriticalYesNo);

        testenv::messages().scriptAnswer(Answer::Yes); // asked again; Yes lets every change pass
        toggle("Adams, Ann");
        addFromDropDown("Brown, Bob");
        click("cmdSet");
        EXPECT_EQ(messageTexts(), QStringList({question, question}));
        EXPECT_EQ(attendees(week), QList<int>({bob}));

        click("cmdNext"); // leaving and coming back asks again
        click("cmdFirst");
        testenv::messages().clear();
        toggle("Brown, Bob");
        EXPECT_EQ(messageTexts(), QStringList({question}));
        testenv::messages().scriptAnswer(Answer::No);
        leave();
    }
}

TEST_F(AttendanceList, AFailedSaveKeepsTheStoredRowsAndTheChangedList)
{
    const int week = db.addMeeting(QDate(2024, 5, 12));
    db.attend(week, {ann});
    open();
    addFromDropDown("Brown, Bob");
    db.exec(QString("CREATE TRIGGER refuse BEFORE INSERT ON Attendance WHEN NEW.Attend_Youth_ID = "
                    "%1 BEGIN SELECT RAISE(ABORT, 'disk is full'); END;")
                .arg(bob));
    click("cmdSet");
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(testenv::messages().last().text.startsWith(kListNotSaved));
    EXPECT_TRUE(testenv::messages().last().text.endsWith("disk is full"));
    EXPECT_EQ(attendees(week), QList<int>({ann}));
    EXPECT_EQ(lastAttended(bob), QDate());
    EXPECT_EQ(list(), QStringList({"[x] Adams, Ann", "[x] Brown, Bob"}));
    EXPECT_TRUE(saveListShown());

    db.exec("DROP TRIGGER refuse");
    click("cmdSet");
    EXPECT_EQ(attendees(week), QList<int>({ann, bob}));
    EXPECT_FALSE(saveListShown());
}

// Another copy of the program on the same data file saves its lists and meetings meanwhile
// (here written straight into the file).
TEST_F(AttendanceList, TwoCopiesNeverOverwriteEachOthersListOrMeetingUnseen)
{
    const int first = db.addMeeting(QDate(2024, 5, 5));
    const int week = db.addMeeting(QDate(2024, 5, 12), {{"Wk_Topic", "Joy"}});
    db.attend(week, {ann});
    open();
    db.exec(QString("INSERT INTO Attendance (Attend_Youth_ID, Attend_Wk_ID) VALUES (%1, %2)")
                .arg(cy)
                .arg(week));
    addFromDropDown("Brown, Bob");
    click("cmdSet");
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(testenv::messages().last().text.startsWith(kListNotSaved));
    EXPECT_TRUE(
        testenv::messages().last().text.contains("changed by another user since you opened it"));
    EXPECT_EQ(attendees(week), QList<int>({ann, cy}));
    EXPECT_EQ(list(), QStringList({"[x] Adams, Ann", "[x] Brown, Bob"}));
    EXPECT_TRUE(saveListShown());

    // Moving away without saving and back shows the other copy's list; a change then saves.
    testenv::messages().scriptAnswer(Answer::No);
    click("cmdPrevious");
    click("cmdNext");
    EXPECT_EQ(list(), QStringList({"[x] Adams, Ann", "[x] Cole, Cy"}));
    addFromDropDown("Brown, Bob");
    click("cmdSet");
    EXPECT_EQ(attendees(week), QList<int>({ann, bob, cy}));
    // The other copy's list of another meeting is no conflict.
    db.attend(first, {ann});
    addFromDropDown("Seven, Sam");
    click("cmdSet");
    EXPECT_EQ(attendees(week), QList<int>({ann, bob, cy, seven}));

    // The meeting's own fields: the other copy's newer topic is not overwritten, and what was
    // typed stays on screen.
    testenv::messages().clear();
    db.exec(QString("UPDATE Weeks SET Wk_Topic = 'Peace' WHERE Wk_ID = %1").arg(week));
    type(box("Wk_Topic"), "Hope");
    click("cmdFirst");
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_EQ(testenv::messages().last().text,
              kMeetingNotStored + " " + kTypingKept + "\n\n" + data::kChangedByAnotherUser);
    EXPECT_EQ(text("Wk_Date"), "5/12/2024");
    EXPECT_EQ(text("Wk_Topic"), "Hope");
    EXPECT_EQ(db.value(QString("SELECT Wk_Topic FROM Weeks WHERE Wk_ID = %1").arg(week)).text(),
              "Peace");

    // A meeting the other copy deleted is called removed: its changes can be kept on screen
    // (No, the default) or dropped to move on, and its list is never saved.
    db.exec(QString("DELETE FROM Attendance WHERE Attend_Wk_ID = %1").arg(week));
    db.exec(QString("DELETE FROM Weeks WHERE Wk_ID = %1").arg(week));
    const QString removed = kMeetingNotStored + " " + kTypingKept + "\n\n" +
                            data::kRemovedByAnotherUser + "\n\n" + kDropOrKeep;
    testenv::messages().clear();
    click("cmdFirst");
    EXPECT_EQ(messageTexts(), QStringList{removed});
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::CriticalYesNo);
    EXPECT_EQ(text("Wk_Date"), "5/12/2024");
    EXPECT_EQ(text("Wk_Topic"), "Hope");
    testenv::messages().clear();
    testenv::messages().scriptAnswer(Answer::Yes);
    click("cmdFirst");
    EXPECT_EQ(messageTexts(), QStringList{removed});
    EXPECT_EQ(text("Wk_Date"), "5/5/2024");
    click("cmdLast");
    addFromDropDown("Brown, Bob");
    testenv::messages().clear();
    click("cmdSet");
    EXPECT_EQ(messageTexts(), QStringList{kListNotSaved + "\n\n" + data::kRemovedByAnotherUser});
    EXPECT_TRUE(attendees(week).isEmpty());
}

TEST_F(AttendanceList, SavesToTheMeetingShownWhenMeetingsShareADate)
{
    const int morning = db.addMeeting(QDate(2024, 5, 12), {{"Wk_Topic", "Morning"}});
    const int evening = db.addMeeting(QDate(2024, 5, 12), {{"Wk_Topic", "Evening"}});
    db.attend(morning, {ann});
    db.attend(evening, {bob});
    open();
    EXPECT_EQ(text("Wk_Topic"), "Evening");
    EXPECT_EQ(list(), QStringList({"[x] Brown, Bob"}));
    scan("7");
    click("cmdSet");
    EXPECT_EQ(attendees(evening), QList<int>({bob, seven}));
    EXPECT_EQ(attendees(morning), QList<int>({ann}));
    click("cmdPrevious");
    EXPECT_EQ(list(), QStringList({"[x] Adams, Ann"}));
}

// A roll sheet double that notes the meeting it was created for.
int g_rollSheetWeek = -1;

TEST_F(AttendanceList, PrintsTheMeetingsRollSheetWithItsNumberOnlyWhileCreatingIt)
{
    const int week = db.addMeeting(QDate(2024, 5, 12));
    open();
    EXPECT_FALSE(control<QPushButton>("cmdPrintWeekRoll")->isEnabled()); // no roll sheet yet
    leave();

    report::registerLayout(frmServices::kRollSheetLayout, [] {
        g_rollSheetWeek = program().ReportWeekID;
        return std::make_shared<testing_support::CaptionOnlyReport>("Roll Sheet");
    });
    open();
    type(box("Wk_Topic"), "Stored before printing");
    click("cmdPrintWeekRoll");
    report::unregisterLayout(frmServices::kRollSheetLayout);
    EXPECT_EQ(g_rollSheetWeek, week);
    EXPECT_EQ(program().ReportWeekID, 0);
    EXPECT_TRUE(screens.log.events.contains("report Roll Sheet"));
    EXPECT_EQ(db.value("SELECT Wk_Topic FROM Weeks").text(), "Stored before printing");

    // A new meeting's roll sheet waits for its list to be saved.
    report::registerLayout(frmServices::kRollSheetLayout, [] {
        return std::make_shared<testing_support::CaptionOnlyReport>("R");
    });
    open();
    click("cmdAdd");
    EXPECT_FALSE(control<QPushButton>("cmdPrintWeekRoll")->isEnabled());
    click("cmdSet");
    EXPECT_TRUE(control<QPushButton>("cmdPrintWeekRoll")->isEnabled());
    report::unregisterLayout(frmServices::kRollSheetLayout);
}

} // namespace
