// Bitmap kinds: sizes, storage growth, row span and ReadPixel.
#include "bitmap.h"
#include "bitmap_test_support.h"

#include <gtest/gtest.h>

using namespace bitmap_test;

TEST(MemoryBitmap, EmptyWhenEitherSideIsNotPositive)
{
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-2, 3}, {-2, -3}}) {
        MemoryBitmap bitmap(w, h);
        EXPECT_EQ(bitmap.GetWidth(), 0) << w << "x" << h;
        EXPECT_EQ(bitmap.GetHeight(), 0);
        EXPECT_EQ(bitmap.GetPixels(), nullptr);
    }
    MemoryBitmap scratch;
    EXPECT_EQ(scratch.GetPixels(), nullptr);
    EXPECT_EQ(scratch.GetWidth(), 0);
}

TEST(MemoryBitmap, SizeWhoseByteCountOverflowsIsRefused)
{
    // 40000 x 40000 x 4 wraps in 32 bits; a wrapped block would be far too small.
    MemoryBitmap bitmap(40000, 40000);
    EXPECT_EQ(bitmap.GetPixels(), nullptr);
    EXPECT_EQ(bitmap.GetWidth(), 0);
    MemoryBitmap resized(2, 2);
    EXPECT_TRUE(resized.Resize(40000, 40000));
    EXPECT_EQ(resized.GetPixels(), nullptr);
    EXPECT_EQ(resized.GetWidth(), 0);
    EXPECT_EQ(resized.GetHeight(), 0);
}

TEST(MemoryBitmap, GrowsByAQuarterAndNeverShrinks)
{
    MemoryBitmap bitmap(10, 10);
    EXPECT_EQ(bitmap.GetCapacity(), 400);
    EXPECT_TRUE(bitmap.Resize(12, 12));
    EXPECT_EQ(bitmap.GetCapacity(), 720);  // 576 + 144
    EXPECT_EQ(bitmap.GetRowStride(), 12);
    EXPECT_TRUE(bitmap.Resize(10, 10));
    EXPECT_EQ(bitmap.GetCapacity(), 720);
    EXPECT_FALSE(bitmap.Resize(10, 10));
    EXPECT_TRUE(bitmap.Resize(0, 10));
    EXPECT_EQ(bitmap.GetPixels(), nullptr);
    EXPECT_EQ(bitmap.GetCapacity(), 0);
    EXPECT_EQ(bitmap.GetWidth(), 0);
}

TEST(SystemBitmap, KeepsTheLargerAllocationWhenShrinking)
{
    SystemBitmap bitmap(100, 100);
    ASSERT_NE(bitmap.GetPixels(), nullptr);
    EXPECT_EQ(bitmap.GetRowStride(), 100);
    const PixelWord* before = bitmap.GetPixels();
    EXPECT_TRUE(bitmap.Resize(50, 50));
    EXPECT_EQ(bitmap.GetWidth(), 50);
    EXPECT_EQ(bitmap.GetRowStride(), 100);
    EXPECT_EQ(bitmap.GetPixels(), before);
    EXPECT_FALSE(bitmap.Resize(50, 50));
    EXPECT_TRUE(bitmap.Resize(120, 50));
    EXPECT_EQ(bitmap.GetRowStride(), 120);
    EXPECT_EQ(bitmap.GetWidth(), 120);
}

TEST(SystemBitmap, ZeroSideDropsThePixels)
{
    SystemBitmap bitmap(20, 20);
    EXPECT_FALSE(bitmap.Resize(0, 10));
    EXPECT_EQ(bitmap.GetPixels(), nullptr);
    EXPECT_TRUE(bitmap.Resize(4, 4));
    EXPECT_NE(bitmap.GetPixels(), nullptr);
    EXPECT_EQ(bitmap.GetRowStride(), 4);
    SystemBitmap empty(0, 0);
    EXPECT_EQ(empty.GetPixels(), nullptr);
}

TEST(ReadPixel, ZeroOutsideAndTheWordInside)
{
    MemoryBitmap bitmap(3, 2);
    Fill(bitmap, 0);
    Put(bitmap, 1, 1, 0xFFFF0000u);
    EXPECT_EQ(ReadPixel(&bitmap, 1, 1), MakePixelWord(255, 255, 0, 0));
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(bitmap.GetPixels() + 4)[2], 255);  // byte 2 is red
    Fill(bitmap, 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(&bitmap, 3, 0), 0u);
    EXPECT_EQ(ReadPixel(&bitmap, 0, -1), 0u);
    EXPECT_EQ(ReadPixel(&bitmap, -1, 0), 0u);
    EXPECT_EQ(ReadPixel(&bitmap, 0, 2), 0u);
    EXPECT_EQ(ReadPixel(nullptr, 0, 0), 0u);
    MemoryBitmap empty;
    EXPECT_EQ(ReadPixel(&empty, 0, 0), 0u);
}

TEST(ReadPixel, FlippedBitmapReadsImageRows)
{
    FlippedBitmap bitmap(2, 3);
    Fill(bitmap, 0);
    bitmap.GetPixels()[0] = 0x11223344u;  // memory row 0 is the bottom image row
    EXPECT_EQ(ReadPixel(&bitmap, 0, 2), 0x11223344u);
    EXPECT_EQ(ReadPixel(&bitmap, 0, 0), 0u);
}

TEST(PixelWord, PacksChannelsAsAlphaRedGreenBlue)
{
    EXPECT_EQ(MakePixelWord(255, 0, 0, 0), 0xFF000000u);
    EXPECT_EQ(MakePixelWord(0x12, 0x34, 0x56, 0x78), 0x12345678u);
    EXPECT_EQ(PixelAlpha(0x12345678u), 0x12);
    EXPECT_EQ(PixelRed(0x12345678u), 0x34);
    EXPECT_EQ(PixelGreen(0x12345678u), 0x56);
    EXPECT_EQ(PixelBlue(0x12345678u), 0x78);
}

TEST(ReciprocalTable, EntriesAreFloorOf65536OverIMinusOne)
{
    EXPECT_EQ(ReciprocalTable[0], 0);
    EXPECT_EQ(ReciprocalTable[1], 65535);
    EXPECT_EQ(ReciprocalTable[2], 32767);
    EXPECT_EQ(ReciprocalTable[3], 21844);
    EXPECT_EQ(ReciprocalTable[100], 654);
    EXPECT_EQ(ReciprocalTable[255], 256);
}
