// The report engine on layouts shaped like the program's: a directory of 2,000 people and a
// photo directory of 300 cards, each times CORVESSA_BENCH_SCALE (see BenchSupport.h), and a
// statistics page.
#include "bench/BenchSupport.h"
#include "tests/platform/report/TestLayouts.h"

#include "platform/report/Engine.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

// The photos the folder holds as files of their own; the cards past them show links to them.
constexpr int kPhotoFiles = 300;

int people()
{
    return 2000 * bench::benchScale();
}

int photoCards()
{
    return kPhotoFiles * bench::benchScale();
}

// The highest resident memory of the process so far, in megabytes.
double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

// Run a directory-shaped layout of the people and write it to PDF.
void BM_DirectoryRunAndExportPdf(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("directory.pdf"));
    int pages = 0;
    for (auto _ : state) {
        reporttest::DirectoryShapedLayout layout(people());
        auto doc = report::run(layout);
        if (!doc->exportPdf(file))
            state.SkipWithError("PDF not written");
        pages = doc->pageCount();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_DirectoryRunAndExportPdf)->Unit(benchmark::kMillisecond);

void BM_DirectoryRun(benchmark::State& state)
{
    for (auto _ : state) {
        reporttest::DirectoryShapedLayout layout(people());
        benchmark::DoNotOptimize(report::run(layout));
    }
}
BENCHMARK(BM_DirectoryRun)->Unit(benchmark::kMillisecond);

// One full page of cards painted for the screen at 100% (96 dots per inch).
void BM_DirectoryPagePaintedAt100Percent(benchmark::State& state)
{
    reporttest::DirectoryShapedLayout layout(people());
    auto doc = report::run(layout);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc->renderPage(1, 96));
}
BENCHMARK(BM_DirectoryPagePaintedAt100Percent)->Unit(benchmark::kMillisecond);

// A folder of photos of 3000 x 2000 pixels, as a camera makes them (a noisy picture, so that
// decoding costs what it costs for a real photo), one file per person.
class PhotoFolder {
public:
    PhotoFolder()
    {
        QImage photo(3000, 2000, QImage::Format_RGB32);
        QPainter painter(&photo);
        QLinearGradient gradient(0, 0, 3000, 2000);
        gradient.setColorAt(0, QColor(40, 60, 120));
        gradient.setColorAt(1, QColor(230, 200, 150));
        painter.fillRect(photo.rect(), gradient);
        painter.end();
        QRandomGenerator random(14);
        for (int y = 0; y < photo.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x) {
                const int noise = int(random.bounded(48)) - 24;
                const QRgb p = line[x];
                line[x] =
                    qRgb(std::clamp(qRed(p) + noise, 0, 255), std::clamp(qGreen(p) + noise, 0, 255),
                         std::clamp(qBlue(p) + noise, 0, 255));
            }
        }
        const QString first = m_folder.filePath(QStringLiteral("1.jpg"));
        photo.save(first, "JPG", 85);
        for (int id = 2; id <= kPhotoFiles; ++id)
            QFile::copy(first, file(id));
        // Each decoded on its own, as another person's photo is, without the disk a copy takes.
        for (int id = kPhotoFiles + 1; id <= photoCards(); ++id)
            QFile::link(file((id - 1) % kPhotoFiles + 1), file(id));
    }
    QString file(int id) const { return m_folder.filePath(QStringLiteral("%1.jpg").arg(id)); }
    QString folder() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
};

const PhotoFolder& photos()
{
    static PhotoFolder folder;
    return folder;
}

// Shaped like the photo directory: cards three across, each with its photo in a frame, the
// name, the address and the phone and e-mail lines.
class PhotoCards : public report::Report {
public:
    explicit PhotoCards(int cards) : m_cards(cards)
    {
        using namespace report;
        PageHeader().setHeight(900);
        PageHeader().Controls().add<Label>(QStringLiteral("Title")).setBounds(0, 0, 10710, 540);
        Detail().setHeight(1470);
        Detail().setColumnCount(3);
        auto& frame = Detail().Controls().add<Shape>(QStringLiteral("Shape1"));
        frame.setBounds(30, 60, 1500, 1140);
        auto& photo = Detail().Controls().add<Image>(QStringLiteral("MugShot"));
        photo.setBounds(60, 90, 1440, 1080);
        photo.setSizeMode(SizeMode::Zoom);
        photo.setPictureAlignment(PictureAlignment::Center);
        for (const auto& [name, top, height] :
             {std::tuple{"MbrName", 60, 240}, std::tuple{"MbrAddress", 300, 480},
              std::tuple{"OtherInfo", 840, 540}})
            Detail()
                .Controls()
                .add<Label>(QString::fromLatin1(name))
                .setBounds(1620, top, 1980, height);
        Detail().onFormat([this, &photo] {
            if (++m_done > m_cards)
                return;
            auto& controls = Detail().Controls();
            controls.Item<Label>(QStringLiteral("MbrName"))
                .setCaption(QStringLiteral("First%1 Last%1").arg(m_done));
            controls.Item<Label>(QStringLiteral("MbrAddress"))
                .setCaption(QStringLiteral("%1 Main Street\r\nSpringfield, IL  62701").arg(m_done));
            controls.Item<Label>(QStringLiteral("OtherInfo"))
                .setCaption(
                    QStringLiteral("Home: (555) 010-1234\r\nperson%1@mail.example").arg(m_done));
            photo.loadPicture(photos().file(m_done));
            Detail().request();
        });
    }

private:
    int m_cards;
    int m_done = 0;
};

