// Second-order sections kept as struct-of-arrays: element k of every array
// belongs to section k. Coefficients are stored already divided by a0.
#pragma once

struct BiquadBank {
  static constexpr int kSections = 32;

  double b0[kSections] = {};
  double b1[kSections] = {};
  double b2[kSections] = {};
  double a1[kSections] = {};
  double a2[kSections] = {};
  double x1[kSections] = {};  // last two inputs
  double x2[kSections] = {};
  double y1[kSections] = {};  // last two outputs, without the offset
  double y2[kSections] = {};

  // Direct form I. The memory keeps y; callers get y + 1e-20 so that no
  // value handed on can decay into the denormal range.
  double RunSection(int k, double x) {
    double y = b0[k] * x + b1[k] * x1[k] + b2[k] * x2[k] - a1[k] * y1[k] - a2[k] * y2[k];
    x2[k] = x1[k];
    x1[k] = x;
    y2[k] = y1[k];
    y1[k] = y;
    return y + 1e-20;
  }

  void SetCoefficients(int k, double nb0, double nb1, double nb2, double na1, double na2) {
    b0[k] = nb0;
    b1[k] = nb1;
    b2[k] = nb2;
    a1[k] = na1;
    a2[k] = na2;
  }

  void ClearMemories() {
    for (int k = 0; k < kSections; ++k) x1[k] = x2[k] = y1[k] = y2[k] = 0.0;
  }

  bool MemoriesFinite() const {
    // v * 0 is NaN exactly when v is infinite or NaN, and NaN survives the sum.
    double probe = 0.0;
    for (int k = 0; k < kSections; ++k) probe += x1[k] * 0.0 + x2[k] * 0.0 + y1[k] * 0.0 + y2[k] * 0.0;
    return probe == probe;
  }
};
