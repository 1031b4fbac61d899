// PNG and JPEG loading: every PNG colour type, JPEG component counts, targets,
// failures, files and the loader registry.
#include "bitmap.h"
#include "bitmap_test_support.h"
#include "image_writers.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <memory>

using namespace bitmap_test;

namespace {

int nextId = 1000;

std::unique_ptr<Bitmap> LoadPngBytes(const Bytes& bytes, Bitmap* target = nullptr)
{
    const int id = nextId++;
    RegisterTestResource("PNG", id, bytes);
    Bitmap* loaded = LoadPngResource(nullptr, id, target);
    if (loaded == target) return nullptr;  // the caller owns the target
    return std::unique_ptr<Bitmap>(loaded);
}

std::unique_ptr<Bitmap> LoadJpegBytes(const Bytes& bytes)
{
    const int id = nextId++;
    RegisterTestResource("JPG", id, bytes);
    return std::unique_ptr<Bitmap>(LoadJpegResource(nullptr, id, nullptr));
}

PngImage Image(int width, int height, int colourType, int bitDepth, std::vector<Bytes> rows)
{
    PngImage image;
    image.width = width, image.height = height, image.colourType = colourType, image.bitDepth = bitDepth;
    image.rows = std::move(rows);
    return image;
}

// A target whose storage never comes.
class RefusingBitmap : public MemoryBitmap {
public:
    bool Resize(std::int32_t, std::int32_t) override { return true; }
};

}  // namespace

TEST(LoadPngResource, RgbaBytesBecomeBlueGreenRedAlphaInMemory)
{
    auto bitmap = LoadPngBytes(EncodePng(Image(2, 1, PNG_COLOR_TYPE_RGBA, 8, {{10, 20, 30, 40, 1, 2, 3, 255}})));
    ASSERT_TRUE(bitmap);
    ASSERT_EQ(bitmap->GetWidth(), 2);
    ASSERT_EQ(bitmap->GetHeight(), 1);
    const auto* bytes = reinterpret_cast<const unsigned char*>(bitmap->GetPixels());
    EXPECT_EQ((std::vector<int>{bytes[0], bytes[1], bytes[2], bytes[3]}), (std::vector<int>{30, 20, 10, 40}));
    EXPECT_EQ(ReadPixel(bitmap.get(), 1, 0), 0xFF010203u);
}

TEST(LoadPngResource, EveryColourTypeComesOutAsStraightArgb)
{
    struct Case {
        const char* name;
        PngImage image;
        std::vector<PixelWord> expected;
    };
    PngImage palette = Image(4, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1, 2, 1}});
    palette.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    PngImage paletteAlpha = palette;
    paletteAlpha.paletteAlpha = {0, 128};  // entry 2 has no tRNS value: opaque
    PngImage palette2 = Image(3, 1, PNG_COLOR_TYPE_PALETTE, 2, {{0b00011011}});
    palette2.palette = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    PngImage greyKey = Image(3, 1, PNG_COLOR_TYPE_GRAY, 8, {{7, 8, 9}});
    greyKey.transparentColour = {8};
    PngImage grey4Key = Image(2, 1, PNG_COLOR_TYPE_GRAY, 4, {{0x5F}});
    grey4Key.transparentColour = {15};
    PngImage rgbKey = Image(2, 1, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3, 4, 5, 6}});
    rgbKey.transparentColour = {4, 5, 6};
    PngImage interlaced = Image(3, 3, PNG_COLOR_TYPE_RGBA, 8,
                                {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                                 {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24},
                                 {25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36}});
    interlaced.interlaced = true;

    const Case cases[] = {
        {"rgb 8", Image(2, 1, PNG_COLOR_TYPE_RGB, 8, {{10, 20, 30, 40, 50, 60}}), {0xFF0A141Eu, 0xFF28323Cu}},
        // 16-bit samples keep their high byte.
        {"rgb 16", Image(1, 1, PNG_COLOR_TYPE_RGB, 16, {{0x12, 0x99, 0x34, 0x01, 0xAB, 0xFF}}), {0xFF1234ABu}},
        {"rgba 16", Image(1, 1, PNG_COLOR_TYPE_RGBA, 16, {{1, 0, 2, 0, 3, 0, 4, 0}}), {0x04010203u}},
        {"grey 8", Image(2, 1, PNG_COLOR_TYPE_GRAY, 8, {{0, 200}}), {0xFF000000u, 0xFFC8C8C8u}},
        {"grey 16", Image(1, 1, PNG_COLOR_TYPE_GRAY, 16, {{0x80, 0x7F}}), {0xFF808080u}},
        {"grey 1", Image(3, 1, PNG_COLOR_TYPE_GRAY, 1, {{0b10100000}}), {0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu}},
        // 2-bit 1 scales to 0x55, 4-bit 10 to 0xAA.
        {"grey 2", Image(2, 1, PNG_COLOR_TYPE_GRAY, 2, {{0b01110000}}), {0xFF555555u, 0xFFFFFFFFu}},
        {"grey 4", Image(2, 1, PNG_COLOR_TYPE_GRAY, 4, {{0xA0}}), {0xFFAAAAAAu, 0xFF000000u}},
        {"grey+alpha 8", Image(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{50, 0, 60, 255}}), {0x00323232u, 0xFF3C3C3Cu}},
        {"grey+alpha 16", Image(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, {{0x40, 0, 0x90, 0}}), {0x90404040u}},
        {"palette", palette, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF00FF00u}},
        {"palette+tRNS", paletteAlpha, {0x00FF0000u, 0x8000FF00u, 0xFF0000FFu, 0x8000FF00u}},
        {"palette 2-bit", palette2, {0xFF010203u, 0xFF040506u, 0xFF070809u}},
        {"grey+tRNS", greyKey, {0xFF070707u, 0x00080808u, 0xFF090909u}},
        {"grey 4+tRNS", grey4Key, {0xFF555555u, 0x00FFFFFFu}},
        {"rgb+tRNS", rgbKey, {0xFF010203u, 0x00040506u}},
        {"interlaced", interlaced,
         {0x04010203u, 0x08050607u, 0x0C090A0Bu, 0x100D0E0Fu, 0x14111213u, 0x18151617u, 0x1C191A1Bu, 0x201D1E1Fu,
          0x24212223u}},
    };
    for (const Case& c : cases) {
        auto bitmap = LoadPngBytes(EncodePng(c.image));
        ASSERT_TRUE(bitmap) << c.name;
        EXPECT_EQ(Pixels(*bitmap), c.expected) << c.name;
    }
}

