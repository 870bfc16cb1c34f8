// The Start page on the sample data (2,000 people, 1,040 meetings, 200,000 attendance rows):
// the first visit of a run, which applies the status rules to every person before it builds
// its lists, and a later visit, which only builds the lists.
#include "bench/BenchSupport.h"
#include "bench/SampleData.h"

#include "people/frmDefault.h"
#include "shell/ProgramState.h"
#include "shell/frmMainMDI.h"
#include "platform/data/ConnectionString.h"
#include "platform/ui/Services.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QListWidget>
#include <QMap>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const sample::Options kSample; // weekly meetings up to 12/29/2024

class BenchClock final : public ui::Clock {
public:
    QDateTime now() const override { return m_now; }
    void setToday(const QDate& d) { m_now = QDateTime(d, QTime(9, 0)); }

private:
    QDateTime m_now;
};

class BenchSettings final : public ui::SettingsStore {
public:
    std::optional<QString> read(const QString& section, const QString& key) const override
    {
        const auto it = m_values.find(fold(section, key));
        return it == m_values.end() ? std::nullopt : std::optional<QString>(*it);
    }
    void write(const QString& section, const QString& key, const QString& value) override
    {
        m_values.insert(fold(section, key), value);
    }
    void clear() { m_values.clear(); }

private:
    static QString fold(const QString& section, const QString& key)
    {
        return section.toLower() + QLatin1Char('/') + key.toLower();
    }
    QMap<QString, QString> m_values;
};

// A message box would stop the run: count them instead.
struct Bench {
    QTemporaryDir folder;
    QString pristine;
    QString dataFile;
    BenchClock* clock = nullptr;
    BenchSettings* settings = nullptr;
    bench::CountedMessages* messages = nullptr;

    Bench()
    {
        pristine = folder.filePath(QStringLiteral("Sample.mdb"));
        sample::writeSampleData(pristine, kSample);
        dataFile = folder.filePath(QStringLiteral("CorvessaData.mdb"));
        ui::Services& s = ui::services();
        s.clock = std::make_unique<BenchClock>();
        s.settings = std::make_unique<BenchSettings>();
        s.messages = std::make_unique<bench::CountedMessages>();
        s.programFolder = folder.path();
        clock = static_cast<BenchClock*>(s.clock.get());
        settings = static_cast<BenchSettings*>(s.settings.get());
        messages = static_cast<bench::CountedMessages*>(s.messages.get());
        program().ConnectionString =
            data::buildConnectionString(folder.path(), QStringLiteral("CorvessaData.mdb"));
        program().MainForm = std::make_unique<frmMainMDI>();
    }

    // A new run on the untouched sample data: the rules are due again.
    void newRun(const QDate& today, const QDate& lastGradeRaise)
    {
        QFile::remove(dataFile);
        QFile::copy(pristine, dataFile);
        settings->clear();
        settings->write(QStringLiteral("Members"), QStringLiteral("LastAutoGradSchoolDate"),
                        lastGradeRaise.toString(Qt::ISODate));
        clock->setToday(today);
        program().StoredReminders.clear();
        program().MainForm->setEvalsDone(false);
    }
};

Bench& bench()
{
    static Bench b;
    return b;
}

struct Visit {
    int people = 0;
    int missing = 0;
    int reminderChars = 0;
};

Visit visitStartPage()
{
    auto* page = new frmDefault;
    page->Load();
    Visit v;
    v.missing = page->List_MIA->count();
    v.reminderChars = static_cast<int>(program().StoredReminders.size());
    page->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return v;
}

void report(benchmark::State& state, const Visit& v)
{
    state.counters["missing"] = v.missing;
    state.counters["reminder_chars"] = v.reminderChars;
    if (bench().messages->count > 0)
        state.SkipWithError("A message box was shown");
}

// The first visit of a run the day after the last meeting: people are checked for absence
// and return, and every visitor's attendance of the last eight weeks is counted.
void BM_FirstVisit(benchmark::State& state)
{
    Visit v;
    for (auto _ : state) {
        state.PauseTiming();
        bench().newRun(QDate(2024, 12, 30), QDate(2024, 6, 14));
        state.ResumeTiming();
        v = visitStartPage();
    }
    report(state, v);
}
BENCHMARK(BM_FirstVisit)->Unit(benchmark::kMillisecond);

// The first visit on the day of the yearly grade raise, half a year after the last meeting:
// every grade rises and every active person becomes inactive, so nearly every row is stored.
void BM_FirstVisitOnTheDayOfTheGradeRaise(benchmark::State& state)
{
    Visit v;
    for (auto _ : state) {
        state.PauseTiming();
        bench().newRun(QDate(2025, 6, 16), QDate(2024, 6, 14));
        state.ResumeTiming();
        v = visitStartPage();
    }
    report(state, v);
}
BENCHMARK(BM_FirstVisitOnTheDayOfTheGradeRaise)->Unit(benchmark::kMillisecond);

// Every later visit of the run: the lists alone.
void BM_LaterVisit(benchmark::State& state)
{
    bench().newRun(QDate(2024, 12, 30), QDate(2024, 6, 14));
    visitStartPage();
    Visit v;
    for (auto _ : state)
        v = visitStartPage();
    report(state, v);
}
BENCHMARK(BM_LaterVisit)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runBenchmarks(argc, argv);
}
