#include "test_host.h"

#include <cstring>
#include <map>
#include <mutex>

namespace {

std::mutex gRegistryLock;
std::map<AEffect*, TestHost*> gHosts;
TestHost* gConstructing = nullptr;  // the host whose entry-point call is running

bool CarriesText(VstInt32 opcode) { return opcode == audioMasterCanDo; }

}  // namespace

TestHost::TestHost() { answers.timeInfo.sampleRate = 44100.0; }

TestHost::~TestHost() {
  std::lock_guard<std::mutex> lock(gRegistryLock);
  for (auto it = gHosts.begin(); it != gHosts.end();) it = it->second == this ? gHosts.erase(it) : std::next(it);
}

AEffect* TestHost::CreateEffect(PluginEntry entry) {
  {
    std::lock_guard<std::mutex> lock(gRegistryLock);
    gConstructing = this;
  }
  AEffect* effect = entry(&TestHost::Callback);
  std::lock_guard<std::mutex> lock(gRegistryLock);
  gConstructing = nullptr;
  if (effect) gHosts[effect] = this;
  return effect;
}

void TestHost::Forget(AEffect* effect) {
  std::lock_guard<std::mutex> lock(gRegistryLock);
  gHosts.erase(effect);
}

std::size_t TestHost::Count(VstInt32 opcode) const {
  std::size_t n = 0;
  for (const HostCall& call : calls) n += call.opcode == opcode;
  return n;
}

VstIntPtr VSTCALLBACK TestHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                         float opt) {
  TestHost* host = nullptr;
  {
    std::lock_guard<std::mutex> lock(gRegistryLock);
    auto it = gHosts.find(effect);
    host = it != gHosts.end() ? it->second : gConstructing;
  }
  if (opcode == audioMasterVersion) return kVstVersion;
  return host ? host->Answer(effect, opcode, index, value, ptr, opt) : 0;
}

VstIntPtr TestHost::Answer(AEffect* /*effect*/, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                           float opt) {
  if (recording) {
    calls.push_back(HostCall{opcode, index, value, opt,
                             CarriesText(opcode) && ptr ? std::string(static_cast<const char*>(ptr)) : std::string()});
  }
  switch (opcode) {
    case audioMasterGetProductString:
      if (ptr) {
        std::strncpy(static_cast<char*>(ptr), answers.productString.c_str(), 63);
        static_cast<char*>(ptr)[63] = '\0';
      }
      return 1;
    case audioMasterGetVendorVersion:
      return answers.vendorVersion;
    case audioMasterGetTime:
      return answers.giveTimeInfo ? reinterpret_cast<VstIntPtr>(&answers.timeInfo) : 0;
    case audioMasterProcessEvents:
      return answers.processEventsResult;
    case audioMasterGetSampleRate:
      return static_cast<VstIntPtr>(answers.timeInfo.sampleRate);
    default:
      return 0;
  }
}

PluginInstance::PluginInstance(TestHost& host, PluginEntry entry) : host_(host) {
  effect_ = host.CreateEffect(entry);
}

PluginInstance::~PluginInstance() { Close(); }

void PluginInstance::Start(double sampleRate, std::int32_t blockSize) {
  Dispatch(effOpen);
  Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(effSetBlockSize, 0, blockSize);
  Dispatch(effMainsChanged, 0, 1);
}

void PluginInstance::Close() {
  if (!effect_) return;
  effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
  host_.Forget(effect_);
  effect_ = nullptr;
}

VstIntPtr PluginInstance::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

float PluginInstance::GetParameter(VstInt32 index) const { return effect_->getParameter(effect_, index); }

void PluginInstance::SetParameter(VstInt32 index, float value) { effect_->setParameter(effect_, index, value); }

std::string PluginInstance::Text(VstInt32 opcode, VstInt32 index) {
  // Generous buffer with a guard pattern: the plug-in must stay within the standard's sizes.
  char buffer[512];
  std::memset(buffer, 0, sizeof buffer);
  Dispatch(opcode, index, 0, buffer);
  buffer[sizeof buffer - 1] = '\0';
  return buffer;
}

std::string PluginInstance::ProgramName(VstInt32 index) {
  char buffer[512] = {};
  Dispatch(effGetProgramNameIndexed, index, -1, buffer);
  buffer[sizeof buffer - 1] = '\0';
  return buffer;
}

std::vector<std::uint8_t> PluginInstance::GetChunk(bool bank) {
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effGetChunk, bank ? 0 : 1, 0, &data);
  if (size <= 0 || !data) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  return std::vector<std::uint8_t>(bytes, bytes + size);
}

VstIntPtr PluginInstance::SetChunk(const std::vector<std::uint8_t>& bytes, bool bank) {
  std::vector<std::uint8_t> copy(bytes);  // the plug-in may not keep the host's memory
  return Dispatch(effSetChunk, bank ? 0 : 1, static_cast<VstIntPtr>(copy.size()), copy.data());
}
