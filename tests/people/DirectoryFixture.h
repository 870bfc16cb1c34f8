#pragma once

#include "people/Beep.h"
#include "people/DirectoryLists.h"
#include "people/PersonPicker.h"
#include "people/TabFrame.h"
#include "people/frmDirectory.h"
#include "shell/ProgramState.h"
#include "shell/ScreenRegistry.h"
#include "shell/frmMainMDI.h"
#include "tests/support/DataFixture.h"
#include "tests/support/TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// Hosts the real directory screen in a real main window over a fresh data file, and drives it
// through its named controls as a user would.
class DirectoryFixture : public ::testing::Test {
protected:
    DirectoryFixture();
    ~DirectoryFixture() override;

    // Opens the "Members" node (or "Visitors").
    frmDirectory& open(bool visitors = false);
    frmMainMDI& main() { return *program().MainForm; }
    frmDirectory& screen();
    // Goes to the Start page, which unloads the directory.
    void leave();

    QLineEdit* box(int index);
    QPlainTextEdit* comments();
    QCheckBox* check(int index);
    PersonPicker* picker();
    QComboBox* combo(const char* name);
    template <class T = QAbstractButton> T* button(const char* name)
    {
        T* b = screen().findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }

    void click(const char* buttonName);
    // Types into a box as a user would: focus, then the keys (which replace a selected text).
    void type(int index, const QString& text);
    // Adds to the end of the text of a box.
    void append(int index, const QString& text);
    // Replaces the whole text of a box by typing.
    void retype(int index, const QString& text);
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Picks an entry of a drop-down with the mouse (its activated signal).
    void pick(QComboBox* list, int row);
    void pickText(QComboBox* list, const QString& text);
    // Lets queued work (focus changes, selections made after a focus change) run.
    void settle();

    QString counter();
    QStringList pickerTexts();
    QString pickedText();
    int currentId();

    testing_support::DataFixture db;
    int beeps = 0;
    people::BeepOverride beep{[this] { ++beeps; }};
};
