#pragma once

#include <cstdint>
#include <vector>

namespace gif {

// A black-and-white picture as a GIF89a file: a four-colour table (white, black, two unused),
// one image, no transparency. Pixels are given row after row, true for black.
//
// The image data is LZW-coded without compressing: a clear code comes after every two pixel
// codes, so the code table never grows and every code stays three bits wide, which any
// reader decodes.
std::vector<std::uint8_t> encode(int width, int height, const std::vector<bool>& blackPixels);

} // namespace gif
