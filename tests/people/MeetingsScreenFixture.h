#pragma once

#include "people/frmServices.h"
#include "shell/ProgramState.h"
#include "shell/ScreenRegistry.h"
#include "shell/frmMainMDI.h"
#include "tests/support/DataFixture.h"
#include "tests/support/ScreenDoubles.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QDate& d, std::ostream* os)
{
    *os << d.toString(Qt::ISODate).toStdString();
}
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '{' << l.join(QStringLiteral(" | ")).toStdString() << '}';
}

// The meetings screen hosted in a real main window on a test data file, driven as a user
// drives it: clicks, key presses and typing into the named controls.
class MeetingsScreenTest : public ::testing::Test {
protected:
    using Answer = ui::Answer;

    // Opens the main window on the Start page, then the meetings screen ("Service Info").
    frmServices& open()
    {
        ScreenRegistry::registerScreen(QStringLiteral("frmServices"),
                                       [] { return new frmServices(); });
        if (!program().MainForm) {
            program().MainForm = std::make_unique<frmMainMDI>();
            main().Load();
            main().Show();
            QApplication::setActiveWindow(&main());
        }
        main().ClickNode(4);
        return screen();
    }
    frmMainMDI& main() { return *program().MainForm; }
    frmServices& screen() { return *qobject_cast<frmServices*>(main().CurrentForm()); }
    // Leaves the screen for the Start page.
    void leave() { main().ClickNode(1); }

    template <class T = QWidget> T* control(const char* name)
    {
        T* w = screen().findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // The bound box of a field of the meeting.
    QWidget* box(const char* field)
    {
        for (QWidget* w : screen().findChildren<QWidget*>(QStringLiteral("txtFields")))
            if (w->property("DataField").toString() == QLatin1String(field))
                return w;
        ADD_FAILURE() << "no box for " << field;
        return nullptr;
    }
    QString text(const char* field)
    {
        QWidget* w = box(field);
        if (auto* line = qobject_cast<QLineEdit*>(w))
            return line->text();
        return qobject_cast<QPlainTextEdit*>(w)->toPlainText();
    }
    // Replaces a box's text by typing, and leaves the box with Tab.
    void type(QWidget* w, const QString& text)
    {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Delete);
        QTest::keyClicks(w, text);
        QTest::keyClick(w, Qt::Key_Tab);
    }
    void click(const char* name)
    {
        auto* b = control<QPushButton>(name);
        ASSERT_TRUE(b->isVisible() && b->isEnabled()) << name << " cannot be clicked";
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // The list as "[x] Adams, Ann" / "[ ] Brown, Bob" lines.
    QStringList list()
    {
        QStringList lines;
        auto* l = control<QListWidget>("AttendedList");
        for (int i = 0; i < l->count(); ++i)
            lines << (l->item(i)->checkState() == Qt::Checked ? QStringLiteral("[x] ")
                                                              : QStringLiteral("[ ] ")) +
                         l->item(i)->text();
        return lines;
    }
    // Ticks or unticks an entry as the user does: select it and press the space bar.
    void toggle(const QString& name)
    {
        auto* l = control<QListWidget>("AttendedList");
        const auto found = l->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        l->setFocus();
        l->setCurrentItem(found.front());
        QTest::keyClick(l, Qt::Key_Space);
    }
    bool saveListShown() { return !control<QPushButton>("cmdSet")->isHidden(); }
    QString count() { return control<QLabel>("lblItemCount")->text(); }
    // Chooses a person in the people drop-down and clicks Add.
    void addFromDropDown(const QString& entry)
    {
        auto* combo = control<QComboBox>("Select_Youth");
        const int i = combo->findText(entry);
        ASSERT_GE(i, 0) << entry.toStdString();
        combo->setCurrentIndex(i);
        click("cmdNewAttendee");
    }
    // A scan: the scanner types the digits and Enter into the scan box.
    void scan(const QString& digits)
    {
        auto* entry = control<QLineEdit>("bc_Entry");
        QTest::mouseClick(entry, Qt::LeftButton);
        QTest::keyClicks(entry, digits);
        QTest::keyClick(entry, Qt::Key_Return);
    }
    QStringList messageTexts() { return testenv::messages().texts(); }
    // The ids stored as present at a meeting, in id order.
    QList<int> attendees(int meeting)
    {
        QList<int> ids;
        for (const auto& row : db.rows(QStringLiteral("SELECT Attend_Youth_ID FROM Attendance "
                                                      "WHERE Attend_Wk_ID = %1 ORDER BY 1")
                                           .arg(meeting)))
            ids << static_cast<int>(row[0].number());
        return ids;
    }
    QDate lastAttended(int person)
    {
        const auto v =
            db.value(QStringLiteral("SELECT Youth_Last_Attended FROM Youth WHERE Youth_ID = %1")
                         .arg(person));
        return v.isNull() ? QDate() : data::jetdate::toDate(v.number());
    }

    testing_support::DataFixture db;
    testing_support::RecordingScreens screens;
};
