// The pedal's clipper: gain 5 at zero, bending to +-0.5 with zero slope at
// |c| = 0.2 and flat beyond.
#pragma once

inline double SoftClip(double c) {
  double magnitude = c < 0.0 ? -c : c;
  if (magnitude < 0.2) return ((1.0 - magnitude / 0.4) * c) * 0.5 * 10.0;
  return c >= 0.0 ? 0.5 : -0.5;
}
