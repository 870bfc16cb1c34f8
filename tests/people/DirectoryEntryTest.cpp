#include "tests/people/DirectoryFixture.h"

#include "people/DirectoryLayout.h"

#include <QLabel>
#include <QListWidget>

using testing_support::day;

namespace {

class DirectoryEntry : public DirectoryFixture {
protected:
    void SetUp() override
    {
        db.addPerson(
            "Ann", "Baker",
            {{"Youth_Bday", day(2008, 3, 20)}, {"Youth_State", "OH"}, {"Youth_School_Grade", 9}});
        db.addPerson("Bob", "Carter");
        open();
    }
    QLabel* age() { return screen().findChild<QLabel*>("lblAge"); }
    void tabOut(QWidget* from)
    {
        QTest::keyClick(from, Qt::Key_Tab);
        settle();
    }
};

TEST_F(DirectoryEntry, EnteringABoxSelectsItsTextExceptGradeAndState)
{
    const struct {
        int tab;
        int box;
        const char* selected;
    } cases[] = {{0, 18, "Baker"}, {0, 27, ""}, {1, 3, "3/20/2008"}, {1, 24, ""}, {0, 11, "Ann"}};
    for (const auto& c : cases) {
        screen().SSTabCtl->setCurrentIndex(c.tab);
        QTest::mouseClick(box(c.box), Qt::LeftButton, {}, QPoint(4, 4));
        settle();
        EXPECT_EQ(QApplication::focusWidget(), box(c.box));
        EXPECT_EQ(box(c.box)->selectedText(), c.selected) << c.box;
    }
}

TEST_F(DirectoryEntry, LeavingTheBirthDateShowsTheAge)
{
    EXPECT_EQ(age()->text(), "16");
    screen().SSTabCtl->setCurrentIndex(1);
    retype(3, "5/15/2010"); // a birthday today counts
    tabOut(box(3));
    EXPECT_EQ(age()->text(), "14");
    box(3)->setFocus();
    settle();
    retype(3, "");
    tabOut(box(3));
    EXPECT_EQ(age()->text(), "0");
    EXPECT_TRUE(testenv::messages().shown().empty());
}

TEST_F(DirectoryEntry, BoxesThatRefuseTheirTextSayWhyAndKeepTheFocus)
{
    const QString title = "Invalid Value";
    const struct {
        int tab;
        int box;
        const char* typed;
        const char* message; // empty: accepted
        const char* left;    // the text after the message
        int beeps;
    } cases[] = {
        {1, 3, "13/45/2000", "Birthdate must be entered as in date format (MM/DD/YYYY).",
         "13/45/2000", 0},
        {1, 3, "someday", "Birthdate must be entered as in date format (MM/DD/YYYY).", "someday",
         0},
        {1, 3, "", "", "", 0},
        {1, 3, "4/1/2009", "", "4/1/2009", 0},
        {0, 8, "a@b",
         "a@b is not a valid e-mail address.  Please enter a full address in the form "
         "'someone@mail.example', otherwise you will not be able to e-mail this person.",
         "a@b", 1},
        {0, 8, "ann@example.org", "", "ann@example.org", 0},
        {1, 24, "x", "Grade must be entered as a numerical value from 1 to 16 (or left blank).", "",
         0},
        {1, 24, "17", "", "17", 0},
        {1, 24, "", "", "", 0},
    };
    for (const auto& c : cases) {
        testenv::messages().clear();
        beeps = 0;
        screen().SSTabCtl->setCurrentIndex(c.tab);
        retype(c.box, QString::fromUtf8(c.typed));
        tabOut(box(c.box));
        if (*c.message) {
            ASSERT_EQ(testenv::messages().shown().size(), 1u) << c.typed;
            EXPECT_EQ(testenv::messages().last().text, c.message);
            EXPECT_EQ(testenv::messages().last().title, title);
            EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
            EXPECT_EQ(QApplication::focusWidget(), box(c.box)) << c.typed;
        } else {
            EXPECT_TRUE(testenv::messages().shown().empty()) << c.typed;
            EXPECT_NE(QApplication::focusWidget(), box(c.box)) << c.typed;
        }
        EXPECT_EQ(box(c.box)->text(), c.left) << c.typed;
        EXPECT_EQ(beeps, c.beeps) << c.typed;
        // Save and leaving the person make the same check while the box still has the text.
        for (const char* command : {"cmdUpdate", "cmdNext"}) {
            if (!*c.message)
                break;
            retype(c.box, QString::fromUtf8(c.typed));
            testenv::messages().clear();
            click(command);
            ASSERT_FALSE(testenv::messages().shown().empty()) << command << ' ' << c.typed;
            EXPECT_TRUE(testenv::messages().last().text.startsWith(c.message)) << command;
            EXPECT_EQ(box(11)->text(), "Ann") << command;
        }
    }
    // A refused birth date leaves the age as it was.
    retype(3, "4/1/2009");
    tabOut(box(3));
    EXPECT_EQ(age()->text(), "15");
    retype(3, "31/31/2009");
    tabOut(box(3));
    EXPECT_EQ(age()->text(), "15");
}

TEST_F(DirectoryEntry, TabbingThroughANewPersonHopsToTheNextTab)
{
    // Editing a person: no hop.
    box(2)->setFocus();
    settle();
    tabOut(box(2));
    EXPECT_EQ(screen().SSTabCtl->currentIndex(), 0);

    click("cmdAdd");
    box(2)->setFocus();
    settle();
    tabOut(box(2));
    EXPECT_EQ(screen().SSTabCtl->currentIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), box(3));
    EXPECT_TRUE(box(3)->isVisible());
    EXPECT_FALSE(box(2)->isVisible());

