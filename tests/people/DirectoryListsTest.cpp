#include "tests/people/DirectoryFixture.h"

#include "people/DirectoryLists.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QRadioButton>

namespace {

QStringList entries(QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

TEST(DirectoryShowFilterText, NamesTheRowsOfEachChoice)
{
    EXPECT_EQ(ShowFilterText(0), "Youth_Deleted = False");
    EXPECT_EQ(ShowFilterText(1), "(Youth_Deleted = False AND Youth_Status = 1) OR "
                                 "(Youth_Deleted = False AND Youth_Status = 2)");
    EXPECT_EQ(ShowFilterText(3), "Youth_Deleted = False AND Youth_Status = 3");
    EXPECT_EQ(ShowFilterText(2), "");
}

class DirectoryLists : public DirectoryFixture {
protected:
    void addPeople()
    {
        db.addPerson("Una", "Adams", {{"Youth_Status", 0}, {"Youth_Sex", 2}});
        db.addPerson("Al", "Brown", {{"Youth_Status", 1}, {"Youth_Team", " Red "}});
        db.addPerson("Aw", "Cole", {{"Youth_Status", 2}, {"Youth_Team", "Blue"}});
        db.addPerson("In", "Dale", {{"Youth_Status", 3}, {"Youth_IM_Service", "ICQ"}});
        db.addPerson("Re", "Moved",
                     {{"Youth_Status", 1}, {"Youth_Deleted", true}, {"Youth_Team", "Gone"}});
    }
    QRadioButton* gender(int i)
    {
        return screen().findChild<QRadioButton*>(QStringLiteral("optGender(%1)").arg(i));
    }
    ChoiceBox* team() { return screen().Select_Team; }
    ChoiceBox* service() { return screen().Select_IMService; }
    QVariant stored(const char* field, const char* firstName)
    {
        const auto v = db.value(QStringLiteral("SELECT %1 FROM Youth WHERE Youth_FName = '%2'")
                                    .arg(QString::fromUtf8(field), QString::fromUtf8(firstName)));
        return v.isNull() ? QVariant() : v.isString() ? QVariant(v.text()) : QVariant(v.number());
    }
    void leaveBox(QWidget* from) { QTest::keyClick(from, Qt::Key_Tab); }
};

TEST_F(DirectoryLists, ShowNarrowsTheListByStatus)
{
    addPeople();
    open();
    QComboBox* show = combo("Select_Show");
    EXPECT_EQ(entries(show), (QStringList{"All", "Active Only", "Inactive Only"}));
    EXPECT_EQ(show->currentText(), "All");
    const struct {
        const char* choice;
        QStringList listed;
    } cases[] = {
        {"Active Only", {"Brown, Al", "Cole, Aw"}},
        {"Inactive Only", {"Dale, In"}},
        {"All", {"Adams, Una", "Brown, Al", "Cole, Aw", "Dale, In"}},
    };
    for (const auto& c : cases) {
        pickText(show, c.choice);
        EXPECT_EQ(pickerTexts(), c.listed) << c.choice;
        EXPECT_EQ(counter(), QStringLiteral("%1 Records").arg(c.listed.size())) << c.choice;
        EXPECT_EQ(pickedText(), c.listed.front()) << c.choice;
        EXPECT_EQ(box(11)->text() + QString(), c.listed.front().section(", ", 1)) << c.choice;
    }

    // The same choice again keeps the person shown but fills the picker anew.
    key(Qt::Key_Down);
    pickText(combo("Select_Status"), "Inactive");
    click("cmdUpdate");
    EXPECT_EQ(picker()->entries().entry(1).iconKey, "mbr1");
    pickText(show, "All");
    EXPECT_EQ(box(11)->text(), "Al");
    EXPECT_EQ(pickedText(), "Brown, Al");
    EXPECT_EQ(picker()->entries().entry(1).iconKey, "mbr3");
}

TEST_F(DirectoryLists, StatusAndServiceChoicesWriteTheRowAtOnce)
{
    addPeople();
    open();
    EXPECT_EQ(entries(combo("Select_Status")),
              (QStringList{"(Unassigned)", "Active", "Away/Active", "Inactive"}));
    EXPECT_EQ(entries(service()),
              (QStringList{"", "AIM", "Google", "ICQ", "Jabber", "MSN", "Yahoo", "Other"}));
    EXPECT_EQ(combo("Select_Status")->currentText(), "(Unassigned)");

    pickText(combo("Select_Status"), "Away/Active");
    EXPECT_TRUE(screen().IsEditing());
    pickText(service(), "ICQ");
    click("cmdUpdate");
    EXPECT_EQ(stored("Youth_Status", "Una"), 2);
    EXPECT_EQ(stored("Youth_IM_Service", "Una"), "ICQ");

    key(Qt::Key_End); // Dale, In: shows the stored service and status
    EXPECT_EQ(service()->currentText(), "ICQ");
    EXPECT_EQ(combo("Select_Status")->currentText(), "Inactive");
    EXPECT_FALSE(screen().IsEditing());
}

TEST_F(DirectoryLists, TeamsComeFromTheDataAndTypedOnesAreAdded)
{
    addPeople();
    db.addPerson("Ed", "Zane", {{"Youth_Team", "red"}}); // the same team as " Red "
    open();
    EXPECT_EQ(entries(team()), (QStringList{"", "Blue", "Red"})); // each once, trimmed
    key(Qt::Key_Down);
    EXPECT_EQ(team()->currentText(), "Red"); // shown trimmed

    // Typing: the 18th character is refused with a beep.
    team()->setFocus();
    settle();
    team()->lineEdit()->selectAll();
    QTest::keyClicks(team(), "Eighteen Character");
    EXPECT_EQ(team()->currentText(), "Eighteen Characte");
    EXPECT_EQ(team()->lineEdit()->cursorPosition(), 17);
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(screen().IsEditing()); // typing alone is not yet a choice
    leaveBox(team());
    EXPECT_TRUE(screen().IsEditing());
    EXPECT_EQ(entries(team()).last(), "Eighteen Characte");
    click("cmdUpdate");
    EXPECT_EQ(stored("Youth_Team", "Al"), "Eighteen Characte");

    // A typed name equal to an entry is added once more; an unchanged one is not.
    key(Qt::Key_Down);
    team()->setFocus();
    settle();
    team()->lineEdit()->selectAll();
    QTest::keyClicks(team(), "Red");
    leaveBox(team());
    EXPECT_EQ(entries(team()).count("Red"), 2);
    const int count = team()->count();
    team()->setFocus();
    settle();
    leaveBox(team());
    EXPECT_EQ(team()->count(), count);
    click("cmdUpdate");
    EXPECT_EQ(stored("Youth_Team", "Aw"), "Red");
}

TEST_F(DirectoryLists, ATeamTypedAndLeftByANavigationKeyIsKept)
{
    addPeople();
    open();
    team()->setFocus();
    settle();
    QTest::keyClicks(team(), "Green");
    QTest::keyClick(team(), Qt::Key_End);
    EXPECT_EQ(box(11)->text(), "Una"); // a pending choice is an edit: the key does not move
    EXPECT_TRUE(screen().IsEditing());
    click("cmdUpdate");
    EXPECT_EQ(stored("Youth_Team", "Una"), "Green");
}

TEST_F(DirectoryLists, TheTeamHelpShowsOnceAndOnlyWhileNoTeamExists)
{
    db.addPerson("No", "Team");
    open();
    QTest::keyClick(team(), Qt::Key_F4);
    team()->hidePopup();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().title, "What is a Team?");
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Information);
    EXPECT_TRUE(testenv::messages().last().text.startsWith(
        "Team names could be useful when dividing your group into teams for evangelism "
        "outreaches or other small group functions. The first time you assign a team, type the "
        "name in this box.  The next time"));
    QTest::keyClick(team(), Qt::Key_F4);
    team()->hidePopup();
    EXPECT_EQ(testenv::messages().shown().size(), 1u);

