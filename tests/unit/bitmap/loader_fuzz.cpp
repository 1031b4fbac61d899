// Corpus-driven mutation run over the PNG and JPEG loaders. Seeded and bounded,
// so every run feeds the same inputs; meant for the sanitizer build, where any
// out-of-bounds access, leak or undefined behaviour fails it.
//   loader_fuzz [iterations] [seed]
#include "bitmap.h"
#include "image_writers.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace bitmap_test;

namespace {

struct Seed {
    const char* name;
    Bytes bytes;
    bool png;
};

PngImage Gradient(int width, int height, int colourType, int bitDepth, bool interlaced)
{
    PngImage image;
    image.width = width, image.height = height, image.colourType = colourType, image.bitDepth = bitDepth;
    image.interlaced = interlaced;
    const int channels = colourType == PNG_COLOR_TYPE_RGB         ? 3
                         : colourType == PNG_COLOR_TYPE_RGBA       ? 4
                         : colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                   : 1;
    const int rowBytes = (width * channels * bitDepth + 7) / 8;
    for (int y = 0; y < height; ++y) {
        Bytes row(static_cast<std::size_t>(rowBytes));
        for (int i = 0; i < rowBytes; ++i) row[std::size_t(i)] = std::uint8_t(i * 37 + y * 11);
        if (colourType == PNG_COLOR_TYPE_PALETTE && bitDepth == 8)
            for (auto& b : row) b %= 6;
        image.rows.push_back(row);
    }
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        for (int i = 0; i < (1 << std::min(bitDepth, 4)); ++i) image.palette.insert(image.palette.end(), {std::uint8_t(i * 40), 90, std::uint8_t(255 - i)});
        image.paletteAlpha = {0, 64, 128};
    }
    return image;
}

std::vector<Seed> Corpus()
{
    std::vector<Seed> corpus;
    corpus.push_back({"rgba8", EncodePng(Gradient(13, 7, PNG_COLOR_TYPE_RGBA, 8, false)), true});
    corpus.push_back({"rgba16 interlaced", EncodePng(Gradient(9, 9, PNG_COLOR_TYPE_RGBA, 16, true)), true});
    corpus.push_back({"rgb8", EncodePng(Gradient(17, 5, PNG_COLOR_TYPE_RGB, 8, false)), true});
    corpus.push_back({"grey1", EncodePng(Gradient(19, 6, PNG_COLOR_TYPE_GRAY, 1, false)), true});
    corpus.push_back({"grey4 interlaced", EncodePng(Gradient(11, 11, PNG_COLOR_TYPE_GRAY, 4, true)), true});
    corpus.push_back({"grey+alpha16", EncodePng(Gradient(6, 8, PNG_COLOR_TYPE_GRAY_ALPHA, 16, false)), true});
    corpus.push_back({"palette4", EncodePng(Gradient(10, 4, PNG_COLOR_TYPE_PALETTE, 4, false)), true});
    corpus.push_back({"palette8", EncodePng(Gradient(12, 12, PNG_COLOR_TYPE_PALETTE, 8, true)), true});
    Bytes grey(24 * 16), rgb(24 * 16 * 3), cmyk(16 * 8 * 4);
    for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = std::uint8_t(i * 13);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = std::uint8_t(i * 7 + i / 50);
    for (std::size_t i = 0; i < cmyk.size(); ++i) cmyk[i] = std::uint8_t(i * 3);
    corpus.push_back({"jpeg grey", EncodeJpeg(24, 16, 1, grey), false});
    corpus.push_back({"jpeg rgb", EncodeJpeg(24, 16, 3, rgb, 80), false});
    corpus.push_back({"jpeg rgb progressive", EncodeJpeg(24, 16, 3, rgb, 70, true), false});
    corpus.push_back({"jpeg cmyk", EncodeJpeg(16, 8, 4, cmyk), false});
    return corpus;
}

// Recomputes every complete chunk's CRC so that mutations reach past libpng's checks.
void FixPngCrcs(Bytes& png)
{
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::size_t length = std::size_t(png[at]) << 24 | std::size_t(png[at + 1]) << 16 |
                                   std::size_t(png[at + 2]) << 8 | png[at + 3];
        if (length > png.size() - at - 12) break;
        const uLong crc = crc32(crc32(0, nullptr, 0), &png[at + 4], uInt(length + 4));
        for (int i = 0; i < 4; ++i) png[at + 8 + length + std::size_t(i)] = std::uint8_t(crc >> (24 - 8 * i));
        at += length + 12;
    }
}

