#include "plugin_report.h"

#include <cstdio>
#include <iomanip>
#include <string>

namespace {

std::string FourChars(VstInt32 code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((static_cast<std::uint32_t>(code) >> shift) & 0xFF);
    text += (c >= 32 && c < 127) ? c : '?';
  }
  return text;
}

std::string Hex(std::uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%X", value);
  return buffer;
}

std::string FlagNames(VstInt32 flags) {
  const std::pair<VstInt32, const char*> names[] = {
      {effFlagsHasEditor, "editor"},       {effFlagsCanMono, "mono"},
      {effFlagsCanReplacing, "replacing"}, {effFlagsProgramChunks, "chunks"},
      {effFlagsIsSynth, "synth"},          {effFlagsNoSoundInStop, "no-sound-in-stop"},
      {effFlagsCanDoubleReplacing, "double-replacing"},
  };
  std::string text;
  for (const auto& [bit, name] : names) {
    if (flags & bit) text += (text.empty() ? "" : ", ") + std::string(name);
  }
  return text;
}

}  // namespace

void ReportPlugin(PluginInstance& plugin, std::ostream& out) {
  AEffect* e = plugin.Effect();
  out << "  name         " << plugin.Text(effGetEffectName) << "\n";
  out << "  vendor       " << plugin.Text(effGetVendorString) << "\n";
  out << "  product      \"" << plugin.Text(effGetProductString) << "\"\n";
  out << "  magic        " << FourChars(e->magic) << "\n";
  out << "  unique id    " << FourChars(e->uniqueID) << " (" << Hex(static_cast<std::uint32_t>(e->uniqueID)) << ")\n";
  out << "  version      " << e->version << "\n";
  out << "  vst version  " << plugin.Dispatch(effGetVstVersion) << "\n";
  out << "  category     " << plugin.Dispatch(effGetPlugCategory) << "\n";
  out << "  flags        " << Hex(static_cast<std::uint32_t>(e->flags)) << " (" << FlagNames(e->flags) << ")\n";
  out << "  channels     " << e->numInputs << " in, " << e->numOutputs << " out\n";
  out << "  latency      " << e->initialDelay << "\n";
  out << "  parameters   " << e->numParams << "\n";
  for (VstInt32 i = 0; i < e->numParams; ++i) {
    out << "    " << i << "  " << std::left << std::setw(8) << plugin.ParamName(i) << std::right << " "
        << std::fixed << std::setprecision(3) << plugin.GetParameter(i) << "  " << plugin.ParamDisplay(i);
    const std::string label = plugin.ParamLabel(i);
    if (!label.empty()) out << " " << label;
    out << "\n";
  }
  out << "  programs     " << e->numPrograms << " (current " << plugin.Dispatch(effGetProgram) << ")\n";
  for (VstInt32 i = 0; i < e->numPrograms; ++i) out << "    " << i << "  " << plugin.ProgramName(i) << "\n";
}
