#include "tools/render-report/RenderReport.h"
#include "shell/ProgramState.h"
#include "platform/report/Registry.h"
#include "platform/ui/Services.h"
#include "tests/platform/report/TestLayouts.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

// What the demo layout found in the hand-over values while it was made.
struct Seen {
    QString filter, sort, option, line1, line2, connection, folder;
    bool combine = false;
    std::int32_t weekId = 0, youthId = 0;
};
Seen g_seen;

class HandOverLayout final : public reporttest::DirectoryShapedLayout {
public:
    HandOverLayout() : DirectoryShapedLayout(4)
    {
        const ProgramState& p = program();
        g_seen = {p.ReportFilter, p.ReportSort,       p.ReportOption,      p.ReportLine1,
                  p.ReportLine2,  p.ConnectionString, ui::programFolder(), p.ReportCombineAddresses,
                  p.ReportWeekID, p.SelectedYouthID};
        ui::information(QStringLiteral("There are no records to print on this report."),
                        QStringLiteral("No Matching Records"));
        PageHeader().onFormat([] {
            if (g_headerBreaks)
                throw std::runtime_error("header broke");
        });
    }
    static inline bool g_headerBreaks = true;
};

class RenderReportTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        HandOverLayout::g_headerBreaks = true;
        report::registerLayout(QStringLiteral("rptHandOver"),
                               [] { return std::make_shared<HandOverLayout>(); });
    }
    void TearDown() override { report::unregisterLayout(QStringLiteral("rptHandOver")); }

    int render(QStringList args)
    {
        args.prepend(QStringLiteral("render-report"));
        QTextStream err(&m_err);
        return tools::renderReport(args, err);
    }
    QString m_err;
};

} // namespace

TEST_F(RenderReportTool, HandsTheValuesToTheLayoutAndWritesThePdf)
{
    const QString out = testenv::programFile(QStringLiteral("out.pdf"));
    const int result =
        render({"rptHandOver", "/data/group", out, "--filter", "Youth_Status=1", "--sort",
                "Youth_Zip", "--option", "SCHOOL", "--line1", "Lock-in", "--line2",
                "Bring a pillow", "--combine", "--week-id", "12", "--youth-id", "40000"});
    // A failed handler leaves the PDF written but the run marked as failed.
    EXPECT_EQ(result, tools::RanWithErrors) << m_err.toStdString();
    EXPECT_TRUE(QFile::exists(out));
    EXPECT_EQ(g_seen.filter, QStringLiteral("Youth_Status=1"));
    EXPECT_EQ(g_seen.sort, QStringLiteral("Youth_Zip"));
    EXPECT_EQ(g_seen.option, QStringLiteral("SCHOOL"));
    EXPECT_EQ(g_seen.line1, QStringLiteral("Lock-in"));
    EXPECT_EQ(g_seen.line2, QStringLiteral("Bring a pillow"));
    EXPECT_TRUE(g_seen.combine);
    EXPECT_EQ(g_seen.weekId, 12);
    EXPECT_EQ(g_seen.youthId, 40000);
    EXPECT_EQ(g_seen.folder, QStringLiteral("/data/group"));
    EXPECT_TRUE(
        g_seen.connection.contains(QStringLiteral("Data Source=/data/group/CorvessaData.mdb;")))
        << g_seen.connection.toStdString();
    // The layout's message and its failing handler are written out, not shown.
    EXPECT_TRUE(m_err.contains(QStringLiteral("[No Matching Records] There are no records")));
    EXPECT_TRUE(m_err.contains(QStringLiteral("PageHeader_Format failed on page 1: header broke")));

    HandOverLayout::g_headerBreaks = false;
    m_err.clear();
    EXPECT_EQ(render({"rptHandOver", "/data/group", out}), tools::Rendered) << m_err.toStdString();
    EXPECT_FALSE(m_err.contains(QStringLiteral("failed")));
}

TEST_F(RenderReportTool, RefusesUnknownLayoutsAndBadArguments)
{
    const QString out = testenv::programFile(QStringLiteral("none.pdf"));
    EXPECT_EQ(render({"rptNoSuch", "/data", out}), tools::UnknownLayout);
    EXPECT_TRUE(m_err.contains(QStringLiteral("rptHandOver")));
    EXPECT_EQ(render({"rptHandOver", "/data"}), tools::BadArguments);
    EXPECT_EQ(render({"rptHandOver", "/data", out, "--week-id", "x"}), tools::BadArguments);
    EXPECT_EQ(render({"rptHandOver", "/data", out, "--colour"}), tools::BadArguments);
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(render({"rptHandOver", "/data", "/nonexistent-folder/x.pdf"}), tools::NotWritten);
}
