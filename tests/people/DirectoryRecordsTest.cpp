#include "tests/people/DirectoryFixture.h"

#include "platform/data/Variant.h"
#include "platform/ui/Services.h"

#include <QLabel>
#include <QTabBar>

using testing_support::day;
using testing_support::moment;

namespace {

// Today in the test clock: 15 May 2024, 10:30.
double nowDay()
{
    return data::jetdate::fromDateTime(ui::now());
}

class DirectoryRecords : public DirectoryFixture {
protected:
    void addFamily()
    {
        ann = db.addPerson("Ann", "Baker",
                           {{"Youth_State", "OH"}, {"Youth_City", "Akron"}, {"Youth_Status", 1}});
        bob = db.addPerson("Bob", "Carter",
                           {{"Youth_State", "PA"},
                            {"Youth_City", "Erie"},
                            {"Youth_Address1", "12 Elm St"},
                            {"Youth_Zip", "16501"},
                            {"Youth_HomePhone", "555-0101"},
                            {"Youth_ParentName", "Dee Carter"},
                            {"Youth_School", "Erie High"},
                            {"Youth_Status", 1}});
        cy = db.addPerson("Cy", "Dunn", {{"Youth_Status", 2}});
        vera = db.addPerson("Vera", "Vance", {{"Youth_Visitor", true}});
    }

    QVariant stored(int id, const char* field)
    {
        const auto v = db.value(QStringLiteral("SELECT %1 FROM Youth WHERE Youth_ID = %2")
                                    .arg(QString::fromUtf8(field))
                                    .arg(id));
        if (v.isNull() || v.isEmpty())
            return QVariant();
        if (v.isString())
            return v.text();
        return v.number();
    }

