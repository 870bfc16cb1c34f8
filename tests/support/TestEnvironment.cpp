#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gmock/gmock.h>
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

Hooks& installedHooks()
{
    static Hooks instance;
    return instance;
}

void resetProgram()
{
    if (installedHooks().reset)
        installedHooks().reset();
}

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
    resetProgram();
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
    resetProgram();
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
QString programFile(const QString& name)
{
    return QDir(programFolder()).filePath(name);
}

const Hooks& hooks()
{
    return installedHooks();
}

int runTests(int argc, char** argv, Hooks hooks, const std::function<void()>& prepare)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CorvessaTests"));
    if (prepare)
        prepare();
    installedHooks() = std::move(hooks);
    ::testing::InitGoogleMock(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetListener);
    return RUN_ALL_TESTS();
}

} // namespace testenv
