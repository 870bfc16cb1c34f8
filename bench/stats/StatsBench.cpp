#include "bench/BenchSupport.h"
#include "stats/rptAttendance.h"
#include "stats/rptGrpStats.h"
#include "stats/rptOffering.h"

#include "platform/report/Engine.h"
#include "platform/ui/Services.h"
#include "shell/ProgramState.h"

#include <benchmark/benchmark.h>

namespace {

bench::CountedMessages* g_messages = nullptr;

// Creating the layout, running it (its queries and every control) and writing the PDF: what
// a user waits for between choosing the report and holding the file.
template <class Layout>
void runAndExport(benchmark::State& state, const QString& condition, const QString& file)
{
    const QString pdf = bench::sampleFolder().filePath(file);
    for (auto _ : state) {
        program().ReportFilter = condition;
        Layout layout;
        program().ReportFilter.clear();
        const auto doc = bench::runToPdf(state, layout, pdf);
        if (!doc->errors().empty())
            state.SkipWithError(doc->errors().front().message.toUtf8().constData());
    }
    bench::failOnMessages(state, *g_messages);
}

void BM_GroupStatsRunAndExportPdf(benchmark::State& state)
{
    runAndExport<rptGrpStats>(state, QString(), QStringLiteral("grpstats.pdf"));
}
BENCHMARK(BM_GroupStatsRunAndExportPdf)->Unit(benchmark::kMillisecond);

// One year of the sample: 52 meetings and about 10,000 of the 200,000 attendance rows.
void BM_AttendanceSummaryOneYearRunAndExportPdf(benchmark::State& state)
{
    runAndExport<rptAttendance>(state, QStringLiteral("YearPart=2024"),
                                QStringLiteral("attendance.pdf"));
}
BENCHMARK(BM_AttendanceSummaryOneYearRunAndExportPdf)->Unit(benchmark::kMillisecond);

void BM_AttendanceSummaryOneYearOfOneTeamRunAndExportPdf(benchmark::State& state)
{
    runAndExport<rptAttendance>(state, QStringLiteral("Youth_Team='Blue' AND YearPart=2024"),
                                QStringLiteral("attendance-team.pdf"));
}
BENCHMARK(BM_AttendanceSummaryOneYearOfOneTeamRunAndExportPdf)->Unit(benchmark::kMillisecond);

void BM_OfferingSummaryOneYearRunAndExportPdf(benchmark::State& state)
{
    runAndExport<rptOffering>(state, QStringLiteral("YearPart=2024"),
                              QStringLiteral("offering.pdf"));
}
BENCHMARK(BM_OfferingSummaryOneYearRunAndExportPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runBenchmarks(argc, argv, [] { g_messages = bench::countMessages(); });
}
