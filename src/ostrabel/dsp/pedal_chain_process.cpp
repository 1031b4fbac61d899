// The per-sample path: no maths library, no allocation, no locking.
#include "pedal_chain.h"
#include "soft_clip.h"

double PedalChain::HighGainBranch(double x) {
  double h = biquads.RunSection(3, x);
  double l = biquads.RunSection(4, h);
  double d = SoftClip((driveAmount * 500.0) * l);
  double f = lowPasses.RunLowPass(3, d) + 1e-20;
  // Three bands of the same signal: 9700 Hz high-pass, 400 Hz and 7500 Hz low-pass.
  return (biquads.RunSection(6, f) * 2.1) * 1.593 + biquads.RunSection(5, f) * 1.017 +
         biquads.RunSection(7, f) * 1.305;
}

double PedalChain::BlendBranch(double s) {
  double b = biquads.RunSection(1, s);
  double h = (b - highPasses.RunLowPass(0, b) + 1e-20) * 32.4;
  double m = b + SoftClip(h);
  double f = lowPasses.RunLowPass(0, m) + 1e-20;
  return biquads.RunSection(2, f);
}

double PedalChain::DoubleClipBranch(double s) {
  double c = lowPasses.RunLowPass(1, s) + 1e-20;
  double h = c - highPasses.RunLowPass(1, c) + 1e-20;
  double d1 = SoftClip((driveAmount * 75.0 + 3.0) * h);
  double d2 = SoftClip(d1);
  double m = lowPasses.RunLowPass(2, d2) + 1e-20;
  double k = d2 - highPasses.RunLowPass(2, d2) + 1e-20;
  return (k * (-0.07) + m) * 0.6;
}

double PedalChain::ToneStack(double y) {
  y = biquads.RunSection(8, y);
  y = biquads.RunSection(9, y);
  return biquads.RunSection(10, y);
}

double PedalChain::CabinetCascade(double y) {
  for (int k = 11; k <= 25; ++k) y = biquads.RunSection(k, y);
  return y;
}

void PedalChain::ProcessBlock(const double* const* inputs, double* const* outputs, int frameCount) {
  const double* in0 = inputs[0];
  const double* in1 = inputs[1];
  double* out0 = outputs[0];
  double* out1 = outputs[1];
  if (!effectOn) {
    // Input i is read before output i is written, so in-place buffers work.
    for (int i = 0; i < frameCount; ++i) {
      double v = in1[i] + in0[i];
      out1[i] = v;
      out0[i] = v;
    }
    return;
  }
  int noiseIndex = 0;
  for (int i = 0; i < frameCount; ++i) {
    double x = (in1[i] + in0[i]) + noiseTable[noiseIndex];
    // Blocks longer than the table reuse it from the start.
    if (++noiseIndex == kNoiseTableLength) noiseIndex = 0;
    double s = biquads.RunSection(0, x);
    double a = HighGainBranch(x);
    double b = BlendBranch(s);
    double c = DoubleClipBranch(s);
    double y = ((b + a) + c) * levelGain;
    y = CabinetCascade(ToneStack(y));
    out1[i] = y;
    out0[i] = y;
  }
  // A non-finite input sample would otherwise stay in the memories for good.
  ClearMemoriesIfNotFinite();
}
