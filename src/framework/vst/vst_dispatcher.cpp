// The dispatcher: every opcode the host sends besides audio and parameter values.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "../core/text.h"
#include "../core/trace.h"
#include "../editor/graphics_base.h"
#include "effect_vst.h"

VstIntPtr VSTCALLBACK IEffectVST::VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                                void* ptr, float opt) {
  IEffectVST* self = FromEffect(effect);
  if (!self) return 0;
  if (opcode == effClose) {
    // The lock lives inside the object: leave it before the object goes.
    { PlugLock lock(self->Mutex()); }
    TRACE_POINT("IEffectVST::VSTDispatcher", "%d(%s):%d:%d", opcode, "", index, int(value));
    delete self;
    return 0;
  }
  PlugLock lock(self->Mutex());
  if (opcode == effEditIdle || opcode == effIdle) return 0;
  TRACE_POINT("IEffectVST::VSTDispatcher", "%d(%s):%d:%d", opcode, "", index, int(value));
  return self->Dispatch(opcode, index, value, ptr, opt);
}

VstIntPtr IEffectVST::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  auto* text = static_cast<char*>(ptr);
  switch (opcode) {
    case effOpen:
      ApplyHostQuirks();
      for (std::int32_t i = 0; i < NumParams(); ++i) HandleParamChange(i);
      return 0;
    case effSetProgram:
      if (!DoesChunks()) StoreCurrentProgram(nullptr);
      if (value >= INT32_MIN && value <= INT32_MAX) SelectProgram(static_cast<std::int32_t>(value));
      return 0;
    case effGetProgram:
      return CurrentProgram();
    case effSetProgramName:
      if (text) {
        char name[kVstMaxProgNameLen];
        CopyText(name, text);  // host text bounded to the standard's program-name size
        StoreCurrentProgram(name);
      }
      return 0;
    case effGetProgramName:
      if (text) CopyText(text, kVstMaxProgNameLen, GetProgramName(CurrentProgram()));
      return 0;
    case effGetParamLabel:
      if (text && ParamAt(index)) CopyText(text, kVstMaxParamStrLen, ParamAt(index)->GetLabel());
      return 0;
    case effGetParamDisplay:
      if (text && ParamAt(index)) ParamAt(index)->FormatDisplay(ParamAt(index)->Value(), false, text, kVstMaxParamStrLen);
      return 0;
    case effGetParamName:
      if (text && ParamAt(index)) CopyText(text, kVstMaxParamStrLen, ParamAt(index)->GetName());
      return 0;
    case effSetSampleRate:
      // A rate that is not a positive finite number would leave every filter undefined.
      if (std::isfinite(opt) && opt > 0.0f) {
        ChangeSampleRate(static_cast<double>(opt));
        ResetProcessing();
      }
      return 0;
    case effSetBlockSize:
      ChangeBlockSize(value > 0 && value <= INT32_MAX ? static_cast<std::int32_t>(value) : 0);
      ResetProcessing();
      return 0;
    case effMainsChanged:
      if (value == 0) {
        HandleActivation(false);
        ResetProcessing();
      } else {
        HandleActivation(true);
      }
      return 0;
    case effEditGetRect:
      if (ptr && Editor()) {
        *static_cast<ERect**>(ptr) = &editRect_;
        return 1;
      }
      return 0;
    case effEditOpen:
      if (Editor() && Editor()->OpenEditorWindow(ptr)) {
        OnEditorOpened();
        return 1;
      }
      return 0;
    case effEditClose:
      if (!Editor()) return 0;
      OnEditorClosing();
      Editor()->CloseEditorWindow();
      return 1;
    case effIdentify:
      return kVstIdentifyAnswer;
    case effGetChunk:
      return GetChunk(index, static_cast<void**>(ptr));
    case effSetChunk:
      return SetChunk(index, value, ptr);
    case effProcessEvents:
      return ProcessEvents(static_cast<const VstEvents*>(ptr));
    case effCanBeAutomated:
      return 1;
    case effGetProgramNameIndexed:
      if (!text) return 0;
      CopyText(text, kVstMaxProgNameLen, GetProgramName(index));
      return text[0] != '\0' ? 1 : 0;
    case effGetInputProperties:
      return GetPinProperties(index, static_cast<VstPinProperties*>(ptr), true);
    case effGetOutputProperties:
      return GetPinProperties(index, static_cast<VstPinProperties*>(ptr), false);
    case effGetPlugCategory:
      return kPlugCategEffect;
    case effSetSpeakerArrangement:
      SetSpeakerArrangement(reinterpret_cast<const VstSpeakerArrangement*>(value),
                            static_cast<const VstSpeakerArrangement*>(ptr));
      return 1;
    case effGetEffectName:
      if (!text) return 0;
      CopyText(text, kVstMaxEffectNameLen, EffectName());
      return 1;
    case effGetVendorString:
      if (!text) return 0;
      CopyText(text, kVstMaxVendorStrLen, MakerName());
      return 1;
    case effGetProductString:
      if (!text) return 0;
      CopyText(text, kVstMaxProductStrLen, ProductName());
      return 1;
    case effVendorSpecific:
      // Index 7 asks for the display of a normalised value without setting it.
      if (index != 7 || !text) return 0;
      if (value >= 0 && value < NumParams() && opt == opt) {
        ParamAt(static_cast<std::int32_t>(value))->FormatDisplay(opt, true, text, kVstMaxParamStrLen);
      }
      return 0xBEEF;
    case effCanDo:
      TRACE_POINT("IEffectVST::VSTDispatcher", "VSTCanDo(%s)", text ? text : "");
      return CanDo(text);
    case effGetVstVersion:
      return kVstVersion;
    case effGetMidiKeyName: {
      if (!ptr) return 0;
      auto* key = static_cast<MidiKeyName*>(ptr);
      key->keyName[0] = '\0';
      return GetMidiNoteName(key->thisKeyNumber, key->keyName) ? 1 : 0;
    }
    case effGetSpeakerArrangement:
      if (value) *reinterpret_cast<VstSpeakerArrangement**>(value) = &inputArrangement_;
      if (ptr) *static_cast<VstSpeakerArrangement**>(ptr) = &outputArrangement_;
      return 1;
    default:
      return 0;
  }
}

