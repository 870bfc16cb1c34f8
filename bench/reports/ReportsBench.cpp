#include "bench/BenchSupport.h"
#include "bench/SampleData.h"
#include "reports/Registration.h"
#include "reports/rptDirectory.h"
#include "reports/rptProfile.h"

#include "platform/data/Connection.h"
#include "platform/data/ConnectionString.h"
#include "platform/report/Engine.h"
#include "platform/report/Registry.h"
#include "platform/ui/Services.h"
#include "shell/ProgramState.h"

#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

bench::CountedMessages* g_messages = nullptr;

// The sample data file (2,000 people, 1,040 meetings, 200,000 attendance rows), the same on
// every run.
class SampleGroup {
public:
    SampleGroup()
    {
        const QString file = QStringLiteral("CorvessaData.mdb");
        sample::writeSampleData(m_folder.filePath(file), sample::Options{});
        program().ConnectionString = data::buildConnectionString(m_folder.path(), file);
    }

    QString folder() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
};

SampleGroup& sample()
{
    static SampleGroup group;
    return group;
}

// Creating the layout (its query), running it into pages and writing them to PDF: what a
// user waits for between choosing the report and holding the file.
void BM_MemberDirectoryRunAndExportPdf(benchmark::State& state)
{
    const QString file = sample().folder() + QStringLiteral("/directory.pdf");
    int pages = 0;
    for (auto _ : state) {
        rptDirectory layout;
        const auto doc = report::run(layout);
        if (!doc->exportPdf(file))
            state.SkipWithError("PDF not written");
        pages = doc->pageCount();
    }
    state.counters["pages"] = pages;
    if (g_messages->count != 0)
        state.SkipWithError(g_messages->last.toUtf8().constData());
}
BENCHMARK(BM_MemberDirectoryRunAndExportPdf)->Unit(benchmark::kMillisecond);

// The same without the PDF: what the preview waits for before it shows page 1.
void BM_MemberDirectoryRun(benchmark::State& state)
{
    sample();
    for (auto _ : state) {
        rptDirectory layout;
        benchmark::DoNotOptimize(report::run(layout));
    }
}
BENCHMARK(BM_MemberDirectoryRun)->Unit(benchmark::kMillisecond);

// One full page of cards painted for the screen at 100% (96 dots per inch).
void BM_MemberDirectoryPagePaintedAt100Percent(benchmark::State& state)
{
    sample();
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
    const QString pdf = sample().folder() + QStringLiteral("/list.pdf");
    int pages = 0;
    int rows = 0;
    for (auto _ : state) {
        program().ReportOption = QString::fromLatin1(option);
        program().ReportLine1 = QStringLiteral("Winter Retreat");
        program().ReportLine2 = QStringLiteral("Bring a sleeping bag");
        const std::shared_ptr<report::Report> layout = report::createLayout(name);
        program().ReportOption.clear();
        const auto doc = report::run(*layout);
        if (!doc->exportPdf(pdf))
            state.SkipWithError("PDF not written");
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
    const QString folder = sample().folder();
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
        const auto doc = report::run(layout);
        if (!doc->exportPdf(file))
            state.SkipWithError("PDF not written");
        if (doc->items(QStringLiteral("Photo")).empty())
            state.SkipWithError("no photo on the sheet");
    }
    state.counters["photo_bytes"] = double(photoBytes);
    if (g_messages->count != 0)
        state.SkipWithError(g_messages->last.toUtf8().constData());
}
BENCHMARK(BM_ProfileSheetRunAndExportPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runBenchmarks(argc, argv, [] {
        auto messages = std::make_unique<bench::CountedMessages>();
        g_messages = messages.get();
        ui::services().messages = std::move(messages);
        RegisterReports();
    });
}
