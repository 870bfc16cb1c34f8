#include "people/MeetingFields.h"
#include "people/MeetingsLayout.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(OfferingText, ShowsDollarsWithSeparatorsAndReadsThemBack)
{
    const struct {
        double amount;
        const char* shown;
    } amounts[] = {{0, "$0.00"},
                   {5, "$5.00"},
                   {12345.5, "$12,345.50"},
                   {1234567.891, "$1,234,567.89"},
                   {-5.25, "-$5.25"},
                   {-0.001, "$0.00"},
                   {0.125, "$0.13"}};
    for (const auto& a : amounts) {
        EXPECT_EQ(formatOffering(a.amount), a.shown) << a.amount;
        EXPECT_NEAR(parseOffering(formatOffering(a.amount)).value(), a.amount, 0.0051) << a.amount;
    }
    EXPECT_EQ(parseOffering("1250.5"), 1250.5);
    EXPECT_EQ(parseOffering(" $1,250 "), 1250.0);
    EXPECT_FALSE(parseOffering("ten"));
    EXPECT_FALSE(parseOffering("$"));
}

TEST(TypingLimit, LetsTheProgramShowMoreThanTheUserMayType)
{
    QLineEdit box;
    auto* limit = new TypingLimit(8, &box);
    box.setValidator(limit);
    QTest::keyClicks(&box, "123456789");
    EXPECT_EQ(box.text(), "12345678");

    limit->allow("$12,345.50");
    box.setText("$12,345.50");
    box.end(false);
    QTest::keyClick(&box, Qt::Key_9); // no longer than it is
    EXPECT_EQ(box.text(), "$12,345.50");
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_1); // shortened to 7, may grow back to 8
    QTest::keyClick(&box, Qt::Key_2);
    EXPECT_EQ(box.text(), "$12,3451");
}

TEST(MultiLineBox, KeepsTheTypedTextWithinItsLimit)
{
    MultiLineBox box(10);
    int edits = 0;
    QObject::connect(&box, &MultiLineBox::textEdited, [&] { ++edits; });
    box.setStoredText("A stored text longer than ten");
    EXPECT_EQ(edits, 0);
    box.moveCursor(QTextCursor::End);
    QTest::keyClicks(&box, "!");
    EXPECT_EQ(box.toPlainText(), "A stored text longer than ten");
    box.clear();
    QTest::keyClicks(&box, "0123456789abc");
    EXPECT_EQ(box.toPlainText(), "0123456789");
    EXPECT_GT(edits, 0);
}

TEST(MeetingsLayout, KeepsTheMarginsAtEverySize)
{
    using namespace meetings_layout;
    for (const auto& [width, height] :
         {std::pair{18000.0, 11000.0}, std::pair{12000.0, 9000.0}, std::pair{7000.0, 5000.0}}) {
        SCOPED_TRACE(width);
        const MeetingsLayout l = layoutMeetings(width, height);
        EXPECT_DOUBLE_EQ(l.lblInstructions.bottom(), height - kBottomMargin);
        EXPECT_DOUBLE_EQ(l.MainPanel.right(),
                         std::max(width - kRightMargin, kAttendanceLeft + kSaveWidth + kAddWidth));
        EXPECT_DOUBLE_EQ(l.cmdSet.right(), l.MainPanel.right() - 10);
        EXPECT_DOUBLE_EQ(l.Select_Youth.top, l.cmdSet.bottom() + 10);
        EXPECT_DOUBLE_EQ(l.Select_Youth.width, l.MainPanel.width - l.cmdNewAttendee.width - 10);
        EXPECT_DOUBLE_EQ(l.cmdNewAttendee.left, l.Select_Youth.right() + 10);
        EXPECT_DOUBLE_EQ(l.cmdNewAttendee.height, l.Select_Youth.height);
        EXPECT_GE(l.MainPanel.height, kMinListHeight);
        if (height >= 9000) { // room for everything: nothing overlaps the instructions
            EXPECT_LE(l.bc_Entry.bottom(), l.lblInstructions.top);
            EXPECT_LE(l.lblItemCount.right(), l.cmdSet.left);
        }
    }
}

} // namespace
