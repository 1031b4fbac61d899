// Section designs: bandwidth low-, high-pass and peak, slope-1 high shelf,
// and the one-pole. Each writes only section k of its bank.
//
// A high shelf above half the sample rate (the cabinet's 9500 and 10100 Hz
// shelves below about 20 kHz) is designed at its alias frequency, which has
// the same magnitude response but stays stable.
//
// A design whose formula breaks down is replaced by its limit, a plain gain.
// This happens when a section sits at, or within a hair of, half the sample
// rate or a multiple of it (e.g. 6000 Hz at 12 kHz): alpha overflows, or the
// poles land on the unit circle. Low- and high-passes then pass nothing, a
// peak becomes the gain A^2 it nearly is at neighbouring rates, a shelf A^2
// or 1. Without this one such section would turn the whole output into NaN.
#pragma once

#include "biquad_bank.h"
#include "one_pole_bank.h"

void DesignLowPass(BiquadBank& bank, int k, double K, double c, double workRate);
void DesignHighPass(BiquadBank& bank, int k, double K, double c, double workRate);
void DesignPeak(BiquadBank& bank, int k, double K, double c, double x, double workRate);
void DesignHighShelf(BiquadBank& bank, int k, double K, double x, double workRate);
void DesignOnePole(OnePoleBank& bank, int k, double K, double workRate);
