// The directory screen on the sample data: opening it, walking from the first person to the
// last with the Down key (each move showing the person's attendance record, and with photos
// also a 1 MB photo), and the picker's type-ahead under the worst patterns.

#include "bench/BenchSupport.h"
#include "bench/SampleData.h"
#include "people/PersonPicker.h"
#include "people/frmDirectory.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/data/ConnectionString.h"
#include "platform/ui/Services.h"
#include "shell/ProgramState.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

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
        bench::writeBenchData(folder().filePath(QStringLiteral("CorvessaData.mdb")), options);
        ui::services().clock = std::make_unique<bench::FixedClock>(options.lastMeeting);
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

// Every person of the sample file gets a photo of their own: a copy of one 1 MB JPEG named by
// the person's id in the photo folder, its full path stored in the person's row. Returns the
// photo's size in bytes.
qint64 givePeoplePhotos()
{
    static qint64 bytes = 0;
    if (bytes > 0)
        return bytes;
    QDir photos(folder().path());
    photos.mkpath(QStringLiteral("Photos"));
    photos.cd(QStringLiteral("Photos"));
    const QString first = photos.filePath(QStringLiteral("photo.jpg"));
    bytes = bench::writePhoto(first);
    data::Connection conn;
    conn.Open(program().ConnectionString);
    data::Recordset ids;
    ids.Open(QStringLiteral("SELECT Youth_ID FROM Youth;"), conn);
    for (; !ids.EOF(); ids.MoveNext())
        QFile::copy(first, photos.filePath(QString::number(ids.Fields(0).Value().number()) +
                                           QStringLiteral(".jpg")));
    conn.Execute(QStringLiteral("UPDATE Youth SET Youth_PhotoFile = '") + photos.path() +
                 QStringLiteral("/' & Youth_ID & '.jpg';"));
    return bytes;
}

// Walking from the first person to the last with the Down key, each key one move; with the
// argument 1, every person has a photo.
void BM_NextKeyFirstToLast(benchmark::State& state)
{
    useSampleFile();
    if (state.range(0) == 1)
        state.counters["photo_bytes"] = double(givePeoplePhotos());
    state.SetLabel(state.range(0) == 1 ? "photos" : "no photos");
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
    if (state.range(0) == 1 && screen->MugShot->pixmap().isNull())
        state.SkipWithError("the last person's photo is not shown");
    state.counters["moves"] = people - 1;
    state.counters["per_move"] = benchmark::Counter(static_cast<double>(people - 1),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
    closeScreen(screen);
}
BENCHMARK(BM_NextKeyFirstToLast)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The picker holding the sample data's 2,000 names, one of them made 10,000 characters long.
PersonPicker& pickerWithALongName()
{
    static PersonPicker* picker = [] {
        useSampleFile();
        data::Connection conn;
        conn.Open(program().ConnectionString);
        data::Recordset rs;
        rs.Open(
            QStringLiteral("SELECT Youth_ID, Youth_LName & ', ' & Youth_FName AS YouthName FROM "
                           "Youth ORDER BY Youth_LName, Youth_FName"),
            conn);
        std::vector<PickerEntry> entries;
        while (!rs.EOF()) {
            entries.push_back({QStringLiteral("Y") + QString::number(rs.Fields(0).Value().number()),
                               rs.Fields(1).Value().text(), QStringLiteral("mbr1")});
            rs.MoveNext();
        }
        entries[entries.size() / 2].text =
            QString(10000, QLatin1Char('k')) + QStringLiteral(", Kay");
        auto* p = new PersonPicker;
        p->entries().setEntries(std::move(entries));
        return p;
    }();
    return *picker;
}

const char* const kWorstPatterns[] = {
    // Many stars: a matcher that tries every way to place them never ends on the long name.
    "*k*k*k*k*k*k*k*k*k*z",
    // One star and a long run that fails at its last character: the most steps for a matcher
    // that only ever moves its latest star on.
    "*kkkkkkkkkkkkkkkkkkz",
};

// Keys typed into the picker, each as its own key press.
void typeInto(PersonPicker& picker, const QString& keys)
{
    for (const QChar c : keys) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&picker, &press);
    }
}

// Typing a 20-character pattern into the picker, one key at a time; no name matches the
// whole pattern, so the last keys go through every name.
void BM_TypeAheadWorstPattern(benchmark::State& state)
{
    PersonPicker& picker = pickerWithALongName();
    const QString pattern = QString::fromLatin1(kWorstPatterns[state.range(0)]);
    state.SetLabel(pattern.toStdString());
    for (auto _ : state) {
        picker.clearTypeAhead();
        typeInto(picker, pattern);
    }
    if (picker.typeAhead() != pattern)
        state.SkipWithError("the picker did not take every key");
    state.counters["per_key"] = benchmark::Counter(static_cast<double>(pattern.size()),
                                                   benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}
BENCHMARK(BM_TypeAheadWorstPattern)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// The last key of that pattern alone: the slowest single keystroke.
void BM_TypeAheadWorstKey(benchmark::State& state)
{
    PersonPicker& picker = pickerWithALongName();
    const QString pattern = QString::fromLatin1(kWorstPatterns[state.range(0)]);
    state.SetLabel(pattern.toStdString());
    for (auto _ : state) {
        state.PauseTiming();
        picker.clearTypeAhead();
        typeInto(picker, pattern.chopped(1));
        state.ResumeTiming();
        typeInto(picker, pattern.right(1));
    }
}
BENCHMARK(BM_TypeAheadWorstKey)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runBenchmarks(argc, argv, [] { ui::services().programFolder = folder().path(); });
}
