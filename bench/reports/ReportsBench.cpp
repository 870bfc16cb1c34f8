#include "reports/rptDirectory.h"

#include "platform/data/Connection.h"
#include "platform/data/ConnectionString.h"
#include "platform/data/LocaleText.h"
#include "platform/data/Schema.h"
#include "platform/report/Engine.h"
#include "platform/ui/Services.h"
#include "shell/ProgramState.h"

#include <QDate>
#include <QGuiApplication>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

namespace {

constexpr int kPeople = 2000;

// Message boxes are counted, never shown: a benchmark run must not wait for anybody.
class CountedMessages final : public ui::MessageBoxes {
public:
    ui::Answer show(ui::MessageKind, const QString& text, const QString&) override
    {
        ++count;
        last = text;
        return ui::Answer::Ok;
    }
    int count = 0;
    QString last;
};

CountedMessages* g_messages = nullptr;

// A data file with kPeople people, the same on every run: names, addresses, phones, e-mail
// addresses and birthdays in the mix a youth group's file has (some missing), plus a few
// removed people the directory leaves out.
class SampleGroup {
public:
    SampleGroup()
    {
        const QString file = QStringLiteral("CorvessaData.mdb");
        data::schema::createDataFile(m_folder.filePath(file));
        program().ConnectionString = data::buildConnectionString(m_folder.path(), file);

        static const std::array firstNames = {
            "Ava",   "Ben",  "Caleb", "Dana", "Eli",    "Faith", "Grace", "Hugo", "Iris", "Jonah",
            "Kayla", "Levi", "Maria", "Noah", "Olivia", "Paige", "Quinn", "Ruth", "Sam",  "Tessa"};
        static const std::array lastNames = {"Anderson", "Brown",  "Clark",    "Davis",   "Evans",
                                             "Foster",   "Garcia", "Hughes",   "Jackson", "Kim",
                                             "Lopez",    "Miller", "Nguyen",   "Owens",   "Patel",
                                             "Roberts",  "Smith",  "Thompson", "Walker",  "Young"};
        static const std::array streets = {"Elm St",   "Oak Ave",  "Maple Dr",
                                           "Cedar Ln", "Birch Rd", "Willow Ct"};
        static const std::array cities = {"Dayton", "Troy", "Xenia", "Kettering", "Fairborn"};

        data::Connection conn;
        conn.Open(program().ConnectionString);
        data::Transaction tx(conn);
        std::uint32_t seed = 20240515;
        const auto next = [&seed](std::uint32_t n) {
            seed = seed * 1664525u + 1013904223u;
            return (seed >> 8) % n;
        };
        const auto text = [](const QString& s) {
            return QLatin1Char('\'') + s + QLatin1Char('\'');
        };
        const auto maybe = [&](int percent, const QString& value) {
            return int(next(100)) < percent ? text(value) : QStringLiteral("Null");
        };
        for (int i = 0; i < kPeople + kPeople / 20; ++i) {
            // One value after the other, so that every compiler draws them in the same order.
            QStringList v;
            const QString first = QString::fromLatin1(firstNames[next(firstNames.size())]);
            const QString last = QString::fromLatin1(lastNames[next(lastNames.size())]);
            v << text(first) << text(last);
            v << maybe(90, QStringLiteral("%1 %2")
                               .arg(next(9999) + 1)
                               .arg(QString::fromLatin1(streets[next(streets.size())])));
            v << text(QString::fromLatin1(cities[next(cities.size())]));
            v << text(QStringLiteral("45%1").arg(next(1000), 3, 10, QLatin1Char('0')));
            const QString phone =
                QStringLiteral("937-555-%1").arg(next(10000), 4, 10, QLatin1Char('0'));
            v << maybe(75, phone) << maybe(20, QStringLiteral("937-555-1000"))
              << maybe(10, QStringLiteral("937-555-2000")) << maybe(60, phone);
            v << maybe(
                65,
                QStringLiteral("%1.%2%3@mail.example").arg(first.toLower(), last.toLower()).arg(i));
            const QDate born = QDate(2004, 1, 1).addDays(next(3650));
            v << (next(100) < 85
                      ? QLatin1Char('#') + data::text::formatUsDate(born) + QLatin1Char('#')
                      : QStringLiteral("Null"));
            v << QString::number(next(4));
            v << (i >= kPeople ? QStringLiteral("True") : QStringLiteral("False"));
            conn.Execute(QStringLiteral("INSERT INTO Youth (Youth_FName, Youth_LName, "
                                        "Youth_Address1, Youth_City, Youth_Zip, "
                                        "Youth_HomePhone, Youth_WorkPhone, Youth_BeeperPhone, "
                                        "Youth_CellPhone, Youth_Email, Youth_Bday, Youth_Status, "
                                        "Youth_Deleted, Youth_State) VALUES (") +
                         v.join(QStringLiteral(", ")) + QStringLiteral(", 'OH');"));
        }
        tx.commit();
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

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    auto messages = std::make_unique<CountedMessages>();
    g_messages = messages.get();
    ui::services().messages = std::move(messages);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
