#include "effect_vst.h"

#include <cstring>
#include <new>

#include "../core/text.h"
#include "../core/trace.h"
#include "../editor/graphics_base.h"

IEffectVST::IEffectVST(audioMasterCallback hostCallback, std::int32_t numParams, const char* channelIOStr,
                       std::int32_t numPrograms, const char* effectName, const char* productName,
                       const char* makerName, std::int32_t version, std::int32_t uniqueId, std::int32_t makerId,
                       std::int32_t latency, bool doesMidi, bool doesChunks, bool isInstrument)
    : IEffectBase(numParams, channelIOStr, numPrograms, effectName, productName, makerName, version, uniqueId,
                  makerId, latency, doesMidi, doesChunks, isInstrument),
      hostCallback_(hostCallback),
      doesMidi_(doesMidi) {
  TRACE_POINT("IEffectVST::IEffectVST", "%s", effectName ? effectName : "");
  std::memset(&effect_, 0, sizeof effect_);
  effect_.magic = kEffectMagic;
  effect_.dispatcher = &VSTDispatcher;
  effect_.process = &VSTProcess;
  effect_.setParameter = &VSTSetParameter;
  effect_.getParameter = &VSTGetParameter;
  effect_.processReplacing = &VSTProcessReplacing;
  effect_.processDoubleReplacing = &VSTProcessDoubleReplacing;
  effect_.numPrograms = NumPrograms();
  effect_.numParams = NumParams();
  effect_.numInputs = NumInputChannels();
  effect_.numOutputs = NumOutputChannels();
  effect_.uniqueID = uniqueId;
  effect_.version = GetVersion(true);
  effect_.ioRatio = 1.0f;
  effect_.object = this;
  effect_.initialDelay = latency;

  effect_.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (doesChunks) effect_.flags |= effFlagsProgramChunks;
  if (LegalIO(1, -1)) effect_.flags |= effFlagsCanMono;
  if (isInstrument) effect_.flags |= effFlagsIsSynth;

  editRect_ = ERect{};
  std::memset(&inputArrangement_, 0, sizeof inputArrangement_);
  std::memset(&outputArrangement_, 0, sizeof outputArrangement_);
  inputArrangement_.numChannels = NumInputChannels();
  outputArrangement_.numChannels = NumOutputChannels();

  ConnectInputs(0, NumInputChannels(), true);
  ConnectOutputs(0, NumOutputChannels(), true);
  ChangeBlockSize(1024);
  if (BlockSize() != 1024) throw std::bad_alloc();
}

IEffectVST::~IEffectVST() {
  programChunk_.Clear();
  bankChunk_.Clear();
}

VstIntPtr IEffectVST::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return hostCallback_ ? hostCallback_(&effect_, opcode, index, value, ptr, opt) : 0;
}

void IEffectVST::BeginParamEdit(std::int32_t paramIndex) { CallHost(audioMasterBeginEdit, paramIndex, 0, nullptr, 0); }

void IEffectVST::NotifyParamChange(std::int32_t paramIndex, double normalizedValue) {
  CallHost(audioMasterAutomate, paramIndex, 0, nullptr, static_cast<float>(normalizedValue));
}

void IEffectVST::EndParamEdit(std::int32_t paramIndex) { CallHost(audioMasterEndEdit, paramIndex, 0, nullptr, 0); }

std::int32_t IEffectVST::GetSamplePosition() {
  const auto* time = reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, 0, nullptr, 0));
  if (time && time->samplePos >= 0.0 && time->samplePos < 2147483648.0) return std::int32_t(time->samplePos);
  return 0;
}

double IEffectVST::QueryTempo() {
  if (!hostCallback_) return 0.0;
  const auto* time = reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, kVstTempoValid, nullptr, 0));
  if (time && (time->flags & kVstTempoValid) && time->tempo >= 0.0) return time->tempo;
  return 0.0;
}

