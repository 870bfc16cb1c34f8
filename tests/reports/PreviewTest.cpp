#include "reports/frmCustomActiveReportsPreview.h"
#include "shell/Panel.h"
#include "shell/ProgramState.h"
#include "shell/ScreenRegistry.h"
#include "shell/ShowReport.h"
#include "shell/frmMainMDI.h"
#include "platform/report/ReportViewer.h"
#include "tests/support/ScreenDoubles.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

class TwoLineReport : public report::Report {
public:
    explicit TwoLineReport(int* formats) : m_formats(formats)
    {
        setCaption(QStringLiteral("Team Roster"));
        Detail().setHeight(300);
        Detail()
            .Controls()
            .add<report::Label>(QStringLiteral("txtLine"))
            .setBounds(0, 0, 3000, 300);
        Detail().onFormat([this] {
            ++*m_formats;
            if (++m_rows <= 2) {
                Detail()
                    .Controls()
                    .Item<report::Label>(QStringLiteral("txtLine"))
                    .setCaption(QStringLiteral("Line %1").arg(m_rows));
                Detail().request();
            }
        });
    }

private:
    int* m_formats;
    int m_rows = 0;
};

// Fails in two handlers, after its first row.
class BreakingReport : public report::Report {
public:
    BreakingReport()
    {
        setCaption(QStringLiteral("Roll Sheet"));
        Detail().setHeight(300);
        Detail()
            .Controls()
            .add<report::Label>(QStringLiteral("txtLine"))
            .setBounds(0, 0, 3000, 300);
        Detail().onFormat([this] {
            if (++m_rows == 2)
                Detail().Controls().Item(QStringLiteral("txtYouthName"));
            if (m_rows <= 3)
                Detail().request();
        });
        PageFooter().onFormat([] { throw std::runtime_error("footer broke"); });
    }

private:
    int m_rows = 0;
};

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ScreenRegistry::registerScreen(QStringLiteral("frmCustomActiveReportsPreview"),
                                       [] { return new frmCustomActiveReportsPreview; });
        program().MainForm = std::make_unique<frmMainMDI>();
        main().Load();
        main().resize(900, 600);
        main().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
        main().ClickNode(5);
        ShowReport(std::make_shared<TwoLineReport>(&formats), true);
        preview = qobject_cast<frmCustomActiveReportsPreview*>(main().CurrentForm());
        ASSERT_NE(preview, nullptr);
    }

    frmMainMDI& main() { return *program().MainForm; }
    QString title() { return main().TitlePanelInner->Caption(); }

    testing_support::RecordingScreens screens;
    int formats = 0;
    frmCustomActiveReportsPreview* preview = nullptr;
};

} // namespace

TEST_F(PreviewTest, HostsTheReportUnderItsCaption)
{
    EXPECT_EQ(title(), QStringLiteral("  Report Preview - Team Roster"));
    EXPECT_EQ(preview->Parent(), main().ContentPanel);
    EXPECT_EQ(preview->arvPreview->pageCount(), 1);
    EXPECT_EQ(formats, 3);
    report::ToolCollection& tools = preview->arvPreview->tools();
    EXPECT_EQ(tools.Item(tools.Count() - 1).Caption(), QStringLiteral("Close"));
    EXPECT_EQ(preview->mnuFile->title(), QStringLiteral("&File"));
    EXPECT_EQ(preview->miFClose->text(), QStringLiteral("&Close"));
    EXPECT_EQ(preview->arvPreview->geometry().bottom(), preview->rect().bottom());
}

TEST_F(PreviewTest, AReportThatFailedPartOfTheWaySaysSoOnceAndOpensWithWhatWasBuilt)
{
    EXPECT_TRUE(testenv::messages().shown().empty()); // the clean report said nothing
    ShowReport(std::make_shared<BreakingReport>(), true);
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    const auto& shown = testenv::messages().last();
    EXPECT_EQ(shown.kind, ui::MessageKind::Critical);
    EXPECT_TRUE(shown.text.contains(QStringLiteral("\"Roll Sheet\""))) << shown.text.toStdString();
    EXPECT_TRUE(shown.text.contains(QStringLiteral("Detail_Format (page 1)")));
    EXPECT_TRUE(shown.text.contains(QStringLiteral("txtYouthName")));
    EXPECT_TRUE(shown.text.contains(QStringLiteral("One more error")));
    EXPECT_EQ(title(), QStringLiteral("  Report Preview - Roll Sheet"));
    // The first row was built; the failing call made no request, which ended the rows.
    EXPECT_EQ(preview->arvPreview->document()->texts(QStringLiteral("txtLine")).size(), 1);
}

TEST_F(PreviewTest, CloseToolReturnsToAFreshScreenOfTheNode)
{
    QPointer<frmCustomActiveReportsPreview> watch = preview;
    report::ToolCollection& tools = preview->arvPreview->tools();
    tools.find(QStringLiteral("Close"))->action()->trigger();
    EXPECT_EQ(title(), QStringLiteral("  Reports"));
    EXPECT_EQ(main().CurrentForm()->objectName(), QStringLiteral("frmReports"));
    EXPECT_EQ(screens.log.events.last(), QStringLiteral("load frmReports#3"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
    // The report ran once only.
    EXPECT_EQ(formats, 3);
}

TEST_F(PreviewTest, CloseMenuItemReturnsAsWell)
{
    preview->miFClose->trigger();
    EXPECT_EQ(title(), QStringLiteral("  Reports"));
    EXPECT_EQ(main().CurrentNodeIndex(), 5);
}

TEST_F(PreviewTest, OtherToolsAreLeftToTheViewer)
{
    report::ToolCollection& tools = preview->arvPreview->tools();
    tools.find(QStringLiteral("Close")); // present
    preview->arvPreview->findChild<QAction*>(QStringLiteral("lastPageTool"))->trigger();
    EXPECT_EQ(main().CurrentForm(), preview);
}

TEST_F(PreviewTest, ExportOffersTheCaptionAsTheFileInTheDocumentsFolder)
{
    testenv::files().scriptFileName(QString()); // cancelled
    preview->arvPreview->findChild<QAction*>(QStringLiteral("exportPdfTool"))->trigger();
    ASSERT_EQ(testenv::files().asked().size(), 1u);
    EXPECT_EQ(testenv::files().asked().front().folder,
              QDir(ui::documentsFolder()).filePath(QStringLiteral("Team Roster.pdf")));
}

TEST_F(PreviewTest, UnloadedByTheShellItDoesNotNavigate)
{
    main().ClickNode(3);
    EXPECT_EQ(title(), QStringLiteral("  Members Directory"));
    EXPECT_EQ(
        screens.log.events.filter(QRegularExpression(QStringLiteral("^load frmReports"))).size(),
        1);
    EXPECT_EQ(screens.log.events.last(), QStringLiteral("load frmDirectory#3"));
}
