// ostrabel-host: loads a VST 2.4 plug-in file the way a host does and reports
// what it sees, or runs audio through it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "plugin_report.h"
#include "session.h"
#include "test_host.h"
#include "x87_control.h"

namespace {

int Usage() {
  std::cerr << "usage:\n"
               "  ostrabel-host info PLUGIN...\n"
               "      what a host sees: name, vendor, ids, version, parameters, programs, channels, flags\n"
               "  ostrabel-host params PLUGIN [NAME=VALUE...]\n"
               "      parameter names, normalised values and displays, after setting any given\n"
               "  ostrabel-host session PLUGIN [--rate HZ] [--block N] [--frames N] [--path double|float|accumulate]\n"
               "                        [--program N] [--x87 24|53|64] [--raw FILE] [NAME=VALUE...]\n"
               "      a fixed test signal through the plug-in; prints a fingerprint of the output\n"
            << RenderUsage();
  return 2;
}

bool OpenPlugin(const std::string& path, PluginLibrary& library) {
  if (!library.Load(path)) {
    std::cerr << "ostrabel-host: " << library.Error() << "\n";
    return false;
  }
  return true;
}

int Info(const std::vector<std::string>& paths) {
  if (paths.empty()) return Usage();
  int status = 0;
  for (const std::string& path : paths) {
    PluginLibrary library;
    if (!OpenPlugin(path, library)) {
      status = 1;
      continue;
    }
    TestHost host;
    PluginInstance plugin(host, library.Entry());
    if (!plugin.Valid()) {
      std::cerr << "ostrabel-host: " << path << " returned no effect\n";
      status = 1;
      continue;
    }
    plugin.Start(44100.0, 512);
    std::cout << path << "\n";
    std::cout << "  entry points VSTPluginMain" << (library.MainEntry() ? ", main" : "")
              << (library.MainEntry() == library.Entry() ? " (same routine)" : "") << "\n";
    ReportPlugin(plugin, std::cout);
  }
  return status;
}

int Params(const std::vector<std::string>& args) {
  if (args.empty()) return Usage();
  PluginLibrary library;
  if (!OpenPlugin(args[0], library)) return 1;
  std::vector<std::pair<std::string, float>> params;
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::pair<std::string, float> setting;
    if (!ParseSetting(args[i], &setting)) return Usage();
    params.push_back(setting);
  }
  TestHost host;
  PluginInstance plugin(host, library.Entry());
  if (!plugin.Valid()) return 1;
  plugin.Start(44100.0, 512);
  std::string unknown;
  if (!ApplyParams(plugin, params, &unknown)) {
    std::cerr << "ostrabel-host: no parameter named " << unknown << "\n";
    return 1;
  }
  for (VstInt32 i = 0; i < plugin.Effect()->numParams; ++i) {
    std::printf("%-8s %.3f  %s%s%s\n", plugin.ParamName(i).c_str(), plugin.GetParameter(i),
                plugin.ParamDisplay(i).c_str(), plugin.ParamLabel(i).empty() ? "" : " ",
                plugin.ParamLabel(i).c_str());
  }
  return 0;
}

int Session(const std::vector<std::string>& args) {
  if (args.empty()) return Usage();
  SessionSettings settings;
  std::string rawPath;
  int x87 = 0;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    bool ok = true;
    if (a == "--rate" && hasValue) {
      settings.sampleRate = std::atof(args[++i].c_str());
    } else if (a == "--block" && hasValue) {
      settings.blockSize = std::atoi(args[++i].c_str());
    } else if (a == "--frames" && hasValue) {
      settings.frames = std::atoi(args[++i].c_str());
    } else if (a == "--path" && hasValue) {
      settings.path = ParsePath(args[++i], &ok);
    } else if (a == "--program" && hasValue) {
      settings.program = std::atoi(args[++i].c_str());
    } else if (a == "--x87" && hasValue) {
      x87 = std::atoi(args[++i].c_str());
    } else if (a == "--raw" && hasValue) {
      rawPath = args[++i];
    } else {
      std::pair<std::string, float> setting;
      ok = ParseSetting(a, &setting);
      if (ok) settings.params.push_back(setting);
    }
    if (!ok) return Usage();
  }
  // Set before the plug-in is loaded, as a host that changes the FPU control word would.
  if (x87 && !SetX87Precision(x87)) return Usage();
  PluginLibrary library;
  if (!OpenPlugin(args[0], library)) return 1;
  TestHost host;
  PluginInstance plugin(host, library.Entry());
  if (!plugin.Valid()) return 1;
  plugin.Start(settings.sampleRate, settings.blockSize);
  if (settings.program >= 0) plugin.Dispatch(effSetProgram, 0, settings.program);
  std::string unknown;
  if (!ApplyParams(plugin, settings.params, &unknown)) {
    std::cerr << "ostrabel-host: no parameter named " << unknown << "\n";
    return 1;
  }
  const std::vector<double> left = MakeTestSignal(settings.frames, 1, 0.5);
  const std::vector<double> right = MakeTestSignal(settings.frames, 2, 0.25);
  std::vector<double> outLeft, outRight;
  RunSession(plugin, settings, left, right, &outLeft, &outRight);
  std::vector<double> both(outLeft);
  both.insert(both.end(), outRight.begin(), outRight.end());
  double peak = 0.0;
  for (double v : both) peak = std::max(peak, v < 0 ? -v : v);
  std::printf("frames %d  peak %.17g  fingerprint %016llx\n", settings.frames, peak,
              static_cast<unsigned long long>(Fingerprint(both)));
  if (!rawPath.empty()) {
    std::ofstream raw(rawPath, std::ios::binary);
    raw.write(reinterpret_cast<const char*>(both.data()), static_cast<std::streamsize>(both.size() * sizeof(double)));
    if (!raw) {
      std::cerr << "ostrabel-host: cannot write " << rawPath << "\n";
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "info") return Info(args);
  if (command == "params") return Params(args);
  if (command == "session") return Session(args);
  if (command == "render") return Render(args);
  return Usage();
}
