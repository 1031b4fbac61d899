// The VST 2.4 binding: the effect record handed to the host, the host
// callback, and every host-facing operation of the core.
#pragma once

#include "../core/effect_base.h"
#include "vst_abi.h"

class IEffectVST : public IEffectBase {
 public:
  IEffectVST(audioMasterCallback hostCallback, std::int32_t numParams, const char* channelIOStr,
             std::int32_t numPrograms, const char* effectName, const char* productName, const char* makerName,
             std::int32_t version, std::int32_t uniqueId, std::int32_t makerId, std::int32_t latency, bool doesMidi,
             bool doesChunks, bool isInstrument);
  ~IEffectVST() override;

  void BeginParamEdit(std::int32_t paramIndex) override;
  void NotifyParamChange(std::int32_t paramIndex, double normalizedValue) override;
  void EndParamEdit(std::int32_t paramIndex) override;
  std::int32_t GetSamplePosition() override;
  double QueryTempo() override;
  void QueryTimeSignature(std::int32_t* numerator, std::int32_t* denominator) override;
  HostKind IdentifyHost() override;
  void UpdateEditorRect(std::int32_t width, std::int32_t height) override;
  void ApplyHostQuirks() override;
  void AttachEditor(IGraphicsBase* editor) override;
  void ChangeLatency(std::int32_t frameCount) override;
  bool SendMidiMessage(const IMidiMessage& message) override;
  bool SendMidiMessages(const IMidiMessage* messages, std::int32_t count) override;
  bool ForwardEvent(VstEvent* event);

  AEffect* Effect() { return &effect_; }
  static IEffectVST* FromEffect(AEffect* effect) {
    return effect ? static_cast<IEffectVST*>(effect->object) : nullptr;
  }

  // Host entries, installed in the effect record.
  static VstIntPtr VSTCALLBACK VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                             void* ptr, float opt);
  static void VSTCALLBACK VSTProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 frames);
  static void VSTCALLBACK VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames);
  static void VSTCALLBACK VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                                    VstInt32 frames);
  static float VSTCALLBACK VSTGetParameter(AEffect* effect, VstInt32 index);
  static void VSTCALLBACK VSTSetParameter(AEffect* effect, VstInt32 index, float value);

 private:
  // Host chunks start with the bytes "tffp" and a format version.
  static constexpr std::int32_t kChunkMarker = 0x70666674;
  static constexpr std::int32_t kChunkVersion = 0x10000;
  // Largest chunk accepted from a host; real ones hold a few dozen bytes.
  static constexpr VstIntPtr kMaxChunkSize = 16 << 20;

  enum class BlockKind { Float, FloatAccumulating, Double };
  template <class Sample>
  void ProcessHostBlock(Sample** inputs, Sample** outputs, VstInt32 frames, BlockKind kind);
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr GetChunk(VstInt32 index, void** data);
  VstIntPtr SetChunk(VstInt32 index, VstIntPtr size, const void* data);
  VstIntPtr ProcessEvents(const VstEvents* events);
  VstIntPtr GetPinProperties(VstInt32 index, VstPinProperties* properties, bool input);
  VstIntPtr CanDo(const char* capability) const;
  void SetSpeakerArrangement(const VstSpeakerArrangement* inputs, const VstSpeakerArrangement* outputs);
  void WriteChunkHeader(StateChunk& chunk);
  // Asks the host, when there is one; 0 otherwise.
  VstIntPtr CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

  ERect editRect_{};
  audioMasterCallback hostCallback_;
  VstSpeakerArrangement inputArrangement_{};
  VstSpeakerArrangement outputArrangement_{};
  bool quirksApplied_ = false;
  bool doesMidi_;
  StateChunk programChunk_;
  StateChunk bankChunk_;
  AEffect effect_{};
};
