// The Start page on the sample data (2,000 people, 1,040 meetings, 200,000 attendance rows):
// the first visit of a run, which applies the status rules to every person before it builds
// its lists, and a later visit, which only builds the lists.
#include "bench/BenchSupport.h"
#include "bench/SampleData.h"

#include "people/frmDefault.h"
#include "shell/ProgramState.h"
#include "shell/frmMainMDI.h"
#include "platform/data/ConnectionString.h"
#include "platform/data/Variant.h"
#include "platform/ui/Services.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QListWidget>
#include <QMap>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

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
        bench::writeBenchData(pristine, kSample);
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

    // Four meetings in the three weeks before `today`, the last of them yesterday, attended by
    // every third visitor and every tenth inactive person: those visitors have come often
    // enough to become members, and those inactive people are back.
    void addRecentMeetings(const QDate& today)
    {
        sqlite3* db = nullptr;
        sqlite3_open(dataFile.toUtf8().constData(), &db);
        QByteArray sql = "BEGIN;";
        for (const int daysAgo : {20, 13, 6, 1}) {
            const QByteArray day =
                QByteArray::number(data::jetdate::fromDate(today.addDays(-daysAgo)));
            sql += "INSERT INTO Weeks (Wk_Date, Wk_Mtg_Type) VALUES (" + day +
                   ", 'Sunday');"
                   "INSERT INTO Attendance (Attend_Youth_ID, Attend_Wk_ID) "
                   "SELECT Youth_ID, (SELECT Max(Wk_ID) FROM Weeks) FROM Youth WHERE Youth_Deleted "
                   "= 0 AND "
                   "((Youth_Visitor <> 0 AND Youth_ID % 3 = 0) OR "
                   "(Youth_Status = 3 AND Youth_ID % 10 = 0));"
                   "UPDATE Youth SET Youth_Last_Attended = " +
                   day +
                   " WHERE Youth_ID IN (SELECT Attend_Youth_ID FROM Attendance WHERE "
                   "Attend_Wk_ID = (SELECT Max(Wk_ID) FROM Weeks));";
        }
        sql += "COMMIT;";
        char* error = nullptr;
        if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error) != SQLITE_OK)
            qFatal("Adding the recent meetings failed: %s", error);
        sqlite3_close(db);
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

// How many people a reminder line names.
int named(const QString& linePrefix)
{
    for (const QString& line : program().StoredReminders.split(QLatin1Char('\n'))) {
        if (line.startsWith(linePrefix))
            return static_cast<int>(line.count(QStringLiteral(", "))) + 1;
    }
    return 0;
}

void report(benchmark::State& state, const Visit& v)
{
    state.counters["missing"] = v.missing;
    state.counters["reminder_chars"] = v.reminderChars;
    state.counters["inactive"] = named(QStringLiteral("These people have become inactive: "));
    state.counters["back"] = named(QStringLiteral("These people have become active again: "));
    state.counters["members"] = named(QStringLiteral("These visitors are now members: "));
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

// The first visit after a summer break: half a year after the last weekly meeting and after the
// day of the grade raise, with a few meetings in the last three weeks. Every rule fires at once:
// active people become inactive, some come back, some visitors become members, every grade
// rises, and nearly every row is stored.
void BM_FirstVisitAfterASummerBreak(benchmark::State& state)
{
    const QDate today = kSample.lastMeeting.addDays(183);
    Visit v;
    for (auto _ : state) {
        state.PauseTiming();
        bench().newRun(today, today.addYears(-1));
        bench().addRecentMeetings(today);
        state.ResumeTiming();
        v = visitStartPage();
    }
    report(state, v);
}
BENCHMARK(BM_FirstVisitAfterASummerBreak)->Unit(benchmark::kMillisecond);

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
