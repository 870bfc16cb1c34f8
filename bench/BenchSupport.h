#pragma once

#include "bench/SampleData.h"
#include "platform/ui/Services.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <QTime>

#include <functional>
#include <memory>

namespace benchmark {
class State;
} // namespace benchmark

namespace report {
class Document;
class Report;
} // namespace report

namespace bench {

// Message boxes are counted, never shown: a benchmark run must not wait for anybody.
class CountedMessages final : public ui::MessageBoxes {
public:
    explicit CountedMessages(ui::Answer answer = ui::Answer::Ok) : m_answer(answer) {}
    ui::Answer show(ui::MessageKind, const QString& text, const QString&) override
    {
        ++count;
        last = text;
        return m_answer;
    }
    int count = 0;
    QString last;

private:
    ui::Answer m_answer;
};

// Puts counted message boxes, each answered with `answer`, in place of the program's own and
// returns them.
CountedMessages* countMessages(ui::Answer answer = ui::Answer::Ok);

// Fails the benchmark, with the last message's text, when any message box came up.
void failOnMessages(benchmark::State& state, const CountedMessages& messages);

// A clock that stands at 7 in the evening of one day.
class FixedClock final : public ui::Clock {
public:
    explicit FixedClock(const QDate& d) : m_now(d, QTime(19, 0)) {}
    QDateTime now() const override { return m_now; }

private:
    QDateTime m_now;
};

// The group's size as CORVESSA_BENCH_SCALE sets it (see writeBenchData): 1 unless it is set
// to a larger whole number. Benchmarks that make their own rows, not the data file, make this
// many times as many.
int benchScale();

// Writes the data file the benchmarks run on at `path`. By default that is the sample data of
// `options` (2,000 people, 1,040 meetings, 200,000 attendance rows, the same on every run).
// Two environment variables change it for every benchmark program at once:
//   CORVESSA_BENCH_SCALE=10   the generator writes a group ten times as large (20,000 people,
//                             2,000,000 attendance rows; the meetings stay as they are);
//   CORVESSA_BENCH_DATA=FILE  a copy of an existing data file instead (one made by
//                             make-ten-times, say); benchmarks that date their run by the sample's
//                             last meeting then need a file whose meetings end on that day.
// Throws std::runtime_error when the file cannot be written.
void writeBenchData(const QString& path, sample::Options options = sample::Options{});

// The bench data (see writeBenchData) written as kDataFile into a folder of its own;
// program().ConnectionString names it from then on.
class SampleFolder {
public:
    explicit SampleFolder(const sample::Options& options = sample::Options{});

    static const QString kDataFile;

    QString path() const { return m_folder.path(); }
    QString filePath(const QString& name) const { return m_folder.filePath(name); }

private:
    QTemporaryDir m_folder;
};

// The run's sample folder with the default options, written when it is first asked for.
SampleFolder& sampleFolder();

// Runs the layout into pages and writes them to the PDF file; a file not written fails the
// benchmark.
std::shared_ptr<const report::Document> runToPdf(benchmark::State& state, report::Report& layout,
                                                 const QString& file);

// Writes a photo-like JPEG of about 1 MB (1600 x 1200 pixels) and returns its size in bytes.
qint64 writePhoto(const QString& file);

// Runs the registered benchmarks headless, under en_US, with a throw-away settings folder;
// setUp runs once the application object exists.
int runBenchmarks(int argc, char** argv, const std::function<void()>& setUp = {});

} // namespace bench
