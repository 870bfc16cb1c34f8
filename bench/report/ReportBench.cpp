#include "tests/platform/report/TestLayouts.h"

#include "platform/report/Engine.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kPeople = 2000;

// Run a directory-shaped layout of 2,000 people and write it to PDF.
void BM_DirectoryRunAndExportPdf(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("directory.pdf"));
    int pages = 0;
    for (auto _ : state) {
        reporttest::DirectoryShapedLayout layout(kPeople);
        auto doc = report::run(layout);
        if (!doc->exportPdf(file))
            state.SkipWithError("PDF not written");
        pages = doc->pageCount();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_DirectoryRunAndExportPdf)->Unit(benchmark::kMillisecond);

void BM_DirectoryRun(benchmark::State& state)
{
    for (auto _ : state) {
        reporttest::DirectoryShapedLayout layout(kPeople);
        benchmark::DoNotOptimize(report::run(layout));
    }
}
BENCHMARK(BM_DirectoryRun)->Unit(benchmark::kMillisecond);

// One full page of cards painted for the screen at 100% (96 dots per inch).
void BM_DirectoryPagePaintedAt100Percent(benchmark::State& state)
{
    reporttest::DirectoryShapedLayout layout(kPeople);
    auto doc = report::run(layout);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc->renderPage(1, 96));
}
BENCHMARK(BM_DirectoryPagePaintedAt100Percent)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
