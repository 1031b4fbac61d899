#include "ostrabel.h"

#include "editor/graphics_base.h"
#include "vst/plugin_factory.h"

namespace {

constexpr std::int32_t kNumPrograms = 16;
constexpr std::int32_t kVersion = 0x20300;  // 2.3.0

// The chain numbers its parameters as the effect does.
static_assert(int(Ostrabel::kLevel) == LevelParam && int(Ostrabel::kDrive) == DriveParam &&
              int(Ostrabel::kLow) == LowParam && int(Ostrabel::kMid) == MidParam &&
              int(Ostrabel::kHigh) == HighParam && int(Ostrabel::kEffect) == EffectParam);

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

void Ostrabel::ResetProcessing() {
  PlugLock lock(Mutex());
  chain.ResetProcessing(SampleRate());
}

void Ostrabel::HandleParamChange(std::int32_t paramIndex) {
  PlugLock lock(Mutex());
  const IParameter* param = ParamAt(paramIndex);
  if (!param) return;
  const std::optional<double> led = chain.HandleParamChange(paramIndex, param->Value());
  if (led && Editor() && ledControl >= 0) Editor()->ShowControlValue(ledControl, *led);
}

void Ostrabel::ProcessBlock(double** inputs, double** outputs, std::int32_t frameCount) {
  chain.ProcessBlock(inputs, outputs, frameCount);
}

IEffectVST* CreateEffectInstance(audioMasterCallback hostCallback) { return new Ostrabel(hostCallback); }
