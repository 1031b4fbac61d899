// Binary interface between a VST 2.4 host and the plug-in, declared from the
// standard's layout. Every structure is checked for size and field offsets on
// both word sizes (x86-64 and i386) at the end of this file.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

#pragma pack(push, 8)

struct AEffect;

using VstIntPtr = std::intptr_t;
using VstInt32 = std::int32_t;

using audioMasterCallback = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                    VstIntPtr value, void* ptr, float opt);
using AEffectDispatcherProc = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                      VstIntPtr value, void* ptr, float opt);
using AEffectProcessProc = void(VSTCALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void(VSTCALLBACK*)(AEffect* effect, double** inputs, double** outputs,
                                                    VstInt32 sampleFrames);
using AEffectSetParameterProc = void(VSTCALLBACK*)(AEffect* effect, VstInt32 index, float parameter);
using AEffectGetParameterProc = float(VSTCALLBACK*)(AEffect* effect, VstInt32 index);

struct AEffect {
  VstInt32 magic;
  AEffectDispatcherProc dispatcher;
  AEffectProcessProc process;  // accumulating; deprecated by the standard but still called by old hosts
  AEffectSetParameterProc setParameter;
  AEffectGetParameterProc getParameter;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 numInputs;
  VstInt32 numOutputs;
  VstInt32 flags;
  VstIntPtr resvd1;
  VstIntPtr resvd2;
  VstInt32 initialDelay;
  VstInt32 realQualities;
  VstInt32 offQualities;
  float ioRatio;
  void* object;
  void* user;
  VstInt32 uniqueID;
  VstInt32 version;
  AEffectProcessProc processReplacing;
  AEffectProcessDoubleProc processDoubleReplacing;
  char future[56];
};

struct ERect {
  std::int16_t top;
  std::int16_t left;
  std::int16_t bottom;
  std::int16_t right;
};

struct VstPinProperties {
  char label[64];
  VstInt32 flags;
  VstInt32 arrangementType;
  char shortLabel[8];
  char future[48];
};

struct VstSpeakerProperties {
  float azimuth;
  float elevation;
  float radius;
  float reserved;
  char name[64];
  VstInt32 type;
  char future[28];
};

struct VstSpeakerArrangement {
  VstInt32 type;
  VstInt32 numChannels;
  VstSpeakerProperties speakers[8];
};

struct VstEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  char data[16];
};

struct VstEvents {
  VstInt32 numEvents;
  VstIntPtr reserved;
  VstEvent* events[2];  // the host may pass more: the array runs on past its declared end
};

struct VstMidiEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  VstInt32 noteLength;
  VstInt32 noteOffset;
  char midiData[4];
  char detune;
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};

struct MidiKeyName {
  VstInt32 thisProgramIndex;
  VstInt32 thisKeyNumber;
  char keyName[64];
  VstInt32 reserved;
  VstInt32 flags;
};

struct VstTimeInfo {
  double samplePos;
  double sampleRate;
  double nanoSeconds;
  double ppqPos;
  double tempo;
  double barStartPos;
  double cycleStartPos;
  double cycleEndPos;
  VstInt32 timeSigNumerator;
  VstInt32 timeSigDenominator;
  VstInt32 smpteOffset;
  VstInt32 smpteFrameRate;
  VstInt32 samplesToNextClock;
  VstInt32 flags;
};

#pragma pack(pop)

// Four-character codes are packed big-endian: the first character is the most significant byte.
constexpr VstInt32 FourCharCode(const char (&code)[5]) {
  return static_cast<VstInt32>((std::uint32_t(std::uint8_t(code[0])) << 24) |
                               (std::uint32_t(std::uint8_t(code[1])) << 16) |
                               (std::uint32_t(std::uint8_t(code[2])) << 8) | std::uint32_t(std::uint8_t(code[3])));
}

constexpr VstInt32 kEffectMagic = FourCharCode("VstP");
constexpr VstInt32 kVstIdentifyAnswer = FourCharCode("NvEf");
constexpr VstInt32 kVstVersion = 2400;

enum AEffectFlags : VstInt32 {
  effFlagsHasEditor = 1,
  effFlagsCanMono = 8,  // not in the 2.4 headers' enum any more, but still read by hosts
  effFlagsCanReplacing = 16,
  effFlagsProgramChunks = 32,
  effFlagsIsSynth = 256,
  effFlagsNoSoundInStop = 512,
  effFlagsCanDoubleReplacing = 4096,
};