    open(); // once per visit
    QTest::keyClick(team(), Qt::Key_F4);
    team()->hidePopup();
    EXPECT_EQ(testenv::messages().shown().size(), 2u);

    db.exec("UPDATE Youth SET Youth_Team = 'Red'");
    open();
    QTest::keyClick(team(), Qt::Key_F4);
    team()->hidePopup();
    EXPECT_EQ(testenv::messages().shown().size(), 2u);
}

TEST_F(DirectoryLists, AServiceLongerThanTenIsCut)
{
    addPeople();
    open();
    service()->setFocus();
    settle();
    QTest::keyClicks(service(), "Mastodonian");
    EXPECT_EQ(service()->currentText(), "Mastodonia");
    EXPECT_EQ(beeps, 1);
    leaveBox(service());
    click("cmdUpdate");
    EXPECT_EQ(stored("Youth_IM_Service", "Una"), "Mastodonia");
}

TEST_F(DirectoryLists, GenderButtonsFollowThePersonAndTheKeys)
{
    addPeople();
    open();
    EXPECT_FALSE(gender(1)->isChecked());
    EXPECT_TRUE(gender(2)->isChecked()); // Una is "F"
    gender(2)->setFocus();
    QTest::keyClick(gender(2), Qt::Key_M);
    EXPECT_TRUE(gender(1)->isChecked());
    EXPECT_FALSE(gender(2)->isChecked());
    EXPECT_TRUE(screen().IsEditing());
    click("cmdUpdate");
    EXPECT_EQ(stored("Youth_Sex", "Una"), 1);

    key(Qt::Key_Down); // nobody chose a gender for Al
    EXPECT_FALSE(gender(1)->isChecked());
    EXPECT_FALSE(gender(2)->isChecked());
    EXPECT_FALSE(screen().IsEditing());
    QTest::mouseClick(gender(2), Qt::LeftButton);
    QTest::mouseClick(gender(2), Qt::LeftButton); // a second click keeps "F"
    EXPECT_TRUE(gender(2)->isChecked());
    QTest::keyClick(gender(2), Qt::Key_X); // other keys mean nothing
    EXPECT_TRUE(gender(2)->isChecked());
    click("cmdUpdate");
    EXPECT_EQ(stored("Youth_Sex", "Al"), 2);
}

} // namespace
