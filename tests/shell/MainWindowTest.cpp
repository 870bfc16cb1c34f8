#include "shell/Forms.h"
#include "shell/Panel.h"
#include "shell/ProgramState.h"
#include "shell/ScreenRegistry.h"
#include "shell/ShellLayout.h"
#include "shell/ShowReport.h"
#include "shell/WindowHelpers.h"
#include "shell/frmMainMDI.h"
#include "platform/ui/Twips.h"
#include "tests/support/ScreenDoubles.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

using testing_support::CaptionOnlyReport;
using testing_support::RecordingPreview;
using testing_support::RecordingScreen;
using testing_support::RecordingScreens;

namespace {

ShellMetrics sampleMetrics(double panelWidth)
{
    ShellMetrics m;
    m.mdiPanelWidth = panelWidth;
    m.mdiPanelHeight = 9000;
    m.toolbarHeight = 400;
    m.statusBarHeight = 300;
    m.statusBarVisible = true;
    m.treeTop = 100;
    m.splitterWidth = 75;
    m.splitterBorder = 15;
    m.splitterBevel = 10;
    m.titleHeight = 480;
    m.titleBorder = 15;
    m.titleBevel = 5;
    m.titleInnerLeft = 90;
    m.titleInnerBevel = 8;
    return m;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program().MainForm = std::make_unique<frmMainMDI>();
        main().Load();
    }

    frmMainMDI& main() { return *program().MainForm; }
    QString title() { return main().TitlePanelInner->Caption(); }
    QString currentName()
    {
        return main().CurrentForm() ? main().CurrentForm()->objectName() : QString();
    }
    QTreeWidgetItem* node(int index)
    {
        QTreeWidgetItem* root = main().SSTree1->topLevelItem(0);
        return index == 1 ? root : root->child(index - 2);
    }
    void clickNode(int index)
    {
        QTreeWidgetItem* item = node(index);
        main().SSTree1->scrollToItem(item);
        const QRect r = main().SSTree1->visualItemRect(item);
        QTest::mouseClick(main().SSTree1->viewport(), Qt::LeftButton, {}, r.center());
    }

    RecordingScreens screens;
};

} // namespace

TEST(ShellLayoutTable, ClampsTheTreeWidth)
{
    const std::tuple<double, double, double> cases[] = {
        // x asked, panel width, tree width
        {500, 12000, 1700},    {1650, 12000, 1700}, {1700, 12000, 1700}, {4000, 12000, 4000},
        {10400, 12000, 10300}, {500, 3000, 1300},   {2500, 3400, 1700},
    };
    for (const auto& [x, panel, expected] : cases) {
        double width = x;
        const ShellLayout l = ComputeShellLayout(width, sampleMetrics(panel));
        EXPECT_EQ(width, expected) << x << " in " << panel;
        EXPECT_EQ(l.tree.width, expected);
        EXPECT_EQ(l.splitter.left, expected);
    }
}

TEST(ShellLayoutTable, PlacesTitleContentSplitterAndMask)
{
    double x = 2000;
    const ShellLayout l = ComputeShellLayout(x, sampleMetrics(12000));
    EXPECT_EQ(l.content.left, 2000 + 75 + 2 * 15);
    EXPECT_EQ(l.content.width, 12000 - 2105);
    EXPECT_EQ(l.title.left, 2105 - 15);
    EXPECT_EQ(l.title.width, l.content.width);
    EXPECT_EQ(l.title.top, 100 - 20);
    EXPECT_EQ(l.content.top, 100 + 480);
    EXPECT_EQ(l.tree.height, 9000 - 400 - 300);
    EXPECT_EQ(l.content.height, 8300 - 480 - 250);
    EXPECT_EQ(l.splitter.top, 80);
    EXPECT_EQ(l.splitter.height, 8300 + 30);
    EXPECT_EQ(l.mask.width, 90 - 8);
    EXPECT_EQ(l.mask.left, 2090 - 15 - 5 - 15 - 10 - 20);
    EXPECT_EQ(l.mask.top, 80 + 5 + 15 + 25);
    EXPECT_EQ(l.mask.height, 480 - 2 * (5 + 15) - 50);
    EXPECT_EQ(l.maskLine.left, l.mask.left);
    EXPECT_EQ(l.maskLine.width, l.mask.width);
    EXPECT_EQ(l.maskLine.top, l.mask.top - 20);

    ShellMetrics noStatus = sampleMetrics(12000);
    noStatus.statusBarVisible = false;
    const ShellLayout full = ComputeShellLayout(x, noStatus);
    EXPECT_EQ(full.tree.height, 9000 - 400);

    const ui::TwipsRect inner = TitleInnerRect(6000, 480);
    EXPECT_EQ(inner.left, 90);
    EXPECT_EQ(inner.top, 90);
    EXPECT_EQ(inner.width, 5820);
    EXPECT_EQ(inner.height, 300);
}

