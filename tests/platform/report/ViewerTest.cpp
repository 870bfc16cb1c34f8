#include "tests/platform/report/TestLayouts.h"
#include "tests/support/TestEnvironment.h"

#include "platform/report/ReportViewer.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace report;
using reporttest::numberedRows;
using reporttest::RowsLayout;

namespace {

// Five pages of one row each; counts handler calls and its own end.
struct FivePages : RowsLayout {
    explicit FivePages(bool* ended = nullptr)
        : RowsLayout(numberedRows(5), 14256 - 1000), m_ended(ended)
    {}
    ~FivePages() override
    {
        if (m_ended)
            *m_ended = true;
    }
    int handlerCalls() const { return int(events.size()); }
    bool* m_ended;
};

QStringList captions(const ToolCollection& tools)
{
    QStringList out;
    for (int i = 0; i < tools.Count(); ++i)
        out << tools.Item(i).Caption();
    return out;
}

void click(ReportViewer& viewer, const char* objectName)
{
    viewer.findChild<QAction*>(QString::fromLatin1(objectName))->trigger();
}

} // namespace

TEST(ReportViewer, RunsTheReportOnceAndShowsPageOne)
{
    auto layout = std::make_shared<FivePages>();
    ReportViewer viewer;
    viewer.setReport(layout);
    EXPECT_EQ(viewer.pageCount(), 5);
    EXPECT_EQ(viewer.currentPage(), 1);
    EXPECT_EQ(layout->detailFormats, 6);
    EXPECT_EQ(viewer.findChild<QSpinBox*>(QStringLiteral("pageNumber"))->value(), 1);
    EXPECT_EQ(viewer.findChild<QLabel*>(QStringLiteral("pageCount"))->text().trimmed(),
              QStringLiteral("of 5"));
    EXPECT_FALSE(viewer.pageImage().isNull());
}

TEST(ReportViewer, PagesForwardAndBackWithoutRunningTheLayoutAgain)
{
    auto layout = std::make_shared<FivePages>();
    ReportViewer viewer;
    viewer.setReport(layout);
    const int calls = layout->handlerCalls();
    QSignalSpy pages(&viewer, &ReportViewer::pageChanged);

    click(viewer, "nextPageTool");
    EXPECT_EQ(viewer.currentPage(), 2);
    click(viewer, "lastPageTool");
    EXPECT_EQ(viewer.currentPage(), 5);
    EXPECT_FALSE(viewer.findChild<QAction*>(QStringLiteral("nextPageTool"))->isEnabled());
    click(viewer, "previousPageTool");
    EXPECT_EQ(viewer.currentPage(), 4);
    click(viewer, "firstPageTool");
    EXPECT_EQ(viewer.currentPage(), 1);
    EXPECT_FALSE(viewer.findChild<QAction*>(QStringLiteral("previousPageTool"))->isEnabled());
    viewer.findChild<QSpinBox*>(QStringLiteral("pageNumber"))->setValue(3);
    EXPECT_EQ(viewer.currentPage(), 3);
    viewer.setCurrentPage(99);
    EXPECT_EQ(viewer.currentPage(), 5);

    EXPECT_EQ(pages.count(), 6);
    EXPECT_EQ(layout->handlerCalls(), calls);
}

TEST(ReportViewer, ZoomScalesThePageOnScreen)
{
    ReportViewer viewer;
    viewer.setReport(std::make_shared<FivePages>());
    const QSize at100 = viewer.pageImage().size();
    viewer.setZoom(50);
    EXPECT_EQ(viewer.zoom(), 50);
    EXPECT_NEAR(viewer.pageImage().width(), at100.width() / 2, 1);
    viewer.setZoom(1000);
    EXPECT_EQ(viewer.zoom(), 400);
}

