#pragma once

#include "platform/ui/Services.h"

#include <QString>

#include <functional>

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

// Writes a photo-like JPEG of about 1 MB (1600 x 1200 pixels) and returns its size in bytes.
qint64 writePhoto(const QString& file);

// Runs the registered benchmarks headless, under en_US, with a throw-away settings folder;
// setUp runs once the application object exists.
int runBenchmarks(int argc, char** argv, const std::function<void()>& setUp = {});

} // namespace bench
