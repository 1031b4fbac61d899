// First-order low-pass sections as struct-of-arrays: y = (1 - p) x + p y_prev,
// stored as g = 1 - p and m = -p.
#pragma once

struct OnePoleBank {
  static constexpr int kSections = 8;

  double g[kSections] = {};
  double m[kSections] = {};
  double y[kSections] = {};

  double RunLowPass(int k, double x) {
    double out = g[k] * x - m[k] * y[k];
    y[k] = out;
    return out;
  }

  void ClearMemories() {
    for (int k = 0; k < kSections; ++k) y[k] = 0.0;
  }

  bool MemoriesFinite() const {
    double probe = 0.0;
    for (int k = 0; k < kSections; ++k) probe += y[k] * 0.0;
    return probe == probe;
  }
};
