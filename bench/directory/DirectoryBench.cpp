// The directory screen on the sample data: opening it, and walking from the first person to
// the last with the Down key.

#include "bench/BenchSupport.h"
#include "bench/SampleData.h"
#include "people/frmDirectory.h"
#include "platform/data/ConnectionString.h"
#include "platform/ui/Services.h"
#include "shell/ProgramState.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

class FixedClock final : public ui::Clock {
public:
    explicit FixedClock(const QDate& d) : m_now(d, QTime(19, 0)) {}
    QDateTime now() const override { return m_now; }

private:
    QDateTime m_now;
};

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

// The sample data file: 2,000 people, 1,040 meetings, 200,000 attendance rows, the same on
// every run; the clock stands on the day of its last meeting.
void useSampleFile()
{
    static bool written = false;
    const sample::Options options;
    if (!written) {
        sample::writeSampleData(folder().filePath(QStringLiteral("CorvessaData.mdb")), options);
        ui::services().clock = std::make_unique<FixedClock>(options.lastMeeting);
        written = true;
    }
    program().ConnectionString =
        data::buildConnectionString(folder().path(), QStringLiteral("CorvessaData.mdb"));
}

void closeScreen(frmDirectory* screen)
{
    screen->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void pressKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

// Opening the members directory: the screen built, the list read, the picker and the lists
// filled, the first person shown.
void BM_OpenDirectory(benchmark::State& state)
{
    useSampleFile();
    int people = 0;
    for (auto _ : state) {
        auto* screen = new frmDirectory;
        screen->Load();
        state.PauseTiming();
        people = screen->findChild<QComboBox*>(QStringLiteral("NavCombo"))->count();
        closeScreen(screen);
        state.ResumeTiming();
    }
    state.counters["people"] = people;
}
BENCHMARK(BM_OpenDirectory)->Unit(benchmark::kMillisecond);

// Walking from the first person to the last with the Down key, each key one move.
void BM_NextKeyFirstToLast(benchmark::State& state)
{
    useSampleFile();
    auto* screen = new frmDirectory;
    screen->Load();
    QWidget* box = screen->txtFields.at(0);
    const int people = screen->findChild<QComboBox*>(QStringLiteral("NavCombo"))->count();
    for (auto _ : state) {
        state.PauseTiming();
        pressKey(box, Qt::Key_Home);
        state.ResumeTiming();
        for (int i = 1; i < people; ++i)
            pressKey(box, Qt::Key_Down);
    }
    const QString counter = screen->findChild<QLabel*>(QStringLiteral("NumRecords"))->text();
    if (screen->IsEditing() || counter.isEmpty())
        state.SkipWithError("the walk marked a person as edited");
    state.counters["moves"] = people - 1;
    state.counters["per_move"] = benchmark::Counter(static_cast<double>(people - 1),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
    closeScreen(screen);
}
BENCHMARK(BM_NextKeyFirstToLast)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runBenchmarks(argc, argv, [] { ui::services().programFolder = folder().path(); });
}
