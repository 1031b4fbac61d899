#include "session.h"

#include <algorithm>
#include <cstring>

std::vector<double> MakeTestSignal(std::int32_t frames, std::uint32_t seed, double gain) {
  // A plucked string: a burst of integer noise circulating in an averaging delay line.
  std::vector<double> out(static_cast<std::size_t>(std::max(frames, 0)));
  const std::size_t period = 109;  // about 440 Hz at 48 kHz
  std::vector<double> line(period);
  std::uint32_t state = seed;
  for (double& v : line) {
    state = state * 1664525u + 1013904223u;
    v = (static_cast<double>(state >> 8) / 16777216.0 - 0.5) * 2.0;
  }
  std::size_t position = 0;
  double previous = 0.0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (i % 24000 == 0 && i > 0) {  // pluck again every half second
      for (double& v : line) {
        state = state * 1664525u + 1013904223u;
        v += (static_cast<double>(state >> 8) / 16777216.0 - 0.5);
      }
    }
    const double current = line[position];
    line[position] = (current + previous) * 0.498;
    previous = current;
    position = (position + 1) % period;
    out[i] = current * gain;
  }
  return out;
}

bool ApplyParams(PluginInstance& plugin, const std::vector<std::pair<std::string, float>>& params,
                 std::string* unknown) {
  for (const auto& [name, value] : params) {
    VstInt32 index = -1;
    for (VstInt32 i = 0; i < plugin.Effect()->numParams && index < 0; ++i) {
      if (plugin.ParamName(i) == name) index = i;
    }
    if (index < 0) {
      if (unknown) *unknown = name;
      return false;
    }
    plugin.SetParameter(index, value);
  }
  return true;
}

void RunSession(PluginInstance& plugin, const SessionSettings& settings, const std::vector<double>& left,
                const std::vector<double>& right, std::vector<double>* outLeft, std::vector<double>* outRight) {
  const std::int32_t frames = static_cast<std::int32_t>(std::min(left.size(), right.size()));
  outLeft->assign(static_cast<std::size_t>(frames), 0.0);
  outRight->assign(static_cast<std::size_t>(frames), 0.0);
  const std::int32_t block = std::max(settings.blockSize, 1);
  std::vector<float> fin[2] = {std::vector<float>(block), std::vector<float>(block)};
  std::vector<float> fout[2] = {std::vector<float>(block), std::vector<float>(block)};
  std::vector<double> din[2] = {std::vector<double>(block), std::vector<double>(block)};
  std::vector<double> dout[2] = {std::vector<double>(block), std::vector<double>(block)};
  for (std::int32_t start = 0; start < frames; start += block) {
    const std::int32_t n = std::min(block, frames - start);
    if (settings.path == ProcessPath::Double) {
      std::memcpy(din[0].data(), left.data() + start, sizeof(double) * n);
      std::memcpy(din[1].data(), right.data() + start, sizeof(double) * n);
      double* in[2] = {din[0].data(), din[1].data()};
      double* out[2] = {dout[0].data(), dout[1].data()};
      plugin.ProcessDouble(in, out, n);
      std::memcpy(outLeft->data() + start, dout[0].data(), sizeof(double) * n);
      std::memcpy(outRight->data() + start, dout[1].data(), sizeof(double) * n);
    } else {
      for (std::int32_t i = 0; i < n; ++i) {
        fin[0][i] = static_cast<float>(left[start + i]);
        fin[1][i] = static_cast<float>(right[start + i]);
        fout[0][i] = 0.0f;
        fout[1][i] = 0.0f;
      }
      float* in[2] = {fin[0].data(), fin[1].data()};
      float* out[2] = {fout[0].data(), fout[1].data()};
      if (settings.path == ProcessPath::Float) {
        plugin.ProcessReplacing(in, out, n);
      } else {
        plugin.ProcessAccumulating(in, out, n);
      }
      for (std::int32_t i = 0; i < n; ++i) {
        (*outLeft)[start + i] = fout[0][i];
        (*outRight)[start + i] = fout[1][i];
      }
    }
  }
}

std::uint64_t Fingerprint(const std::vector<double>& samples) {
  std::uint64_t hash = 1469598103934665603ull;  // FNV-1a over the sample bytes
  for (double v : samples) {
    unsigned char bytes[8];
    std::memcpy(bytes, &v, 8);
    for (unsigned char b : bytes) hash = (hash ^ b) * 1099511628211ull;
  }
  return hash;
}

ProcessPath ParsePath(const std::string& name, bool* ok) {
  *ok = true;
  if (name == "double") return ProcessPath::Double;
  if (name == "float") return ProcessPath::Float;
  if (name == "accumulate") return ProcessPath::Accumulate;
  *ok = false;
  return ProcessPath::Double;
}
