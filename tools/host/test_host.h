// A small VST 2.4 host: creates plug-in instances through their entry point,
// answers the host callback and records every call a plug-in makes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vst/vst_abi.h"
#include "plugin_library.h"

struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  float opt;
  std::string text;  // the text argument, for calls that carry one
};

// What the host answers; tests change these to play other hosts.
struct HostAnswers {
  std::string productString = "Ostrabel Test Host";
  VstIntPtr vendorVersion = 10203;
  bool giveTimeInfo = true;
  VstTimeInfo timeInfo{};
  VstIntPtr processEventsResult = 1;
};

class PluginInstance;

class TestHost {
 public:
  TestHost();
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  // Calls the entry point; the instance is not yet opened. Null when the plug-in refused.
  AEffect* CreateEffect(PluginEntry entry);
  void Forget(AEffect* effect);

  HostAnswers answers;
  std::vector<HostCall> calls;
  // Set to stop recording (the audio path must not allocate in the host either).
  bool recording = true;

  std::size_t Count(VstInt32 opcode) const;

  static VstIntPtr VSTCALLBACK Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                       float opt);

 private:
  VstIntPtr Answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
};

// One plug-in instance driven through its effect record.
class PluginInstance {
 public:
  PluginInstance(TestHost& host, PluginEntry entry);
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  bool Valid() const { return effect_ != nullptr; }
  AEffect* Effect() const { return effect_; }

  // Open, sample rate, block size, processing on: what a host does before audio.
  void Start(double sampleRate, std::int32_t blockSize);
  void Close();

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);
  float GetParameter(VstInt32 index) const;
  void SetParameter(VstInt32 index, float value);

  std::string Text(VstInt32 opcode, VstInt32 index = 0);  // a text opcode's answer
  std::string ParamName(VstInt32 index) { return Text(effGetParamName, index); }
  std::string ParamDisplay(VstInt32 index) { return Text(effGetParamDisplay, index); }
  std::string ParamLabel(VstInt32 index) { return Text(effGetParamLabel, index); }
  std::string ProgramName(VstInt32 index);
  std::vector<std::uint8_t> GetChunk(bool bank);
  VstIntPtr SetChunk(const std::vector<std::uint8_t>& bytes, bool bank);

  void ProcessReplacing(float** in, float** out, VstInt32 frames) { effect_->processReplacing(effect_, in, out, frames); }
  void ProcessAccumulating(float** in, float** out, VstInt32 frames) { effect_->process(effect_, in, out, frames); }
  void ProcessDouble(double** in, double** out, VstInt32 frames) {
    effect_->processDoubleReplacing(effect_, in, out, frames);
  }

 private:
  TestHost& host_;
  AEffect* effect_ = nullptr;
};