TEST(ShellLayoutTable, SplitterDragStaysInsideTheWindow)
{
    EXPECT_EQ(DraggedSplitterLeft(1700, -1500, 9000), 500);
    EXPECT_EQ(DraggedSplitterLeft(1700, 300, 9000), 2000);
    EXPECT_EQ(DraggedSplitterLeft(8000, 900, 9000), 8500);
    EXPECT_EQ(DraggedSplitterLeft(300, 0, 800), 300); // upper clamp wins in a narrow window
}

TEST_F(MainWindowTest, LoadShowsTheStartPageUnderItsTitle)
{
    EXPECT_EQ(screens.log.events, QStringList{QStringLiteral("load frmDefault#1")});
    EXPECT_EQ(title(), QStringLiteral("  Your Group Today"));
    EXPECT_EQ(main().CurrentNodeIndex(), 1);
    EXPECT_FALSE(main().VisitorMode());
    EXPECT_FALSE(main().EvalsDone());
    EXPECT_EQ(main().CurrentForm()->Parent(), main().ContentPanel);
    EXPECT_EQ(main().CurrentForm()->OriginalParent(), nullptr);
    EXPECT_EQ(main().ContentPanel->Caption(), QStringLiteral("Please Wait..."));

    QTreeWidget* tree = main().SSTree1;
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), QStringLiteral("Start"));
    EXPECT_TRUE(root->isExpanded());
    QStringList children;
    for (int i = 0; i < root->childCount(); ++i)
        children << root->child(i)->text(0);
    EXPECT_EQ(children, (QStringList{"Visitors", "Members", "Service Info", "Reports"}));
    EXPECT_EQ(frmMainMDI::NodeIndexOf(QStringLiteral("weekly")), 4);
}

