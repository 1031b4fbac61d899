#include "vst_fixtures.h"

#include <algorithm>

FakeHost* FakeHost::current_ = nullptr;

VstIntPtr VSTCALLBACK FakeHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                         void* ptr, float opt) {
  FakeHost* host = current_;
  if (!host) {
    ADD_FAILURE() << "host callback " << opcode << " without a host";
    return 0;
  }
  host->calls.push_back({effect, opcode, index, value, ptr, opt});
  switch (opcode) {
    case audioMasterGetProductString: {
      auto* text = static_cast<char*>(ptr);
      host->productBufferOnEntry.push_back(text[0]);
      std::memcpy(text, host->product.c_str(), host->product.size() + 1);
      return 1;
    }
    case audioMasterGetVendorVersion:
      return host->vendorVersion;
    case audioMasterGetTime:
      return host->giveTime ? reinterpret_cast<VstIntPtr>(&host->time) : 0;
    case audioMasterProcessEvents: {
      const auto* list = static_cast<const VstEvents*>(ptr);
      SentEvents sent{};
      sent.numEvents = list->numEvents;
      sent.reserved = list->reserved;
      sent.first = list->events[0];
      sent.second = list->events[1];
      std::memcpy(&sent.midi, list->events[0], sizeof sent.midi);
      host->events.push_back(sent);
      const std::size_t n = host->events.size() - 1;
      return n < host->eventAnswers.size() ? host->eventAnswers[n] : 1;
    }
    default:
      return 0;
  }
}

std::size_t FakeHost::Count(VstInt32 opcode) const {
  return std::size_t(std::count_if(calls.begin(), calls.end(), [&](const HostCall& c) { return c.opcode == opcode; }));
}

std::vector<VstInt32> FakeHost::Opcodes() const {
  std::vector<VstInt32> opcodes;
  for (const HostCall& c : calls) opcodes.push_back(c.opcode);
  return opcodes;
}

namespace {

const char* KnobName(std::int32_t index) {
  static const char* const names[] = {"Level", "Drive", "Low", "Mid", "High"};
  return index < 5 ? names[index] : "Knob";
}

}  // namespace

TestEffect::TestEffect(audioMasterCallback host, const TestOptions& o)
    : IEffectVST(host, o.numParams, o.channels, o.numPrograms, o.longTexts ? kLongEffectName : "Testfx",
                 o.longTexts ? kLongProductName : "Test Product", o.longTexts ? kLongMakerName : "tester",
                 o.version, kTestUniqueId, kTestMakerId, o.latency, o.doesMidi, o.doesChunks, o.isInstrument) {
  for (std::int32_t i = 0; i + 1 < NumParams(); ++i) ParamAt(i)->SetupDouble(KnobName(i), 0.5, 0.0, 1.0, 0.001, "");
  if (NumParams() > 0) {
    IParameter* toggle = ParamAt(NumParams() - 1);
    toggle->SetupEnum("Effect", 1, 2);
    toggle->AddDisplayText(0, "Off");
    toggle->AddDisplayText(1, o.longTexts ? kLongDisplayText : "On");
  }
  if (o.longTexts && NumParams() > 1) {
    // Knob 0 shows wide numbers: 123456.789 needs more than the host's 8 bytes.
    ParamAt(0)->SetupDouble(kLongParamName, 123456.789, 0.0, 1e6, 0.001, kLongLabel);
  }
  AddDefaultPrograms(o.longTexts ? kLongProgramName : "Init", o.filledPrograms);
}

std::vector<double> TestEffect::Values() const {
  std::vector<double> values;
  for (std::int32_t i = 0; i < NumParams(); ++i) values.push_back(ParamAt(i)->Value());
  return values;
}
