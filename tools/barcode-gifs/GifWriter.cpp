#include "tools/barcode-gifs/GifWriter.h"

#include <algorithm>
#include <stdexcept>

namespace gif {

namespace {

constexpr int kMinimumCodeSize = 2; // four colours
constexpr unsigned kClearCode = 1u << kMinimumCodeSize;
constexpr unsigned kEndCode = kClearCode + 1;
constexpr int kCodeBits = kMinimumCodeSize + 1;
constexpr int kPixelCodesPerClear = 2;

void put16(std::vector<std::uint8_t>& out, int value)
{
    out.push_back(std::uint8_t(value & 0xFF));
    out.push_back(std::uint8_t((value >> 8) & 0xFF));
}

// Codes packed into bytes, lowest bit first.
class BitWriter {
public:
    void put(unsigned code, int bits)
    {
        m_buffer |= code << m_bitCount;
        m_bitCount += bits;
        while (m_bitCount >= 8) {
            m_bytes.push_back(std::uint8_t(m_buffer & 0xFF));
            m_buffer >>= 8;
            m_bitCount -= 8;
        }
    }
    std::vector<std::uint8_t> finish()
    {
        if (m_bitCount > 0)
            m_bytes.push_back(std::uint8_t(m_buffer & 0xFF));
        m_buffer = 0;
        m_bitCount = 0;
        return std::move(m_bytes);
    }

private:
    std::vector<std::uint8_t> m_bytes;
    unsigned m_buffer = 0;
    int m_bitCount = 0;
};

} // namespace

std::vector<std::uint8_t> encode(int width, int height, const std::vector<bool>& blackPixels)
{
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF ||
        blackPixels.size() != std::size_t(width) * std::size_t(height))
        throw std::invalid_argument("The pixels do not match the picture's size.");

    std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    // Logical screen: a global colour table of four entries, background colour 0.
    put16(out, width);
    put16(out, height);
    out.push_back(0x80 | 0x01);
    out.push_back(0);
    out.push_back(0);
    const std::uint8_t colours[4][3] = {{255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    for (const auto& colour : colours)
        out.insert(out.end(), colour, colour + 3);

    // One image covering the screen, not interlaced, without a local colour table.
    out.push_back(0x2C);
    put16(out, 0);
    put16(out, 0);
    put16(out, width);
    put16(out, height);
    out.push_back(0);

    BitWriter bits;
    int sinceClear = kPixelCodesPerClear;
    for (const bool black : blackPixels) {
        if (sinceClear == kPixelCodesPerClear) {
            bits.put(kClearCode, kCodeBits);
            sinceClear = 0;
        }
        bits.put(black ? 1u : 0u, kCodeBits);
        ++sinceClear;
    }
    bits.put(kEndCode, kCodeBits);
    const std::vector<std::uint8_t> data = bits.finish();

    out.push_back(kMinimumCodeSize);
    for (std::size_t i = 0; i < data.size(); i += 255) {
        const std::size_t length = std::min<std::size_t>(255, data.size() - i);
        out.push_back(std::uint8_t(length));
        out.insert(out.end(), data.begin() + std::ptrdiff_t(i),
                   data.begin() + std::ptrdiff_t(i + length));
    }
    out.push_back(0);    // end of the image data
    out.push_back(0x3B); // trailer
    return out;
}

} // namespace gif
