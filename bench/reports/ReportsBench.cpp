#include "bench/BenchSupport.h"
#include "reports/Registration.h"
#include "reports/rptDirectory.h"
#include "reports/rptProfile.h"

#include "platform/data/Connection.h"
#include "platform/report/Engine.h"
#include "platform/report/Registry.h"
#include "platform/ui/Services.h"
#include "shell/ProgramState.h"

#include <QDir>
#include <QGuiApplication>
#include <QLocale>

#include <benchmark/benchmark.h>

namespace {

bench::CountedMessages* g_messages = nullptr;

// Creating the layout (its query), running it into pages and writing them to PDF: what a
// user waits for between choosing the report and holding the file.
void BM_MemberDirectoryRunAndExportPdf(benchmark::State& state)
{
    const QString file = bench::sampleFolder().path() + QStringLiteral("/directory.pdf");
    int pages = 0;
    for (auto _ : state) {
        rptDirectory layout;
        pages = bench::runToPdf(state, layout, file)->pageCount();
    }
    state.counters["pages"] = pages;
    bench::failOnMessages(state, *g_messages);
}
BENCHMARK(BM_MemberDirectoryRunAndExportPdf)->Unit(benchmark::kMillisecond);

// The same without the PDF: what the preview waits for before it shows page 1.
void BM_MemberDirectoryRun(benchmark::State& state)
{
    bench::sampleFolder();
    for (auto _ : state) {
        rptDirectory layout;
        benchmark::DoNotOptimize(report::run(layout));
    }
}
BENCHMARK(BM_MemberDirectoryRun)->Unit(benchmark::kMillisecond);

// One full page of cards painted for the screen at 100% (96 dots per inch).
void BM_MemberDirectoryPagePaintedAt100Percent(benchmark::State& state)
{
    bench::sampleFolder();
    rptDirectory layout;
    const auto doc = report::run(layout);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc->renderPage(1, 96));
}
BENCHMARK(BM_MemberDirectoryPagePaintedAt100Percent)->Unit(benchmark::kMillisecond);

// One list of the catalogue from choosing it to holding the PDF: the layout's creation by name
// (its query), the run into pages and the PDF, with the hand-over values the catalogue writes.
void BM_ListRunAndExportPdf(benchmark::State& state, const char* layoutName, const char* option)
{
    const QString name = QString::fromLatin1(layoutName);
    const QString pdf = bench::sampleFolder().path() + QStringLiteral("/list.pdf");
    int pages = 0;
    int rows = 0;
    for (auto _ : state) {
        program().ReportOption = QString::fromLatin1(option);
        program().ReportLine1 = QStringLiteral("Winter Retreat");
        program().ReportLine2 = QStringLiteral("Bring a sleeping bag");
        const std::shared_ptr<report::Report> layout = report::createLayout(name);
        program().ReportOption.clear();
        const auto doc = bench::runToPdf(state, *layout, pdf);
        pages = doc->pageCount();
        rows = doc->count(QStringLiteral("Detail"));
    }
    state.counters["pages"] = pages;
    state.counters["rows"] = rows;
}
BENCHMARK_CAPTURE(BM_ListRunAndExportPdf, Birthdays, "rptBirthdays", "")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListRunAndExportPdf, Schools, "rptBirthdays", "SCHOOL")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListRunAndExportPdf, VisitorsList, "rptVisitors", "")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListRunAndExportPdf, MissingData, "rptMissingData", "")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListRunAndExportPdf, MissingInAction, "rptMissingData", "MIA")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListRunAndExportPdf, SignUpSheet, "rptSignUp", "")
    ->Unit(benchmark::kMillisecond);

// The profile sheet of a person with a long attendance record and a 1 MB photo: creating
// the layout (its query), running it and writing the page to PDF, as Print Profile and the
// preview's export do.
void BM_ProfileSheetRunAndExportPdf(benchmark::State& state)
{
    const QString folder = bench::sampleFolder().path();
    ui::services().programFolder = folder;
    QDir(folder).mkpath(QStringLiteral("Photos"));
    const QString photo = QDir(folder).filePath(QStringLiteral("Photos/5.jpg"));
    const qint64 photoBytes = bench::writePhoto(photo);
    {
        data::Connection connection;
        connection.Open(program().ConnectionString);
        connection.Execute(QStringLiteral("UPDATE Youth SET Youth_PhotoFile='") + photo +
                           QStringLiteral("' WHERE Youth_ID=5;"));
    }
    program().SelectedYouthID = 5;
    const QString file = folder + QStringLiteral("/profile.pdf");
    for (auto _ : state) {
        rptProfile layout;
        const auto doc = bench::runToPdf(state, layout, file);
        if (doc->items(QStringLiteral("Photo")).empty())
            state.SkipWithError("no photo on the sheet");
    }
    state.counters["photo_bytes"] = double(photoBytes);
    bench::failOnMessages(state, *g_messages);
}
BENCHMARK(BM_ProfileSheetRunAndExportPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runBenchmarks(argc, argv, [] {
        g_messages = bench::countMessages();
        RegisterReports();
    });
}
