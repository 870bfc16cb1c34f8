#include "bench/BenchSupport.h"
#include "reports/rptPhotoDir.h"
#include "reports/rptRollSheet.h"

#include "platform/report/Engine.h"
#include "platform/ui/Services.h"
#include "shell/ProgramState.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <sqlite3.h>

#include <benchmark/benchmark.h>

namespace {

bench::CountedMessages* g_messages = nullptr;

constexpr int kPhotoPeople = 300;

// The sample data file (2,000 people, 1,040 meetings, 200,000 attendance rows) in a program
// folder of its own, with the barcode pictures and, for the photo directory, 300 people
// with a 3000 x 2000 photo each.
class SampleGroup {
public:
    SampleGroup()
    {
        ui::services().programFolder = m_folder.path();

        const QDir pictures(QStringLiteral(CORVESSA_PROGRAM_DIR "/Barcode_GIFS"));
        QDir(m_folder.path()).mkpath(QStringLiteral("Barcode_GIFS"));
        for (const QString& name : pictures.entryList({QStringLiteral("*.gif")}, QDir::Files))
            QFile::copy(pictures.filePath(name),
                        m_folder.filePath(QStringLiteral("Barcode_GIFS/") + name));

        addPhotos(m_folder.filePath(bench::SampleFolder::kDataFile));
    }

    QString folder() const { return m_folder.path(); }

private:
    // One photo-like picture, copied once per person so that no two people share a file.
    void addPhotos(const QString& dataFile)
    {
        QImage photo(3000, 2000, QImage::Format_RGB32);
        QPainter p(&photo);
        QLinearGradient sky(0, 0, 3000, 2000);
        sky.setColorAt(0, QColor(40, 90, 160));
        sky.setColorAt(1, QColor(230, 200, 120));
        p.fillRect(photo.rect(), sky);
        p.setBrush(QColor(200, 60, 40));
        for (int i = 0; i < 40; ++i)
            p.drawEllipse(QPoint((i * 379) % 3000, (i * 211) % 2000), 60 + i * 7, 40 + i * 5);
        p.end();
        QDir(m_folder.path()).mkpath(QStringLiteral("Photos"));
        const QString first = m_folder.filePath(QStringLiteral("Photos/first.jpg"));
        photo.save(first, "JPG", 90);

        sqlite3* db = nullptr;
        sqlite3_open(dataFile.toUtf8().constData(), &db);
        sqlite3_stmt* people = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT Youth_ID FROM Youth WHERE Youth_Deleted = 0 ORDER BY Youth_ID "
                           "LIMIT 300",
                           -1, &people, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* set = nullptr;
        sqlite3_prepare_v2(db, "UPDATE Youth SET Youth_PhotoFile = ? WHERE Youth_ID = ?", -1, &set,
                           nullptr);
        while (sqlite3_step(people) == SQLITE_ROW) {
            const int id = sqlite3_column_int(people, 0);
            const QString path = m_folder.filePath(QStringLiteral("Photos/%1.jpg").arg(id));
            QFile::copy(first, path);
            const QByteArray utf8 = path.toUtf8();
            sqlite3_bind_text(set, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(set, 2, id);
            sqlite3_step(set);
            sqlite3_reset(set);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_finalize(set);
        sqlite3_finalize(people);
        sqlite3_close(db);
    }

    bench::SampleFolder m_folder;
};

SampleGroup& sample()
{
    static SampleGroup group;
    return group;
}

// The peak resident memory of this process since the last reset, in megabytes (Linux).
void resetPeakMemory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

double peakMemoryMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// Every person of the sample with a barcode: creating the layout (its query), running it into
// pages and writing the PDF.
template <class Layout> void runWithBarcodesToPdf(benchmark::State& state, const QString& pdf)
{
    const QString file = sample().folder() + QLatin1Char('/') + pdf;
    g_messages->count = 0;
    int pages = 0;
    for (auto _ : state) {
        program().ReportOption = QStringLiteral("BARCODE");
        Layout layout;
        program().ReportOption.clear();
        pages = bench::runToPdf(state, layout, file)->pageCount();
    }
    state.counters["pages"] = pages;
    bench::failOnMessages(state, *g_messages);
}

// The barcode under each name.
void BM_RollSheetWithBarcodesRunAndExportPdf(benchmark::State& state)
{
    runWithBarcodesToPdf<rptRollSheet>(state, QStringLiteral("rollsheet.pdf"));
}
BENCHMARK(BM_RollSheetWithBarcodesRunAndExportPdf)->Unit(benchmark::kMillisecond);

// A card for everyone, the barcode under the photo frame.
void BM_PhotoDirectoryWithBarcodesRunAndExportPdf(benchmark::State& state)
{
    runWithBarcodesToPdf<rptPhotoDir>(state, QStringLiteral("photodir-barcodes.pdf"));
}
BENCHMARK(BM_PhotoDirectoryWithBarcodesRunAndExportPdf)->Unit(benchmark::kMillisecond);

// 300 cards, each with its own 3000 x 2000 photo.
void BM_PhotoDirectoryOfLargePhotosRunAndExportPdf(benchmark::State& state)
{
    const QString file = sample().folder() + QStringLiteral("/photos.pdf");
    g_messages->count = 0;
    int pages = 0;
    double peak = 0;
    for (auto _ : state) {
        resetPeakMemory();
        program().ReportFilter = QStringLiteral("Youth_PhotoFile <> ''");
        rptPhotoDir layout;
        program().ReportFilter.clear();
        if (layout.RowCount() != kPhotoPeople)
            state.SkipWithError("not 300 people with photos");
        pages = bench::runToPdf(state, layout, file)->pageCount();
        peak = std::max(peak, peakMemoryMegabytes());
    }
    state.counters["pages"] = pages;
    state.counters["peak_MB"] = peak;
    bench::failOnMessages(state, *g_messages);
}
BENCHMARK(BM_PhotoDirectoryOfLargePhotosRunAndExportPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runBenchmarks(argc, argv, [] { g_messages = bench::countMessages(); });
}
