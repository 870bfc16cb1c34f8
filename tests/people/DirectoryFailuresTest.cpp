#include "tests/people/DirectoryFixture.h"

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
        ann = db.addPerson("Ann", "Baker");
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

    // Moving would save: it is refused the same way, and the screen stays.
    testenv::messages().clear();
    click("cmdNext");
    EXPECT_TRUE(lastMessage().contains("The data file refused the change"));
    EXPECT_EQ(box(11)->text(), "Ann");
    EXPECT_EQ(box(0)->text(), "1 New Road");
    EXPECT_EQ(pickedText(), "Baker, Ann");

    db.exec("DROP TRIGGER refuse_update");
    click("cmdUpdate");
    EXPECT_FALSE(screen().IsEditing());
    EXPECT_EQ(db.value("SELECT Youth_Address1 FROM Youth WHERE Youth_FName = 'Ann'").text(),
              "1 New Road");
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

TEST_F(DirectoryFailures, LeavingWithAChangeThatCannotBeSavedStillCleansUp)
{
    db.addPerson("New Profile", "", {});
    db.exec(kRefuseUpdates);
    type(0, "1 New Road");
    leave();
    EXPECT_TRUE(lastMessage().contains("The data file refused the change"));
    EXPECT_EQ(db.count("Youth", "Youth_FName = 'New Profile'"), 0);
    EXPECT_EQ(main().CurrentNodeIndex(), 1);
}

TEST_F(DirectoryFailures, LeavingSavesWhatWasTypedOrSaysWhyNot)
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
    EXPECT_EQ(lastMessage(), "\"never\" is not a valid value for Last Attended. Please correct "
                             "it before the person is saved.");
    EXPECT_EQ(main().CurrentNodeIndex(), 1);
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
