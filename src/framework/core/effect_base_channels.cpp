// Channel configurations, connection state and the binding of host buffers.
#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>
#include <new>

#include "add_or_throw.h"
#include "effect_base.h"
#include "trace.h"

namespace {

// Largest block the scratch buffers are sized for; larger host requests are
// processed in pieces by the binding.
constexpr std::int32_t kMaxBlockSize = 1 << 18;

template <class Channel>
double* ScratchOrNone(const Channel* channel) {
  return channel->scratch.Size() > 0 ? channel->Scratch() : nullptr;
}

// A disconnected channel's slot points at its own scratch (or at nothing while that is empty).
template <class Channel>
void ConnectChannels(PointerList<Channel>& channels, std::int32_t first, std::int32_t count, bool connected) {
  const std::int64_t end = std::min<std::int64_t>(std::int64_t(first) + count, channels.Count());
  for (std::int64_t i = first < 0 ? 0 : first; i < end; ++i) {
    Channel* channel = channels.Get(std::int32_t(i));
    channel->connected = connected;
    if (!connected) *channel->slot = ScratchOrNone(channel);
  }
}

// Resizes every scratch to the given bytes and clears it; false when memory was short.
template <class Channel>
bool ResizeScratch(PointerList<Channel>& channels, std::int32_t bytes) {
  bool ok = true;
  for (std::int32_t i = 0; i < channels.Count(); ++i) {
    Channel* channel = channels.Get(i);
    channel->scratch.Resize(bytes, true);
    ok = ok && channel->scratch.Size() == bytes;
    if (channel->scratch.Size() > 0) std::memset(channel->Scratch(), 0, std::size_t(channel->scratch.Size()));
    if (!channel->connected) *channel->slot = ScratchOrNone(channel);
  }
  return ok;
}

// Hands host buffer k to the k-th connected channel in the range; disconnected
// channels take none. The host may pass no array at all.
template <class Channel, class Sample, class Bind>
void ForEachConnected(const PointerList<Channel>& channels, std::int32_t first, std::int32_t count,
                      Sample** hostBuffers, Bind bind) {
  std::int32_t next = 0;
  for (std::int32_t i = first < 0 ? 0 : first; i < first + count && i < channels.Count(); ++i) {
    Channel* channel = channels.Get(i);
    if (!channel->connected) continue;
    bind(channel, hostBuffers ? hostBuffers[next] : nullptr);
    ++next;
  }
}

// One record per channel, not connected, its slot pointing at its own element of the pointer array.
template <class Channel>
void CreateChannels(PointerList<Channel>& channels, double** slots, std::int32_t count) {
  for (std::int32_t i = 0; i < count; ++i) {
    slots[i] = nullptr;
    AddOrThrow(channels, new Channel())->slot = &slots[i];
  }
}

// Hands each connected output's samples to the host's float buffer through store.
template <class Store>
void WriteFloatOutputs(const PointerList<IOutputChannel>& channels, std::int32_t frameCount, Store store) {
  for (std::int32_t i = 0; i < channels.Count(); ++i) {
    IOutputChannel* channel = channels.Get(i);
    if (!channel->connected || !channel->hostFloatDestination) continue;
    const double* source = *channel->slot;
    float* destination = channel->hostFloatDestination;
    for (std::int32_t s = 0; s < frameCount; ++s) store(destination[s], source[s]);
  }
}

}  // namespace

void IEffectBase::ParseChannelConfigurations(const char* channelIOStr) {
  std::int32_t maxInputs = 0;
  std::int32_t maxOutputs = 0;
  if (channelIOStr) {
    const char* position = channelIOStr;
    while (true) {
      int nIn = 0;
      int nOut = 0;
      const int read = std::sscanf(position, "%d-%d", &nIn, &nOut);
      assert(read == 2 && "sscanf(channelIOStr, \"%d-%d\", &nIn, &nOut) == 2");
      if (read != 2) break;
      if (nIn > maxInputs) maxInputs = nIn;
      if (nOut > maxOutputs) maxOutputs = nOut;
      AddOrThrow(channelConfigs_, new IChannelConfig{nIn, nOut});
      const char* space = std::strchr(position, ' ');
      if (!space) break;
      position = space + 1;
    }
  }
  const auto pointerBytes = [](std::int32_t n) { return n * std::int32_t(sizeof(double*)); };
  inputPointers_.Resize(pointerBytes(maxInputs), false);
  outputPointers_.Resize(pointerBytes(maxOutputs), false);
  if (inputPointers_.Size() != pointerBytes(maxInputs) || outputPointers_.Size() != pointerBytes(maxOutputs)) {
    throw std::bad_alloc();
  }
  CreateChannels(inputChannels_, static_cast<double**>(inputPointers_.Data()), maxInputs);
  CreateChannels(outputChannels_, static_cast<double**>(outputPointers_.Data()), maxOutputs);
}

bool IEffectBase::LegalIO(std::int32_t inputs, std::int32_t outputs) const {
  bool legal = false;
  for (std::int32_t i = 0; i < channelConfigs_.Count() && !legal; ++i) {
    const IChannelConfig* config = channelConfigs_.Get(i);
    legal = (inputs < 0 || inputs == config->inputs) && (outputs < 0 || outputs == config->outputs);
  }
  TRACE_POINT("IEffectBase::LegalIO", "%d:%d:%s", inputs, outputs, legal ? "legal" : "illegal");
  return legal;
}

