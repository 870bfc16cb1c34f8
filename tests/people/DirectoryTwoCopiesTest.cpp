// Two copies of the program on one data file: the other copy's work is here written straight
// into the file, and its run marker beside it.
#include "tests/people/DirectoryFixture.h"

#include "tests/support/OtherCopy.h"

#include "platform/data/DataError.h"

namespace {

class DirectoryTwoCopies : public DirectoryFixture {
protected:
    QString lastMessage()
    {
        return testenv::messages().shown().empty() ? QString() : testenv::messages().last().text;
    }
    QString stored(int id, const char* field)
    {
        return db
            .value(QStringLiteral("SELECT %1 FROM Youth WHERE Youth_ID = %2")
                       .arg(QLatin1String(field))
                       .arg(id))
            .text();
    }
};

TEST_F(DirectoryTwoCopies, LeavingClearsOnlyItsOwnNewPeopleWhileAnotherCopyRuns)
{
    db.addPerson("Ann", "Baker");
    const int leftover = db.addPerson("New Profile", "Crashed"); // from a run that crashed
    open();
    const QString marker = testing_support::writeOtherCopyMarker(QStringLiteral("hall-pc"), 4242);
    // The other copy has saved a new person before its first name was typed.
    const int theirs = db.addPerson("New Profile", "Other", {{"Youth_Address1", "2 Elm St"}});
    click("cmdAdd");
    type(18, "Mine");
    click("cmdUpdate");
    const int mine = currentId();
    ASSERT_GT(mine, theirs);
    EXPECT_EQ(stored(mine, "Youth_FName"), "New Profile");

    leave();
    EXPECT_EQ(db.count("Youth", QStringLiteral("Youth_ID = %1").arg(mine)), 0);
    EXPECT_EQ(stored(theirs, "Youth_Address1"), "2 Elm St");
    EXPECT_EQ(stored(leftover, "Youth_LName"), "Crashed");

    // Once no other copy runs, every unfinished new person goes, also those of a crashed run.
    testing_support::ageMarker(marker, 11);
    open();
    leave();
    EXPECT_EQ(db.count("Youth", "Youth_FName = 'New Profile'"), 0);
    EXPECT_EQ(db.count("Youth"), 1);
    EXPECT_TRUE(lastMessage().isEmpty());
}

TEST_F(DirectoryTwoCopies, ASaveOverTheOtherCopysNewerChangeIsRefusedAndTheTypingKept)
{
    const int ann = db.addPerson("Ann", "Baker", {{"Youth_HomePhone", "555-0100"}});
    open();
    db.exec(QStringLiteral("UPDATE Youth SET Youth_HomePhone = '555-0111', Youth_CellPhone = "
                           "'555-0999', Youth_Updated = 45000 WHERE Youth_ID = %1")
                .arg(ann));
    retype(13, "555-0122");
    click("cmdUpdate");
    EXPECT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(lastMessage().contains("changed by another user since you opened it"))
        << lastMessage().toStdString();
    EXPECT_TRUE(screen().IsEditing());
    EXPECT_EQ(box(13)->text(), "555-0122");
    EXPECT_EQ(stored(ann, "Youth_HomePhone"), "555-0111");

    // Cancel shows the person as stored now; typed again, the change saves.
    click("cmdCancel");
    EXPECT_EQ(box(13)->text(), "555-0111");
    EXPECT_EQ(box(10)->text(), "555-0999");
    retype(13, "555-0122");
    click("cmdUpdate");
    EXPECT_FALSE(screen().IsEditing());
    EXPECT_EQ(stored(ann, "Youth_HomePhone"), "555-0122");

    // Changes to other fields of the same person both land, whatever the change stamps say.
    db.exec(QStringLiteral("UPDATE Youth SET Youth_WorkPhone = '555-0333', Youth_Updated = 45001 "
                           "WHERE Youth_ID = %1")
                .arg(ann));
    retype(0, "1 New Road");
    click("cmdUpdate");
    EXPECT_FALSE(screen().IsEditing());
    EXPECT_EQ(stored(ann, "Youth_Address1"), "1 New Road");
    EXPECT_EQ(stored(ann, "Youth_WorkPhone"), "555-0333");
    EXPECT_EQ(testenv::messages().shown().size(), 1u);
}

TEST_F(DirectoryTwoCopies, APersonTheOtherCopyRemovedIsCalledRemovedAndCanBeLeft)
{
    const int ann = db.addPerson("Ann", "Baker");
    db.addPerson("Bob", "Carter");
    open();
    db.exec(QStringLiteral("DELETE FROM Youth WHERE Youth_ID = %1").arg(ann));
    retype(13, "555-0122");
    const QString asked = "The changes to this person could not be saved. What you typed is "
                          "still on the screen.\n\n" +
                          data::kRemovedByAnotherUser +
                          "\n\nClick Yes to go on without saving the changes to this person, "
                          "or No to keep them on the screen.";
    click("cmdUpdate"); // No: the typing stays
    EXPECT_EQ(testenv::messages().texts(), QStringList{asked});
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::CriticalYesNo);
    EXPECT_TRUE(screen().IsEditing());
    EXPECT_EQ(box(13)->text(), "555-0122");
    // Moving on asks the same; Yes drops the changes and the move goes on.
    testenv::messages().scriptAnswer(ui::Answer::Yes);
    click("cmdNext");
    EXPECT_EQ(testenv::messages().texts(), (QStringList{asked, asked}));
    EXPECT_FALSE(screen().IsEditing());
    EXPECT_EQ(box(11)->text(), "Bob");
    EXPECT_EQ(db.count("Youth"), 1);
}

} // namespace