    int ann = 0, bob = 0, cy = 0, vera = 0;
};

TEST_F(DirectoryRecords, OpensOnTheMembersOrTheVisitorsOfTheGroup)
{
    addFamily();
    db.addPerson("Gone", "Away", {{"Youth_Deleted", true}});
    open();
    EXPECT_EQ(pickerTexts(), (QStringList{"Baker, Ann", "Carter, Bob", "Dunn, Cy"}));
    EXPECT_EQ(counter(), "3 Records");
    EXPECT_EQ(box(11)->text(), "Ann");
    EXPECT_EQ(pickedText(), "Baker, Ann");
    EXPECT_TRUE(screen().FollowUpPanel->isHidden());
    EXPECT_EQ(screen().palette().color(QPalette::Window), QColor(0, 128, 128));
    EXPECT_EQ(screen().SSTabCtl->currentIndex(), 0);
    EXPECT_FALSE(screen().IsEditing());

    open(true);
    EXPECT_EQ(pickerTexts(), QStringList{"Vance, Vera"});
    EXPECT_EQ(counter(), "1 Records");
    EXPECT_FALSE(screen().FollowUpPanel->isHidden());
    EXPECT_EQ(screen().palette().color(QPalette::Window), QColor(0, 0, 128));
    EXPECT_TRUE(check(32)->isChecked());
}

TEST_F(DirectoryRecords, AnEmptyListOpensOnAPlaceholderThatLeavingDeletes)
{
    for (const bool visitors : {false, true}) {
        open(visitors);
        EXPECT_EQ(pickerTexts(), QStringList{"New Profile"});
        EXPECT_EQ(box(11)->text(), "New Profile");
        // The placeholder is saved so that it is listed, as a member or a visitor.
        EXPECT_EQ(db.count("Youth", "Youth_FName = 'New Profile'"), 1);
        EXPECT_EQ(db.value("SELECT Youth_Visitor FROM Youth").number(), visitors ? -1 : 0);
        EXPECT_FALSE(screen().IsAdding());
        leave();
        EXPECT_EQ(db.count("Youth"), 0);
    }

    // Renamed, it stays.
    open();
    retype(11, "Ida");
    click("cmdUpdate");
    leave();
    EXPECT_EQ(db.count("Youth", "Youth_FName = 'Ida'"), 1);
}

TEST_F(DirectoryRecords, LeavingDeletesEveryPlaceholderOfTheTable)
{
    addFamily();
    db.addPerson("New Profile", "", {{"Youth_Visitor", true}});
    db.addPerson("New Profile", "Real"); // a person saved under that name earlier
    open();
    EXPECT_EQ(pickerTexts(), (QStringList{"Baker, Ann", "Carter, Bob", "Dunn, Cy", "New Profile"}));
    leave();
    EXPECT_EQ(db.count("Youth", "Youth_FName = 'New Profile'"), 0);
    EXPECT_EQ(db.count("Youth"), 4);
}

TEST_F(DirectoryRecords, AddAndSaveMakeANewPersonInEitherMode)
{
    addFamily();
    for (const bool visitors : {false, true}) {
        open(visitors);
        click("cmdAdd");
        EXPECT_TRUE(screen().IsAdding());
        EXPECT_EQ(box(11)->text(), "New Profile");
        EXPECT_EQ(box(11)->selectedText(), "New Profile");
        EXPECT_EQ(QApplication::focusWidget(), box(11));
        EXPECT_EQ(check(32)->isChecked(), visitors);
        EXPECT_EQ(pickedText(), "New Profile");
        // The state of the first person listed is filled in.
        EXPECT_EQ(box(27)->text(), visitors ? "" : "OH");

        QTest::keyClicks(box(11), "Zed");
        type(18, "Young");
        EXPECT_EQ(pickedText(), "Young, Zed"); // the name shows in the picker as it is typed
        click("cmdUpdate");
        EXPECT_FALSE(screen().IsAdding());
        EXPECT_FALSE(screen().IsEditing());

        const int id = db.value("SELECT max(Youth_ID) FROM Youth").number();
        EXPECT_EQ(stored(id, "Youth_FName"), "Zed");
        EXPECT_EQ(stored(id, "Youth_LName"), "Young");
        EXPECT_EQ(stored(id, "Youth_Visitor"), visitors ? -1 : 0);
        EXPECT_EQ(stored(id, "Youth_State"), visitors ? QVariant() : QVariant("OH"));
        EXPECT_EQ(stored(id, "Youth_Updated"), nowDay());
        EXPECT_EQ(stored(id, "Youth_Deleted"), 0);
        // Saved, the person is the last of the list, with a real picker entry.
        EXPECT_EQ(box(11)->text(), "Zed");
        EXPECT_EQ(picker()->selectedKey(), QStringLiteral("Y%1").arg(id));
        EXPECT_EQ(picker()->entries().entry(picker()->count() - 1).key,
                  QStringLiteral("Y%1").arg(id));
        EXPECT_EQ(pickedText(), "Young, Zed");
        EXPECT_EQ(picker()->entries().entry(picker()->count() - 1).iconKey,
                  visitors ? "mbrV" : "mbr3");
        key(Qt::Key_Up);
        EXPECT_NE(box(11)->text(), "Zed");
        key(Qt::Key_End);
        EXPECT_EQ(box(11)->text(), "Zed");
    }
}

TEST_F(DirectoryRecords, CloneCopiesTheFamilyFieldsAndKeepsTheirState)
{
    addFamily();
    open();
    key(Qt::Key_Down); // Bob Carter of Erie, PA
    ASSERT_EQ(box(11)->text(), "Bob");
    click("cmdClone");
    EXPECT_TRUE(screen().IsAdding());
    EXPECT_EQ(box(11)->text(), "New Profile");
    EXPECT_EQ(box(18)->text(), "Carter");
    EXPECT_EQ(box(0)->text(), "12 Elm St");
    EXPECT_EQ(box(4)->text(), "Erie");
    EXPECT_EQ(box(27)->text(), "PA"); // not the first person's "OH"
    EXPECT_EQ(box(34)->text(), "16501");
    EXPECT_EQ(box(13)->text(), "555-0101");
    QTest::keyClicks(box(11), "Eve");
    click("cmdUpdate");

    const auto row = db.rows("SELECT Youth_LName, Youth_Address1, Youth_City, Youth_State, "
                             "Youth_Zip, Youth_HomePhone, Youth_ParentName, Youth_School "
                             "FROM Youth WHERE Youth_FName = 'Eve'");
    ASSERT_EQ(row.size(), 1u);
    QStringList values;
    for (const auto& v : row[0])
        values << v.text();
    EXPECT_EQ(values, (QStringList{"Carter", "12 Elm St", "Erie", "PA", "16501", "555-0101",
                                   "Dee Carter", ""}));
}

TEST_F(DirectoryRecords, VisitorsFollowUpIsEditedClonedAndRemoved)
{
    addFamily();
    open(true);
    screen().SSTabCtl->setCurrentIndex(2);
    for (int followUp : {33, 30, 31}) // Sent Letter, Called, Visited
        QTest::mouseClick(check(followUp), Qt::LeftButton);
    EXPECT_TRUE(screen().IsEditing());
    click("cmdUpdate");
    const auto row = db.rows(QStringLiteral("SELECT Youth_VLetter, Youth_VCall, Youth_VHouseCall "
                                            "FROM Youth WHERE Youth_ID = %1")
                                 .arg(vera))
                         .front();
    for (const auto& v : row)
        EXPECT_EQ(v.number(), -1);

    click("cmdClone");
    QTest::keyClicks(box(11), "Val");
    click("cmdUpdate");
    const int val = db.value("SELECT Youth_ID FROM Youth WHERE Youth_FName = 'Val'").number();
    EXPECT_EQ(stored(val, "Youth_LName"), "Vance");
    EXPECT_EQ(stored(val, "Youth_Visitor"), -1);
    EXPECT_EQ(stored(val, "Youth_VCall"), 0); // follow-up is not copied

    click("cmdDelete");
    EXPECT_EQ(stored(val, "Youth_Deleted"), -1);
    EXPECT_EQ(box(11)->text(), "Vera");
    EXPECT_EQ(pickerTexts(), QStringList{"Vance, Vera"});
}

TEST_F(DirectoryRecords, EditingSavesTheRowAndStampsIt)
{
    addFamily();
    open();
    type(0, "9 Oak Ave");
    check(19)->click(); // Mail List
    EXPECT_TRUE(screen().IsEditing());
    // While a person is being edited the navigation keys do nothing.
    key(Qt::Key_Down);
    EXPECT_EQ(box(11)->text(), "Ann");
    click("cmdUpdate");
    EXPECT_FALSE(screen().IsEditing());
    EXPECT_EQ(stored(ann, "Youth_Address1"), "9 Oak Ave");
    EXPECT_EQ(stored(ann, "Youth_Mail_List"), -1);
    EXPECT_EQ(stored(ann, "Youth_Updated"), nowDay());
    EXPECT_EQ(box(29)->text(), "5/15/2024");
    key(Qt::Key_Down);
    EXPECT_EQ(box(11)->text(), "Bob");
}

TEST_F(DirectoryRecords, CancelForgetsTheChangesAndTheTypedName)
{
    addFamily();
    open();
    key(Qt::Key_Down);
    retype(11, "Robert");
    type(0, "Nowhere");
    EXPECT_EQ(pickedText(), "Carter, Robert");
    click("cmdCancel");
    EXPECT_FALSE(screen().IsEditing());
    EXPECT_EQ(box(11)->text(), "Bob");
    EXPECT_EQ(box(0)->text(), "12 Elm St");
    EXPECT_EQ(pickedText(), "Carter, Bob");
    key(Qt::Key_Down); // moving on does not save what was cancelled
    leave();
    EXPECT_EQ(stored(bob, "Youth_FName"), "Bob");
    EXPECT_EQ(stored(bob, "Youth_Address1"), "12 Elm St");
    EXPECT_EQ(stored(bob, "Youth_Updated"), QVariant());
}

TEST_F(DirectoryRecords, CancelAfterAddReturnsToThePersonShownBefore)
{
    addFamily();
    open();
    key(Qt::Key_Down);
    click("cmdAdd");
    QTest::keyClicks(box(11), "Temp");
    click("cmdCancel");
    EXPECT_FALSE(screen().IsAdding());
    EXPECT_EQ(box(11)->text(), "Bob");
    EXPECT_EQ(pickerTexts(), (QStringList{"Baker, Ann", "Carter, Bob", "Dunn, Cy"}));
    EXPECT_EQ(pickedText(), "Carter, Bob");
    leave();
    EXPECT_EQ(db.count("Youth"), 4);
}

TEST_F(DirectoryRecords, RemoveMarksThePersonAndShowsTheNextOne)
{
    addFamily();
    open();
    // No keeps the person.
    testenv::messages().scriptAnswer(ui::Answer::No);
    click("cmdDelete");
    EXPECT_EQ(testenv::messages().last().title, "Delete This Person?");
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Question);
    EXPECT_EQ(QApplication::focusWidget(), box(11));
    EXPECT_EQ(stored(ann, "Youth_Deleted"), 0);

