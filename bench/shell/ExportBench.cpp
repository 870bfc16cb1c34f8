// The directory export of the sample data (2,000 people, about 1,900 of them not removed) in
// the extended form: reading the people, building the lines and writing the file in place.
#include "bench/BenchSupport.h"
#include "bench/SampleData.h"

#include "shell/DirectoryExport.h"
#include "platform/data/ConnectionString.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_ExportSampleDirectory(benchmark::State& state)
{
    QTemporaryDir folder;
    bench::writeBenchData(folder.filePath(QStringLiteral("CorvessaData.mdb")));
    const QString connection =
        data::buildConnectionString(folder.path(), QStringLiteral("CorvessaData.mdb"));
    const QString target = folder.filePath(QStringLiteral("Directory.txt"));
    const auto form = state.range(0) ? ExportForm::Extended : ExportForm::Short;
    for (auto _ : state)
        WriteDirectoryExport(connection, target, form);
    state.counters["bytes"] = static_cast<double>(QFileInfo(target).size());
}
BENCHMARK(BM_ExportSampleDirectory)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runBenchmarks(argc, argv);
}
