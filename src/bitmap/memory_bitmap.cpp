#include "bitmap.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Bytes for width x height pixels, or 0 when either side is not positive or the
// block would not fit a signed 32-bit size (a wrapped size would be too small).
std::int32_t ByteNeed(std::int32_t width, std::int32_t height)
{
    if (width <= 0 || height <= 0) return 0;
    const std::int64_t need = std::int64_t(width) * height * 4;
    return need > INT32_MAX ? 0 : std::int32_t(need);
}

}  // namespace

MemoryBitmap::MemoryBitmap(std::int32_t width, std::int32_t height) : width_(width), height_(height)
{
    capacity_ = ByteNeed(width, height);
    if (capacity_ > 0) pixels_ = static_cast<PixelWord*>(std::malloc(std::size_t(capacity_)));
    if (!pixels_) width_ = height_ = capacity_ = 0;
}

MemoryBitmap::~MemoryBitmap() { std::free(pixels_); }

bool MemoryBitmap::Resize(std::int32_t width, std::int32_t height)
{
    if (width == width_ && height == height_) return false;
    width_ = width;
    height_ = height;
    const std::int32_t need = ByteNeed(width, height);
    if (need > 0) {
        if (!pixels_) {
            capacity_ = need;
            pixels_ = static_cast<PixelWord*>(std::malloc(std::size_t(need)));
        } else if (capacity_ < need) {
            // Grow to 1.25 times the need so that repeated growth stays cheap.
            const std::int64_t grown = std::int64_t(need) + need / 4;
            const std::int32_t capacity = grown > INT32_MAX ? need : std::int32_t(grown);
            if (void* moved = std::realloc(pixels_, std::size_t(capacity))) {
                pixels_ = static_cast<PixelWord*>(moved);
                capacity_ = capacity;
            } else {
                std::free(pixels_);
                capacity_ = need;
                pixels_ = static_cast<PixelWord*>(std::malloc(std::size_t(need)));
            }
        }
    } else {
        std::free(pixels_);
        pixels_ = nullptr;
        capacity_ = 0;
    }
    if (!pixels_) width_ = height_ = capacity_ = 0;
    return true;
}
