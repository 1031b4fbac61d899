// The audio and parameter callbacks of the effect record.
#include <algorithm>
#include <type_traits>

#include "../core/trace.h"
#include "../editor/graphics_base.h"
#include "effect_vst.h"

template <class Sample>
void IEffectVST::ProcessHostBlock(Sample** inputs, Sample** outputs, VstInt32 frames, BlockKind kind) {
  PlugLock lock(Mutex());
  if (doesMidi_) CallHost(audioMasterWantMidi, 0, 0, nullptr, 0);
  // A host may send more frames than it announced: the scratch buffers hold
  // one block, so longer blocks are processed in pieces of that size.
  const std::int32_t piece = BlockSize();
  if (piece < 1) return;
  std::int32_t offset = 0;
  do {
    const std::int32_t n = frames > 0 ? std::min(piece, frames - offset) : frames;
    if constexpr (std::is_same_v<Sample, double>) {
      BindInputBuffers(0, NumInputChannels(), inputs, offset);
      BindOutputBuffers(0, NumOutputChannels(), outputs, offset, n);
      RunBlock(n);
    } else {
      BindInputBuffers(0, NumInputChannels(), inputs, offset, n);
      BindOutputBuffers(0, NumOutputChannels(), outputs, offset);
      if (kind == BlockKind::FloatAccumulating) {
        RunBlockAccumulating(n);
      } else {
        RunBlockFloat(n);
      }
    }
    offset += n;
  } while (offset < frames);
}

void VSTCALLBACK IEffectVST::VSTProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  FromEffect(effect)->ProcessHostBlock(inputs, outputs, frames, BlockKind::FloatAccumulating);
}

void VSTCALLBACK IEffectVST::VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                                 VstInt32 frames) {
  FromEffect(effect)->ProcessHostBlock(inputs, outputs, frames, BlockKind::Float);
}

void VSTCALLBACK IEffectVST::VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                                       VstInt32 frames) {
  FromEffect(effect)->ProcessHostBlock(inputs, outputs, frames, BlockKind::Double);
}

float VSTCALLBACK IEffectVST::VSTGetParameter(AEffect* effect, VstInt32 index) {
  TRACE_POINT("IEffectVST::VSTGetParameter", "%d", index);
  IEffectVST* self = FromEffect(effect);
  PlugLock lock(self->Mutex());
  const IParameter* param = self->ParamAt(index);
  return param ? static_cast<float>(param->ToNormalized()) : 0.0f;
}

void VSTCALLBACK IEffectVST::VSTSetParameter(AEffect* effect, VstInt32 index, float value) {
  double normalized = value;
  TRACE_POINT("IEffectVST::VSTSetParameter", "%d:%f", index, normalized);
  // A value that is not a number is ignored; anything else is kept within 0..1.
  if (!(normalized == normalized)) return;
  normalized = std::clamp(normalized, 0.0, 1.0);
  IEffectVST* self = FromEffect(effect);
  PlugLock lock(self->Mutex());
  IParameter* param = self->ParamAt(index);
  if (!param) return;
  if (self->Editor()) self->Editor()->ShowParamValue(index, normalized, true);
  param->SetFromNormalized(normalized);
  self->HandleParamChange(index);
}
