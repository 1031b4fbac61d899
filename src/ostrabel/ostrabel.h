// The distortion pedal: identity, parameters and programs, and the glue
// between the plug-in core and the signal chain.
#pragma once

#include "vst/effect_vst.h"

class Ostrabel : public IEffectVST {
 public:
  explicit Ostrabel(audioMasterCallback hostCallback);
  ~Ostrabel() override;

  enum ParamIndex : std::int32_t { kLevel, kDrive, kLow, kMid, kHigh, kEffect, kNumParams };
};
