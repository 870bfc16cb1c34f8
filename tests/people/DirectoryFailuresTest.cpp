#include "tests/people/DirectoryFixture.h"
#include "tests/support/ScreenDoubles.h"

#include "platform/data/ConnectionString.h"
#include "platform/data/DataError.h"

#include <QLabel>

namespace {

// Writes that the data file refuses, as a locked or damaged file would.
constexpr const char* kRefuseUpdates =
    "CREATE TRIGGER refuse_update BEFORE UPDATE ON Youth "
    "BEGIN SELECT RAISE(ABORT, 'The data file refused the change'); END";
constexpr const char* kRefuseInserts =
    "CREATE TRIGGER refuse_insert BEFORE INSERT ON Youth "
    "BEGIN SELECT RAISE(ABORT, 'The data file refused the new person'); END";

class DirectoryFailures : public DirectoryFixture {
protected:
    void SetUp() override
    {
        ann = db.addPerson("Ann", "Baker", {{"Youth_Updated", testing_support::day(2024, 3, 4)}});
        db.addPerson("Bob", "Carter");
        open();
    }
    QString lastMessage()
    {
        return testenv::messages().shown().empty() ? QString() : testenv::messages().last().text;
    }
    int ann = 0;
};

TEST_F(DirectoryFailures, AFailedSaveIsShownAndLosesNothing)
{
    db.exec(kRefuseUpdates);
    type(0, "1 New Road");
    click("cmdUpdate");
    EXPECT_TRUE(lastMessage().contains("The data file refused the change"))
        << lastMessage().toStdString();
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(screen().IsEditing());
    EXPECT_EQ(box(0)->text(), "1 New Road");
    EXPECT_EQ(box(29)->text(), "3/4/2024"); // the change time stored, not one never stored

    // Moving would save: it is refused the same way, and the screen stays.
    append(0, " East");
    testenv::messages().clear();
    click("cmdNext");
    EXPECT_TRUE(lastMessage().contains("The data file refused the change"));
    EXPECT_EQ(box(11)->text(), "Ann");
    EXPECT_EQ(box(0)->text(), "1 New Road East");
    EXPECT_EQ(pickedText(), "Baker, Ann");
    EXPECT_EQ(box(29)->text(), "3/4/2024");

    db.exec("DROP TRIGGER refuse_update");
    click("cmdUpdate");
    EXPECT_FALSE(screen().IsEditing());
    EXPECT_EQ(box(29)->text(), "5/15/2024");
    EXPECT_EQ(db.value("SELECT Youth_Address1 FROM Youth WHERE Youth_FName = 'Ann'").text(),
              "1 New Road East");
}

// A full disk and a read-only file are named as the data layer names them, and what was typed
// stays; a read-only file is said once a visit, as soon as the screen opens.
TEST_F(DirectoryFailures, ASaveTheFileCannotTakeSaysWhyAndKeepsTheTyping)
{
    const QString notSaved = "The changes to this person could not be saved. What you typed is "
                             "still on the screen.\n\n";
    leave();
    {
        testing_support::DataFilesCannotGrow full;
        open();
        type(0, "1 New Road");
        comments()->setPlainText(QString(20000, QLatin1Char('x')));
        testenv::messages().clear();
        click("cmdUpdate");
        EXPECT_EQ(testenv::messages().texts(),
                  QStringList{notSaved + data::dataFileFullText(db.path())});
        EXPECT_TRUE(screen().IsEditing());
        EXPECT_EQ(box(0)->text(), "1 New Road");
        click("cmdCancel");
        leave();
    }
    {
        testing_support::ReadOnlyDataFiles readOnly;
        // Said once a visit, whether or not there is anyone to show (there are no visitors).
        for (const bool visitors : {false, true}) {
            testenv::messages().clear();
            open(visitors);
            leave();
            EXPECT_EQ(testenv::messages().texts(),
                      QStringList{data::dataFileReadOnlyText(db.path())})
                << visitors;
        }
        testenv::messages().clear();
        open();
        type(0, "2 Side St");
        click("cmdUpdate");
        EXPECT_EQ(lastMessage(), notSaved + data::dataFileReadOnlyText(db.path()));
        EXPECT_EQ(box(0)->text(), "2 Side St");
        click("cmdCancel");
        leave();
        EXPECT_EQ(testenv::messages().shown().size(), 2u);
    }
    EXPECT_TRUE(db.value("SELECT Youth_Address1 FROM Youth WHERE Youth_ID = 1").isNull());
}

TEST_F(DirectoryFailures, ANewPersonThatCannotBeSavedStaysPending)
{
    db.exec(kRefuseInserts);
    click("cmdAdd");
    QTest::keyClicks(box(11), "Cal");
    click("cmdUpdate");
    EXPECT_TRUE(lastMessage().contains("The data file refused the new person"));
    EXPECT_TRUE(screen().IsAdding());
    EXPECT_EQ(box(11)->text(), "Cal");
    EXPECT_EQ(picker()->selectedKey(), "Y");
    click("cmdCancel");
    EXPECT_FALSE(screen().IsAdding());
    EXPECT_EQ(box(11)->text(), "Ann");
    EXPECT_EQ(pickerTexts(), (QStringList{"Baker, Ann", "Carter, Bob"}));
}

TEST_F(DirectoryFailures, TextAFieldCannotTakeStopsTheSave)
{
    screen().SSTabCtl->setCurrentIndex(2);
    type(16, "someday"); // Last Attended
    click("cmdUpdate");
    EXPECT_EQ(lastMessage(), "\"someday\" is not a valid value for Last Attended. Please correct "
                             "it before the person is saved.");
    EXPECT_TRUE(screen().IsEditing());
    testenv::messages().clear();
    click("cmdNext");
    EXPECT_FALSE(lastMessage().isEmpty());
    EXPECT_EQ(box(11)->text(), "Ann");
    retype(16, "5/1/2024");
    click("cmdUpdate");
    EXPECT_FALSE(screen().IsEditing());
    EXPECT_EQ(db.value("SELECT Youth_Last_Attended FROM Youth WHERE Youth_FName = 'Ann'").number(),
              data::jetdate::fromDate(QDate(2024, 5, 1)));
}

TEST_F(DirectoryFailures, LeavingWithAChangeThatCannotBeSavedAsksAndStillCleansUp)
{
    db.addPerson("New Profile", "", {});
    db.exec(kRefuseUpdates);
    type(0, "1 New Road");
    leave();
    // The user is told and may stay with the change...
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::CriticalYesNo);
    EXPECT_TRUE(lastMessage().contains("The data file refused the change"));
    EXPECT_EQ(main().CurrentNodeIndex(), 3);
    EXPECT_EQ(testing_support::highlightedNode(main()), "Members");
    EXPECT_EQ(box(0)->text(), "1 New Road");
    // ...or leave without it; the placeholders still go.
    testenv::messages().scriptAnswer(ui::Answer::Yes);
    leave();
    EXPECT_EQ(main().CurrentNodeIndex(), 1);
    EXPECT_EQ(db.count("Youth", "Youth_FName = 'New Profile'"), 0);
    EXPECT_TRUE(db.value("SELECT Youth_Address1 FROM Youth WHERE Youth_FName = 'Ann'").isNull());
}

