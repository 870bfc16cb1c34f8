#include "tests/people/MeetingsScreenFixture.h"

#include "people/MeetingsText.h"
#include "reports/rptRollSheet.h"
#include "platform/report/Engine.h"
#include "platform/report/Registry.h"
#include "tests/support/BuiltProgram.h"
#include "tests/support/Code39Reader.h"

namespace {

using meetings_text::kSaveBeforePrinting;
using meetings_text::kSaveListQuestion;

// The meetings screen with the real roll sheet behind its print command.
class PrintMeetingSummary : public MeetingsScreenTest {
protected:
    PrintMeetingSummary()
    {
        report::registerLayout(frmServices::kRollSheetLayout,
                               [] { return std::make_shared<rptRollSheet>(); });
    }
    ~PrintMeetingSummary() override { report::unregisterLayout(frmServices::kRollSheetLayout); }

    // The roll sheet the preview was given by the last print, run as the preview runs it.
    std::shared_ptr<const report::Document> printed()
    {
        auto* preview = dynamic_cast<testing_support::RecordingPreview*>(main().Preview());
        if (!preview || !preview->report())
            return nullptr;
        return report::run(*preview->report());
    }
    void closePreview()
    {
        dynamic_cast<testing_support::RecordingPreview*>(main().Preview())->CloseByUser();
    }
};

TEST_F(PrintMeetingSummary, PreviewsTheMeetingsSavedAttendees)
{
    const int ann = db.addPerson("Ann", "Adams");
    const int bob = db.addPerson("Bob", "Brown");
    db.addPerson("Cal", "Cole");
    const int week = db.addMeeting(QDate(2024, 5, 12), {{"Wk_Offering", 40.0}});
    db.attend(week, {ann, bob});
    open();
    type(box("Wk_Topic"), "Courage");

    click("cmdPrintWeekRoll");

    EXPECT_TRUE(messageTexts().isEmpty()); // nothing unsaved: nothing asked
    const auto doc = printed();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->caption(), QStringLiteral("Roll Sheet"));
    EXPECT_EQ(doc->texts(QStringLiteral("txtYouthName")),
              QStringList({"Adams, Ann", "Brown, Bob"}));
    EXPECT_EQ(doc->texts(QStringLiteral("MtgDate")), QStringList({"5/12/2024"}));
    EXPECT_EQ(doc->texts(QStringLiteral("MtgTopic")), QStringList({"Courage"})); // stored first
    EXPECT_EQ(doc->texts(QStringLiteral("MtgAttendance")), QStringList({"2"}));
    EXPECT_EQ(doc->texts(QStringLiteral("MtgOffering")), QStringList({"$40"}));
    EXPECT_EQ(program().ReportWeekID, 0);
}

// The sheet prints the meeting as stored: when the edits on screen cannot be stored (another
// copy changed the meeting meanwhile), the user is told and nothing is printed.
TEST_F(PrintMeetingSummary, AMeetingThatCannotBeStoredIsNotPrinted)
{
    const int week = db.addMeeting(QDate(2024, 5, 12), {{"Wk_Topic", "Joy"}});
    open();
    db.exec(QString("UPDATE Weeks SET Wk_Topic = 'Peace' WHERE Wk_ID = %1").arg(week));
    type(box("Wk_Topic"), "Hope");

    click("cmdPrintWeekRoll");

    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(testenv::messages().last().text.startsWith(meetings_text::kMeetingNotStored));
    EXPECT_EQ(printed(), nullptr);
    EXPECT_EQ(text("Wk_Topic"), "Hope");
    EXPECT_EQ(program().ReportWeekID, 0);
}

