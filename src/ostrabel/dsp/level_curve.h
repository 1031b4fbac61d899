// The Level knob's exponential taper: 0 at the bottom, about -24.7 dB in the
// middle and -14.8 dB at the top.
#pragma once

// 1 / (1 - e^-3), fixed for the life of the process.
extern const double levelNorm;

double LevelGainFor(double level);