enum AEffectOpcodes : VstInt32 {
  effOpen = 0,
  effClose = 1,
  effSetProgram = 2,
  effGetProgram = 3,
  effSetProgramName = 4,
  effGetProgramName = 5,
  effGetParamLabel = 6,
  effGetParamDisplay = 7,
  effGetParamName = 8,
  effSetSampleRate = 10,
  effSetBlockSize = 11,
  effMainsChanged = 12,
  effEditGetRect = 13,
  effEditOpen = 14,
  effEditClose = 15,
  effEditIdle = 19,
  effIdentify = 22,
  effGetChunk = 23,
  effSetChunk = 24,
  effProcessEvents = 25,
  effCanBeAutomated = 26,
  effString2Parameter = 27,
  effGetProgramNameIndexed = 29,
  effGetInputProperties = 33,
  effGetOutputProperties = 34,
  effGetPlugCategory = 35,
  effProcessVarIo = 41,
  effSetSpeakerArrangement = 42,
  effSetBypass = 44,
  effGetEffectName = 45,
  effGetVendorString = 47,
  effGetProductString = 48,
  effGetVendorVersion = 49,
  effVendorSpecific = 50,
  effCanDo = 51,
  effGetTailSize = 52,
  effIdle = 53,
  effGetParameterProperties = 56,
  effGetVstVersion = 58,
  effGetMidiKeyName = 66,
  effBeginSetProgram = 67,
  effEndSetProgram = 68,
  effGetSpeakerArrangement = 69,
  effStartProcess = 71,
  effStopProcess = 72,
};

enum AudioMasterOpcodes : VstInt32 {
  audioMasterAutomate = 0,
  audioMasterVersion = 1,
  audioMasterWantMidi = 6,
  audioMasterGetTime = 7,
  audioMasterProcessEvents = 8,
  audioMasterIOChanged = 13,
  audioMasterSizeWindow = 15,
  audioMasterGetSampleRate = 16,
  audioMasterGetBlockSize = 17,
  audioMasterGetVendorString = 32,
  audioMasterGetProductString = 33,
  audioMasterGetVendorVersion = 34,
  audioMasterCanDo = 37,
  audioMasterUpdateDisplay = 42,
  audioMasterBeginEdit = 43,
  audioMasterEndEdit = 44,
};

enum VstTimeInfoFlags : VstInt32 {
  kVstTempoValid = 1 << 10,
  kVstTimeSigValid = 1 << 13,
};

enum VstPinPropertiesFlags : VstInt32 {
  kVstPinIsActive = 1,
  kVstPinIsStereo = 2,
};

constexpr VstInt32 kVstMidiType = 1;
constexpr VstInt32 kPlugCategEffect = 1;

// Buffer sizes the standard gives hosts, terminator included.
constexpr std::size_t kVstMaxParamStrLen = 8;
constexpr std::size_t kVstMaxProgNameLen = 24;
constexpr std::size_t kVstMaxEffectNameLen = 32;
constexpr std::size_t kVstMaxVendorStrLen = 64;
constexpr std::size_t kVstMaxProductStrLen = 64;
constexpr std::size_t kVstMaxLabelLen = 64;