TEST_F(MainWindowTest, MenusCarryTheirCaptions)
{
    EXPECT_EQ(main().mnuFile->title(), QStringLiteral("&File"));
    EXPECT_EQ(main().mnuTools->title(), QStringLiteral("&Tools"));
    EXPECT_EQ(main().mnuHelp->title(), QStringLiteral("&Help"));
    EXPECT_EQ(main().mnuExport->text(), QStringLiteral("&Export Directory"));
    EXPECT_EQ(main().mnuBackupData->text(), QStringLiteral("&Backup Data"));
    EXPECT_EQ(main().mnuExit->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(main().mnuOptions->text(), QStringLiteral("&Options"));
    EXPECT_EQ(main().mnuOnlineHelp->text(), QStringLiteral("&Online Help"));
    EXPECT_EQ(main().mnuWebsite->text(), QStringLiteral("&Corvessa Website"));
    EXPECT_EQ(main().mnuAbout->text(), QStringLiteral("&About"));
    for (QAction* command :
         {main().mnuExport, main().mnuBackupData, main().mnuExit, main().mnuOptions,
          main().mnuOnlineHelp, main().mnuWebsite, main().mnuAbout})
        EXPECT_TRUE(command->isEnabled()) << command->objectName().toStdString();
}

TEST_F(MainWindowTest, EveryNodeClickMakesAFreshScreen)
{
    bool visitorModeAtLoad = false;
    screens.onLoad = [&](RecordingScreen&) {
        visitorModeAtLoad = program().MainForm->VisitorMode();
    };

    clickNode(2);
    EXPECT_TRUE(visitorModeAtLoad);
    EXPECT_TRUE(main().VisitorMode());
    EXPECT_EQ(title(), QStringLiteral("  Visitors Directory"));
    EXPECT_EQ(currentName(), QStringLiteral("frmDirectory"));

    clickNode(3);
    EXPECT_FALSE(visitorModeAtLoad);
    EXPECT_FALSE(main().VisitorMode());
    EXPECT_EQ(title(), QStringLiteral("  Members Directory"));

    clickNode(3); // the node already shown
    clickNode(4);
    EXPECT_EQ(title(), QStringLiteral("  Services/Meetings"));
    clickNode(5);
    EXPECT_EQ(title(), QStringLiteral("  Reports"));
    EXPECT_EQ(main().CurrentNodeIndex(), 5);

    EXPECT_EQ(screens.log.events,
              (QStringList{"load frmDefault#1", "unload frmDefault#1", "load frmDirectory#2",
                           "unload frmDirectory#2", "load frmDirectory#3", "unload frmDirectory#3",
                           "load frmDirectory#4", "unload frmDirectory#4", "load frmServices#5",
                           "unload frmServices#5", "load frmReports#6"}));
    flushDeletes();
    // Only the hosted screen is left loaded, beside the main window.
    EXPECT_EQ(Forms::count(), 2);
}

TEST_F(MainWindowTest, ClickNodeMarksTheNodeSelected)
{
    main().ClickNode(4);
    EXPECT_EQ(main().SSTree1->currentItem(), node(4));
    EXPECT_TRUE(node(4)->isSelected());
    EXPECT_EQ(main().CurrentNodeIndex(), 4);
    EXPECT_THROW(main().ClickNode(9), std::out_of_range);
}

TEST_F(MainWindowTest, AScreenThatFailsToLoadLeavesPleaseWait)
{
    screens.onLoad = [](RecordingScreen& s) {
        if (s.objectName() == QLatin1String("frmServices"))
            throw std::runtime_error("no data file");
    };
    clickNode(4);
    EXPECT_EQ(title(), QString());
    EXPECT_EQ(GetFirstChildWindow(main().ContentPanel), nullptr);
    clickNode(5);
    EXPECT_EQ(title(), QStringLiteral("  Reports"));
    EXPECT_TRUE(screens.log.events.contains(QStringLiteral("unload frmServices#2")));
}

TEST_F(MainWindowTest, AScreenMayNavigateFromItsOwnHandler)
{
    QPointer<ContentForm> start = main().CurrentForm();
    bool stillAlive = false;
    QTimer::singleShot(0, start, [&] {
        // As a list's double-click does: the screen running this is unloaded inside the call.
        program().MainForm->ClickNode(3);
        stillAlive = !start.isNull() && start->IsUnloaded();
    });
    QTest::qWait(10);
    EXPECT_TRUE(stillAlive);
    flushDeletes();
    EXPECT_TRUE(start.isNull());
    EXPECT_EQ(title(), QStringLiteral("  Members Directory"));
}

TEST_F(MainWindowTest, PreviewRoundTripReturnsToAFreshScreen)
{
    clickNode(5);
    QPointer<ContentForm> reports = main().CurrentForm();
    ShowReport(std::make_shared<CaptionOnlyReport>(QStringLiteral("Group Directory")), true);

    auto* preview = qobject_cast<RecordingPreview*>(main().CurrentForm());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(title(), QStringLiteral("  Report Preview - Group Directory"));
    EXPECT_EQ(preview->report()->Caption(), QStringLiteral("Group Directory"));
    EXPECT_EQ(program().ReturnNodeIndex, 5);
    ASSERT_FALSE(reports.isNull());
    EXPECT_FALSE(reports->IsUnloaded());
    EXPECT_TRUE(reports->isHidden());
    EXPECT_EQ(GetFirstChildWindow(main().ContentPanel), preview);

    preview->CloseByUser();
    EXPECT_EQ(title(), QStringLiteral("  Reports"));
    EXPECT_EQ(main().SSTree1->currentItem(), node(5));
    EXPECT_EQ(currentName(), QStringLiteral("frmReports"));
    EXPECT_NE(main().CurrentForm(), reports.data());
    EXPECT_TRUE(screens.log.events.contains(QStringLiteral("unload frmReports#2")));
    flushDeletes();
    EXPECT_TRUE(reports.isNull());
    EXPECT_EQ(Forms::count(), 2);
}

TEST_F(MainWindowTest, ClickingAnotherNodeUnderAPreviewDoesNotNavigateBack)
{
    clickNode(5);
    ShowReport(std::make_shared<CaptionOnlyReport>(QStringLiteral("Team Roster")), true);
    screens.log.events.clear();

    clickNode(3);
    EXPECT_EQ(screens.log.events,
              (QStringList{"unload preview", "unload frmReports#2", "load frmDirectory#3"}));
    EXPECT_EQ(title(), QStringLiteral("  Members Directory"));
    EXPECT_EQ(main().Preview(), nullptr);
    flushDeletes();
    EXPECT_EQ(Forms::count(), 2);
}

TEST_F(MainWindowTest, APreviewWithNoRememberedNodeReturnsToTheStartPage)
{
    program().ReturnNodeIndex = 0;
    main().CurrentForm()->Unload(); // nothing hosted: nothing to remember
    main().setCurrentForm(nullptr);
    ShowReport(std::make_shared<CaptionOnlyReport>(QStringLiteral("X")), true);
    EXPECT_EQ(program().ReturnNodeIndex, 0);
    qobject_cast<RecordingPreview*>(main().CurrentForm())->CloseByUser();
    EXPECT_EQ(title(), QStringLiteral("  Your Group Today"));
}

TEST_F(MainWindowTest, ExitUnloadsEverythingWithoutNavigating)
{
    clickNode(5);
    ShowReport(std::make_shared<CaptionOnlyReport>(QStringLiteral("Team Roster")), true);
    auto* dialog = new QWidget;
    dialog->setObjectName(QStringLiteral("frmAbout"));
    Forms::add(dialog);
    dialog->show();
    QPointer<QWidget> watch = dialog;
    screens.log.events.clear();

    main().close();
    EXPECT_EQ(screens.log.events, (QStringList{"unload preview", "unload frmReports#2"}));
    EXPECT_TRUE(dialog->isHidden());
    EXPECT_EQ(main().CurrentForm(), nullptr);
    flushDeletes();
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(Forms::all(), QList<QWidget*>{&main()});
}

TEST_F(MainWindowTest, TheRestoredWindowLeavesRoomForItsFrameOnTheScreen)
{
    main().Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
    EXPECT_TRUE(main().isMaximized());
    // Room for a title bar of 30 pixels and borders of 5 around the restored window.
    const QRect area = main().screen()->availableGeometry();
    EXPECT_TRUE(area.contains(main().normalGeometry().adjusted(-5, -30, 5, 5)))
        << main().normalGeometry().x() << "," << main().normalGeometry().y();
}

TEST_F(MainWindowTest, SplitterDragEndsWithinTheTreeClamps)
{
    main().resize(900, 600);
    main().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
    QWidget* splitter = main().SplitterPanel;
    const QPoint start(splitter->width() / 2, splitter->height() / 2);
    QTest::mousePress(splitter, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(-300, start.y()),
                     splitter->mapToGlobal(QPointF(-300, start.y())), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(splitter, &move);
    // While dragging only the splitter moves, no further left than 500 twips.
    EXPECT_EQ(splitter->x(), ui::twipsToPixels(500, &main()));
    QTest::mouseRelease(splitter, Qt::LeftButton, {}, start);
    EXPECT_EQ(main().SSTree1->width(), ui::twipsToPixels(1700, &main()));
}

TEST_F(MainWindowTest, APreviewThatCannotTakeTheReportIsNotLeftBehind)
{
    clickNode(5);
    QPointer<ContentForm> reports = main().CurrentForm();
    class Failing : public RecordingPreview {
    public:
        using RecordingPreview::RecordingPreview;
        void SetReport(std::shared_ptr<report::Report>) override
        {
            throw std::runtime_error("bad layout");
        }
    };
    ScreenRegistry::registerScreen(QStringLiteral("frmCustomActiveReportsPreview"),
                                   [this] { return new Failing(screens.log); });
    EXPECT_THROW(ShowReport(std::make_shared<CaptionOnlyReport>(QStringLiteral("X")), true),
                 std::runtime_error);
    flushDeletes();
    EXPECT_EQ(main().CurrentForm(), reports.data());
    EXPECT_EQ(title(), QStringLiteral("  Reports"));
    EXPECT_EQ(Forms::count(), 2);
}
