#pragma once

#include "tests/support/Doubles.h"

#include <QString>

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

// The folder where the build puts the program and what it reads at run time.
QString builtProgramFolder();
// Copies the barcode digit pictures the build wrote (Barcode_GIFS/0.gif ... 9.gif) into the
// test's program folder, where layouts look for them.
void installBarcodePictures();

// Called by the test main: installs the per-test reset.
void installPerTestReset();

} // namespace testenv