void IEffectVST::QueryTimeSignature(std::int32_t* numerator, std::int32_t* denominator) {
  *numerator = 0;
  *denominator = 0;
  const auto* time =
      reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, kVstTimeSigValid, nullptr, 0));
  if (time && (time->flags & kVstTimeSigValid) && time->timeSigNumerator >= 0 && time->timeSigDenominator >= 0) {
    *numerator = time->timeSigNumerator;
    *denominator = time->timeSigDenominator;
  }
}

HostKind IEffectVST::IdentifyHost() {
  if (Host() != HostNotAsked) return Host();
  char product[256] = {};
  CallHost(audioMasterGetProductString, 0, 0, product, 0);
  product[sizeof product - 1] = '\0';  // a host may fill the buffer without a terminator
  std::int32_t packed = 0;
  if (product[0] != '\0') {
    const VstIntPtr v = CallHost(audioMasterGetVendorVersion, 0, 0, nullptr, 0);
    const VstIntPtr major = v / 10000;
    const VstIntPtr minor = (v % 10000) / 100;
    const VstIntPtr revision = v % 100;
    packed = static_cast<std::int32_t>(major * 65536 + minor * 256 + revision);
  }
  SetHost(product, packed);
  return Host();
}

void IEffectVST::UpdateEditorRect(std::int32_t /*width*/, std::int32_t /*height*/) {
  if (!Editor()) return;
  editRect_.top = 0;
  editRect_.left = 0;
  editRect_.bottom = static_cast<std::int16_t>(Editor()->Height());
  editRect_.right = static_cast<std::int16_t>(Editor()->Width());
}

void IEffectVST::ApplyHostQuirks() {
  if (quirksApplied_) return;
  quirksApplied_ = true;
  const HostKind host = IdentifyHost();
  // These hosts offer more than two channels but feed only the first two inputs.
  if (host == HostForte || host == HostAudition || host == HostOrion || host == HostSawStudio) {
    if (NumInputChannels() > 2) ConnectInputs(2, NumInputChannels() - 2, false);
    if (NumOutputChannels() > 2) ConnectOutputs(2, NumOutputChannels() - 2, true);
  }
  effect_.numInputs = NumInputChannels();
  inputArrangement_.numChannels = NumInputChannels();
  effect_.numOutputs = NumOutputChannels();
  outputArrangement_.numChannels = NumOutputChannels();
}

void IEffectVST::AttachEditor(IGraphicsBase* editor) {
  if (!editor) return;
  IEffectBase::AttachEditor(editor);
  effect_.flags |= effFlagsHasEditor;
  UpdateEditorRect(editor->Width(), editor->Height());
}

void IEffectVST::ChangeLatency(std::int32_t frameCount) {
  effect_.initialDelay = frameCount;
  IEffectBase::ChangeLatency(frameCount);
}

bool IEffectVST::SendMidiMessage(const IMidiMessage& message) {
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = message.frameOffset;
  event.midiData[0] = static_cast<char>(message.status);
  event.midiData[1] = static_cast<char>(message.data1);
  event.midiData[2] = static_cast<char>(message.data2);
  return ForwardEvent(reinterpret_cast<VstEvent*>(&event));
}

bool IEffectVST::SendMidiMessages(const IMidiMessage* messages, std::int32_t count) {
  bool all = true;
  for (std::int32_t i = 0; i < count; ++i) all = SendMidiMessage(messages[i]) && all;
  return all;
}

bool IEffectVST::ForwardEvent(VstEvent* event) {
  VstEvents list{};
  list.numEvents = 1;
  list.reserved = 0;
  list.events[0] = event;
  list.events[1] = nullptr;
  return CallHost(audioMasterProcessEvents, 0, 0, &list, 0) == 1;
}

void IEffectVST::WriteChunkHeader(StateChunk& chunk) {
  chunk.Clear();
  chunk.AppendInt32(kChunkMarker);
  chunk.AppendInt32(kChunkVersion);
}
