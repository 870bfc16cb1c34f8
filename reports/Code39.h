#pragma once

#include <string_view>
#include <vector>

// Code 39 as the person barcode prints it: the ten digits and the start and stop character
// "*". Plain C++, so that the build's picture writer (tools/barcode-gifs) is made from the
// same table as the program and the two can never disagree.
namespace code39 {

// A character is nine elements, bar and space by turns, starting with a bar; three of them are
// wide. A narrow element is one module wide, a wide one three, and every character ends with
// a narrow space, so that characters printed side by side keep the gap between them.
inline constexpr int kNarrowModules = 1;
inline constexpr int kWideModules = 3;
inline constexpr int kModulesPerCharacter = 6 * kNarrowModules + 3 * kWideModules + 1;

// The characters' pictures (the digit files beside the program and the "*" made in code):
// two pixels a module, black bars on white, 32 x 20 pixels.
inline constexpr int kPixelsPerModule = 2;
inline constexpr int kPictureWidth = kModulesPerCharacter * kPixelsPerModule;
inline constexpr int kPictureHeight = 20;

// The elements of '0' ... '9' or '*', '1' for a wide one ("000110100" for '0'); empty for any
// other character.
std::string_view pattern(char character);

// The character's modules, left to right, the gap included: true for a bar. Empty for a
// character without a pattern.
std::vector<bool> modules(char character);

// The character's picture, row after row from the top: true for a black pixel. Empty for a
// character without a pattern.
std::vector<bool> picturePixels(char character);

} // namespace code39
