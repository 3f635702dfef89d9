// Listens to a capture of a whole drive (the program's mix written by OpenAL
// Soft's wave-file output) the way a person would: silence while the menu shows
// at the start and at the end, a loud drive in between whose engine note rises,
// and no clipping anywhere. Prints what it measured; exits 1 when a check fails.
// Usage: audio_probe CAPTURE.wav MIN_MENU_SECONDS

#include "app/sound.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kSilence = 2;            // 16-bit steps: what counts as no sound
constexpr int kFullScale = 32767;
constexpr double kClippedShare = 0.001;  // samples at full scale the output limiter may leave
constexpr double kWindow = 0.4;        // s, for each engine-note estimate
constexpr double kLowestNote = 20.0;   // Hz, engine firing frequency range searched
constexpr double kHighestNote = 400.0;
constexpr double kStep = 0.25;         // s between note estimates
constexpr double kRiseFactor = 1.4;    // how far the note must climb ...
constexpr double kRiseWithin = 3.0;    // ... within this many seconds (first gear at full throttle)

struct Capture {
  std::vector<double> mono;  // -1..1
  std::vector<int16_t> raw;
  int rate = 0;
};

bool load(const char* path, Capture& out) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  SoundPcm pcm;
  std::string why;
  if (!decodeWav(image.data(), image.size(), pcm, why)) {
    std::printf("FAIL: %s is not a usable capture: %s\n", path, why.c_str());
    return false;
  }
  out.rate = pcm.rate;
  out.raw = pcm.samples;
  for (size_t i = 0; i + size_t(pcm.channels) <= pcm.samples.size(); i += size_t(pcm.channels)) {
    double sum = 0.0;
    for (int c = 0; c < pcm.channels; ++c) sum += pcm.samples[i + size_t(c)];
    out.mono.push_back(sum / pcm.channels / 32768.0);
  }
  return true;
}

// The engine's firing note in [from, from + kWindow) s: the strongest
// autocorrelation of the low-passed signal within the note range, taking the
// shortest lag that comes close to the best so that octaves below are not chosen.
double engineNote(const Capture& c, double from) {
  size_t begin = std::min(c.mono.size(), size_t(from * c.rate));
  size_t end = std::min(c.mono.size(), begin + size_t(kWindow * c.rate));
  std::vector<double> s(c.mono.begin() + long(begin), c.mono.begin() + long(end));
  const double a = 1.0 - std::exp(-2.0 * 3.141592653589793 * kHighestNote / c.rate);
  for (int pass = 0; pass < 2; ++pass) {
    double y = 0.0;
    for (double& v : s) v = y += (v - y) * a;
  }
  size_t minLag = size_t(c.rate / kHighestNote), maxLag = size_t(c.rate / kLowestNote);
  if (s.size() < 2 * maxLag) return 0.0;
  std::vector<double> score(maxLag + 1, 0.0);
  double best = 0.0;
  for (size_t lag = minLag; lag <= maxLag; ++lag) {
    double xy = 0.0, xx = 0.0, yy = 0.0;
    for (size_t i = 0; i + lag < s.size(); ++i) {
      xy += s[i] * s[i + lag];
      xx += s[i] * s[i];
      yy += s[i + lag] * s[i + lag];
    }
    score[lag] = xx > 0.0 && yy > 0.0 ? xy / std::sqrt(xx * yy) : 0.0;
    best = std::max(best, score[lag]);
  }
  for (size_t lag = minLag + 1; lag < maxLag; ++lag) {
    bool localPeak = score[lag] >= score[lag - 1] && score[lag] >= score[lag + 1];
    if (localPeak && score[lag] > 0.9 * best) return double(c.rate) / double(lag);
  }
  return 0.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: audio_probe CAPTURE.wav MIN_MENU_SECONDS\n");
    return 2;
  }
  Capture c;
  if (!load(argv[1], c)) return 1;
  const double minMenu = std::atof(argv[2]);
  const double length = double(c.mono.size()) / c.rate;

  size_t first = 0, last = c.raw.size();
  while (first < c.raw.size() && std::abs(int(c.raw[first])) <= kSilence) ++first;
  while (last > first && std::abs(int(c.raw[last - 1])) <= kSilence) --last;
  const double onset = double(first) / c.rate;
  const double end = double(last) / c.rate;

  int peak = 0;
  size_t atFullScale = 0;
  for (int16_t s : c.raw) {
    peak = std::max(peak, std::abs(int(s)));
    atFullScale += std::abs(int(s)) >= kFullScale ? 1 : 0;
  }
  std::printf("capture %.2f s, sound from %.2f s to %.2f s, peak %d of %d, %zu samples at full scale\n", length,
              onset, end, peak, kFullScale, atFullScale);

  // The note through the drive; the biggest climb over a short stretch is the
  // engine pulling through a gear.
  std::vector<double> notes;
  std::printf("engine note every %.2f s of the drive (Hz):", kStep);
  for (double t = onset; t + kWindow <= end; t += kStep) {
    notes.push_back(engineNote(c, t));
    std::printf(" %.0f", notes.back());
  }
  std::printf("\n");
  double climb = 0.0, climbFrom = 0.0, climbTo = 0.0;
  const size_t reach = size_t(kRiseWithin / kStep);
  for (size_t i = 0; i < notes.size(); ++i) {
    for (size_t j = i + 1; j < notes.size() && j <= i + reach; ++j) {
      if (notes[i] > 0.0 && notes[j] / notes[i] > climb) {
        climb = notes[j] / notes[i];
        climbFrom = notes[i];
        climbTo = notes[j];
      }
    }
  }
  std::printf("largest climb within %.1f s: %.0f Hz to %.0f Hz\n", kRiseWithin, climbFrom, climbTo);

  bool ok = true;
  auto check = [&ok](bool pass, const char* what) {
    if (!pass) std::printf("FAIL: %s\n", what);
    ok = ok && pass;
  };
  check(onset >= minMenu, "the menu at the start is not silent for long enough");
  check(end < length - 0.5, "the menu at the end is not silent");
  check(end - onset > 2.0, "the drive is not heard");
  check(peak > kFullScale / 20, "the drive is too quiet");
  check(double(atFullScale) <= kClippedShare * double(last - first), "the mix clips");
  check(climb >= kRiseFactor, "the engine note does not rise with the engine speed");
  return ok ? 0 : 1;
}