void IEffectVST::SetSpeakerArrangement(const VstSpeakerArrangement* inputs, const VstSpeakerArrangement* outputs) {
  if (inputs) {
    const std::int32_t n = std::clamp(inputs->numChannels, 0, NumInputChannels());
    ConnectInputs(0, n, true);
    ConnectInputs(n, NumInputChannels() - n, false);
  }
  if (outputs) {
    const std::int32_t n = std::clamp(outputs->numChannels, 0, NumOutputChannels());
    ConnectOutputs(0, n, true);
    ConnectOutputs(n, NumOutputChannels() - n, false);
  }
}

VstIntPtr IEffectVST::GetPinProperties(VstInt32 index, VstPinProperties* properties, bool input) {
  const std::int32_t count = input ? NumInputChannels() : NumOutputChannels();
  if (!properties || index < 0 || index >= count) return 0;
  properties->flags = kVstPinIsActive | (index % 2 == 0 ? kVstPinIsStereo : 0);
  std::snprintf(properties->label, sizeof properties->label, input ? "Input %d" : "Output %d", index + 1);
  return 1;
}

VstIntPtr IEffectVST::CanDo(const char* capability) const {
  if (!capability) return 0;
  if (std::strcmp(capability, "receiveVstTimeInfo") == 0) return 1;
  if (doesMidi_) {
    for (const char* midi : {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"}) {
      if (std::strcmp(capability, midi) == 0) return 1;
    }
  }
  return 0;
}

VstIntPtr IEffectVST::GetChunk(VstInt32 index, void** data) {
  if (!data) return 0;
  StateChunk& chunk = index == 0 ? bankChunk_ : programChunk_;
  WriteChunkHeader(chunk);
  if (index == 0) StoreCurrentProgram(nullptr);
  if (!SaveState(chunk) || chunk.Size() == 0) return 0;
  *data = const_cast<std::uint8_t*>(chunk.Data());
  return chunk.Size();
}

VstIntPtr IEffectVST::SetChunk(VstInt32 index, VstIntPtr size, const void* data) {
  if (!data) return 0;
  // Data the plug-in cannot hold leaves the state as it was.
  if (size < 0 || size > kMaxChunkSize) return 0;
  StateChunk& chunk = index == 0 ? bankChunk_ : programChunk_;
  if (!chunk.Assign(data, static_cast<std::int32_t>(size))) return 0;

  std::int32_t version = 0;
  std::int32_t start = 0;
  std::int32_t marker = 0;
  if (chunk.ReadInt32(0, &marker) && marker == kChunkMarker) {
    start = chunk.ReadInt32(4, &version) ? 8 : -1;
  }
  const std::int32_t end = LoadState(chunk, start);
  if (!(index == 0 && version >= 0x10000)) StoreCurrentProgram(nullptr);
  if (end < 0) return 0;
  RefreshEditorParams();
  return 1;
}

VstIntPtr IEffectVST::ProcessEvents(const VstEvents* events) {
  if (!events) return 0;
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    VstEvent* event = events->events[i];
    if (!event) continue;
    if (event->type == kVstMidiType) {
      const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
      IMidiMessage message;
      message.frameOffset = midi->deltaFrames;
      message.status = static_cast<std::uint8_t>(midi->midiData[0]);
      message.data1 = static_cast<std::uint8_t>(midi->midiData[1]);
      message.data2 = static_cast<std::uint8_t>(midi->midiData[2]);
      HandleMidiMessage(message);
    } else {
      ForwardEvent(event);
    }
  }
  return 1;
}