TEST(LoadPngResource, FillsAGivenTargetHonouringItsLayout)
{
    const Bytes png = EncodePng(Image(2, 2, PNG_COLOR_TYPE_RGB, 8, {{1, 1, 1, 2, 2, 2}, {3, 3, 3, 4, 4, 4}}));
    FlippedBitmap flipped(5, 5);
    const int id = nextId++;
    RegisterTestResource("png", id, png);  // types compare without regard to case
    EXPECT_EQ(LoadPngResource(nullptr, id, &flipped), &flipped);
    EXPECT_EQ(Pixels(flipped), (std::vector<PixelWord>{0xFF010101u, 0xFF020202u, 0xFF030303u, 0xFF040404u}));

    SystemBitmap surface(8, 8);
    EXPECT_EQ(LoadPngResource(nullptr, id + 0x10000, &surface), &surface);  // only the low 16 bits count
    EXPECT_EQ(surface.GetRowStride(), 8);
    EXPECT_EQ(Pixels(surface), Pixels(flipped));

    RefusingBitmap refusing;
    EXPECT_EQ(LoadPngResource(nullptr, id, &refusing), nullptr);
}

TEST(LoadPngResource, RejectsMissingShortForeignAndDamagedResources)
{
    const Bytes good = EncodePng(Image(4, 4, PNG_COLOR_TYPE_RGB, 8, std::vector<Bytes>(4, Bytes(12, 9))));
    ASSERT_TRUE(LoadPngBytes(good));
    EXPECT_EQ(LoadPngResource(nullptr, 999, nullptr), nullptr);  // never registered
    EXPECT_FALSE(LoadPngBytes(Bytes(good.begin(), good.begin() + 7)));
    Bytes foreign = good;
    foreign[1] = 'Q';
    EXPECT_FALSE(LoadPngBytes(foreign));
    // Cut inside the image data: the reader pads with zeros, which libpng rejects.
    EXPECT_FALSE(LoadPngBytes(Bytes(good.begin(), good.end() - 20)));
    Bytes badCrc = good;
    badCrc[29] ^= 0xFF;  // inside IHDR
    EXPECT_FALSE(LoadPngBytes(badCrc));
    // Nothing leaks on these paths (the sanitizer build checks), and a target
    // keeps the size it was given before the failure.
    MemoryBitmap target(1, 1);
    EXPECT_EQ(LoadPngResource(nullptr, [&] {
                  const int id = nextId++;
                  RegisterTestResource("PNG", id, Bytes(good.begin(), good.end() - 20));
                  return id;
              }(),
                              &target),
              nullptr);
    EXPECT_EQ(target.GetWidth(), 4);
}

TEST(LoadPngResource, RefusesHugeDimensions)
{
    // A valid header claiming 60000 x 60000 pixels over a tiny stream.
    Bytes png = EncodePng(Image(1, 1, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3}}));
    const std::uint8_t big[4] = {0x00, 0x00, 0xEA, 0x60};
    std::memcpy(&png[16], big, 4);
    std::memcpy(&png[20], big, 4);
    const unsigned long crc = crc32(crc32(0, nullptr, 0), &png[12], 17);
    for (int i = 0; i < 4; ++i) png[29 + i] = std::uint8_t(crc >> (24 - 8 * i));
    EXPECT_FALSE(LoadPngBytes(png));
}

