#include "tools/datagen/sounds.h"

#include "tools/datagen/noise.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kFiringPeriod = 252;  // samples between firings: 175 Hz, 5250 rpm
constexpr int kEngineFirings = 176;  // a multiple of four cylinders

using Signal = std::vector<double>;

// Filters run over a loop twice, keeping their state from the first pass into
// the second, so the result has no seam where the loop wraps.
void resonateLoop(const Signal& in, Signal& out, double frequency, double decaySeconds, double gain) {
  double r = std::exp(-1.0 / (decaySeconds * kSampleRate));
  double a1 = 2.0 * r * std::cos(2.0 * kPi * frequency / kSampleRate), a2 = -r * r;
  double y1 = 0.0, y2 = 0.0;
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < in.size(); ++i) {
      double y = a1 * y1 + a2 * y2 + in[i];
      y2 = y1;
      y1 = y;
      if (pass == 1) out[i] += y * gain * (1.0 - r);
    }
  }
}

void lowpassLoop(Signal& s, double cutoff) {
  double a = 1.0 - std::exp(-2.0 * kPi * cutoff / kSampleRate);
  double y = 0.0;
  for (int pass = 0; pass < 2; ++pass)
    for (double& v : s) {
      y += (v - y) * a;
      if (pass == 1) v = y;
    }
}

void highpassLoop(Signal& s, double cutoff) {
  Signal low = s;
  lowpassLoop(low, cutoff);
  for (size_t i = 0; i < s.size(); ++i) s[i] -= low[i];
}

Signal whiteNoise(size_t n, uint32_t seed) {
  Rng rng(seed);
  Signal s(n);
  for (double& v : s) v = rng.signedUnit();
  return s;
}

// A band of noise around `centre` Hz.
Signal bandNoise(size_t n, double centre, double decay, uint32_t seed) {
  Signal out(n, 0.0);
  resonateLoop(whiteNoise(n, seed), out, centre, decay, 1.0);
  return out;
}

std::vector<float> normalized(const Signal& s, double peak) {
  double m = 1e-9;
  for (double v : s) m = std::max(m, std::fabs(v));
  std::vector<float> out(s.size());
  for (size_t i = 0; i < s.size(); ++i) out[i] = float(s[i] * peak / m);
  return out;
}

// Sine with a whole number of cycles over the loop, so it wraps cleanly.
double loopSine(size_t i, size_t n, int cycles, double phase = 0.0) {
  return std::sin(2.0 * kPi * double(cycles) * double(i) / double(n) + phase);
}

// The engine: every firing kicks the exhaust's resonances; the four cylinders
// differ a little in strength, and each firing wanders slightly in time and
// force. On throttle the kicks are hard and the high resonances ring; off
// throttle they are soft and muffled, with the odd pop.
Signal engineLayer(bool onThrottle, uint32_t seed) {
  const size_t n = size_t(kFiringPeriod) * kEngineFirings;
  Rng rng(seed);
  Signal kick(n, 0.0);
  const double cylinder[4] = {1.0, 0.86, 1.08, 0.93};
  for (int f = 0; f < kEngineFirings; ++f) {
    double strength = cylinder[f % 4] * (1.0 + 0.12 * rng.signedUnit());
    if (!onThrottle && rng.uniform() < 0.04) strength *= 2.2;  // a pop on the overrun
    int at = f * kFiringPeriod + int(rng.range(-3.0, 3.0));
    int width = onThrottle ? 10 : 24;
    for (int k = 0; k < width; ++k) {
      double shape = std::sin(kPi * k / width);
      kick[size_t((at + k + int(n)) % int(n))] += strength * shape;
    }
  }
  Signal out(n, 0.0);
  if (onThrottle) {
    resonateLoop(kick, out, 175.0, 0.02, 1.0);
    resonateLoop(kick, out, 350.0, 0.012, 0.8);
    resonateLoop(kick, out, 620.0, 0.008, 0.7);
    resonateLoop(kick, out, 1150.0, 0.005, 0.45);
    resonateLoop(kick, out, 2400.0, 0.003, 0.25);
    // Combustion roar: noise that swells with each firing.
    Signal roar = bandNoise(n, 900.0, 0.0015, seed + 1);
    for (size_t i = 0; i < n; ++i) {
      double phase = double(i % kFiringPeriod) / kFiringPeriod;
      out[i] += roar[i] * 0.25 * std::exp(-phase * 4.0);
    }
  } else {
    resonateLoop(kick, out, 175.0, 0.03, 1.0);
    resonateLoop(kick, out, 262.0, 0.02, 0.6);
    resonateLoop(kick, out, 480.0, 0.01, 0.35);
    Signal rumble = bandNoise(n, 300.0, 0.004, seed + 2);
    for (size_t i = 0; i < n; ++i) out[i] += rumble[i] * 0.12;
    lowpassLoop(out, 1800.0);
  }
  highpassLoop(out, 40.0);
  return out;
}

