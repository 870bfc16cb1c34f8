#include "shell/Forms.h"
#include "shell/ProgramState.h"
#include "shell/WindowHelpers.h"
#include "shell/clsCorvessa.h"
#include "shell/frmMainMDI.h"
#include "shell/frmOptions.h"
#include "tests/support/ScreenDoubles.h"
#include "tests/support/TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using Write = std::tuple<QString, QString, QString>; // section, key, value

// A settings store that remembers the order of its writes.
class OrderedStore final : public ui::SettingsStore {
public:
    std::optional<QString> read(const QString& section, const QString& key) const override
    {
        return m_values.read(section, key);
    }
    void write(const QString& section, const QString& key, const QString& value) override
    {
        m_values.write(section, key, value);
        writes.emplace_back(section, key, value);
    }
    std::vector<Write> writes;

private:
    testing_support::MemorySettingsStore m_values;
};

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void store(const char* section, const char* key, const char* value)
{
    ui::settingsStore().write(QString::fromLatin1(section), QString::fromLatin1(key),
                              QString::fromLatin1(value));
}

QString stored(const char* section, const char* key)
{
    return ui::settingsStore()
        .read(QString::fromLatin1(section), QString::fromLatin1(key))
        .value_or(QStringLiteral("(absent)"));
}

void choose(QComboBox* box, int weeks)
{
    box->setCurrentIndex(box->findData(weeks));
    ASSERT_GE(box->currentIndex(), 0);
}

std::vector<bool> checks(const frmOptions& d)
{
    return {d.chkAutoGradVisitor->isChecked(), d.chkAutoGradSchool->isChecked(),
            d.chkRmndGrads->isChecked(),       d.chkRmndInactiveBday->isChecked(),
            d.chkRmndBackup->isChecked(),      d.chkVisReqLetter->isChecked(),
            d.chkVisReqCall->isChecked(),      d.chkVisReqVisit->isChecked()};
}

} // namespace

