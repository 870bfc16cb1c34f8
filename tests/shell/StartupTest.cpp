#include "shell/Application.h"
#include "shell/Main.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "shell/frmMainMDI.h"
#include "shell/frmSplash.h"
#include "shell/Branding.h"
#include "platform/data/ConnectionString.h"
#include "platform/ui/RealServices.h"
#include "tests/support/ScreenDoubles.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScreen>
#include <QWindow>

#include <gtest/gtest.h>

namespace {
bool splashShowing()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<frmSplash*>(w) && w->isVisible())
            return true;
    return false;
}
} // namespace

TEST(Startup, SplashStaysUpUntilTheStartPageIsBuilt)
{
    testing_support::RecordingScreens screens;
    bool splashDuringLoad = false;
    bool mainShownDuringLoad = true;
    screens.onLoad = [&](testing_support::RecordingScreen&) {
        splashDuringLoad = splashShowing();
        mainShownDuringLoad = program().MainForm->isVisible();
    };

    Main();

    EXPECT_TRUE(splashDuringLoad);
    EXPECT_FALSE(mainShownDuringLoad);
    EXPECT_FALSE(splashShowing());
    ASSERT_TRUE(program().MainForm);
    EXPECT_TRUE(program().MainForm->isVisible());
    EXPECT_EQ(program().Settings->DataFileName(), QStringLiteral("CorvessaData.mdb"));
    EXPECT_EQ(
        program().ConnectionString,
        QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=") +
            QDir::toNativeSeparators(testenv::programFile(QStringLiteral("CorvessaData.mdb"))) +
            QStringLiteral(";"));
    EXPECT_EQ(data::dataSourceOf(program().ConnectionString),
              testenv::programFile(QStringLiteral("CorvessaData.mdb")));
}

TEST(Startup, TheSplashIsPaintedCentredAndAMessageOfTheLoadStandsInFrontOfIt)
{
    testing_support::RecordingScreens screens;
    frmSplash* splash = nullptr;
    bool exposed = false;
    bool keptOnTop = true;
    QWidget* messageOwner = nullptr;
    QPoint centre;
    screens.onLoad = [&](testing_support::RecordingScreen&) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* s = qobject_cast<frmSplash*>(w); s && s->isVisible())
                splash = s;
        ASSERT_NE(splash, nullptr);
        exposed = splash->windowHandle() && splash->windowHandle()->isExposed();
        keptOnTop = splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        messageOwner = ui::messageParent();
        centre = splash->frameGeometry().center();
        ui::critical(QStringLiteral("The Start page could not be shown."));
    };

    Main();

    EXPECT_TRUE(exposed);
    // A message of the load belongs to the splash, which does not stay above it.
    EXPECT_FALSE(keptOnTop);
    EXPECT_EQ(messageOwner, splash);
    EXPECT_EQ(testenv::messages().texts(), QStringList({"The Start page could not be shown."}));
    const QPoint screenCentre = QApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((centre - screenCentre).manhattanLength(), 2);
}

TEST(Startup, ReachesTheMainWindowWithoutADataFile)
{
    Main();
    EXPECT_TRUE(program().MainForm->isVisible());
    EXPECT_FALSE(QFileInfo::exists(testenv::programFile(QStringLiteral("CorvessaData.mdb"))));
}

TEST(Startup, ProgramWideValuesStartEmptyAndResetInOneCall)
{
    ProgramState& p = program();
    EXPECT_FALSE(p.Settings);
    EXPECT_FALSE(p.MainForm);
    EXPECT_TRUE(p.ReportFilter.isEmpty());
    EXPECT_EQ(p.SelectedYouthID, 0);
    EXPECT_FALSE(p.ReportCombineAddresses);
    p.ReportFilter = QStringLiteral("Youth_Status=1");
    p.SelectedYouthID = 7;
    p.ReportWeekID = 3;
    resetProgramState();
    EXPECT_TRUE(program().ReportFilter.isEmpty());
    EXPECT_EQ(program().SelectedYouthID, 0);
    EXPECT_EQ(program().ReportWeekID, 0);
}

TEST(Startup, ConnectionStringKeepsBlanksInTheFolder)
{
    EXPECT_EQ(data::buildConnectionString(QStringLiteral("/opt/My Group"),
                                          QStringLiteral("CorvessaData.mdb")),
              QStringLiteral(
                  "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=/opt/My Group/CorvessaData.mdb;"));
    EXPECT_EQ(data::dataSourceOf(QStringLiteral(
                  "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=/opt/My Group/a;b.mdb;")),
              QStringLiteral("/opt/My Group/a;b.mdb"));
}

TEST(Splash, ShowsVersionAndCopyrightOfThisYear)
{
    testenv::clock().setToday(QDate(2031, 2, 3));
    frmSplash splash;
    EXPECT_EQ(splash.lblVersion->text(), VersionText());
    EXPECT_TRUE(VersionText().startsWith(QStringLiteral("Version ")));
    EXPECT_TRUE(
        splash.lblCopyright->text().contains(QStringLiteral("-2031 Brantholme Technologies")));
    EXPECT_FALSE(splash.lblWarning->text().isEmpty());
    EXPECT_EQ(splash.lblVersion->frameShape(), QFrame::NoFrame);
}

TEST(Startup, AnErrorEscapingStartUpIsShownAndEndsTheProgram)
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    const int status = RunProgram(*app, [] {
        program().ReportFilter = QStringLiteral("left over");
        throw std::runtime_error("The settings store could not be read.");
    });
    EXPECT_NE(status, 0);
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_EQ(testenv::messages().last().text,
              QStringLiteral("The settings store could not be read."));
    EXPECT_TRUE(program().ReportFilter.isEmpty());
}
