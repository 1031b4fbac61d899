// Encoders for test images: PNG through libpng's writer, JPEG through libjpeg's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bitmap_test {

using Bytes = std::vector<std::uint8_t>;

struct PngImage {
    int width = 0, height = 0;
    int colourType = 0;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    // Packed rows exactly as PNG stores them (samples big-endian for 16 bits).
    std::vector<Bytes> rows;
    // Palette entries R, G, B for colour type 3.
    Bytes palette;
    // tRNS: alpha per palette entry, or the transparent sample value(s) otherwise.
    Bytes paletteAlpha;
    std::vector<int> transparentColour;  // grey {g} or RGB {r, g, b}; empty for none
};

Bytes EncodePng(const PngImage& image);

// components 1 (grey), 3 (RGB) or 4 (CMYK); samples row after row.
Bytes EncodeJpeg(int width, int height, int components, const Bytes& samples, int quality = 95,
                 bool progressive = false);

// Keeps the bytes for the life of the process and registers them as a resource.
void RegisterTestResource(const char* type, int id, const Bytes& bytes);

// Writes the bytes to a fresh file under the system's temporary folder.
std::string WriteTempFile(const std::string& name, const Bytes& bytes);

}  // namespace bitmap_test
