// A plug-in core with a do-nothing binding that records the calls the core makes.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/effect_base.h"
#include "state_bytes.h"

class CoreEffect : public IEffectBase {
 public:
  explicit CoreEffect(std::int32_t numParams, const char* channels = "1-1 2-2", std::int32_t numPrograms = 4,
                      std::int32_t version = 0x10203)
      : IEffectBase(numParams, channels, numPrograms, "Core", "CoreProduct", "maker", version, 0x636F7265,
                    0x6D616B72, 0, false, false, false) {}

  // Parameters 0 .. n-2 continuous 0..1 (step 0.001, default 0.5), the last a
  // two-value switch Off/On with default 1: the shape of the distortion's set.
  void DefinePedalParams() {
    for (std::int32_t i = 0; i + 1 < NumParams(); ++i) {
      ParamAt(i)->SetupDouble(("P" + std::to_string(i)).c_str(), 0.5, 0.0, 1.0, 0.001, "");
    }
    if (NumParams() > 0) {
      IParameter* toggle = ParamAt(NumParams() - 1);
      toggle->SetupEnum("Effect", 1, 2);
      toggle->AddDisplayText(0, "Off");
      toggle->AddDisplayText(1, "On");
    }
  }

  std::vector<double> Values() const {
    std::vector<double> values;
    for (std::int32_t i = 0; i < NumParams(); ++i) values.push_back(ParamAt(i)->Value());
    return values;
  }

  void HandleParamChange(std::int32_t index) override { changes.push_back(index); }
  void ProcessBlock(double** inputs, double** outputs, std::int32_t frames) override {
    blocks.push_back(frames);
    if (processor) {
      processor(inputs, outputs, frames);
    } else {
      IEffectBase::ProcessBlock(inputs, outputs, frames);
    }
  }

  void BeginParamEdit(std::int32_t) override {}
  void NotifyParamChange(std::int32_t index, double value) override { notified.push_back({index, value}); }
  void EndParamEdit(std::int32_t) override {}
  std::int32_t GetSamplePosition() override { return 0; }
  double QueryTempo() override { return 0.0; }
  void QueryTimeSignature(std::int32_t* numerator, std::int32_t* denominator) override {
    *numerator = 0;
    *denominator = 0;
  }
  void UpdateEditorRect(std::int32_t, std::int32_t) override {}
  void ApplyHostQuirks() override {}
  bool SendMidiMessage(const IMidiMessage&) override { return true; }
  bool SendMidiMessages(const IMidiMessage*, std::int32_t) override { return true; }

  std::vector<std::int32_t> changes;
  std::vector<std::int32_t> blocks;
  std::vector<std::pair<std::int32_t, double>> notified;
  std::function<void(double**, double**, std::int32_t)> processor;
};