    comments()->setFocus();
    settle();
    tabOut(comments());
    EXPECT_EQ(screen().SSTabCtl->currentIndex(), 2);
    EXPECT_EQ(QApplication::focusWidget(), box(16));
}

TEST_F(DirectoryEntry, AddFromAnotherTabStartsOnTheFirstName)
{
    for (const char* command : {"cmdAdd", "cmdClone"}) {
        screen().SSTabCtl->setCurrentIndex(1);
        comments()->setFocus();
        settle();
        QTest::mouseClick(button(command), Qt::LeftButton);
        settle();
        EXPECT_EQ(screen().SSTabCtl->currentIndex(), 0) << command;
        EXPECT_EQ(QApplication::focusWidget(), box(11)) << command;
        EXPECT_EQ(box(11)->selectedText(), "New Profile") << command;
        click("cmdCancel");
    }
}

TEST_F(DirectoryEntry, OnlyTheChosenTabsPanelShows)
{
    for (int tab = 0; tab < 4; ++tab) {
        screen().SSTabCtl->setCurrentIndex(tab);
        for (int panel = 0; panel < 3; ++panel)
            EXPECT_EQ(screen().TabPanel[panel]->isVisible(), panel == tab) << tab;
        EXPECT_EQ(screen().MugShot->isVisible(), tab == 3);
    }
}

TEST(DirectoryLayoutRule, KeepsTheTabsAsWideAsTheBarAndOnlyShrinksTheList)
{
    DirectoryLayoutInput in;
    in.width = 12000;
    in.height = 8000;
    in.tabLeft = 120;
    in.tabTop = 1140;
    in.updatedBoxHeight = 330;
    in.createdBoxHeight = 300;
    in.navPanelWidth = 10320;
    in.printButtonWidth = 1500;
    in.listTop = 930;
    in.listHeight = 3900;

    DirectoryLayout out = ComputeDirectoryLayout(in);
    EXPECT_EQ(out.stampTop, 8000 - 330 - 480);
    EXPECT_EQ(out.tabWidth, 12000 - 240);
    EXPECT_EQ(out.tabHeight, 8000 - 1140 - 480 - 300 - 70);
    EXPECT_EQ(out.printLeft, 120 + 11760 - 1500);
    EXPECT_EQ(out.listHeight, 3900);

    in.width = 6000; // narrower than the navigation bar
    out = ComputeDirectoryLayout(in);
    EXPECT_EQ(out.tabWidth, 10320);
    EXPECT_EQ(out.printLeft, 120 + 10320 - 1500);

    in.height = 5000; // the tabs end above the list's bottom: the list shrinks
    out = ComputeDirectoryLayout(in);
    EXPECT_EQ(out.tabHeight, 5000 - 1140 - 480 - 300 - 70);
    EXPECT_EQ(out.listHeight, out.tabHeight - 930 - 20);

    in.height = 1000; // never below nothing
    out = ComputeDirectoryLayout(in);
    EXPECT_EQ(out.tabHeight, 0);
    EXPECT_EQ(out.listHeight, 0);
}

TEST_F(DirectoryEntry, ResizingFollowsTheRuleOnScreen)
{
    frmDirectory& s = screen();
    const int listHeight = s.Attendance_Record->height();
    s.resize(s.NavPanel->width() / 2, 300);
    EXPECT_EQ(s.SSTabCtl->width(), s.NavPanel->width());
    EXPECT_EQ(s.cmdPrintProfile->geometry().right(), s.SSTabCtl->geometry().right());
    EXPECT_EQ(s.cmdPrintProfile->y(), s.txtFields.at(29)->y());
    const int shrunk = s.Attendance_Record->height();
    EXPECT_LT(shrunk, listHeight);
    s.resize(s.NavPanel->width() * 2, 1500);
    EXPECT_EQ(s.Attendance_Record->height(), shrunk); // enlarging never makes it taller
    EXPECT_GT(s.SSTabCtl->width(), s.NavPanel->width());
}

} // namespace