// With ticks not yet saved the user chooses: save and print them, print the stored list, or
// print nothing. The sheet is never silently other than the list on screen, and the question
// is asked once: the ticks not saved are still there, unsaved, when the preview closes.
TEST_F(PrintMeetingSummary, UnsavedTicksAreSavedOrLeftOutOnlyAsTheUserSays)
{
    struct Case {
        ui::Answer answer;
        bool printed;
        QStringList sheet;
        QList<int> stored; // by position: 0 Ann, 1 Bob
        bool stillChanged;
        const char* dateAfter; // the meeting shown once the preview is closed
        QStringList listAfter;
    };
    const QStringList unsaved = {"[ ] Adams, Ann", "[x] Brown, Bob"};
    const Case cases[] = {
        {ui::Answer::Yes, true, {"Brown, Bob"}, {1}, false, "5/19/2024", {}},
        {ui::Answer::No, true, {"Adams, Ann"}, {0}, true, "5/12/2024", unsaved},
        {ui::Answer::Cancel, false, {}, {0}, true, "5/12/2024", unsaved},
    };
    const int ann = db.addPerson("Ann", "Adams");
    const int bob = db.addPerson("Bob", "Brown");
    const int week = db.addMeeting(QDate(2024, 5, 12));
    db.addMeeting(QDate(2024, 5, 19)); // the latest, which a new screen opens on
    const QList<int> people = {ann, bob};
    testenv::clock().setToday(QDate(2024, 5, 25)); // the meeting of 5/12 is an old one
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.answer));
        db.exec(QStringLiteral("DELETE FROM Attendance"));
        db.attend(week, {ann});
        frmServices& meetings = open();
        click("cmdFirst");
        testenv::messages().scriptAnswer(ui::Answer::Yes); // yes, change the old list
        addFromDropDown(QStringLiteral("Brown, Bob"));
        toggle(QStringLiteral("Adams, Ann")); // Ann unticked, Bob ticked: not saved yet
        testenv::messages().clear();
        testenv::messages().scriptAnswer(c.answer);

        click("cmdPrintWeekRoll");

        ASSERT_EQ(messageTexts(), QStringList({kSaveBeforePrinting}));
        EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::QuestionYesNoCancel);
        const auto doc = printed();
        ASSERT_EQ(doc != nullptr, c.printed);
        if (doc) {
            EXPECT_EQ(doc->texts(QStringLiteral("txtYouthName")), c.sheet);
        }
        QList<int> expected;
        for (int i : c.stored)
            expected << people[i];
        EXPECT_EQ(attendees(week), expected);
        // The list on the screen keeps what was not saved.
        EXPECT_EQ(!meetings.findChild<QPushButton*>(QStringLiteral("cmdSet"))->isHidden(),
                  c.stillChanged);
        EXPECT_EQ(program().ReportWeekID, 0);
        if (doc)
            closePreview();
        EXPECT_EQ(messageTexts(), QStringList({kSaveBeforePrinting}));
        EXPECT_EQ(text("Wk_Date"), c.dateAfter);
        EXPECT_EQ(list(), c.listAfter);
        EXPECT_EQ(count(), QStringLiteral(" %1 Total Names").arg(c.listAfter.size()));
        EXPECT_EQ(saveListShown(), c.stillChanged);
        // Leaving asks about unsaved ticks, as it always does; they save as the list shows them.
        testenv::messages().clear();
        if (c.stillChanged)
            testenv::messages().scriptAnswer(ui::Answer::Yes);
        leave();
        EXPECT_EQ(messageTexts(),
                  c.stillChanged ? QStringList({kSaveListQuestion}) : QStringList());
        EXPECT_EQ(attendees(week), QList<int>({bob}));
        testenv::messages().clear();
    }
    testenv::clock().setToday(QDate(2024, 5, 15));

    // The first meeting opened, Bob ticked, and its sheet printed with the tick left unsaved.
    const auto printWithBobUnsaved = [&] {
        open();
        click("cmdFirst");
        addFromDropDown(QStringLiteral("Brown, Bob"));
        testenv::messages().scriptAnswer(ui::Answer::No);
        click("cmdPrintWeekRoll");
    };

    // Another copy saves the meeting's list while the sheet is shown: the ticks kept are never
    // saved over it unseen.
    db.exec(QStringLiteral("DELETE FROM Attendance"));
    db.attend(week, {ann});
    printWithBobUnsaved();
    db.exec(QStringLiteral("DELETE FROM Attendance"));
    closePreview();
    testenv::messages().clear();
    click("cmdSet");
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts().last().startsWith(meetings_text::kListNotSaved));
    EXPECT_TRUE(messageTexts().last().contains("changed by another user since you opened it"));
    EXPECT_EQ(list(), QStringList({"[x] Adams, Ann", "[x] Brown, Bob"}));
    EXPECT_TRUE(attendees(week).isEmpty());
    testenv::messages().scriptAnswer(ui::Answer::No);
    leave();
    testenv::messages().clear();

    // Another copy deletes the meeting while the sheet is shown: the ticks cannot be kept, and
    // the user is told so, by the meeting's date.
    db.attend(week, {ann});
    printWithBobUnsaved();
    db.exec(QStringLiteral("DELETE FROM Attendance WHERE Attend_Wk_ID = %1").arg(week));
    db.exec(QStringLiteral("DELETE FROM Weeks WHERE Wk_ID = %1").arg(week));
    closePreview();
    ASSERT_EQ(messageTexts().size(), 2);
    EXPECT_EQ(messageTexts().last(),
              meetings_text::keptListLostText(data::jetdate::fromDate(QDate(2024, 5, 12))));
    EXPECT_TRUE(messageTexts().last().startsWith("The meeting of 5/12/2024 was deleted"));
    EXPECT_EQ(text("Wk_Date"), "5/19/2024");
    EXPECT_FALSE(saveListShown());
}

// The whole barcode loop: the catalogue's roll sheet with barcodes, printed and read back at
// 300 dots per inch, gives digits that, typed by the scanner into the meetings screen, record
// the people whose names they were printed under.
TEST_F(PrintMeetingSummary, PrintedBarcodesScanBackIntoAMeeting)
{
    testenv::installBarcodePictures();
    const int seven =
        db.addPerson({{"Youth_ID", 7}, {"Youth_FName", "Sam"}, {"Youth_LName", "Seven"}});
    const int big =
        db.addPerson({{"Youth_ID", 12345678}, {"Youth_FName", "Bea"}, {"Youth_LName", "Big"}});
    const int week = db.addMeeting(QDate(2024, 5, 12));
    db.attend(week, {});

    program().ReportOption = QStringLiteral("BARCODE");
    rptRollSheet sheet;
    program().ReportOption.clear();
    const auto doc = report::run(sheet);
    const QImage page = doc->renderPage(0, 300);
    const auto px = [](double twips) { return int(twips * 300 / 1440); };
    QStringList scanned;
    for (const auto& [index, cell] : doc->sections(QStringLiteral("Detail")))
        scanned << code39reader::readRow(page, px(cell->rect.top() + 315 + 150),
                                         px(cell->rect.left()), px(cell->rect.right()));
    ASSERT_EQ(scanned, QStringList({"12345678", "000007"})); // Big, then Seven

    open();
    for (const QString& digits : scanned)
        scan(digits);
    click("cmdSet");
    EXPECT_EQ(attendees(week), QList<int>({seven, big}));
    EXPECT_TRUE(messageTexts().isEmpty()) << messageTexts().join('\n').toStdString();
}

} // namespace
