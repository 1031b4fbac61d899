// ostrabel-host render: an audio file in, through the plug-in's VST entry
// point, an audio file out (WAV, FLAC, AIFF: whatever libsndfile reads and
// writes, chosen by the output file's extension).
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "session.h"
#include "test_host.h"

namespace {

struct RenderOptions {
  std::string plugin, input, output;
  SessionSettings settings;
};

bool ParseRender(const std::vector<std::string>& args, RenderOptions* options) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    bool ok = true;
    if (a == "--block" && hasValue) {
      options->settings.blockSize = std::atoi(args[++i].c_str());
      ok = options->settings.blockSize > 0;
    } else if (a == "--path" && hasValue) {
      options->settings.path = ParsePath(args[++i], &ok);
    } else if (a == "--program" && hasValue) {
      options->settings.program = std::atoi(args[++i].c_str());
    } else if (a.rfind("--", 0) == 0) {
      ok = false;
    } else if (a.find('=') != std::string::npos) {
      std::pair<std::string, float> setting;
      ok = ParseSetting(a, &setting);
      options->settings.params.push_back(setting);
    } else {
      positional.push_back(a);
    }
    if (!ok) return false;
  }
  if (positional.size() != 3) return false;
  options->plugin = positional[0];
  options->input = positional[1];
  options->output = positional[2];
  return true;
}

int OutputFormat(const std::string& path, int inputFormat) {
  const std::size_t dot = path.rfind('.');
  const std::string ext = dot == std::string::npos ? "" : path.substr(dot + 1);
  if (ext == "flac") return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
  if (ext == "aif" || ext == "aiff") return SF_FORMAT_AIFF | SF_FORMAT_PCM_24;
  if (ext == "wav") return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  return inputFormat;
}

}  // namespace

const char* RenderUsage() {
  return "  ostrabel-host render PLUGIN IN OUT [--block N] [--path double|float|accumulate] [--program N]\n"
         "                       [NAME=VALUE...]\n"
         "      an audio file through the plug-in (WAV, FLAC, AIFF by OUT's extension)\n";
}

int Render(const std::vector<std::string>& args) {
  RenderOptions options;
  if (!ParseRender(args, &options)) {
    std::cerr << "usage:\n" << RenderUsage();
    return 2;
  }
  SF_INFO inInfo{};
  SNDFILE* in = sf_open(options.input.c_str(), SFM_READ, &inInfo);
  if (!in) {
    std::cerr << "ostrabel-host: cannot read " << options.input << ": " << sf_strerror(nullptr) << "\n";
    return 1;
  }
  const sf_count_t frames = inInfo.frames;
  const int channels = inInfo.channels;
  std::vector<double> interleaved(static_cast<std::size_t>(frames * channels));
  const sf_count_t read = sf_readf_double(in, interleaved.data(), frames);
  sf_close(in);
  if (read != frames || frames > INT32_MAX) {
    std::cerr << "ostrabel-host: " << options.input << " could not be read whole\n";
    return 1;
  }
  // Mono files feed the left input only; files with more channels give their first two.
  std::vector<double> left(static_cast<std::size_t>(frames)), right(static_cast<std::size_t>(frames), 0.0);
  for (sf_count_t i = 0; i < frames; ++i) {
    left[i] = interleaved[i * channels];
    if (channels > 1) right[i] = interleaved[i * channels + 1];
  }

  PluginLibrary library;
  if (!library.Load(options.plugin)) {
    std::cerr << "ostrabel-host: " << library.Error() << "\n";
    return 1;
  }
  TestHost host;
  host.recording = false;
  PluginInstance plugin(host, library.Entry());
  if (!plugin.Valid()) {
    std::cerr << "ostrabel-host: the plug-in returned no effect\n";
    return 1;
  }
  options.settings.sampleRate = inInfo.samplerate;
  plugin.Start(options.settings.sampleRate, options.settings.blockSize);
  if (options.settings.program >= 0) plugin.Dispatch(effSetProgram, 0, options.settings.program);
  std::string unknown;
  if (!ApplyParams(plugin, options.settings.params, &unknown)) {
    std::cerr << "ostrabel-host: no parameter named " << unknown << "\n";
    return 1;
  }

  // Process in slices of about a second so that long files show progress.
  const auto start = std::chrono::steady_clock::now();
  std::vector<double> outLeft, outRight;
  outLeft.reserve(left.size());
  outRight.reserve(right.size());
  const std::size_t slice = static_cast<std::size_t>(inInfo.samplerate) / options.settings.blockSize *
                                options.settings.blockSize + options.settings.blockSize;
  const bool showProgress = frames > 30 * static_cast<sf_count_t>(inInfo.samplerate);
  for (std::size_t first = 0; first < left.size(); first += slice) {
    const std::size_t n = std::min(slice, left.size() - first);
    std::vector<double> l(left.begin() + first, left.begin() + first + n), r(right.begin() + first,
                                                                              right.begin() + first + n);
    std::vector<double> ol, orr;
    RunSession(plugin, options.settings, l, r, &ol, &orr);
    outLeft.insert(outLeft.end(), ol.begin(), ol.end());
    outRight.insert(outRight.end(), orr.begin(), orr.end());
    if (showProgress) {
      std::fprintf(stderr, "\rrendering %3d%%", static_cast<int>(100.0 * (first + n) / left.size()));
    }
  }
  if (showProgress) std::fprintf(stderr, "\n");
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  SF_INFO outInfo{};
  outInfo.samplerate = inInfo.samplerate;
  outInfo.channels = 2;
  outInfo.format = OutputFormat(options.output, inInfo.format);
  if (!sf_format_check(&outInfo)) outInfo.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* out = sf_open(options.output.c_str(), SFM_WRITE, &outInfo);
  if (!out) {
    std::cerr << "ostrabel-host: cannot write " << options.output << ": " << sf_strerror(nullptr) << "\n";
    return 1;
  }
  std::vector<double> stereo(outLeft.size() * 2);
  for (std::size_t i = 0; i < outLeft.size(); ++i) {
    stereo[2 * i] = outLeft[i];
    stereo[2 * i + 1] = outRight[i];
  }
  sf_command(out, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  const sf_count_t written = sf_writef_double(out, stereo.data(), static_cast<sf_count_t>(outLeft.size()));
  sf_close(out);
  if (written != static_cast<sf_count_t>(outLeft.size())) {
    std::cerr << "ostrabel-host: " << options.output << " could not be written whole\n";
    return 1;
  }
  const double audioSeconds = double(frames) / inInfo.samplerate;
  std::printf("rendered %s: %.2f s of audio at %d Hz in %.3f s (%.0fx realtime)\n", options.output.c_str(),
              audioSeconds, inInfo.samplerate, seconds, seconds > 0 ? audioSeconds / seconds : 0.0);
  return 0;
}