    click("cmdDelete"); // Yes
    EXPECT_EQ(testenv::messages().last().text,
              "Are you sure you want to delete this person from the directory?  You might consider "
              "marking them as 'Inactive' so that you keep their information on file.  To delete "
              "the record, click Yes.  To cancel, click No.");
    EXPECT_EQ(stored(ann, "Youth_Deleted"), -1);
    EXPECT_EQ(db.count("Youth"), 4); // the row stays
    EXPECT_EQ(box(11)->text(), "Bob");
    EXPECT_EQ(pickerTexts(), (QStringList{"Carter, Bob", "Dunn, Cy"}));
    EXPECT_EQ(counter(), "2 Records");

    // The last person: the one before shows.
    key(Qt::Key_End);
    click("cmdDelete");
    EXPECT_EQ(stored(cy, "Youth_Deleted"), -1);
    EXPECT_EQ(box(11)->text(), "Bob");
    EXPECT_EQ(pickedText(), "Carter, Bob");

    // The only person: an empty screen on which only Add and Show work.
    click("cmdDelete");
    EXPECT_EQ(stored(bob, "Youth_Deleted"), -1);
    EXPECT_EQ(box(11)->text(), "");
    EXPECT_EQ(picker()->count(), 0);
    EXPECT_EQ(counter(), "0 Records");
    EXPECT_FALSE(box(11)->isEnabled());
    EXPECT_FALSE(button("cmdDelete")->isEnabled());
    EXPECT_FALSE(button("cmdUpdate")->isEnabled());
    EXPECT_TRUE(button("cmdAdd")->isEnabled());
    EXPECT_TRUE(combo("Select_Show")->isEnabled());
    click("cmdAdd");
    EXPECT_TRUE(box(11)->isEnabled());
    QTest::keyClicks(box(11), "Nell");
    click("cmdUpdate");
    EXPECT_EQ(counter(), "1 Records");

