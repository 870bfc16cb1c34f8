#pragma once

#include <QString>

namespace testenv {

// The folder where the build puts the program and what it reads at run time.
QString builtProgramFolder();
// Copies the barcode digit pictures the build wrote (Barcode_GIFS/0.gif ... 9.gif) into the
// test's program folder, where layouts look for them.
void installBarcodePictures();

} // namespace testenv
