// Compositing the whole 225 x 333 editor picture the way a full repaint does:
// the backdrop copied onto the drawing surface, then every control's current
// frame alpha-blended on top (five knobs, the foot switch, the LED).
#include "bitmap.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 225, kHeight = 333;

struct Artwork {
    std::unique_ptr<MemoryBitmap> bitmap;
    int frameWidth, frameHeight;
};

// A round control with a soft, antialiased edge and a few shades inside.
Artwork RoundControl(int size, int frames, PixelWord tint)
{
    Artwork art{std::make_unique<MemoryBitmap>(size, size * frames), size, size};
    const double r = size / 2.0 - 1.0;
    for (int f = 0; f < frames; ++f)
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const double d = std::hypot(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0);
                const int alpha = d <= r - 1 ? 255 : d >= r + 1 ? 0 : int(255 * (r + 1 - d) / 2);
                const int shade = (x * 3 + y * 5 + f * 11) & 0x3F;
                art.bitmap->GetPixels()[(f * size + y) * size + x] =
                    MakePixelWord(alpha, PixelRed(tint) - shade / 2, PixelGreen(tint) - shade / 2, PixelBlue(tint) + shade);
            }
    return art;
}

struct Placement {
    const Artwork* art;
    int x, y, frame;
};

struct EditorPicture {
    SystemBitmap surface{kWidth, kHeight};
    MemoryBitmap backdrop{kWidth, kHeight};
    Artwork knob = RoundControl(50, 64, 0xFF303030u);
    Artwork footSwitch = RoundControl(40, 2, 0xFFA0A0A0u);
    Artwork led = RoundControl(16, 2, 0xFFE02020u);
    std::vector<Placement> controls;

    EditorPicture()
    {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) backdrop.GetPixels()[y * kWidth + x] = MakePixelWord(255, 90 + (y & 31), 60 + (x & 15), 40);
        const int knobX[5] = {12, 87, 162, 45, 125}, knobY[5] = {40, 40, 40, 120, 120};
        for (int i = 0; i < 5; ++i) controls.push_back({&knob, knobX[i], knobY[i], 17 + 9 * i});
        controls.push_back({&footSwitch, 92, 250, 1});
        controls.push_back({&led, 104, 215, 1});
    }

    void Paint()
    {
        BlitBitmap(&surface, &backdrop, 0, 0, nullptr, 1.0f, BlendCopy);
        for (const Placement& c : controls)
            BlitBitmapArea(&surface, c.art->bitmap.get(), c.x, c.y, 0, c.frame * c.art->frameHeight, c.art->frameWidth,
                           c.art->frameHeight, 1.0f, BlendUseSourceAlpha);
    }
};

void BM_ComposeEditorPicture(benchmark::State& state)
{
    EditorPicture picture;
    for (auto _ : state) {
        picture.Paint();
        benchmark::DoNotOptimize(picture.surface.GetPixels());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["pixels"] = kWidth * kHeight;
}
BENCHMARK(BM_ComposeEditorPicture);

// One knob frame alone, the common repaint when a single knob turns.
void BM_BlendKnobFrame(benchmark::State& state)
{
    EditorPicture picture;
    for (auto _ : state) {
        const Placement& k = picture.controls[0];
        BlitBitmapArea(&picture.surface, k.art->bitmap.get(), k.x, k.y, 0, k.frame * 50, 50, 50, 1.0f,
                       BlendUseSourceAlpha);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlendKnobFrame);

}  // namespace

BENCHMARK_MAIN();
