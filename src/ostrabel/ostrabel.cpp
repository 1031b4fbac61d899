#include "ostrabel.h"

#include "vst/plugin_factory.h"

namespace {

constexpr std::int32_t kNumPrograms = 16;
constexpr std::int32_t kVersion = 0x20300;  // 2.3.0

}  // namespace

Ostrabel::Ostrabel(audioMasterCallback hostCallback)
    : IEffectVST(hostCallback, kNumParams, "1-1 2-2", kNumPrograms, "Ostrabel", "", "tollerwyn", kVersion,
                 FourCharCode("ost1"), FourCharCode("Toll"), 0, false, false, false) {
  const char* const knobNames[] = {"Level", "Drive", "Low", "Mid", "High"};
  for (std::int32_t i = kLevel; i <= kHigh; ++i) ParamAt(i)->SetupDouble(knobNames[i], 0.5, 0.0, 1.0, 0.001, "");
  IParameter* effect = ParamAt(kEffect);
  effect->SetupEnum("Effect", 1, 2);
  effect->AddDisplayText(0, "Off");
  effect->AddDisplayText(1, "On");

  AddProgram("Init", 0.5, 0.5, 0.5, 0.5, 0.5, 1);
  AddDefaultPrograms("Init", kNumPrograms - 1);
}

Ostrabel::~Ostrabel() = default;

void Ostrabel::HandleParamChange(std::int32_t paramIndex) {
  PlugLock lock(Mutex());
  if (paramIndex == kEffect) {
    const double v = ParamAt(kEffect)->Value();
    if (v >= 0.0 && v < 2.0) effectOn_ = static_cast<std::int32_t>(v) == 1;
  }
}

void Ostrabel::ProcessBlock(double** inputs, double** outputs, std::int32_t frameCount) {
  if (effectOn_) {
    IEffectBase::ProcessBlock(inputs, outputs, frameCount);
    return;
  }
  for (std::int32_t i = 0; i < frameCount; ++i) {
    const double v = inputs[1][i] + inputs[0][i];
    outputs[1][i] = v;
    outputs[0][i] = v;
  }
}

IEffectVST* CreateEffectInstance(audioMasterCallback hostCallback) { return new Ostrabel(hostCallback); }