// Valve train ticking and a gear whine; the game plays it 0.5 to 1 times as fast.
Signal mechanicalNoise() {
  const size_t n = kSampleRate;
  Signal ticks(n, 0.0);
  Rng rng(501u);
  for (int t = 0; t < 120; ++t) {
    int at = int(double(t) * n / 120.0) + int(rng.range(0.0, 20.0));
    ticks[size_t(at % int(n))] += 1.0 + 0.3 * rng.signedUnit();
  }
  Signal out(n, 0.0);
  resonateLoop(ticks, out, 4200.0, 0.0012, 1.0);
  resonateLoop(ticks, out, 7300.0, 0.0008, 0.6);
  Signal hiss = bandNoise(n, 5000.0, 0.0004, 502u);
  for (size_t i = 0; i < n; ++i)
    out[i] += 0.12 * hiss[i] + 0.18 * loopSine(i, n, 1800) + 0.06 * loopSine(i, n, 3600, 0.7);
  return out;
}

// A whistle that the game slides from about 0.3 to 1.1 times its native pitch,
// over rushing air.
Signal turboWhistle() {
  const size_t n = kSampleRate;
  Signal out(n, 0.0);
  Signal air = bandNoise(n, 4500.0, 0.0006, 601u);
  for (size_t i = 0; i < n; ++i) {
    double wobble = 1.0 + 0.08 * loopSine(i, n, 3);
    out[i] = 0.6 * wobble * loopSine(i, n, 6200) + 0.12 * loopSine(i, n, 12400) + 0.35 * air[i];
  }
  return out;
}

// Tyre squeal: a howl near 1 kHz whose pitch and strength waver, over scrubbing noise.
Signal tyreSqueal() {
  const size_t n = 2 * kSampleRate;
  Signal out(n, 0.0);
  Signal scrub = bandNoise(n, 2200.0, 0.0008, 701u);
  double phase = 0.0;
  for (size_t i = 0; i < n; ++i) {
    // 1020 Hz makes whole cycles over the loop and the wobbles average out,
    // so the phase comes back to where it started.
    double f = 1020.0 + 40.0 * loopSine(i, n, 7) + 15.0 * loopSine(i, n, 23, 1.0);
    phase += 2.0 * kPi * f / kSampleRate;
    double level = 0.75 + 0.25 * loopSine(i, n, 5, 0.3);
    out[i] = level * (std::sin(phase) + 0.35 * std::sin(2.0 * phase) + 0.15 * std::sin(3.0 * phase)) +
             0.35 * scrub[i];
  }
  return out;
}

// Gravel under sliding tyres: stones knocking and a crunching rumble.
Signal gravelCrunch() {
  const size_t n = 2 * kSampleRate;
  Rng rng(801u);
  Signal hits(n, 0.0);
  for (int k = 0; k < 1400; ++k) hits[size_t(rng.next() % n)] += rng.range(0.2, 1.0) * (rng.uniform() < 0.5 ? -1 : 1);
  Signal out(n, 0.0);
  resonateLoop(hits, out, 1800.0, 0.0015, 1.0);
  resonateLoop(hits, out, 3500.0, 0.001, 0.7);
  resonateLoop(hits, out, 700.0, 0.002, 0.6);
  Signal rumble = whiteNoise(n, 802u);
  lowpassLoop(rumble, 500.0);
  for (size_t i = 0; i < n; ++i) out[i] += 1.5 * rumble[i];
  return out;
}