TEST_F(DirectoryFailures, LeavingSavesWhatWasTypedOrAsksWhyNot)
{
    type(0, "2 Side St");
    screen().SSTabCtl->setCurrentIndex(2);
    screen().Select_Team->setFocus();
    settle();
    QTest::keyClicks(screen().Select_Team, "Gold");
    leave();
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_EQ(db.value("SELECT Youth_Address1 FROM Youth WHERE Youth_ID = 1").text(), "2 Side St");
    EXPECT_EQ(db.value("SELECT Youth_Team FROM Youth WHERE Youth_ID = 1").text(), "Gold");

    open();
    screen().SSTabCtl->setCurrentIndex(2);
    type(16, "never");
    leave();
    EXPECT_EQ(lastMessage(), "\"never\" is not a valid value for Last Attended.\n\nClick Yes to go "
                             "on without saving the changes to this person, or No to stay and "
                             "correct them.");
    EXPECT_EQ(main().CurrentNodeIndex(), 3);
    EXPECT_EQ(box(16)->text(), "never");
    testenv::messages().scriptAnswer(ui::Answer::Yes);
    leave();
    EXPECT_EQ(main().CurrentNodeIndex(), 1);
    EXPECT_TRUE(db.value("SELECT Youth_Last_Attended FROM Youth WHERE Youth_ID = 1").isNull());
}

