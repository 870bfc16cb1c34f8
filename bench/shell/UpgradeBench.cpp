// Upgrading the bench data file (the sample data: 2,000 people, 1,040 meetings, 200,000
// attendance rows; or as CORVESSA_BENCH_SCALE and CORVESSA_BENCH_DATA make it, see
// BenchSupport.h) into a fresh template, as the program does at the first start after an
// install: backup, the rows carried over in one transaction, and the file swap. peak_rss_MB is
// the highest resident memory of the whole process so far.
#include "bench/BenchSupport.h"

#include "shell/DataFile.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/data/ConnectionString.h"
#include "platform/data/Schema.h"
#include "platform/ui/Services.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

class MemorySettings final : public ui::SettingsStore {
public:
    std::optional<QString> read(const QString& section, const QString& key) const override
    {
        const auto it = m_values.find((section + QLatin1Char('/') + key).toCaseFolded());
        return it == m_values.end() ? std::nullopt : std::optional<QString>(*it);
    }
    void write(const QString& section, const QString& key, const QString& value) override
    {
        m_values.insert((section + QLatin1Char('/') + key).toCaseFolded(), value);
    }

private:
    QHash<QString, QString> m_values;
};

const QString& sampleFile()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString p = folder.filePath(QStringLiteral("sample.mdb"));
        bench::writeBenchData(p);
        return p;
    }();
    return path;
}

const QString& templateFile()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString p = folder.filePath(QStringLiteral("template.mdb"));
        data::schema::createDataFile(p);
        return p;
    }();
    return path;
}

// The highest resident memory of the process so far, in megabytes.
double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

void BM_UpgradeSampleData(benchmark::State& state)
{
    ui::services().settings = std::make_unique<MemorySettings>();
    bench::CountedMessages* messages = bench::countMessages();
    sampleFile();
    templateFile();
    const double before = peakResidentMegabytes();
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folder;
        ui::services().programFolder = folder.path();
        resetProgramState();
        settings().setDataFileName(QStringLiteral("CorvessaData.mdb"));
        program().ConnectionString =
            data::buildConnectionString(folder.path(), QStringLiteral("CorvessaData.mdb"));
        QFile::copy(sampleFile(), folder.filePath(QStringLiteral("CorvessaData.mdb")));
        QFile::copy(templateFile(), folder.filePath(QStringLiteral("CorvessaDataX.mdb")));
        state.ResumeTiming();

        UpgradeDataFile();

        state.PauseTiming();
        if (QFileInfo::exists(folder.filePath(QStringLiteral("CorvessaDataX.mdb"))))
            state.SkipWithError("the upgrade did not complete");
        state.ResumeTiming();
    }
    bench::failOnMessages(state, *messages);
    state.counters["rss_before_MB"] = before;
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
}
BENCHMARK(BM_UpgradeSampleData)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return bench::runBenchmarks(argc, argv);
}
