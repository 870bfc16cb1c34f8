// barcode-gifs FOLDER: writes the pictures of the person barcode's digits, 0.gif ... 9.gif,
// into FOLDER (made when missing), from the program's own Code 39 table.

#include "reports/Code39.h"
#include "tools/barcode-gifs/GifWriter.h"

#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "Usage: barcode-gifs FOLDER\n";
        return 1;
    }
    const std::filesystem::path folder(argv[1]);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::cerr << "The folder " << folder << " cannot be made: " << error.message() << '\n';
        return 2;
    }
    for (char digit = '0'; digit <= '9'; ++digit) {
        const std::vector<std::uint8_t> bytes = gif::encode(
            code39::kPictureWidth, code39::kPictureHeight, code39::picturePixels(digit));
        const std::filesystem::path file = folder / (std::string(1, digit) + ".gif");
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            std::cerr << "The file " << file << " cannot be written.\n";
            return 3;
        }
    }
    return 0;
}