    open(); // a fresh screen lists only the new person
    EXPECT_EQ(pickerTexts(), QStringList{", Nell"});
}

TEST_F(DirectoryRecords, APersonJustAddedCanBeFoundAndRemovedAtOnce)
{
    addFamily();
    open();
    click("cmdAdd");
    QTest::keyClicks(box(11), "Nia");
    type(18, "Abbot");
    click("cmdUpdate");
    const int nia = db.value("SELECT Youth_ID FROM Youth WHERE Youth_FName = 'Nia'").number();
    key(Qt::Key_Home);
    pickText(picker(), "Abbot, Nia");
    EXPECT_EQ(box(11)->text(), "Nia");
    click("cmdDelete");
    EXPECT_EQ(stored(nia, "Youth_Deleted"), -1);
    EXPECT_FALSE(pickerTexts().contains("Abbot, Nia"));
    EXPECT_EQ(box(11)->text(), "Cy"); // the new last person
}

TEST_F(DirectoryRecords, RemovingInAFilteredListKeepsTheScreenConsistent)
{
    addFamily();
    open();
    pickText(combo("Select_Show"), "Active Only");
    key(Qt::Key_Down);
    ASSERT_EQ(box(11)->text(), "Bob");
    click("cmdDelete");
    EXPECT_EQ(box(11)->text(), "Cy");
    EXPECT_EQ(pickerTexts(), (QStringList{"Baker, Ann", "Dunn, Cy"}));
    EXPECT_EQ(counter(), "2 Records");
    pickText(combo("Select_Show"), "Inactive Only"); // nobody
    EXPECT_EQ(counter(), "0 Records");
    EXPECT_FALSE(box(11)->isEnabled());
    EXPECT_EQ(box(11)->text(), "");
}

TEST_F(DirectoryRecords, NavigationKeysMoveAndAreUsedUp)
{
    addFamily();
    for (int i = 0; i < 3; ++i)
        db.addPerson(QStringLiteral("P%1").arg(i), "Zane");
    open();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* first;
    } steps[] = {
        {Qt::Key_Down, {}, "Bob"},
        {Qt::Key_PageDown, {}, "Cy"},
        {Qt::Key_Up, {}, "Bob"},
        {Qt::Key_End, {}, "P2"},
        {Qt::Key_Down, {}, "P2"},
        {Qt::Key_PageUp, {}, "P1"},
        {Qt::Key_Home, {}, "Ann"},
        {Qt::Key_Up, {}, "Ann"},
        {Qt::Key_Down, Qt::ControlModifier, "P2"},
        {Qt::Key_Up, Qt::ControlModifier, "Ann"},
    };
    box(0)->setFocus();
    box(0)->setCursorPosition(0);
    for (const auto& step : steps) {
        QTest::keyClick(box(0), step.key, step.modifiers);
        EXPECT_EQ(box(11)->text(), step.first) << step.key;
        // The key only moved the screen: the person reached is not marked as edited.
        EXPECT_FALSE(screen().IsEditing()) << step.key;
        EXPECT_EQ(box(0)->cursorPosition(), 0) << step.key;
    }
    EXPECT_EQ(beeps, 2); // Down on the last person, Up on the first
    // A key in the picker moves the screen once, and the picker follows.
    QTest::keyClick(picker(), Qt::Key_Down);
    EXPECT_EQ(box(11)->text(), "Bob");
    EXPECT_EQ(pickedText(), "Carter, Bob");
    // Nor does a drop-down change its choice under the key.
    QTest::keyClick(combo("Select_Status"), Qt::Key_Down);
    EXPECT_EQ(box(11)->text(), "Cy");
    EXPECT_EQ(combo("Select_Status")->currentText(), "Away/Active");
    EXPECT_FALSE(screen().IsEditing());
    leave();
    EXPECT_EQ(db.count("Youth", "Youth_Updated IS NOT NULL"), 0);
}

