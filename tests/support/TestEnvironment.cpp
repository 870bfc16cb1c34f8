#include "tests/support/TestEnvironment.h"

#include "shell/ProgramState.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace testenv {

namespace {

struct PerTest {
    QTemporaryDir folder;
    testing_support::RecordingMessageBoxes* messages = nullptr;
    testing_support::RecordingFileDialogs* files = nullptr;
    testing_support::RecordingPrintDialogs* printing = nullptr;
    testing_support::RecordingShell* shell = nullptr;
    testing_support::FixedClock* clock = nullptr;
    testing_support::MemorySettingsStore* settings = nullptr;
};

std::unique_ptr<PerTest>& current()
{
    static std::unique_ptr<PerTest> state;
    return state;
}

PerTest& state()
{
    auto& s = current();
    if (!s)
        throw std::logic_error("test environment used outside a test");
    return *s;
}

void startTest()
{
    resetProgramState();
    auto s = std::make_unique<PerTest>();
    ui::Services& services = ui::services();

    auto messages = std::make_unique<testing_support::RecordingMessageBoxes>();
    s->messages = messages.get();
    services.messages = std::move(messages);

    auto files = std::make_unique<testing_support::RecordingFileDialogs>();
    s->files = files.get();
    services.files = std::move(files);

    auto printing = std::make_unique<testing_support::RecordingPrintDialogs>();
    s->printing = printing.get();
    services.printing = std::move(printing);

    auto shell = std::make_unique<testing_support::RecordingShell>();
    s->shell = shell.get();
    services.shell = std::move(shell);

    auto clock = std::make_unique<testing_support::FixedClock>();
    clock->set(QDateTime(QDate(2024, 5, 15), QTime(10, 30)));
    s->clock = clock.get();
    services.clock = std::move(clock);

    auto settings = std::make_unique<testing_support::MemorySettingsStore>();
    s->settings = settings.get();
    services.settings = std::move(settings);

    services.programFolder = s->folder.path();
    current() = std::move(s);
}

void endTest()
{
    resetProgramState();
    // Windows released with deleteLater go now, before the next test starts.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    current().reset();
}

class ResetListener final : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { startTest(); }
    void OnTestEnd(const ::testing::TestInfo&) override { endTest(); }
};

} // namespace

testing_support::RecordingMessageBoxes& messages()
{
    return *state().messages;
}
testing_support::RecordingFileDialogs& files()
{
    return *state().files;
}
testing_support::RecordingPrintDialogs& printing()
{
    return *state().printing;
}
testing_support::RecordingShell& shell()
{
    return *state().shell;
}
testing_support::FixedClock& clock()
{
    return *state().clock;
}
testing_support::MemorySettingsStore& settings()
{
    return *state().settings;
}
QString programFolder()
{
    return state().folder.path();
}
QString builtProgramFolder()
{
    return QStringLiteral(CORVESSA_BUILT_PROGRAM_DIR);
}

void installBarcodePictures()
{
    const QDir from(builtProgramFolder() + QStringLiteral("/Barcode_GIFS"));
    QDir to(programFolder());
    if (!to.mkpath(QStringLiteral("Barcode_GIFS")))
        throw std::runtime_error("The test's barcode folder cannot be made.");
    for (int digit = 0; digit <= 9; ++digit) {
        const QString name = QStringLiteral("%1.gif").arg(digit);
        const QString target = to.filePath(QStringLiteral("Barcode_GIFS/") + name);
        QFile::remove(target);
        if (!QFile::copy(from.filePath(name), target))
            throw std::runtime_error("The barcode pictures of the build are missing.");
    }
}

QString programFile(const QString& name)
{
    return QDir(programFolder()).filePath(name);
}

void installPerTestReset()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetListener);
}

} // namespace testenv