TEST(OptionsDialog, AnEmptyStoreShowsTheDefaultsAndOkStoresExactlyThemInOrder)
{
    auto* recording = new OrderedStore;
    ui::services().settings.reset(recording);

    QPointer<frmOptions> d = frmOptions::ShowOptions(nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Options"));
    EXPECT_FALSE(d->isModal());
    // Each week count shows its number and carries it.
    for (const auto& [box, first, last] :
         {std::tuple{d->Select_AutoGradWeeks, 1, 8}, std::tuple{d->Select_MIAWeeks, 1, 9},
          std::tuple{d->Select_InactiveWeeks, 9, 36}}) {
        ASSERT_EQ(box->count(), last - first + 1) << box->objectName().toStdString();
        for (int i = 0; i < box->count(); ++i) {
            EXPECT_EQ(box->itemData(i).toInt(), first + i);
            EXPECT_EQ(box->itemText(i), QString::number(first + i));
        }
    }

    EXPECT_EQ(d->txtGroupName->text(), QString());
    EXPECT_EQ(d->Select_Country->currentText(), QStringLiteral("USA"));
    EXPECT_EQ(d->Select_AutoGradWeeks->currentData().toInt(), 4);
    EXPECT_EQ(d->Select_MIAWeeks->currentData().toInt(), 4);
    EXPECT_EQ(d->Select_InactiveWeeks->currentData().toInt(), 9);
    EXPECT_EQ(checks(*d), (std::vector<bool>{true, true, true, false, true, true, false, false}));
    EXPECT_TRUE(recording->writes.empty());

    QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    const std::vector<Write> expected{
        {"GroupInfo", "GroupName", ""},           {"GroupInfo", "Country", "USA"},
        {"Members", "WeeksToMember", "4"},        {"Members", "WeeksToMIA", "4"},
        {"Members", "WeeksToInactive", "9"},      {"Members", "AutoGradVisitor", "1"},
        {"Members", "AutoGradSchool", "1"},       {"Reminders", "RemindGrad", "1"},
        {"Reminders", "RemindInactiveBday", "0"}, {"Reminders", "RemindBackup", "1"},
        {"Visitors", "VisRequireLetter", "1"},    {"Visitors", "VisRequireCall", "0"},
        {"Visitors", "VisRequireVisit", "0"},
    };
    EXPECT_EQ(recording->writes, expected);
    flushDeletes();
    EXPECT_TRUE(d.isNull());
}

TEST(OptionsDialog, ApplyReachesTheSettingsObjectAtOnceAndKeepsTheDialogOpen)
{
    EXPECT_EQ(settings().WeeksToMIA(), 4); // now cached
    QPointer<frmOptions> d = frmOptions::ShowOptions(nullptr);
    choose(d->Select_MIAWeeks, 6);
    choose(d->Select_InactiveWeeks, 20);
    d->txtGroupName->setText(QStringLiteral("Harbor Youth"));
    d->Select_Country->setCurrentText(QStringLiteral("New Zealand"));
    QTest::mouseClick(d->cmdApply, Qt::LeftButton);

    EXPECT_EQ(settings().WeeksToMIA(), 6);
    EXPECT_EQ(settings().WeeksToInactive(), 20);
    EXPECT_EQ(settings().GroupName(), QStringLiteral("Harbor Youth"));
    EXPECT_EQ(stored("GroupInfo", "Country"), QStringLiteral("New Zealand"));
    flushDeletes();
    ASSERT_FALSE(d.isNull());
    EXPECT_TRUE(d->isVisible());
    // Alt+A is Apply.
    EXPECT_EQ(d->cmdApply->shortcut(), QKeySequence(Qt::ALT | Qt::Key_A));
    d->close();
}

TEST(OptionsDialog, CtrlTabCyclesTheTabsAndOnlyTheFrontPageTakesInput)
{
    QPointer<frmOptions> d = frmOptions::ShowOptions(nullptr);
    auto onlyFrontEnabled = [&] {
        for (int i = 0; i < 4; ++i)
            if (d->picOptions[i]->isEnabled() != (i == d->tbsOptions->currentIndex()))
                return false;
        return true;
    };
    EXPECT_EQ(d->tbsOptions->currentIndex(), 0);
    EXPECT_TRUE(onlyFrontEnabled());

    // Typed text stays while the user moves between the tabs.
    d->txtGroupName->setText(QStringLiteral("Harbor"));
    d->tbsOptions->setCurrentIndex(3);
    QTest::keyClick(d->cmdOK, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(d->tbsOptions->currentIndex(), 0); // Members wraps round to About Your Group
    QTest::keyClick(d->cmdOK, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(d->tbsOptions->currentIndex(), 3); // and back again
    QTest::keyClick(d->cmdOK, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(d->tbsOptions->currentIndex(), 2);
    QTest::keyClick(d->cmdOK, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(onlyFrontEnabled());
    QTest::keyClick(d->Select_MIAWeeks, Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(d->tbsOptions->currentIndex(), 0); // Alt plays no part
    QTest::keyClick(d->txtGroupName, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(d->tbsOptions->currentIndex(), 0); // Shift+Tab alone moves no tab
    QTest::keyClick(d->txtGroupName, Qt::Key_Tab);
    EXPECT_EQ(d->tbsOptions->currentIndex(), 0);
    EXPECT_TRUE(onlyFrontEnabled());

    QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    EXPECT_EQ(stored("GroupInfo", "GroupName"), QStringLiteral("Harbor"));
}

TEST(OptionsDialog, CancelCloseAndEscapeStoreNothing)
{
    store("Members", "WeeksToMIA", "5");
    store("GroupInfo", "GroupName", "Harbor Youth");
    for (int way = 0; way < 3; ++way) {
        QPointer<frmOptions> d = frmOptions::ShowOptions(nullptr);
        EXPECT_EQ(d->Select_MIAWeeks->currentData().toInt(), 5);
        choose(d->Select_MIAWeeks, 2);
        d->txtGroupName->setText(QStringLiteral("Changed"));
        d->chkRmndGrads->setChecked(false);
        if (way == 0)
            QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
        else if (way == 1)
            d->close();
        else
            QTest::keyClick(d->txtGroupName, Qt::Key_Escape);
        flushDeletes();
        EXPECT_TRUE(d.isNull()) << way;
        EXPECT_EQ(testenv::settings().keyCount(), 2) << way;
        EXPECT_EQ(stored("Members", "WeeksToMIA"), QStringLiteral("5"));
        EXPECT_EQ(stored("GroupInfo", "GroupName"), QStringLiteral("Harbor Youth"));
    }
}

TEST(OptionsDialog, StoredValuesOutsideTheListsAreKeptAndUnreadableOnesToldAndDefaulted)
{
    store("Members", "WeeksToMember", "12");
    store("Members", "WeeksToInactive", "many");
    store("Members", "AutoGradSchool", "abc");
    store("Members", "AutoGradVisitor", "True"); // as the settings object writes it
    store("Reminders", "RemindInactiveBday", "-1");
    store("Reminders", "RemindGrad", "False");

    QPointer<frmOptions> d = frmOptions::ShowOptions(nullptr);
    EXPECT_EQ(d->Select_AutoGradWeeks->currentIndex(), -1);
    EXPECT_TRUE(d->chkAutoGradVisitor->isChecked());
    EXPECT_TRUE(d->chkRmndInactiveBday->isChecked());
    EXPECT_FALSE(d->chkRmndGrads->isChecked());
    // Text that does not read is told once in the run and shows the default, which is stored
    // only on OK.
    EXPECT_EQ(d->Select_InactiveWeeks->currentData().toInt(), 9);
    EXPECT_TRUE(d->chkAutoGradSchool->isChecked());
    ASSERT_EQ(testenv::messages().shown().size(), 2u);
    EXPECT_TRUE(testenv::messages().shown()[0].text.startsWith(
        "The stored setting WeeksToInactive holds \"many\", which is not a whole number."));
    EXPECT_TRUE(testenv::messages().shown()[1].text.startsWith(
        "The stored setting AutoGradSchool holds \"abc\""));
    EXPECT_EQ(stored("Members", "WeeksToInactive"), QStringLiteral("many"));
    EXPECT_EQ(settings().WeeksToInactive(), 9);
    EXPECT_TRUE(settings().AutoGradSchool());
    EXPECT_EQ(testenv::messages().shown().size(), 2u);

    choose(d->Select_MIAWeeks, 3);
    QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    // A box without a chosen entry leaves its stored count alone; the rest is written.
    EXPECT_EQ(stored("Members", "WeeksToMember"), QStringLiteral("12"));
    EXPECT_EQ(stored("Members", "WeeksToInactive"), QStringLiteral("9"));
    EXPECT_EQ(stored("Members", "WeeksToMIA"), QStringLiteral("3"));
    EXPECT_EQ(stored("Members", "AutoGradSchool"), QStringLiteral("1"));
    EXPECT_EQ(stored("Members", "AutoGradVisitor"), QStringLiteral("1"));
    EXPECT_EQ(stored("Reminders", "RemindInactiveBday"), QStringLiteral("1"));
    EXPECT_EQ(settings().WeeksToMember(), 12);
}

TEST(OptionsDialog, AStoreThatCannotBeWrittenIsReportedAndTheDialogStays)
{
    QPointer<frmOptions> d = frmOptions::ShowOptions(nullptr);
    choose(d->Select_MIAWeeks, 7);
    testenv::settings().failWrites = true;
    QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_FALSE(testenv::messages().last().text.isEmpty());
    flushDeletes();
    ASSERT_FALSE(d.isNull());
    EXPECT_EQ(d->Select_MIAWeeks->currentData().toInt(), 7); // nothing the user chose is lost

    testenv::settings().failWrites = false;
    QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    EXPECT_EQ(settings().WeeksToMIA(), 7);
}

TEST(OptionsDialog, TheToolsMenuShowsOneDialogThatReadsTheStoreAfreshEachTime)
{
    testing_support::RecordingScreens screens;
    frmMainMDI main;
    main.Load();
    main.mnuOptions->trigger();
    QPointer<frmOptions> first = main.findChild<frmOptions*>();
    ASSERT_FALSE(first.isNull());
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    first->txtGroupName->setText(QStringLiteral("Typed"));
    main.mnuOptions->trigger(); // the open dialog comes to the front, with what was typed
    EXPECT_EQ(main.findChildren<frmOptions*>().size(), 1);
    EXPECT_EQ(first->txtGroupName->text(), QStringLiteral("Typed"));

    QTest::mouseClick(first->cmdCancel, Qt::LeftButton);
    flushDeletes();
    store("GroupInfo", "GroupName", "Harbor Youth");
    main.mnuOptions->trigger();
    QPointer<frmOptions> second = main.findChild<frmOptions*>();
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(second->txtGroupName->text(), QStringLiteral("Harbor Youth"));

    // Leaving the program closes the dialog without saving it.
    second->txtGroupName->setText(QStringLiteral("Not saved"));
    main.close();
    flushDeletes();
    EXPECT_TRUE(second.isNull());
    EXPECT_EQ(FindFormIndex(QStringLiteral("frmOptions")), -1);
    EXPECT_EQ(stored("GroupInfo", "GroupName"), QStringLiteral("Harbor Youth"));
}