TEST_F(DirectoryFailures, TextACheckRefusesIsNeverStoredWhicheverWayTheScreenIsLeft)
{
    const QString refused = " is not a valid e-mail address.  Please enter a full address in the "
                            "form 'someone@mail.example', otherwise you will not be able to "
                            "e-mail this person.";
    const auto stored = [&] {
        return db.value("SELECT Youth_EMail FROM Youth WHERE Youth_FName = 'Ann'");
    };
    // Left for another box: the box's own check; Cancel then discards it without a word.
    type(8, "alice@example");
    QTest::keyClick(box(8), Qt::Key_Tab);
    settle();
    EXPECT_EQ(lastMessage(), "alice@example" + refused);
    EXPECT_EQ(QApplication::focusWidget(), box(8));
    testenv::messages().clear();
    click("cmdCancel");
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_EQ(box(8)->text(), "");
    EXPECT_FALSE(screen().IsEditing());

    // Still in the box: Save refuses it as the check does...
    type(8, "bad-address");
    click("cmdUpdate");
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().title, "Invalid Value");
    EXPECT_EQ(lastMessage(), "bad-address" + refused);
    // ...and every way of leaving asks once, the user staying (No) in the box.
    const std::function<void()> ways[] = {
        [&] { click("cmdNext"); },
        [&] {
            key(Qt::Key_Tab);
            key(Qt::Key_Down);
        }, // the key does nothing while edited
        [&] { testing_support::clickTreeNode(main(), "Start"); },
        [&] { main().close(); },
    };
    for (const auto& way : ways) {
        testenv::messages().clear();
        box(8)->setFocus();
        settle();
        way();
        settle();
        EXPECT_LE(testenv::messages().shown().size(), 1u);
        EXPECT_EQ(main().CurrentNodeIndex(), 3);
        EXPECT_TRUE(main().isVisible());
        EXPECT_EQ(testing_support::highlightedNode(main()), "Members");
        EXPECT_EQ(box(11)->text(), "Ann");
        EXPECT_EQ(box(8)->text(), "bad-address");
        EXPECT_TRUE(stored().isNull());
    }
    // Yes leaves without the change.
    testenv::messages().clear();
    testenv::messages().scriptAnswer(ui::Answer::Yes);
    testing_support::clickTreeNode(main(), "Start");
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::CriticalYesNo);
    EXPECT_TRUE(lastMessage().startsWith("bad-address" + refused));
    EXPECT_EQ(main().CurrentNodeIndex(), 1);
    EXPECT_EQ(testing_support::highlightedNode(main()), "Start");
    EXPECT_TRUE(stored().isNull());
}

TEST_F(DirectoryFailures, AMissingDataFileGivesAnEmptyScreen)
{
    leave();
    program().ConnectionString =
        data::buildConnectionString(testenv::programFile("gone"), "CorvessaData.mdb");
    open();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_EQ(testenv::messages().last().text,
              data::dataFileMissingText(testenv::programFile("gone/CorvessaData.mdb")));
    EXPECT_FALSE(screen().isEnabled());
    // The first tab's page alone, as on a screen that could read its data.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(screen().TabPanel[static_cast<std::size_t>(i)]->isVisibleTo(&screen()), i == 0)
            << i;
    EXPECT_FALSE(screen().MugShot->isVisibleTo(&screen()));
    EXPECT_FALSE(screen().PhotoLabel->isVisibleTo(&screen()));
    EXPECT_EQ(box(11)->text(), "");
    EXPECT_EQ(picker()->count(), 0);
    leave();
    EXPECT_EQ(testenv::messages().shown().size(), 1u);
}

} // namespace