TEST(ReportViewer, AnAddedToolComesAfterTheViewersOwnAndReportsItsClicks)
{
    ReportViewer viewer;
    viewer.setReport(std::make_shared<FivePages>());
    const int own = viewer.tools().Count();
    ASSERT_GT(own, 0);
    Tool& close = viewer.tools().Add(QStringLiteral("Close"));
    EXPECT_EQ(viewer.tools().Count(), own + 1);
    EXPECT_EQ(&viewer.tools().Item(own), &close);
    EXPECT_EQ(viewer.tools().find(QStringLiteral("Close")), &close);
    // On the tool bar too, as the last button.
    EXPECT_EQ(viewer.findChild<QToolBar*>(QStringLiteral("toolBar"))->actions().last(),
              close.action());

    QStringList clicked;
    QObject::connect(&viewer, &ReportViewer::toolClick,
                     [&clicked](Tool& tool) { clicked << tool.Caption(); });
    close.action()->trigger();
    click(viewer, "nextPageTool");
    EXPECT_EQ(clicked, QStringList({"Close", "Next Page"}));
    EXPECT_EQ(viewer.currentPage(), 2); // the viewer did its own part
    EXPECT_TRUE(captions(viewer.tools()).startsWith(QStringLiteral("Print...")));
}

TEST(ReportViewer, PrintsThroughThePrintDialogWithoutRunningTheLayoutAgain)
{
    auto layout = std::make_shared<FivePages>();
    ReportViewer viewer;
    viewer.setReport(layout);
    const int calls = layout->handlerCalls();

    EXPECT_FALSE(viewer.printReport()); // no printer chosen: cancelled
    EXPECT_EQ(testenv::printing().calls, 1);

    testenv::printing().pdfOutput = testenv::programFile(QStringLiteral("printed.pdf"));
    click(viewer, "printTool");
    EXPECT_EQ(testenv::printing().calls, 2);
    EXPECT_TRUE(QFile::exists(testenv::printing().pdfOutput));
    EXPECT_EQ(layout->handlerCalls(), calls);
    EXPECT_TRUE(testenv::messages().shown().empty());
}

TEST(ReportViewer, ExportsToThePdfFileTheUserNames)
{
    auto layout = std::make_shared<FivePages>();
    ReportViewer viewer;
    viewer.setReport(layout);
    const int calls = layout->handlerCalls();

    testenv::files().scriptFileName(QString()); // cancelled
    EXPECT_FALSE(viewer.exportPdf());

    const QString file = testenv::programFile(QStringLiteral("export.pdf"));
    testenv::files().scriptFileName(file);
    click(viewer, "exportPdfTool");
    EXPECT_TRUE(QFile::exists(file));
    ASSERT_EQ(testenv::files().asked().size(), 2u);
    EXPECT_TRUE(testenv::files().asked().back().save);
    EXPECT_EQ(testenv::files().asked().back().filter, QStringLiteral("PDF Files (*.pdf)|*.pdf"));
    EXPECT_EQ(layout->handlerCalls(), calls);

    testenv::files().scriptFileName(QStringLiteral("/nonexistent-folder/x.pdf"));
    EXPECT_FALSE(viewer.exportPdf());
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
}

TEST(ReportViewer, KeepsTheLayoutUntilItEndsOrGetsAnother)
{
    bool firstEnded = false;
    bool secondEnded = false;
    {
        ReportViewer viewer;
        viewer.setReport(std::make_shared<FivePages>(&firstEnded));
        EXPECT_FALSE(firstEnded);
        viewer.setReport(std::make_shared<FivePages>(&secondEnded));
        EXPECT_TRUE(firstEnded);
        EXPECT_FALSE(secondEnded);
    }
    EXPECT_TRUE(secondEnded);
}

TEST(ReportViewer, WithoutAReportItOffersNothingToPrintOrPage)
{
    ReportViewer viewer;
    EXPECT_EQ(viewer.pageCount(), 0);
    EXPECT_EQ(viewer.currentPage(), 0);
    EXPECT_FALSE(viewer.findChild<QAction*>(QStringLiteral("printTool"))->isEnabled());
    EXPECT_FALSE(viewer.exportPdf());
    EXPECT_TRUE(testenv::files().asked().empty());
}
