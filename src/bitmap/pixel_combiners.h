// The PixelCombiner rules. Each rule is a type with one static Apply, so every
// pixel loop is instantiated once per rule from a single template.
#pragma once

#include "pixel_access.h"

#include <cstdint>

namespace bitmap_detail {

// Source channel values; they may exceed a byte where a rule feeds a weight in as alpha.
struct SourceColour {
    int b, g, r, a;
};

inline SourceColour Channels(PixelWord p)
{
    return {PixelBlue(p), PixelGreen(p), PixelRed(p), PixelAlpha(p)};
}

inline std::uint8_t ClampByte(int v) { return std::uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// d points at the destination bytes B, G, R, A.
struct CopyWhole {
    static void Apply(std::uint8_t* d, const SourceColour& s, int)
    {
        d[0] = std::uint8_t(s.b), d[1] = std::uint8_t(s.g), d[2] = std::uint8_t(s.r), d[3] = std::uint8_t(s.a);
    }
};

struct CopyWeighted {
    static int Channel(int dv, int sv, int w) { return sv + (dv - sv) * (256 - w) / 256; }
    static void Apply(std::uint8_t* d, const SourceColour& s, int w)
    {
        d[0] = std::uint8_t(Channel(d[0], s.b, w));
        d[1] = std::uint8_t(Channel(d[1], s.g, w));
        d[2] = std::uint8_t(Channel(d[2], s.r, w));
        d[3] = std::uint8_t(Channel(d[3], s.a, w));
    }
};

struct Add {
    static void Apply(std::uint8_t* d, const SourceColour& s, int w)
    {
        d[0] = ClampByte(d[0] + s.b * w / 256);
        d[1] = ClampByte(d[1] + s.g * w / 256);
        d[2] = ClampByte(d[2] + s.r * w / 256);
        d[3] = ClampByte(d[3] + s.a * w / 256);
    }
};

struct Dodge {
    static std::uint8_t Channel(int dv, int sv, int w)
    {
        const int s = sv * w / 256;
        if (s > 254) return ClampByte(dv * 256);
        return ClampByte(dv * 256 / (256 - s));
    }
    static void Apply(std::uint8_t* d, const SourceColour& s, int w)
    {
        d[0] = Channel(d[0], s.b, w), d[1] = Channel(d[1], s.g, w);
        d[2] = Channel(d[2], s.r, w), d[3] = Channel(d[3], s.a, w);
    }
};

struct Multiply {
    static std::uint8_t Channel(int dv, int sv, int w) { return std::uint8_t((sv * w + (256 - w) * 256) * dv / 65536); }
    static void Apply(std::uint8_t* d, const SourceColour& s, int w)
    {
        d[0] = Channel(d[0], s.b, w), d[1] = Channel(d[1], s.g, w);
        d[2] = Channel(d[2], s.r, w), d[3] = Channel(d[3], s.a, w);
    }
};

struct Overlay {
    static std::uint8_t Channel(int dv, int sv, int w)
    {
        const int m = (256 - w) * 128;
        return ClampByte(((32768 - sv * w - m) * dv / 256 + sv * w + m) * dv / 32768);
    }
    static void Apply(std::uint8_t* d, const SourceColour& s, int w)
    {
        d[0] = Channel(d[0], s.b, w), d[1] = Channel(d[1], s.g, w);
        d[2] = Channel(d[2], s.r, w), d[3] = Channel(d[3], s.a, w);
    }
};

// Moves the destination colour in hue (0..383, six sextants of 64), saturation
// and value by the source red, green and blue; alpha becomes the source alpha.
struct HSVAdjust {
    static void Apply(std::uint8_t* d, const SourceColour& s, int w)
    {
        const int R = d[2], G = d[1], B = d[0];
        int value, delta, base, n;
        if (G > R) {
            if (G > B) value = G, delta = G - (R < B ? R : B), base = 128, n = B - R;
            else value = B, delta = B - R, base = 256, n = R - G;
        } else if (R > B) {
            if (G < B) value = R, delta = R - G, base = 383, n = G - B;
            else value = R, delta = R - B, base = 0, n = G - B;
        } else {
            value = B, delta = B - (G < R ? G : R), base = 256, n = R - G;
        }
        int saturation = delta * ReciprocalTable[value] / 256;
        int hue = base + n * (ReciprocalTable[delta] + 1) / 1024;

        hue += (s.r + s.r / 2 - 192) * w / 256;
        if (hue < 0) hue += 384;
        else if (hue >= 384) hue -= 384;
        saturation = ClampByte(saturation + (s.g - 128) * w / 256);
        value = ClampByte(value + (s.b - 128) * w / 256);

        const int V = value, Sat = saturation;
        const int P = (256 - Sat) * V / 256;
        auto F = [&](int offset) { return (16384 - offset * Sat) * V / 16384; };
        int r, g, b;
        if (hue < 64) r = V, g = F(64 - hue), b = P;
        else if (hue < 128) r = F(hue - 64), g = V, b = P;
        else if (hue < 192) r = P, g = V, b = F(192 - hue);
        else if (hue < 256) r = P, g = F(hue - 192), b = V;
        else if (hue < 320) r = F(320 - hue), g = P, b = V;
        else r = V, g = P, b = F(hue - 320);
        d[0] = std::uint8_t(b), d[1] = std::uint8_t(g), d[2] = std::uint8_t(r), d[3] = std::uint8_t(s.a);
    }
};

// Weights the rule by the source alpha: w' = w x (Sa + 1) / 256. Copy, add and
// multiply leave the pixel alone for a fully transparent source.
template <class Rule, bool SkipTransparent>
struct WithSourceAlpha {
    static void Apply(std::uint8_t* d, const SourceColour& s, int w)
    {
        if (SkipTransparent && s.a == 0) return;
        Rule::Apply(d, s, w * (s.a + 1) / 256);
    }
};

// Copy with source alpha at full weight: an opaque source stores its colour and
// clears the alpha byte; a translucent one mixes with k = 255 - Sa and moves the
// alpha towards Sa + 1.
struct CopySourceAlphaFull {
    static void Apply(std::uint8_t* d, const SourceColour& s, int)
    {
        if (s.a == 0) return;
        if (s.a == 255) {
            d[0] = std::uint8_t(s.b), d[1] = std::uint8_t(s.g), d[2] = std::uint8_t(s.r), d[3] = 0;
            return;
        }
        const int k = 255 - s.a;
        const int a1 = s.a + 1;
        d[0] = std::uint8_t(s.b + (d[0] - s.b) * k / 256);
        d[1] = std::uint8_t(s.g + (d[1] - s.g) * k / 256);
        d[2] = std::uint8_t(s.r + (d[2] - s.r) * k / 256);
        d[3] = std::uint8_t(a1 + (d[3] - a1) * k / 256);
    }
};

// Calls visit.template operator()<Rule>() with the rule that the combiner field
// (mode & 0x100FF) selects at weight w; false when it draws nothing.
template <class Visitor>
bool DispatchCombiner(BlendMode mode, int w, Visitor&& visit)
{
    switch (mode & 0x100FFu) {
    case BlendCopy:
        if (w <= 0) return false;
        if (w == 256) visit.template operator()<CopyWhole>();
        else visit.template operator()<CopyWeighted>();
        return true;
    case BlendAdd: visit.template operator()<Add>(); return true;
    case BlendDodge: visit.template operator()<Dodge>(); return true;
    case BlendMultiply: visit.template operator()<Multiply>(); return true;
    case BlendOverlay: visit.template operator()<Overlay>(); return true;
    case BlendHSVAdjust: visit.template operator()<HSVAdjust>(); return true;
    case BlendUseSourceAlpha | BlendCopy:
        if (w == 256) visit.template operator()<CopySourceAlphaFull>();
        else visit.template operator()<WithSourceAlpha<CopyWeighted, true>>();
        return true;
    case BlendUseSourceAlpha | BlendAdd: visit.template operator()<WithSourceAlpha<Add, true>>(); return true;
    case BlendUseSourceAlpha | BlendDodge: visit.template operator()<WithSourceAlpha<Dodge, false>>(); return true;
    case BlendUseSourceAlpha | BlendMultiply:
        visit.template operator()<WithSourceAlpha<Multiply, true>>();
        return true;
    case BlendUseSourceAlpha | BlendOverlay:
        visit.template operator()<WithSourceAlpha<Overlay, false>>();
        return true;
    case BlendUseSourceAlpha | BlendHSVAdjust:
        visit.template operator()<WithSourceAlpha<HSVAdjust, false>>();
        return true;
    default: return false;
    }
}

}  // namespace bitmap_detail