void IEffectBase::ChangeBlockSize(std::int32_t frameCount) {
  // A size the scratch buffers cannot or should not take keeps the current one;
  // the binding cuts longer host blocks into pieces of the current size.
  if (frameCount < 1 || frameCount > kMaxBlockSize || frameCount == blockSize_) return;
  const std::int32_t bytes = frameCount * std::int32_t(sizeof(double));
  const bool inputsOk = ResizeScratch(inputChannels_, bytes);
  const bool outputsOk = ResizeScratch(outputChannels_, bytes);
  std::int32_t size = frameCount;
  if (!inputsOk || !outputsOk) {
    // Back to the size every buffer can hold.
    size = blockSize_;
    ResizeScratch(inputChannels_, size * std::int32_t(sizeof(double)));
    ResizeScratch(outputChannels_, size * std::int32_t(sizeof(double)));
  }
  blockSize_ = size;
}

void IEffectBase::ConnectInputs(std::int32_t first, std::int32_t count, bool connected) {
  ConnectChannels(inputChannels_, first, count, connected);
}

void IEffectBase::ConnectOutputs(std::int32_t first, std::int32_t count, bool connected) {
  ConnectChannels(outputChannels_, first, count, connected);
}

bool IEffectBase::IsInputConnected(std::int32_t channel) const {
  const IInputChannel* record = inputChannels_.Get(channel);
  return record && record->connected;
}

bool IEffectBase::IsOutputConnected(std::int32_t channel) const {
  const IOutputChannel* record = outputChannels_.Get(channel);
  return record && record->connected;
}

// A host that hands over no buffer for a connected channel gets silence in
// and its output dropped, rather than a stale or null pointer.

void IEffectBase::BindInputBuffers(std::int32_t first, std::int32_t count, double** hostBuffers,
                                   std::int32_t offset) {
  ForEachConnected(inputChannels_, first, count, hostBuffers, [&](IInputChannel* channel, double* host) {
    if (host) {
      *channel->slot = host + offset;
    } else {
      if (channel->scratch.Size() > 0) std::memset(channel->Scratch(), 0, std::size_t(channel->scratch.Size()));
      *channel->slot = ScratchOrNone(channel);
    }
  });
}

void IEffectBase::BindInputBuffers(std::int32_t first, std::int32_t count, float** hostBuffers, std::int32_t offset,
                                   std::int32_t frameCount) {
  ForEachConnected(inputChannels_, first, count, hostBuffers, [&](IInputChannel* channel, const float* host) {
    double* scratch = channel->Scratch();
    for (std::int32_t s = 0; s < frameCount; ++s) scratch[s] = host ? host[offset + s] : 0.0;
    *channel->slot = ScratchOrNone(channel);
  });
}

void IEffectBase::BindOutputBuffers(std::int32_t first, std::int32_t count, double** hostBuffers,
                                    std::int32_t offset, std::int32_t /*frameCount*/) {
  ForEachConnected(outputChannels_, first, count, hostBuffers, [&](IOutputChannel* channel, double* host) {
    channel->hostFloatDestination = nullptr;
    *channel->slot = host ? host + offset : ScratchOrNone(channel);
  });
}

void IEffectBase::BindOutputBuffers(std::int32_t first, std::int32_t count, float** hostBuffers,
                                    std::int32_t offset) {
  ForEachConnected(outputChannels_, first, count, hostBuffers, [&](IOutputChannel* channel, float* host) {
    *channel->slot = ScratchOrNone(channel);
    channel->hostFloatDestination = host ? host + offset : nullptr;
  });
}

void IEffectBase::RunBlock(std::int32_t frameCount) {
  ProcessBlock(NumInputChannels() > 0 ? static_cast<double**>(inputPointers_.Data()) : nullptr,
               NumOutputChannels() > 0 ? static_cast<double**>(outputPointers_.Data()) : nullptr, frameCount);
}

void IEffectBase::RunBlockFloat(std::int32_t frameCount) {
  RunBlock(frameCount);
  WriteFloatOutputs(outputChannels_, frameCount, [](float& destination, double sample) {
    destination = static_cast<float>(sample);
  });
}

void IEffectBase::RunBlockAccumulating(std::int32_t frameCount) {
  RunBlock(frameCount);
  WriteFloatOutputs(outputChannels_, frameCount, [](float& destination, double sample) {
    destination = destination + static_cast<float>(sample);
  });
}

void IEffectBase::ProcessBlock(double** inputs, double** outputs, std::int32_t frameCount) {
  const std::int32_t numInputs = NumInputChannels();
  const std::int32_t numOutputs = NumOutputChannels();
  for (std::int32_t c = 0; c < numOutputs; ++c) {
    double* out = outputs[c];
    if (!out) continue;
    const double* in = c < numInputs ? inputs[c] : nullptr;
    for (std::int32_t s = 0; s < frameCount; ++s) out[s] = in ? in[s] : 0.0;
  }
}
