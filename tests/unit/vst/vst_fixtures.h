// A host stand-in that records every call the plug-in makes and answers the
// few questions the binding asks, and a small effect built on the binding
// that records what the binding asks of it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "fake_editor.h"
#include "vst/effect_vst.h"

struct HostCall {
  AEffect* effect;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
};

// A copy of what arrived through audioMasterProcessEvents.
struct SentEvents {
  VstInt32 numEvents;
  VstIntPtr reserved;
  VstEvent* second;  // the pointer after the first event
  VstEvent* first;
  VstMidiEvent midi;  // the first event's bytes, read as a MIDI event
};

class FakeHost {
 public:
  FakeHost() { current_ = this; }
  ~FakeHost() { current_ = nullptr; }
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  static VstIntPtr VSTCALLBACK Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                        void* ptr, float opt);

  std::size_t Count(VstInt32 opcode) const;
  std::vector<VstInt32> Opcodes() const;

  // Answers.
  std::string product = "Test Host";
  VstIntPtr vendorVersion = 0;
  bool giveTime = true;
  VstTimeInfo time{};
  std::vector<VstIntPtr> eventAnswers;  // one per audioMasterProcessEvents call; 1 when they run out

  // Records.
  std::vector<HostCall> calls;
  std::vector<SentEvents> events;
  std::vector<char> productBufferOnEntry;  // first byte of each product-string buffer as the plug-in handed it over

 private:
  static FakeHost* current_;
};

struct TestOptions {
  const char* channels = "1-1 2-2";
  std::int32_t numParams = 6;
  std::int32_t numPrograms = 4;
  std::int32_t filledPrograms = 2;  // "Init" with the defaults; the rest never filled
  std::int32_t version = 0x20300;
  std::int32_t latency = 0;
  bool doesMidi = false;
  bool doesChunks = false;
  bool isInstrument = false;
  bool longTexts = false;  // names and texts longer than the host's buffers
};

// The long texts of TestOptions::longTexts, each longer than its host buffer.
inline constexpr const char* kLongEffectName = "An Effect Name Of Forty Characters Long!";  // 40
inline constexpr const char* kLongProductName =
    "A product string of seventy characters, longer than any host buffer...";  // 70
inline constexpr const char* kLongMakerName =
    "A vendor string of seventy characters, longer than any host buffer!!!!";  // 70
inline constexpr const char* kLongParamName = "A parameter name of 31 chars...";  // 31
inline constexpr const char* kLongLabel = "A unit label of thirty-one char";  // 31
inline constexpr const char* kLongDisplayText = "Switched on, with 31 characters";  // 31
inline constexpr const char* kLongProgramName = "A program name of sixty characters, far beyond the 24 bytes.";  // 60

constexpr VstInt32 kTestUniqueId = FourCharCode("tst1");
constexpr VstInt32 kTestMakerId = FourCharCode("Tsts");

// Parameters: knobs 0 .. n-2 continuous 0..1 (step 0.001, default 0.5), the
// last a two-value switch Off/On with default 1.
class TestEffect : public IEffectVST {
 public:
  explicit TestEffect(audioMasterCallback host, const TestOptions& options = {});

  void ResetProcessing() override { log.push_back("reset"); }
  void HandleParamChange(std::int32_t index) override { log.push_back("param " + std::to_string(index)); }
  void HandleActivation(bool active) override { log.push_back(active ? "active" : "inactive"); }
  void OnEditorOpened() override { log.push_back("opened"); }
  void OnEditorClosing() override { log.push_back("closing"); }
  void ProcessBlock(double** inputs, double** outputs, std::int32_t frames) override {
    blocks.push_back(frames);
    if (processor) {
      processor(inputs, outputs, frames);
    } else {
      IEffectBase::ProcessBlock(inputs, outputs, frames);
    }
  }

  std::vector<double> Values() const;
  std::vector<std::uint8_t> ProgramBytes(std::int32_t index) const {
    const StateChunk& values = ProgramAt(index)->values;
    return {values.Data(), values.Data() + values.Size()};
  }

  std::vector<std::string> log;
  std::vector<std::int32_t> blocks;
  std::function<void(double**, double**, std::int32_t)> processor;
};

// Owns one instance the way a host does: through its effect record, closed with effClose.
class Plugin {
 public:
  explicit Plugin(const TestOptions& options = {}, audioMasterCallback host = &FakeHost::Callback)
      : fx(new TestEffect(host, options)), record(fx->Effect()) {}
  ~Plugin() {
    if (record) record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
  }
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
  }
  // Closes now; the instance is gone afterwards.
  void Close() {
    Dispatch(effClose);
    record = nullptr;
    fx = nullptr;
  }

  TestEffect* fx;
  AEffect* record;
};
