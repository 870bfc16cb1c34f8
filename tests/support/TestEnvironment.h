#pragma once

#include "tests/support/Doubles.h"

#include <QString>

#include <functional>

// Every test starts with fresh program-wide state, a temporary program folder, recording
// message boxes, file dialogs, print dialogs and shell, a fixed clock (15 May 2024, 10:30)
// and an empty in-memory settings store. These accessors reach the doubles of the running
// test.
namespace testenv {

testing_support::RecordingMessageBoxes& messages();
testing_support::RecordingFileDialogs& files();
testing_support::RecordingPrintDialogs& printing();
testing_support::RecordingShell& shell();
testing_support::FixedClock& clock();
testing_support::MemorySettingsStore& settings();
QString programFolder();
// A path inside the program folder.
QString programFile(const QString& name);

// What a test program adds to the per-test reset: a reset of its own program-wide state (run
// at the start and end of every test), and what to do with a fresh data file's connection
// string (DataFixture calls it).
struct Hooks {
    std::function<void()> reset;
    std::function<void(const QString& connectionString)> dataFileMade;
};
const Hooks& hooks();

// The test programs' main: headless, en_US, nothing written to the user's real settings or
// folders, every test with a fresh environment. `prepare` runs once the application exists.
int runTests(int argc, char** argv, Hooks hooks, const std::function<void()>& prepare = {});

} // namespace testenv
