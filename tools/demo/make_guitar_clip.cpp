// Writes a short guitar-like clip for the demo renders: a few plucked-string
// chords (a noise burst circulating in a damped delay line per string).
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct PluckedString {
  std::vector<double> line;
  std::size_t position = 0;
  double previous = 0.0;
  double damping;

  PluckedString(double frequency, double sampleRate, std::uint32_t seed, double loudness, double brightness)
      : line(static_cast<std::size_t>(sampleRate / frequency)), damping(0.4985) {
    double smooth = 0.0;
    for (double& v : line) {
      seed = seed * 1664525u + 1013904223u;
      const double noise = static_cast<double>(seed >> 8) / 16777216.0 * 2.0 - 1.0;
      smooth += brightness * (noise - smooth);  // a softer pick takes fewer highs
      v = smooth * loudness;
    }
  }

  double Next() {
    const double current = line[position];
    line[position] = (current + previous) * damping;
    previous = current;
    position = (position + 1) % line.size();
    return current;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_guitar_clip OUT.wav\n");
    return 2;
  }
  constexpr int kRate = 48000;
  // Open E power chord, an A chord, then single notes, strummed down with a little spread.
  const std::vector<std::vector<double>> chords = {
      {82.41, 123.47, 164.81},
      {110.0, 164.81, 220.0, 277.18},
      {146.83, 220.0, 293.66},
      {196.0},
      {246.94},
      {329.63},
      {82.41, 123.47, 164.81, 207.65, 246.94, 329.63},
  };
  const double chordSeconds = 0.75;
  const std::size_t frames = static_cast<std::size_t>(kRate * (chordSeconds * chords.size() + 1.5));
  std::vector<float> mono(frames, 0.0f);
  std::uint32_t seed = 12345;
  for (std::size_t c = 0; c < chords.size(); ++c) {
    const std::size_t start = static_cast<std::size_t>(c * chordSeconds * kRate);
    for (std::size_t s = 0; s < chords[c].size(); ++s) {
      PluckedString string(chords[c][s], kRate, seed += 7919, 0.25, 0.5);
      const std::size_t onset = start + s * kRate / 100;  // 10 ms between strings
      const std::size_t length = c + 1 == chords.size() ? frames - onset : static_cast<std::size_t>(kRate * 1.2);
      for (std::size_t i = 0; i < length && onset + i < frames; ++i) mono[onset + i] += float(string.Next());
    }
  }
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
  SNDFILE* file = sf_open(argv[1], SFM_WRITE, &info);
  if (!file) {
    std::fprintf(stderr, "make_guitar_clip: cannot write %s\n", argv[1]);
    return 1;
  }
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  sf_writef_float(file, mono.data(), static_cast<sf_count_t>(frames));
  sf_close(file);
  std::printf("wrote %s: %.2f s of plucked-string chords at %d Hz\n", argv[1], double(frames) / kRate, kRate);
  return 0;
}