TEST_F(DirectoryRecords, NavigationKeysDoNothingWhileANewPersonIsAdded)
{
    addFamily();
    open();
    click("cmdAdd");
    ASSERT_TRUE(screen().IsAdding());
    ASSERT_FALSE(screen().IsEditing()); // nothing typed yet
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_End, Qt::Key_Home, Qt::Key_PageUp})
        key(k);
    EXPECT_TRUE(screen().IsAdding());
    EXPECT_EQ(box(11)->text(), "New Profile");
    EXPECT_EQ(picker()->selectedKey(), "Y");
    EXPECT_EQ(beeps, 0);
}

TEST_F(DirectoryRecords, EveryKeyReleaseInABoxStampsTheRow)
{
    addFamily();
    open();
    type(6, "");                            // focus only
    QTest::keyClick(box(6), Qt::Key_Right); // changes nothing
    EXPECT_TRUE(screen().IsEditing());
    EXPECT_EQ(box(29)->text(), "5/15/2024");
    click("cmdUpdate");
    EXPECT_EQ(stored(ann, "Youth_Updated"), nowDay());
}

TEST_F(DirectoryRecords, TheCounterAndTheCityCaptionFollowTheirSettings)
{
    addFamily();
    const struct {
        const char* country;
        const char* caption;
    } cases[] = {
        {nullptr, "City/State/Zip:"},        {"USA", "City/State/Zip:"},
        {"Canada", "City/Province/Postal:"}, {"canada", "City/State/Zip:"},
        {"Australia", "City/State/Postal:"}, {"UK", "City/State/Zip:"},
    };
    for (const auto& c : cases) {
        if (c.country)
            testenv::settings().write("GroupInfo", "Country", c.country);
        open();
        EXPECT_EQ(screen().lblLabels.at(4)->text(), c.caption) << (c.country ? c.country : "none");
        EXPECT_EQ(counter(), "3 Records");
    }
}

TEST_F(DirectoryRecords, TheStartPageOpensAGivenPerson)
{
    addFamily();
    program().SelectedYouthID = cy;
    open();
    EXPECT_EQ(box(11)->text(), "Cy");
    EXPECT_EQ(pickedText(), "Dunn, Cy");
    EXPECT_EQ(program().SelectedYouthID, 0);

    // A visitor asked for in the members directory, or a removed person: nothing moves.
    for (const int other : {vera, db.addPerson("Del", "Eted", {{"Youth_Deleted", true}})}) {
        program().SelectedYouthID = other;
        open();
        EXPECT_EQ(box(11)->text(), "Ann");
        EXPECT_EQ(program().SelectedYouthID, 0);
    }
}

TEST_F(DirectoryRecords, OddStatusesAndEmptyFlagsLoadAsUnassigned)
{
    db.addPerson("Odd", "Status", {{"Youth_Status", 7}});
    db.addPerson("No", "Status", {{"Youth_Status", data::Variant::null()}, {"Youth_Sex", 9}});
    db.exec("UPDATE Youth SET Youth_Deleted = 0");
    open();
    EXPECT_EQ(pickerTexts(), (QStringList{"Status, No", "Status, Odd"}));
    for (const PickerEntry& e : picker()->entries().entries())
        EXPECT_EQ(e.iconKey, "mbr3");
    EXPECT_EQ(combo("Select_Status")->currentText(), "(Unassigned)");
    key(Qt::Key_Down);
    EXPECT_EQ(combo("Select_Status")->currentText(), "(Unassigned)");
    EXPECT_FALSE(screen().IsEditing());
    leave();
    EXPECT_EQ(db.value("SELECT Youth_Status FROM Youth WHERE Youth_FName = 'Odd'").number(), 7);
}

} // namespace
