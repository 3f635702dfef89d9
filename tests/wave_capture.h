#pragma once

// Test helpers for listening to the mix: OpenAL Soft is pointed at its wave-file
// back end before its first use, so whatever plays lands in a file that the
// test reads back (mono, 16-bit, 44100 Hz), and sample files are synthesised.

#include "app/sound.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace wave_capture {

namespace fs = std::filesystem;

constexpr int kOutputRate = 44100;
constexpr int kFullScale = 32767;
constexpr double kPi = 3.141592653589793;

// A private folder per test process holds the configuration, the capture and
// the synthesised samples; it is removed when the tests end.
class WaveOutput : public ::testing::Environment {
 public:
  void SetUp() override {
    folder() = fs::absolute("sound_capture_" + std::to_string(getpid()));
    fs::create_directories(folder());
    std::ofstream conf(folder() / "alsoft.conf");
    conf << "[general]\ndrivers = wave\nchannels = mono\nsample-type = int16\ndither = false\nfrequency = "
         << kOutputRate
         << "\n\n[wave]\nfile = " << capturePath().string() << "\n";
    conf.close();
    setenv("ALSOFT_CONF", (folder() / "alsoft.conf").c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
  }
  void TearDown() override { fs::remove_all(folder()); }

  static fs::path& folder() {
    static fs::path path;
    return path;
  }
  static fs::path capturePath() { return folder() / "capture.wav"; }
};

inline const ::testing::Environment* const kWaveOutput = ::testing::AddGlobalTestEnvironment(new WaveOutput);

// A WAV file image around raw sample data.
inline std::vector<uint8_t> wavImage(uint16_t formatTag, uint16_t channels, uint32_t rate, uint16_t bits,
                                     const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out;
  auto put32 = [&out](uint32_t v) { for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i))); };
  auto put16 = [&out](uint16_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
  auto tag = [&out](const char* t) { for (int i = 0; i < 4; ++i) out.push_back(uint8_t(t[i])); };
  uint16_t blockAlign = uint16_t(channels * bits / 8);
  tag("RIFF");
  put32(uint32_t(36 + data.size()));
  tag("WAVE");
  tag("fmt ");
  put32(16);
  put16(formatTag);
  put16(channels);
  put32(rate);
  put32(rate * blockAlign);
  put16(blockAlign);
  put16(bits);
  tag("data");
  put32(uint32_t(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

inline std::vector<uint8_t> pcm16Wav(uint32_t rate, const std::vector<int16_t>& samples) {
  std::vector<uint8_t> data;
  for (int16_t s : samples) {
    data.push_back(uint8_t(uint16_t(s)));
    data.push_back(uint8_t(uint16_t(s) >> 8));
  }
  return wavImage(1, 1, rate, 16, data);
}

// A sine tone, amplitude as a fraction of full scale.
inline std::vector<int16_t> tone(double hz, int rate, double seconds, double amplitude) {
  std::vector<int16_t> samples(size_t(rate * seconds));
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i] = int16_t(std::lround(amplitude * kFullScale * std::sin(2.0 * kPi * hz * double(i) / rate)));
  }
  return samples;
}

// Writes a file under the capture folder (creating its folders) and returns its path.
inline std::string writeFile(const std::string& name, const std::vector<uint8_t>& image) {
  fs::path path = WaveOutput::folder() / name;
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), long(image.size()));
  return path.string();
}

inline void waitMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Closes the device, which completes the wave file, and reads the mix back.
inline std::vector<int16_t> finishCapture() {
  soundFree();
  std::ifstream in(WaveOutput::capturePath(), std::ios::binary);
  std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  SoundPcm pcm;
  std::string why;
  EXPECT_TRUE(decodeWav(image.data(), image.size(), pcm, why)) << why;
  EXPECT_EQ(pcm.rate, kOutputRate);
  EXPECT_EQ(pcm.channels, 1);
  return pcm.samples;
}

// Samples [from, to) seconds into the capture, clipped to what exists.
inline std::vector<int16_t> stretch(const std::vector<int16_t>& samples, double from, double to) {
  size_t begin = std::min(samples.size(), size_t(from * kOutputRate));
  size_t end = std::min(samples.size(), size_t(to * kOutputRate));
  return std::vector<int16_t>(samples.begin() + long(begin), samples.begin() + long(end));
}

inline int peak(const std::vector<int16_t>& samples) {
  int p = 0;
  for (int16_t s : samples) p = std::max(p, std::abs(int(s)));
  return p;
}

// The capture without its first and last 50 ms, where the device starts and stops.
inline std::vector<int16_t> steady(const std::vector<int16_t>& samples) {
  return stretch(samples, 0.05, double(samples.size()) / kOutputRate - 0.05);
}

struct Stretch {
  double from, to;  // s
};

// The stretches of sound, louder than the threshold, split where it falls
// silent for 10 ms or more.
inline std::vector<Stretch> soundStretches(const std::vector<int16_t>& samples, int threshold) {
  const size_t kSplit = kOutputRate / 100;
  std::vector<Stretch> out;
  size_t quiet = kSplit;
  for (size_t i = 0; i < samples.size(); ++i) {
    if (std::abs(int(samples[i])) <= threshold) {
      ++quiet;
      continue;
    }
    if (quiet >= kSplit) out.push_back({double(i) / kOutputRate, 0.0});
    out.back().to = double(i + 1) / kOutputRate;
    quiet = 0;
  }
  return out;
}

// Frequency of a tone from its rising zero crossings, with some hysteresis
// against low-level noise, over the span from the first crossing to the last,
// so that silence at either end does not count.
inline double measuredFrequency(const std::vector<int16_t>& samples) {
  constexpr int kHysteresis = 100;  // 16-bit steps
  std::vector<size_t> crossings;
  bool below = false;
  for (size_t i = 0; i < samples.size(); ++i) {
    if (samples[i] < -kHysteresis) below = true;
    if (below && samples[i] > kHysteresis) {
      crossings.push_back(i);
      below = false;
    }
  }
  if (crossings.size() < 3) return 0.0;
  return double(crossings.size() - 1) * kOutputRate / double(crossings.back() - crossings.front());
}

}  // namespace wave_capture
