// The distortion pedal: identity, parameters and programs, and the glue
// between the plug-in core and the signal chain.
#pragma once

#include "pedal_chain.h"
#include "vst/effect_vst.h"

class Ostrabel : public IEffectVST {
 public:
  explicit Ostrabel(audioMasterCallback hostCallback);
  ~Ostrabel() override;

  void ResetProcessing() override;
  void HandleParamChange(std::int32_t paramIndex) override;
  void ProcessBlock(double** inputs, double** outputs, std::int32_t frameCount) override;

  enum ParamIndex : std::int32_t { kLevel, kDrive, kLow, kMid, kHigh, kEffect, kNumParams };

 private:
  std::int32_t ledControl = -1;  // the editor's LED, once there is an editor
  PedalChain chain;
};
