#include "effect_base.h"

#include <cstdio>
#include <new>

#include "../editor/graphics_base.h"
#include "add_or_throw.h"
#include "text.h"
#include "trace.h"

IEffectBase::IEffectBase(std::int32_t numParams, const char* channelIOStr, std::int32_t numPrograms,
                         const char* effectName, const char* productName, const char* makerName,
                         std::int32_t version, std::int32_t uniqueId, std::int32_t makerId, std::int32_t latency,
                         bool /*doesMidi: kept by the binding*/, bool doesChunks, bool isInstrument)
    : uniqueId_(uniqueId),
      makerId_(makerId),
      version_(version),
      doesChunks_(doesChunks),
      isInstrument_(isInstrument),
      latency_(latency) {
  TRACE_POINT("IEffectBase::IEffectBase", "%s:%s", effectName ? effectName : "", "");
  try {
    for (std::int32_t i = 0; i < numParams; ++i) AddOrThrow(params_, new IParameter());
    for (std::int32_t i = 0; i < numPrograms; ++i) {
      IProgramSlot* slot = AddOrThrow(programs_, new IProgramSlot());
      std::snprintf(slot->name, sizeof slot->name, "- %d -", i + 1);
    }
    CopyText(effectName_, effectName);
    CopyText(productName_, productName);
    CopyText(makerName_, makerName);
    ParseChannelConfigurations(channelIOStr);
  } catch (...) {
    DestroyAll();
    throw;
  }
}

IEffectBase::~IEffectBase() { DestroyAll(); }

void IEffectBase::DestroyAll() {
  delete editor_;
  editor_ = nullptr;
  params_.DeleteAll();
  programs_.DeleteAll();
  inputChannels_.DeleteAll();
  outputChannels_.DeleteAll();
  channelConfigs_.DeleteAll();
}

void IEffectBase::ResetProcessing() { PlugLock lock(mutex_); }

void IEffectBase::HandleParamChange(std::int32_t /*paramIndex*/) { PlugLock lock(mutex_); }

void IEffectBase::HandleActivation(bool /*active*/) { PlugLock lock(mutex_); }

void IEffectBase::HandleMidiMessage(const IMidiMessage& message) { SendMidiMessage(message); }

bool IEffectBase::GetMidiNoteName(std::int32_t /*note*/, char* name) {
  if (name) name[0] = '\0';
  return false;
}

bool IEffectBase::SaveState(StateChunk& chunk) { return SerializeParamValues(chunk); }

std::int32_t IEffectBase::LoadState(const StateChunk& chunk, std::int32_t start) {
  return UnserializeParams(chunk, start);
}

HostKind IEffectBase::IdentifyHost() { return host_; }

void IEffectBase::ChangeLatency(std::int32_t frameCount) { latency_ = frameCount; }

void IEffectBase::SetParameterFromGUI(std::int32_t paramIndex, double normalizedValue) {
  TRACE_POINT("IEffectBase::SetParameterFromGUI", "%d:%f", paramIndex, normalizedValue);
  PlugLock lock(mutex_);
  IParameter* param = ParamAt(paramIndex);
  // A value that is not a number never reaches a parameter; the rest is kept within 0..1.
  if (!param || !(normalizedValue == normalizedValue)) return;
  normalizedValue = normalizedValue < 0.0 ? 0.0 : (normalizedValue > 1.0 ? 1.0 : normalizedValue);
  param->SetFromNormalized(normalizedValue);
  NotifyParamChange(paramIndex, normalizedValue);
  HandleParamChange(paramIndex);
}

void IEffectBase::AttachEditor(IGraphicsBase* editor) {
  if (!editor) return;
  PlugLock lock(mutex_);
  for (std::int32_t i = 0; i < NumParams(); ++i) editor->ShowParamValue(i, ParamAt(i)->ToNormalized(), true);
  editor->PrepareDrawing();
  if (editor_ != editor) delete editor_;
  editor_ = editor;
}

std::int32_t IEffectBase::GetVersion(bool decimal) const {
  if (!decimal) return version_;
  const std::uint32_t packed = static_cast<std::uint32_t>(version_);
  return static_cast<std::int32_t>(((packed / 65536) * 100 + (packed / 256 % 256)) * 100 + packed % 256);
}

void IEffectBase::SetHost(const char* productString, std::int32_t packedVersion) {
  host_ = LookUpHost(productString);
  hostVersion_ = packedVersion;
  TRACE_POINT("IEffectBase::SetHost", "host_%sknown:%s:v%d.%d", host_ == HostUnrecognised ? "un" : "",
              productString ? productString : "", packedVersion >> 16, (packedVersion >> 8) & 0xFF);
}
