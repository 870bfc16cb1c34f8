// The directory screen on a file of 2,000 people: opening it, and walking from the first
// person to the last with the Down key.

#include "people/frmDirectory.h"
#include "platform/data/ConnectionString.h"
#include "platform/data/DataError.h"
#include "platform/data/Schema.h"
#include "platform/data/Variant.h"
#include "platform/ui/Services.h"
#include "shell/ProgramState.h"

#include <sqlite3.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

namespace {

constexpr int kPeople = 2000;

// Invented people, always the same ones: about seven in ten members, a few removed.
void writePeople(const QString& path)
{
    data::schema::createDataFile(path);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO Youth (Youth_FName, Youth_LName, Youth_Address1, Youth_City, Youth_State, "
        "Youth_Zip, Youth_Email, Youth_HomePhone, Youth_Bday, Youth_School, Youth_School_Grade, "
        "Youth_Status, Youth_Visitor, Youth_Mail_List, Youth_Leader, Youth_Last_Attended, "
        "Youth_Sex, Youth_Team, Youth_Deleted, Youth_Comments) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, "
        "?19, ?20)",
        -1, &insert, nullptr);
    const char* first[] = {"Ava",  "Ben",  "Cora", "Dan", "Eli",  "Faye", "Gus", "Hope", "Ivan",
                           "Jade", "Kurt", "Lena", "Moe", "Nina", "Otto", "Pia", "Rex",  "Sue"};
    const char* stems[] = {"Ash", "Bell", "Cal", "Dal", "Fen", "Gar", "Hal", "Kel", "Lind", "Mar"};
    const char* ends[] = {"by", "den", "ford", "ham", "ley", "low", "man", "more", "ton", "wick"};
    const char* teams[] = {nullptr, nullptr, "Red", "Blue", "Green"};
    std::uint64_t seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<int>((seed >> 33) % static_cast<std::uint64_t>(n));
    };
    const double today = data::jetdate::fromDate(QDate(2024, 5, 15));
    for (int i = 0; i < kPeople; ++i) {
        const QByteArray last = QByteArray(stems[next(10)]) + ends[next(10)];
        const QByteArray street = QByteArray::number(1 + next(900)) + " Main Street";
        const QByteArray mail = QByteArray("p") + QByteArray::number(i) + "@example.com";
        sqlite3_bind_text(insert, 1, first[next(18)], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 2, last.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, street.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, "Springfield", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 5, "IL", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 6, "62704", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 7, mail.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 8, "555-0100", -1, SQLITE_STATIC);
        sqlite3_bind_double(insert, 9, today - 4000 - next(3000));
        sqlite3_bind_text(insert, 10, "Central High", -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, 11, 6 + next(7));
        sqlite3_bind_int(insert, 12, next(4));
        sqlite3_bind_int(insert, 13, next(10) < 3 ? -1 : 0);
        sqlite3_bind_int(insert, 14, next(2) ? -1 : 0);
        sqlite3_bind_int(insert, 15, next(10) == 0 ? -1 : 0);
        sqlite3_bind_double(insert, 16, today - next(200));
        sqlite3_bind_int(insert, 17, next(3));
        if (const char* team = teams[next(5)])
            sqlite3_bind_text(insert, 18, team, -1, SQLITE_STATIC);
        else
            sqlite3_bind_null(insert, 18);
        sqlite3_bind_int(insert, 19, next(30) == 0 ? -1 : 0);
        sqlite3_bind_text(insert, 20, "Likes music.\nCame with a friend.", -1, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

void useSampleFile()
{
    static bool written = false;
    if (!written) {
        writePeople(folder().filePath(QStringLiteral("CorvessaData.mdb")));
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    ui::services().programFolder = folder().path();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    resetProgramState();
    return 0;
}
