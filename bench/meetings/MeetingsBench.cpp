#include "bench/BenchSupport.h"
#include "bench/SampleData.h"
#include "people/frmServices.h"

#include "platform/data/Connection.h"
#include "platform/ui/Services.h"
#include "shell/ProgramState.h"

#include <QApplication>
#include <QLocale>
#include <QListWidget>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

bench::CountedMessages* g_messages = nullptr;

constexpr int kAttendees = 300;

// The sample data file (2,000 people, 1,040 meetings, 200,000 attendance rows), the same on
// every run, whose last meeting has 300 people present.
class SampleGroup {
public:
    SampleGroup()
    {
        // The clock stands on the day of the last meeting, so its list is not an old one.
        ui::services().clock = std::make_unique<bench::FixedClock>(m_options.lastMeeting);

        data::Connection conn;
        conn.Open(program().ConnectionString);
        data::Transaction transaction(conn);
        conn.Execute(QStringLiteral("DELETE Attendance.* FROM Attendance WHERE Attend_Wk_ID IN "
                                    "(SELECT Wk_ID FROM Weeks "
                                    "WHERE Wk_Date=#%1#);")
                         .arg(m_options.lastMeeting.toString(QStringLiteral("M/d/yyyy"))));
        conn.Execute(
            QStringLiteral(
                "INSERT INTO Attendance ( Attend_Youth_ID, Attend_Wk_ID ) SELECT TOP %1 Youth_ID, "
                "(SELECT Max(Wk_ID) FROM Weeks WHERE Wk_Date=#%2#) FROM Youth WHERE "
                "Youth_Deleted=False ORDER BY Youth_ID;")
                .arg(kAttendees)
                .arg(m_options.lastMeeting.toString(QStringLiteral("M/d/yyyy"))));
        transaction.commit();
    }

private:
    const sample::Options m_options;
    bench::SampleFolder m_folder{m_options};
};

SampleGroup& sample()
{
    static SampleGroup group;
    return group;
}

void closeScreen(frmServices* screen)
{
    screen->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Opening the meetings screen: it shows the last of 1,040 meetings with its list of 300
// people, the drop-down of everybody and the meeting types.
void BM_OpenOnLastMeeting(benchmark::State& state)
{
    sample();
    int listed = 0;
    for (auto _ : state) {
        auto* screen = new frmServices();
        screen->resize(1000, 700);
        screen->Load();
        state.PauseTiming();
        listed = screen->AttendedList->count();
        closeScreen(screen);
        state.ResumeTiming();
    }
    state.counters["listed"] = listed;
    bench::failOnMessages(state, *g_messages);
}
BENCHMARK(BM_OpenOnLastMeeting)->Unit(benchmark::kMillisecond);

// Save List of the last meeting with 300 people ticked: the stored rows replaced, the
// last-attended dates moved forward, and the list read back.
void BM_SaveList300Ticked(benchmark::State& state)
{
    sample();
    auto* screen = new frmServices();
    screen->resize(1000, 700);
    screen->Load();
    QListWidgetItem* first = screen->AttendedList->item(0);
    for (auto _ : state) {
        state.PauseTiming();
        // A change of mind: untick and tick again, which shows Save List.
        first = screen->AttendedList->item(0);
        first->setCheckState(Qt::Unchecked);
        first->setCheckState(Qt::Checked);
        state.ResumeTiming();
        screen->cmdSet->click();
    }
    int ticked = 0;
    for (int i = 0; i < screen->AttendedList->count(); ++i)
        ticked += screen->AttendedList->item(i)->checkState() == Qt::Checked ? 1 : 0;
    state.counters["ticked"] = ticked;
    if (ticked != kAttendees)
        state.SkipWithError("the saved list does not hold 300 people");
    bench::failOnMessages(state, *g_messages);
    closeScreen(screen);
}
BENCHMARK(BM_SaveList300Ticked)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runBenchmarks(argc, argv,
                                [] { g_messages = bench::countMessages(ui::Answer::Yes); });
}