void Mutate(Bytes& bytes, std::mt19937& random)
{
    auto pick = [&](std::size_t n) { return std::size_t(random() % (n ? n : 1)); };
    const int count = 1 + int(random() % 4);
    for (int m = 0; m < count && !bytes.empty(); ++m) {
        switch (random() % 7) {
        case 0: bytes[pick(bytes.size())] ^= std::uint8_t(1u << (random() % 8)); break;
        case 1: {
            static const std::uint8_t interesting[] = {0x00, 0xFF, 0x7F, 0x80, 0x01, 0x10, 0xFE};
            bytes[pick(bytes.size())] = interesting[random() % 7];
            break;
        }
        case 2: bytes.resize(pick(bytes.size())); break;
        case 3: {
            const std::size_t at = pick(bytes.size()), n = 1 + pick(32);
            Bytes extra(n);
            for (auto& b : extra) b = std::uint8_t(random());
            bytes.insert(bytes.begin() + std::ptrdiff_t(at), extra.begin(), extra.end());
            break;
        }
        case 4: {
            // Large sizes where headers keep their dimensions.
            const std::size_t at = pick(bytes.size());
            const std::uint8_t big[] = {0x00, 0x01, 0xFF, 0x7F};
            for (int i = 0; i < 2 && at + std::size_t(i) < bytes.size(); ++i) bytes[at + std::size_t(i)] = big[random() % 4];
            break;
        }
        case 5: {
            const std::size_t at = pick(bytes.size()), n = std::min(bytes.size() - at, 1 + pick(16));
            bytes.erase(bytes.begin() + std::ptrdiff_t(at), bytes.begin() + std::ptrdiff_t(at + n));
            break;
        }
        default: bytes[pick(bytes.size())] = std::uint8_t(random()); break;
        }
    }
}

// Every pixel of a returned bitmap is read, so a short allocation shows up under AddressSanitizer.
bool Valid(Bitmap* bitmap)
{
    if (bitmap->GetWidth() <= 0 || bitmap->GetHeight() <= 0 || !bitmap->GetPixels()) return false;
    PixelWord sum = 0;
    for (int y = 0; y < bitmap->GetHeight(); ++y)
        for (int x = 0; x < bitmap->GetWidth(); ++x) sum += ReadPixel(bitmap, x, y);
    volatile PixelWord sink = sum;
    (void)sink;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const long iterations = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 6000;
    const unsigned seed = argc > 2 ? unsigned(std::strtoul(argv[2], nullptr, 10)) : 20240611u;
    const std::vector<Seed> corpus = Corpus();
    std::mt19937 random(seed);
    constexpr int kId = 4242;
    long decoded = 0, rejected = 0, invalid = 0;
    Bytes input, registered;

    for (long i = 0; i < iterations; ++i) {
        const Seed& origin = corpus[std::size_t(random() % corpus.size())];
        input = origin.bytes;
        Mutate(input, random);
        if (origin.png && random() % 2) FixPngCrcs(input);
        // Now and then the other format's loader gets the bytes.
        const bool asPng = (random() % 8 == 0) ? !origin.png : origin.png;

        MemoryBitmap memoryTarget(3, 3);
        SystemBitmap systemTarget(40, 40);
        Bitmap* target = nullptr;
        switch (random() % 3) {
        case 1: target = &memoryTarget; break;
        case 2: target = &systemTarget; break;
        default: break;
        }

        Bitmap* result = nullptr;
        if (i % 16 == 0) {
            const std::string path = WriteTempFile(asPng ? "fuzz.png" : "fuzz.jpg", input);
            result = asPng ? LoadPngFile(path.c_str(), target) : LoadJpegFile(path.c_str(), target);
        } else {
            // The table keeps a pointer: the bytes stay in `registered` until the next input replaces them.
            registered = input.empty() ? Bytes{0} : input;
            RegisterEmbeddedResource(asPng ? "PNG" : "JPG", kId, registered.data(), registered.size());
            result = asPng ? LoadPngResource(nullptr, kId, target) : LoadJpegResource(nullptr, kId, target);
        }
        if (!result) {
            ++rejected;
            continue;
        }
        if (target && result != target) ++invalid;
        if (!Valid(result)) ++invalid;
        else ++decoded;
        if (result != target) delete result;
    }
    std::printf("loader fuzz: %ld inputs from %zu seeds (seed %u): %ld decoded, %ld rejected, %ld invalid\n",
                iterations, corpus.size(), seed, decoded, rejected, invalid);
    return invalid == 0 ? 0 : 1;
}
