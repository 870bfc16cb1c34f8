#include "bench/BenchSupport.h"
#include "reports/rptLabels.h"

#include "platform/data/ConnectionString.h"
#include "platform/report/Engine.h"
#include "shell/ProgramState.h"

#include <benchmark/benchmark.h>

namespace {

// Mailing labels for the sample data's 2,000 people, one label per address, as the catalogue
// asks for them: reading and merging the addresses, making the sheets and writing the PDF.
void BM_MailingLabelsCombinedRunAndExportPdf(benchmark::State& state)
{
    static const bench::SampleFolder folder;
    ProgramState& p = program();
    p.ConnectionString = data::buildConnectionString(folder.path(), bench::SampleFolder::kDataFile);
    p.ReportCombineAddresses = true;
    p.ReportLine1 = QStringLiteral("To the Parents of");
    const QString pdf = folder.filePath(QStringLiteral("labels.pdf"));

    int labels = 0;
    int pages = 0;
    for (auto _ : state) {
        p.ReportSort = QStringLiteral("Youth_LName, Youth_FName");
        rptLabels layout;
        const auto doc = bench::runToPdf(state, layout, pdf);
        labels = layout.LabelCount();
        pages = doc->pageCount();
    }
    state.counters["labels"] = labels;
    state.counters["pages"] = pages;
    p.ReportCombineAddresses = false;
    p.ReportLine1.clear();
    p.ReportSort.clear();
}
BENCHMARK(BM_MailingLabelsCombinedRunAndExportPdf)->Unit(benchmark::kMillisecond);

} // namespace
