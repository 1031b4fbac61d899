// Colour drawing for the primitives: one painter type per combiner byte, so each
// primitive's loops are instantiated once per combiner.
#pragma once

#include "pixel_access.h"
#include "pixel_combiners.h"

#include <type_traits>

namespace bitmap_detail {

// Per-byte floor((a + b) / 2).
constexpr PixelWord Average(PixelWord a, PixelWord b) { return (a & b) + Half(a ^ b); }

template <class Rule>
struct Painter {
    static constexpr bool kPlainCopy = std::is_same_v<Rule, CopyWeighted>;
    PixelWord colour;
    SourceColour source;

    // A point at weight v: plain copy stores at 256, averages at 128, mixes for
    // other positive weights; the other combiners apply their rule.
    void Plot(PixelWord* p, int v) const
    {
        if constexpr (kPlainCopy) {
            if (v == 256) *p = colour;
            else if (v == 128) *p = Average(colour, *p);
            else if (v > 0) Rule::Apply(Bytes(p), source, v);
        } else {
            Rule::Apply(Bytes(p), source, v);
        }
    }
    // An antialiasing share of v: the plain rule without shortcuts.
    void Blend(PixelWord* p, int v) const
    {
        if constexpr (kPlainCopy) {
            if (v > 0) Rule::Apply(Bytes(p), source, v);
        } else {
            Rule::Apply(Bytes(p), source, v);
        }
    }
};

// Calls fn(painter) for combiner bytes 0..5; false (nothing drawn) for any other.
template <class Fn>
bool WithPainter(BlendMode mode, PixelWord colour, Fn&& fn)
{
    const SourceColour source = Channels(colour);
    switch (mode & 0xFFu) {
    case BlendCopy: fn(Painter<CopyWeighted>{colour, source}); return true;
    case BlendAdd: fn(Painter<Add>{colour, source}); return true;
    case BlendDodge: fn(Painter<Dodge>{colour, source}); return true;
    case BlendMultiply: fn(Painter<Multiply>{colour, source}); return true;
    case BlendOverlay: fn(Painter<Overlay>{colour, source}); return true;
    case BlendHSVAdjust: fn(Painter<HSVAdjust>{colour, source}); return true;
    default: return false;
    }
}

// The memory layout of a view: lines and circles mirror their coordinates for
// a bottom-up bitmap and then address memory rows directly.
inline PixelView MemoryLayout(PixelView view)
{
    view.bottomUp = false;
    return view;
}

}  // namespace bitmap_detail
