// The format-neutral plug-in instance: parameters, programs and state,
// channels and buffers, the instance lock, the editor link and what is known
// of the host. The format binding implements the host-facing operations, the
// effect overrides the processing ones.
#pragma once

#include <cstdint>

#include "channels.h"
#include "heap_buffer.h"
#include "host_kind.h"
#include "midi_message.h"
#include "parameter.h"
#include "plug_mutex.h"
#include "pointer_list.h"
#include "program_slot.h"
#include "state_chunk.h"

class IGraphicsBase;

class IEffectBase {
 public:
  IEffectBase(std::int32_t numParams, const char* channelIOStr, std::int32_t numPrograms, const char* effectName,
              const char* productName, const char* makerName, std::int32_t version, std::int32_t uniqueId,
              std::int32_t makerId, std::int32_t latency, bool doesMidi, bool doesChunks, bool isInstrument);
  virtual ~IEffectBase();
  IEffectBase(const IEffectBase&) = delete;
  IEffectBase& operator=(const IEffectBase&) = delete;

  // Processing, overridden by the effect.
  virtual void ResetProcessing();
  virtual void HandleParamChange(std::int32_t paramIndex);
  virtual void ProcessBlock(double** inputs, double** outputs, std::int32_t frameCount);
  virtual void OnEditorOpened() {}
  virtual void OnEditorClosing() {}
  virtual void HandleActivation(bool active);
  virtual void HandleMidiMessage(const IMidiMessage& message);
  virtual bool GetMidiNoteName(std::int32_t note, char* name);
  virtual bool SaveState(StateChunk& chunk);
  virtual std::int32_t LoadState(const StateChunk& chunk, std::int32_t start);

  // Host-facing, provided by the format binding.
  virtual void BeginParamEdit(std::int32_t paramIndex) = 0;
  virtual void NotifyParamChange(std::int32_t paramIndex, double normalizedValue) = 0;
  virtual void EndParamEdit(std::int32_t paramIndex) = 0;
  virtual std::int32_t GetSamplePosition() = 0;
  virtual double QueryTempo() = 0;
  virtual void QueryTimeSignature(std::int32_t* numerator, std::int32_t* denominator) = 0;
  virtual HostKind IdentifyHost();
  virtual void UpdateEditorRect(std::int32_t width, std::int32_t height) = 0;
  virtual void ApplyHostQuirks() = 0;
  virtual void AttachEditor(IGraphicsBase* editor);
  virtual void ChangeBlockSize(std::int32_t frameCount);
  virtual void ChangeLatency(std::int32_t frameCount);
  virtual bool SendMidiMessage(const IMidiMessage& message) = 0;
  virtual bool SendMidiMessages(const IMidiMessage* messages, std::int32_t count) = 0;

  // Parameters and the editor's way in.
  IParameter* ParamAt(std::int32_t index) const { return params_.Get(index); }
  std::int32_t NumParams() const { return params_.Count(); }
  void SetParameterFromGUI(std::int32_t paramIndex, double normalizedValue);
  IGraphicsBase* Editor() const { return editor_; }

  // Identity and host.
  std::int32_t GetVersion(bool decimal) const;
  void SetHost(const char* productString, std::int32_t packedVersion);
  HostKind Host() const { return host_; }
  std::int32_t HostVersion() const { return hostVersion_; }
  const char* EffectName() const { return effectName_; }
  const char* ProductName() const { return productName_; }
  const char* MakerName() const { return makerName_; }
  std::int32_t UniqueId() const { return uniqueId_; }
  std::int32_t MakerId() const { return makerId_; }
  bool DoesChunks() const { return doesChunks_; }
  bool IsInstrument() const { return isInstrument_; }

  void ChangeSampleRate(double rate) { sampleRate_ = rate; }
  double SampleRate() const { return sampleRate_; }
  std::int32_t BlockSize() const { return blockSize_; }
  std::int32_t Latency() const { return latency_; }

  // Programs and state.
  void AddProgram(const char* name, ...);
  void AddDefaultPrograms(const char* name, std::int32_t count);
  void EnsureOneProgram();
  bool SelectProgram(std::int32_t index);
  void StoreCurrentProgram(const char* name);
  const char* GetProgramName(std::int32_t index) const;
  void MakeUserProgramName(char* out, std::size_t capacity) const;
  bool SerializeParamValues(StateChunk& chunk);
  std::int32_t UnserializeParams(const StateChunk& chunk, std::int32_t start);
  void RefreshEditorParams();
  std::int32_t NumPrograms() const { return programs_.Count(); }
  std::int32_t CurrentProgram() const { return currentProgram_; }
  const IProgramSlot* ProgramAt(std::int32_t index) const { return programs_.Get(index); }

  // Channels and buffers.
  bool LegalIO(std::int32_t inputs, std::int32_t outputs) const;
  std::int32_t NumInputChannels() const { return inputChannels_.Count(); }
  std::int32_t NumOutputChannels() const { return outputChannels_.Count(); }
  void ConnectInputs(std::int32_t first, std::int32_t count, bool connected);
  void ConnectOutputs(std::int32_t first, std::int32_t count, bool connected);
  bool IsInputConnected(std::int32_t channel) const;
  bool IsOutputConnected(std::int32_t channel) const;
  // Binding reads frames [offset, offset + frameCount) of each host buffer.
  void BindInputBuffers(std::int32_t first, std::int32_t count, double** hostBuffers, std::int32_t offset);
  void BindInputBuffers(std::int32_t first, std::int32_t count, float** hostBuffers, std::int32_t offset,
                        std::int32_t frameCount);
  void BindOutputBuffers(std::int32_t first, std::int32_t count, double** hostBuffers, std::int32_t offset,
                         std::int32_t frameCount);
  void BindOutputBuffers(std::int32_t first, std::int32_t count, float** hostBuffers, std::int32_t offset);
  void RunBlock(std::int32_t frameCount);  // double buffers
  void RunBlockFloat(std::int32_t frameCount);
  void RunBlockAccumulating(std::int32_t frameCount);

  PlugMutex& Mutex() { return mutex_; }

 private:
  void ParseChannelConfigurations(const char* channelIOStr);
  void DestroyAll();
  IProgramSlot* Slot(std::int32_t index) const { return programs_.Get(index); }
  IProgramSlot* FirstUninitialisedSlot() const;
  void FillSlotWithCurrentValues(IProgramSlot* slot, const char* name);

  PointerList<IChannelConfig> channelConfigs_{256};
  char effectName_[128] = {};
  char productName_[128] = {};
  char makerName_[128] = {};
  std::int32_t uniqueId_;
  std::int32_t makerId_;
  std::int32_t version_;
  HostKind host_ = HostNotAsked;
  std::int32_t hostVersion_ = 0;
  bool doesChunks_;
  bool isInstrument_;
  double sampleRate_ = 44100.0;
  std::int32_t blockSize_ = 0;
  std::int32_t latency_;
  PointerList<IParameter> params_{256};
  IGraphicsBase* editor_ = nullptr;
  PointerList<IProgramSlot> programs_{256};
  std::int32_t currentProgram_ = 0;
  HeapBuffer inputPointers_{64};
  HeapBuffer outputPointers_{64};
  PointerList<IInputChannel> inputChannels_{64};
  PointerList<IOutputChannel> outputChannels_{64};
  PlugMutex mutex_;
};
