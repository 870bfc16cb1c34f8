#include "shell/Branding.h"
#include "shell/Forms.h"
#include "shell/ProgramState.h"
#include "shell/frmAbout.h"
#include "shell/frmMainMDI.h"
#include "shell/frmMessage.h"
#include "shell/WindowHelpers.h"
#include "tests/support/ScreenDoubles.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {
void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

TEST(AboutDialog, ShowsTheProgramAndItsMaker)
{
    QPointer<frmAbout> about = frmAbout::ShowAbout(nullptr);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Corvessa"));
    EXPECT_EQ(about->lblTitle->text(), QStringLiteral("Corvessa"));
    EXPECT_EQ(about->lblAuthor->text(), QStringLiteral("Brantholme Technologies"));
    EXPECT_EQ(about->lblVersion->text(), VersionText());
    EXPECT_EQ(about->lblDisclaimer->text(), CopyrightLine());
    EXPECT_FALSE(about->lblDescription->text().isEmpty());
    // One dialog at a time.
    EXPECT_EQ(frmAbout::ShowAbout(nullptr), about.data());
    EXPECT_EQ(FindFormIndex(QStringLiteral("frmAbout")), 0);

    QTest::mouseClick(about->cmdOK, Qt::LeftButton);
    flushDeletes();
    EXPECT_TRUE(about.isNull());
    EXPECT_TRUE(testenv::shell().opened.isEmpty());
}

TEST(AboutDialog, WebButtonClosesEvenWhenThePageCannotOpen)
{
    testenv::shell().succeed = false;
    QPointer<frmAbout> about = frmAbout::ShowAbout(nullptr);
    QTest::mouseClick(about->cmdWeb, Qt::LeftButton);
    EXPECT_EQ(testenv::shell().opened, QStringList{kProductPageUrl});
    flushDeletes();
    EXPECT_TRUE(about.isNull());
}

TEST(HelpMenu, OpensTheMakersPages)
{
    testing_support::RecordingScreens screens;
    frmMainMDI main;
    main.Load();
    main.mnuOnlineHelp->trigger();
    main.mnuWebsite->trigger();
    EXPECT_EQ(testenv::shell().opened, (QStringList{kSupportPageUrl, kHomePageUrl}));
    EXPECT_TRUE(kHomePageUrl.contains(QStringLiteral(".example/")));
    main.mnuAbout->trigger();
    EXPECT_GE(FindFormIndex(QStringLiteral("frmAbout")), 0);
    main.close();
    flushDeletes();
    EXPECT_EQ(FindFormIndex(QStringLiteral("frmAbout")), -1);
}

TEST(MessageWindow, ShowsTheCurrentListForCopying)
{
    program().BulkEmailList = QStringLiteral("a@x.example; b@y.example; ");
    QPointer<frmMessage> window = frmMessage::ShowMessage(nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Corvessa"));
    EXPECT_EQ(
        window->lblDescription->text(),
        QStringLiteral(
            "Corvessa was unable to startup a new e-mail message for you.  Instead, here is a "
            "list of matching recipients you can copy to your e-mail program using Copy "
            "(Ctrl+C) and Paste (Ctrl+V)."));
    EXPECT_EQ(window->txtContent->toPlainText(), QStringLiteral("a@x.example; b@y.example; "));

    // Still open from the earlier e-mail: the new list replaces the old one.
    program().BulkEmailList = QStringLiteral("c@z.example; ");
    EXPECT_EQ(frmMessage::ShowMessage(nullptr), window.data());
    EXPECT_EQ(window->txtContent->toPlainText(), QStringLiteral("c@z.example; "));

    QTest::mouseClick(window->cmdOK, Qt::LeftButton);
    flushDeletes();
    EXPECT_TRUE(window.isNull());
}

TEST(DialogKeys, EscapeAndEnterCloseTheAboutAndListWindows)
{
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        QPointer<frmAbout> about = frmAbout::ShowAbout(nullptr);
        QPointer<frmMessage> list = frmMessage::ShowMessage(nullptr);
        // Each where the focus starts: OK, and the list for copying.
        QTest::keyClick(about->cmdOK, key);
        QTest::keyClick(list->txtContent, key);
        flushDeletes();
        EXPECT_TRUE(about.isNull()) << key;
        EXPECT_TRUE(list.isNull()) << key;
    }
    EXPECT_TRUE(testenv::shell().opened.isEmpty());
}