// Low rushing noise in slow gusts; played 1.6 times as fast and more.
Signal windNoise() {
  const size_t n = 3 * kSampleRate;
  Signal out = whiteNoise(n, 901u);
  lowpassLoop(out, 350.0);
  lowpassLoop(out, 700.0);
  Signal whistle = bandNoise(n, 900.0, 0.003, 902u);
  for (size_t i = 0; i < n; ++i) {
    double gust = 0.75 + 0.25 * loopSine(i, n, 1) * loopSine(i, n, 2, 0.5);
    out[i] = gust * (out[i] + 0.05 * whistle[i]);
  }
  highpassLoop(out, 30.0);
  return out;
}

// The blow-off valve: a sharp release of air that falls away, played once.
Signal blowOff() {
  const size_t n = size_t(0.75 * kSampleRate);
  Signal noise = whiteNoise(n, 1001u);
  Signal out(n, 0.0);
  double y1 = 0.0, y2 = 0.0;
  for (size_t i = 0; i < n; ++i) {
    double t = double(i) / kSampleRate;
    // The hiss's centre falls from 5 kHz to 2 kHz as the pressure drops.
    double f = 2000.0 + 3000.0 * std::exp(-t * 5.0);
    double r = 0.985;
    double a1 = 2.0 * r * std::cos(2.0 * kPi * f / kSampleRate), a2 = -r * r;
    double y = a1 * y1 + a2 * y2 + noise[i];
    y2 = y1;
    y1 = y;
    double envelope = (1.0 - std::exp(-t * 400.0)) * std::exp(-t * 5.5);
    out[i] = (y * 0.04 + noise[i] * 0.15) * envelope;
  }
  return out;
}

}  // namespace

std::vector<SoundFile> buildSounds() {
  std::vector<SoundFile> s;
  s.push_back({"data\\audio\\engine_porschehigh2c.wav", normalized(engineLayer(true, 11u), 0.85), true});
  s.push_back({"data\\audio\\engine_porschelow2c.wav", normalized(engineLayer(false, 21u), 0.8), true});
  s.push_back({"data\\audio\\turbohiss.wav", normalized(turboWhistle(), 0.7), true});
  s.push_back({"data\\audio\\enginenoise.wav", normalized(mechanicalNoise(), 0.7), true});
  s.push_back({"data\\audio\\skid.wav", normalized(tyreSqueal(), 0.8), true});
  s.push_back({"data\\audio\\gskid2.wav", normalized(gravelCrunch(), 0.8), true});
  s.push_back({"data\\audio\\vent2.wav", normalized(blowOff(), 0.85), false});
  s.push_back({"data\\audio\\wind.wav", normalized(windNoise(), 0.8), true});
  return s;
}

std::vector<uint8_t> encodeWav(const std::vector<float>& samples) {
  std::vector<uint8_t> out;
  const int32_t dataBytes = int32_t(samples.size() * 2);
  out.reserve(44 + size_t(dataBytes));
  auto tag = [&](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(t[i]));
  };
  tag("RIFF");
  putInt32(out, 36 + dataBytes);
  tag("WAVE");
  tag("fmt ");
  putInt32(out, 16);
  putInt16(out, 1);  // PCM
  putInt16(out, 1);  // mono
  putInt32(out, kSampleRate);
  putInt32(out, kSampleRate * 2);
  putInt16(out, 2);
  putInt16(out, 16);
  tag("data");
  putInt32(out, dataBytes);
  for (float v : samples) {
    long q = std::lround(std::clamp(double(v), -1.0, 1.0) * 32767.0);
    putInt16(out, int(q));
  }
  return out;
}

void writeSounds(DataSetWriter& writer, const std::vector<SoundFile>& sounds) {
  for (const SoundFile& s : sounds) writeDataFile(writer, s.path.c_str(), encodeWav(s.samples));
}
