#include "reports/Code39.h"

namespace code39 {

std::string_view pattern(char character)
{
    switch (character) {
    case '0':
        return "000110100";
    case '1':
        return "100100001";
    case '2':
        return "001100001";
    case '3':
        return "101100000";
    case '4':
        return "000110001";
    case '5':
        return "100110000";
    case '6':
        return "001110000";
    case '7':
        return "000100101";
    case '8':
        return "100100100";
    case '9':
        return "001100100";
    case '*':
        return "010010100";
    default:
        return {};
    }
}

std::vector<bool> modules(char character)
{
    const std::string_view elements = pattern(character);
    std::vector<bool> out;
    if (elements.empty())
        return out;
    out.reserve(kModulesPerCharacter);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const bool bar = i % 2 == 0;
        const int width = elements[i] == '1' ? kWideModules : kNarrowModules;
        out.insert(out.end(), std::size_t(width), bar);
    }
    out.insert(out.end(), std::size_t(kNarrowModules), false);
    return out;
}

std::vector<bool> picturePixels(char character)
{
    const std::vector<bool> row = modules(character);
    std::vector<bool> pixels;
    if (row.empty())
        return pixels;
    pixels.reserve(std::size_t(kPictureWidth) * kPictureHeight);
    for (int y = 0; y < kPictureHeight; ++y) {
        for (const bool bar : row)
            pixels.insert(pixels.end(), std::size_t(kPixelsPerModule), bar);
    }
    return pixels;
}

} // namespace code39