TEST(LoadJpegResource, GreyRgbAndFourComponentImages)
{
    auto grey = LoadJpegBytes(EncodeJpeg(8, 8, 1, Bytes(64, 128)));
    ASSERT_TRUE(grey);
    EXPECT_EQ(ReadPixel(grey.get(), 3, 5), 0xFF808080u);

    Bytes rgb;
    for (int i = 0; i < 16 * 8; ++i) rgb.insert(rgb.end(), {200, 40, 90});
    auto colour = LoadJpegBytes(EncodeJpeg(16, 8, 3, rgb));
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->GetWidth(), 16);
    const PixelWord p = ReadPixel(colour.get(), 9, 4);
    EXPECT_EQ(PixelAlpha(p), 255);
    EXPECT_NEAR(PixelRed(p), 200, 3);
    EXPECT_NEAR(PixelGreen(p), 40, 3);
    EXPECT_NEAR(PixelBlue(p), 90, 3);

    auto cmyk = LoadJpegBytes(EncodeJpeg(8, 8, 4, Bytes(8 * 8 * 4, 77)));
    ASSERT_TRUE(cmyk);
    EXPECT_EQ(Pixels(*cmyk), std::vector<PixelWord>(64, 0u));
}

TEST(LoadJpegResource, TruncatedStreamsEndAsIfCompleteAndJunkIsRejected)
{
    Bytes samples(32 * 32);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = std::uint8_t(i * 7);
    const Bytes jpeg = EncodeJpeg(32, 32, 1, samples);
    auto truncated = LoadJpegBytes(Bytes(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(jpeg.size() * 2 / 3)));
    ASSERT_TRUE(truncated);
    EXPECT_EQ(truncated->GetWidth(), 32);
    EXPECT_EQ(truncated->GetHeight(), 32);
    EXPECT_FALSE(LoadJpegBytes(Bytes(jpeg.begin(), jpeg.begin() + 7)));
    EXPECT_FALSE(LoadJpegBytes(Bytes(300, 0x42)));
    EXPECT_FALSE(LoadJpegBytes(Bytes(jpeg.begin(), jpeg.begin() + 40)));  // header cut short
}

TEST(ImageFiles, LoadByPathAndExtension)
{
    const std::string png = WriteTempFile("picture.PNG", EncodePng(Image(1, 1, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3}})));
    const std::string jpeg = WriteTempFile("picture.jpeg", EncodeJpeg(8, 8, 1, Bytes(64, 50)));
    const std::string misnamed = WriteTempFile("picture.bmp", EncodePng(Image(1, 1, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3}})));

    std::unique_ptr<Bitmap> fromPng(LoadPngFile(png.c_str(), nullptr));
    ASSERT_TRUE(fromPng);
    EXPECT_EQ(ReadPixel(fromPng.get(), 0, 0), 0xFF010203u);
    std::unique_ptr<Bitmap> fromJpeg(LoadJpegFile(jpeg.c_str(), nullptr));
    ASSERT_TRUE(fromJpeg);
    EXPECT_EQ(ReadPixel(fromJpeg.get(), 7, 7), 0xFF323232u);

    EXPECT_EQ(LoadPngFileWithExtension(misnamed.c_str(), nullptr, true), nullptr);
    std::unique_ptr<Bitmap> unchecked(LoadPngFileWithExtension(misnamed.c_str(), nullptr, false));
    EXPECT_TRUE(unchecked);
    EXPECT_EQ(LoadJpegFileWithExtension(png.c_str(), nullptr, true), nullptr);
    EXPECT_EQ(LoadJpegFile(png.c_str(), nullptr), nullptr);
    EXPECT_EQ(LoadPngFile(jpeg.c_str(), nullptr), nullptr);
    EXPECT_EQ(LoadPngFile("/nonexistent/picture.png", nullptr), nullptr);
    EXPECT_EQ(LoadPngFile(nullptr, nullptr), nullptr);

    std::unique_ptr<Bitmap> viaRegistry(LoadImageFile(jpeg.c_str(), nullptr));
    ASSERT_TRUE(viaRegistry);
    EXPECT_EQ(viaRegistry->GetWidth(), 8);
    EXPECT_EQ(LoadImageFile(misnamed.c_str(), nullptr), nullptr);
}

TEST(ImageLoaderRegistry, PngFirstThenJpegWithDialogFilters)
{
    const ImageLoaderEntry* png = ImageLoaderRegistry();
    ASSERT_NE(png, nullptr);
    ASSERT_NE(png->next, nullptr);
    const ImageLoaderEntry* jpeg = png->next;
    EXPECT_EQ(jpeg->next, nullptr);
    const char* pngFilter = png->filterText();
    EXPECT_STREQ(pngFilter, "PNG files (*.PNG)");
    EXPECT_STREQ(pngFilter + std::strlen(pngFilter) + 1, "*.PNG");
    EXPECT_STREQ(pngFilter + std::strlen(pngFilter) + 1 + 6, "");
    const char* jpegFilter = jpeg->filterText();
    EXPECT_STREQ(jpegFilter, "JPEG files (*.JPG;*.JPEG;*.JFIF)");
    EXPECT_STREQ(jpegFilter + std::strlen(jpegFilter) + 1, "*.JPG;*.JPEG;*.JFIF");
    EXPECT_EQ(png->load, &LoadPngFileWithExtension);
    EXPECT_EQ(jpeg->load, &LoadJpegFileWithExtension);
}