// Layout checks for the word size this file is compiled for.
#define OSTRABEL_CHECK_LAYOUT(type, field, off64, off32) \
  static_assert(offsetof(type, field) == (sizeof(void*) == 8 ? (off64) : (off32)), #type "." #field)
#define OSTRABEL_CHECK_SIZE(type, size64, size32) \
  static_assert(sizeof(type) == (sizeof(void*) == 8 ? (size64) : (size32)), "sizeof " #type)

OSTRABEL_CHECK_SIZE(AEffect, 192, 144);
OSTRABEL_CHECK_LAYOUT(AEffect, magic, 0, 0);
OSTRABEL_CHECK_LAYOUT(AEffect, dispatcher, 8, 4);
OSTRABEL_CHECK_LAYOUT(AEffect, process, 16, 8);
OSTRABEL_CHECK_LAYOUT(AEffect, setParameter, 24, 12);
OSTRABEL_CHECK_LAYOUT(AEffect, getParameter, 32, 16);
OSTRABEL_CHECK_LAYOUT(AEffect, numPrograms, 40, 20);
OSTRABEL_CHECK_LAYOUT(AEffect, numParams, 44, 24);
OSTRABEL_CHECK_LAYOUT(AEffect, numInputs, 48, 28);
OSTRABEL_CHECK_LAYOUT(AEffect, numOutputs, 52, 32);
OSTRABEL_CHECK_LAYOUT(AEffect, flags, 56, 36);
OSTRABEL_CHECK_LAYOUT(AEffect, resvd1, 64, 40);
OSTRABEL_CHECK_LAYOUT(AEffect, resvd2, 72, 44);
OSTRABEL_CHECK_LAYOUT(AEffect, initialDelay, 80, 48);
OSTRABEL_CHECK_LAYOUT(AEffect, realQualities, 84, 52);
OSTRABEL_CHECK_LAYOUT(AEffect, offQualities, 88, 56);
OSTRABEL_CHECK_LAYOUT(AEffect, ioRatio, 92, 60);
OSTRABEL_CHECK_LAYOUT(AEffect, object, 96, 64);
OSTRABEL_CHECK_LAYOUT(AEffect, user, 104, 68);
OSTRABEL_CHECK_LAYOUT(AEffect, uniqueID, 112, 72);
OSTRABEL_CHECK_LAYOUT(AEffect, version, 116, 76);
OSTRABEL_CHECK_LAYOUT(AEffect, processReplacing, 120, 80);
OSTRABEL_CHECK_LAYOUT(AEffect, processDoubleReplacing, 128, 84);
OSTRABEL_CHECK_LAYOUT(AEffect, future, 136, 88);

OSTRABEL_CHECK_SIZE(ERect, 8, 8);
OSTRABEL_CHECK_LAYOUT(ERect, right, 6, 6);

OSTRABEL_CHECK_SIZE(VstPinProperties, 128, 128);
OSTRABEL_CHECK_LAYOUT(VstPinProperties, flags, 64, 64);
OSTRABEL_CHECK_LAYOUT(VstPinProperties, arrangementType, 68, 68);
OSTRABEL_CHECK_LAYOUT(VstPinProperties, shortLabel, 72, 72);

OSTRABEL_CHECK_SIZE(VstSpeakerProperties, 112, 112);
OSTRABEL_CHECK_LAYOUT(VstSpeakerProperties, name, 16, 16);
OSTRABEL_CHECK_LAYOUT(VstSpeakerProperties, type, 80, 80);
OSTRABEL_CHECK_SIZE(VstSpeakerArrangement, 904, 904);
OSTRABEL_CHECK_LAYOUT(VstSpeakerArrangement, numChannels, 4, 4);
OSTRABEL_CHECK_LAYOUT(VstSpeakerArrangement, speakers, 8, 8);

OSTRABEL_CHECK_SIZE(VstEvent, 32, 32);
OSTRABEL_CHECK_SIZE(VstEvents, 32, 16);
OSTRABEL_CHECK_LAYOUT(VstEvents, reserved, 8, 4);
OSTRABEL_CHECK_LAYOUT(VstEvents, events, 16, 8);
OSTRABEL_CHECK_SIZE(VstMidiEvent, 32, 32);
OSTRABEL_CHECK_LAYOUT(VstMidiEvent, deltaFrames, 8, 8);
OSTRABEL_CHECK_LAYOUT(VstMidiEvent, midiData, 24, 24);
OSTRABEL_CHECK_LAYOUT(VstMidiEvent, detune, 28, 28);
OSTRABEL_CHECK_LAYOUT(VstMidiEvent, noteOffVelocity, 29, 29);

OSTRABEL_CHECK_SIZE(MidiKeyName, 80, 80);
OSTRABEL_CHECK_LAYOUT(MidiKeyName, keyName, 8, 8);

OSTRABEL_CHECK_SIZE(VstTimeInfo, 88, 88);
OSTRABEL_CHECK_LAYOUT(VstTimeInfo, tempo, 32, 32);
OSTRABEL_CHECK_LAYOUT(VstTimeInfo, timeSigNumerator, 64, 64);
OSTRABEL_CHECK_LAYOUT(VstTimeInfo, flags, 84, 84);

#undef OSTRABEL_CHECK_LAYOUT
#undef OSTRABEL_CHECK_SIZE