// The photo cards run and written to PDF; the peak memory is that of the whole process.
void BM_PhotoDirectoryRunAndExportPdf(benchmark::State& state)
{
    const QString file = QDir(photos().folder()).filePath(QStringLiteral("photos.pdf"));
    int pages = 0;
    qint64 bytes = 0;
    double runSeconds = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        PhotoCards layout(photoCards());
        auto doc = report::run(layout);
        runSeconds += timer.nsecsElapsed() / 1e9;
        if (!doc->errors().empty() || !doc->exportPdf(file))
            state.SkipWithError("The photo cards failed");
        pages = doc->pageCount();
        bytes = QFile(file).size();
    }
    state.counters["run_s"] = runSeconds / double(state.iterations());
    state.counters["pages"] = pages;
    state.counters["pdf_MB"] = bytes / 1048576.0;
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
}
BENCHMARK(BM_PhotoDirectoryRunAndExportPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// A statistics page: landscape, four pie charts with their headings, notes and frames, and a
// grid of figures.
class ChartPage : public report::Report {
public:
    ChartPage()
    {
        using namespace report;
        Printer().setOrientation(Orientation::Landscape);
        PageHeader().setHeight(10560);
        auto label = [this](double left, double top, double width, const QString& text) {
            auto& l = PageHeader().Controls().add<Label>();
            l.setBounds(left, top, width, 300);
            l.setCaption(text);
        };
        const std::vector<std::pair<QPointF, ChartData>> charts = {
            {{5400, 1500}, data({"Unassigned", "Male(52.4%)", "Female(47.6%)"}, {})},
            {{9840, 1500},
             data(
                 {"Unassigned", "Active(40.0%)", "Away(20.0%)", "Inactive(40.0%)"},
                 {QColor(198, 198, 198), QColor(0, 255, 0), QColor(0, 0, 255), QColor(255, 0, 0)})},
            {{5280, 4440},
             data({"Under 18 (37.5%)", "18-22 Yrs (25.0%)", "23-27 Yrs (12.5%)", "28-32 Yrs (0.0%)",
                   "Over 32 (25.0%)"},
                  {})},
            {{9900, 4440},
             data(
                 {"Blue (25.0%)", "Red (25.0%)", "Green (12.5%)", "Gold (12.5%)", "Silver (25.0%)"},
                 {})},
        };
        for (const auto& [at, chartData] : charts) {
            label(at.x(), at.y() - 300, 4020, QStringLiteral("Distribution"));
            auto& frame = PageHeader().Controls().add<Shape>();
            frame.setBounds(at.x(), at.y(), 4020, 2220);
            auto& chart = PageHeader().Controls().add<Chart>();
            chart.setBounds(at.x(), at.y(), 4020, 2220);
            chart.setData(chartData);
            label(at.x() + 120, at.y() + 1920, 3600, QStringLiteral("Excludes inactive members"));
        }
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 5; ++column)
                label(180 + column * 900, 1740 + row * 360, 840, QString::number(row * column));
        }
    }

private:
    static report::ChartData data(const QStringList& labels, const std::vector<QColor>& fills)
    {
        report::ChartData out;
        for (qsizetype i = 0; i < labels.size(); ++i) {
            report::ChartCategory category{labels[i], double(i + 1), {}};
            if (std::size_t(i) < fills.size())
                category.fill = fills[std::size_t(i)];
            out.categories.push_back(category);
        }
        return out;
    }
};

// The statistics page painted for the screen at 100%: every chart laid out and drawn anew.
void BM_ChartPagePaintedAt100Percent(benchmark::State& state)
{
    ChartPage layout;
    auto doc = report::run(layout);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc->renderPage(0, 96));
}
BENCHMARK(BM_ChartPagePaintedAt100Percent)->Unit(benchmark::kMillisecond);

void BM_ChartPageRun(benchmark::State& state)
{
    for (auto _ : state) {
        ChartPage layout;
        benchmark::DoNotOptimize(report::run(layout));
    }
}
BENCHMARK(BM_ChartPageRun)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv); // charts need the widgets' application
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
