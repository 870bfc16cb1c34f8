#include "bench/BenchSupport.h"

#include "shell/ProgramState.h"
#include "platform/data/ConnectionString.h"
#include "platform/report/Engine.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace bench {

CountedMessages* countMessages(ui::Answer answer)
{
    auto messages = std::make_unique<CountedMessages>(answer);
    CountedMessages* counted = messages.get();
    ui::services().messages = std::move(messages);
    return counted;
}

void failOnMessages(benchmark::State& state, const CountedMessages& messages)
{
    if (messages.count != 0)
        state.SkipWithError(messages.last.toUtf8().constData());
}

void writeBenchData(const QString& path, sample::Options options)
{
    const QString existing = qEnvironmentVariable("CORVESSA_BENCH_DATA");
    if (!existing.isEmpty()) {
        if (!QFile::copy(existing, path))
            throw std::runtime_error("The data file " + existing.toStdString() +
                                     " could not be copied to " + path.toStdString());
        return;
    }
    options.people *= benchScale();
    options.attendanceRows *= benchScale();
    sample::writeSampleData(path, options);
}

int benchScale()
{
    bool ok = false;
    const int scale = qEnvironmentVariableIntValue("CORVESSA_BENCH_SCALE", &ok);
    return ok && scale > 1 ? scale : 1;
}

const QString SampleFolder::kDataFile = QStringLiteral("CorvessaData.mdb");

SampleFolder::SampleFolder(const sample::Options& options)
{
    writeBenchData(m_folder.filePath(kDataFile), options);
    program().ConnectionString = data::buildConnectionString(m_folder.path(), kDataFile);
}

SampleFolder& sampleFolder()
{
    static SampleFolder folder;
    return folder;
}

std::shared_ptr<const report::Document> runToPdf(benchmark::State& state, report::Report& layout,
                                                 const QString& file)
{
    auto doc = report::run(layout);
    if (!doc->exportPdf(file))
        state.SkipWithError("PDF not written");
    return doc;
}

qint64 writePhoto(const QString& file)
{
    QImage photo(1600, 1200, QImage::Format_RGB32);
    QLinearGradient sky(0, 0, 0, photo.height());
    sky.setColorAt(0, QColor(90, 140, 200));
    sky.setColorAt(1, QColor(230, 210, 170));
    QPainter p(&photo);
    p.fillRect(photo.rect(), sky);
    p.setBrush(QColor(240, 200, 160));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPoint(800, 520), 300, 380);
    p.end();
    // Grain, as a camera leaves it, keeps the file near the size of a real photo.
    QRandomGenerator grain(7);
    for (int y = 0; y < photo.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            const int d = int(grain.bounded(40)) - 20;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + d, 255), qBound(0, qGreen(c) + d, 255),
                           qBound(0, qBlue(c) + d, 255));
        }
    }
    photo.save(file, "JPG", 95);
    return QFileInfo(file).size();
}

int runBenchmarks(int argc, char** argv, const std::function<void()>& setUp)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    if (setUp)
        setUp();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    resetProgramState();
    return 0;
}

} // namespace bench
