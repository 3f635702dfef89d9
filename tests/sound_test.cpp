#include "app/sound.h"

#include "app/log.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kOutputRate = 44100;
constexpr double kPi = 3.141592653589793;
constexpr double kPitchTolerance = 0.02;  // relative, of a measured tone frequency
constexpr int kSilenceTolerance = 2;      // 16-bit steps
constexpr int kFullScale = 32767;

// OpenAL Soft is pointed at its wave-file back end before its first use, so the
// mix lands in a file that the tests read back: mono, 16-bit, 44100 Hz.
class WaveOutput : public ::testing::Environment {
 public:
  void SetUp() override {
    folder() = fs::absolute("sound_test_" + std::to_string(getpid()));
    fs::create_directories(folder());
    std::ofstream conf(folder() / "alsoft.conf");
    conf << "[general]\ndrivers = wave\nchannels = mono\nsample-type = int16\nfrequency = " << kOutputRate
         << "\n\n[wave]\nfile = " << capturePath().string() << "\n";
    conf.close();
    setenv("ALSOFT_CONF", (folder() / "alsoft.conf").c_str(), 1);
  }
  void TearDown() override { fs::remove_all(folder()); }

  static fs::path& folder() {
    static fs::path path;
    return path;
  }
  static fs::path capturePath() { return folder() / "capture.wav"; }
};

const ::testing::Environment* const kWaveOutput = ::testing::AddGlobalTestEnvironment(new WaveOutput);

// A WAV file image around raw sample data.
std::vector<uint8_t> wavImage(uint16_t formatTag, uint16_t channels, uint32_t rate, uint16_t bits,
                              const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out;
  auto put32 = [&out](uint32_t v) { for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i))); };
  auto put16 = [&out](uint16_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
  auto tag = [&out](const char* t) { out.insert(out.end(), t, t + 4); };
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

std::vector<uint8_t> pcm16Wav(uint32_t rate, const std::vector<int16_t>& samples) {
  std::vector<uint8_t> data;
  for (int16_t s : samples) {
    data.push_back(uint8_t(uint16_t(s)));
    data.push_back(uint8_t(uint16_t(s) >> 8));
  }
  return wavImage(1, 1, rate, 16, data);
}

std::vector<int16_t> tone(double hz, int rate, double seconds, double amplitude) {
  std::vector<int16_t> samples(size_t(rate * seconds));
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i] = int16_t(std::lround(amplitude * kFullScale * std::sin(2.0 * kPi * hz * double(i) / rate)));
  }
  return samples;
}

// Writes a sample file into the capture folder and returns its path.
std::string writeSample(const std::string& name, const std::vector<uint8_t>& image) {
  fs::path path = WaveOutput::folder() / name;
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());
  return path.string();
}

void waitMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Closes the device, which completes the wave file, and reads the mix back.
std::vector<int16_t> finishCapture() {
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
std::vector<int16_t> stretch(const std::vector<int16_t>& samples, double from, double to) {
  size_t begin = std::min(samples.size(), size_t(from * kOutputRate));
  size_t end = std::min(samples.size(), size_t(to * kOutputRate));
  return std::vector<int16_t>(samples.begin() + long(begin), samples.begin() + long(end));
}

int peak(const std::vector<int16_t>& samples) {
  int p = 0;
  for (int16_t s : samples) p = std::max(p, std::abs(int(s)));
  return p;
}

// Frequency of a tone from its rising zero crossings.
double measuredFrequency(const std::vector<int16_t>& samples) {
  int crossings = 0;
  for (size_t i = 1; i < samples.size(); ++i) {
    if (samples[i - 1] < 0 && samples[i] >= 0) ++crossings;
  }
  return crossings * double(kOutputRate) / double(samples.size());
}

SoundChannel loopingChannel(SoundSample sample, int frequency, int volume) {
  SoundChannel channel = soundSampleGetChannel(sample);
  soundChannelSetAttributes(channel, frequency, volume, 0);
  soundChannelSetLoop(channel, true);
  soundChannelPlay(channel);
  return channel;
}

}  // namespace

TEST(SoundMixer, PitchFollowsFrequencyAgainstTheSampleRate) {
  // A 441 Hz tone recorded at 22050 Hz: asking for 44100 Hz plays it an octave up.
  std::string path = writeSample("tone.wav", pcm16Wav(22050, tone(441.0, 22050, 1.0, 0.5)));
  ASSERT_TRUE(soundInit(kOutputRate));
  SoundChannel channel = loopingChannel(soundSampleLoad(path.c_str(), 2, true), 22050, 100);
  waitMs(400);
  soundChannelSetAttributes(channel, 44100, 100, 0);
  soundChannelPlay(channel);  // already playing: carries on
  waitMs(400);
  std::vector<int16_t> mix = finishCapture();
  EXPECT_NEAR(measuredFrequency(stretch(mix, 0.1, 0.3)), 441.0, 441.0 * kPitchTolerance);
  EXPECT_NEAR(measuredFrequency(stretch(mix, 0.5, 0.7)), 882.0, 882.0 * kPitchTolerance);
}

TEST(SoundMixer, VolumeZeroIsSilentWhileTheLoopKeepsPlaying) {
  std::string path = writeSample("tone.wav", pcm16Wav(44100, tone(500.0, 44100, 0.25, 0.5)));
  ASSERT_TRUE(soundInit(kOutputRate));
  SoundChannel channel = loopingChannel(soundSampleLoad(path.c_str(), 2, true), 44100, 0);
  waitMs(350);
  EXPECT_TRUE(soundChannelPlaying(channel));
  soundChannelSetAttributes(channel, 44100, 50, 0);
  waitMs(300);
  soundChannelSetAttributes(channel, 44100, 100, 0);
  waitMs(300);
  soundSetMasterVolume(50);
  waitMs(300);
  std::vector<int16_t> mix = finishCapture();
  constexpr double kLevelTolerance = 0.05;  // relative
  const double half = 0.5 * kFullScale;
  EXPECT_LE(peak(stretch(mix, 0.0, 0.3)), kSilenceTolerance);
  EXPECT_NEAR(peak(stretch(mix, 0.45, 0.6)), 0.5 * half, half * kLevelTolerance);
  EXPECT_NEAR(peak(stretch(mix, 0.75, 0.9)), half, half * kLevelTolerance);
  EXPECT_NEAR(peak(stretch(mix, 1.05, 1.2)), 0.5 * half, half * kLevelTolerance);
}

TEST(SoundMixer, LoudMixDoesNotClip) {
  // Eight near-full-scale tones at full volume add up far beyond full scale.
  ASSERT_TRUE(soundInit(kOutputRate));
  for (int i = 0; i < 8; ++i) {
    std::string path = writeSample("loud" + std::to_string(i) + ".wav",
                                   pcm16Wav(44100, tone(200.0 + 50.0 * i, 44100, 0.2, 0.9)));
    loopingChannel(soundSampleLoad(path.c_str(), 2, true), 44100, 100);
  }
  waitMs(500);
  std::vector<int16_t> mix = finishCapture();
  // The output limiter may let a single sample touch full scale; clipping shows
  // as flat tops, runs of samples held at full scale.
  std::vector<int16_t> body = stretch(mix, 0.05, 0.45);
  int flatTops = 0;
  for (size_t i = 1; i < body.size(); ++i) {
    bool held = std::abs(int(body[i])) >= kFullScale && std::abs(int(body[i - 1])) >= kFullScale;
    flatTops += held ? 1 : 0;
  }
  EXPECT_EQ(flatTops, 0);
  EXPECT_GT(peak(body), kFullScale / 2);
}

TEST(SoundMixer, OneShotPlaysToItsEndWithoutRestartingAndAgainLater) {
  // 0.3 s of tone, not looping: a second play during it changes nothing, a play
  // after it has ended starts it over.
  std::string path = writeSample("shot.wav", pcm16Wav(44100, tone(500.0, 44100, 0.3, 0.5)));
  ASSERT_TRUE(soundInit(kOutputRate));
  SoundChannel channel = soundSampleGetChannel(soundSampleLoad(path.c_str(), 2, true));
  soundChannelSetAttributes(channel, 44100, 100, 0);
  soundChannelPlay(channel);
  waitMs(150);
  soundChannelPlay(channel);
  waitMs(350);
  EXPECT_FALSE(soundChannelPlaying(channel));
  soundChannelPlay(channel);
  waitMs(400);
  std::vector<int16_t> mix = finishCapture();
  const int loud = kFullScale / 4;
  EXPECT_GT(peak(stretch(mix, 0.05, 0.25)), loud);
  EXPECT_LE(peak(stretch(mix, 0.37, 0.47)), kSilenceTolerance);
  EXPECT_GT(peak(stretch(mix, 0.55, 0.75)), loud);
}

TEST(SoundMixer, FullSampleTakesOverItsLongestPlayingChannel) {
  std::string path = writeSample("tone.wav", pcm16Wav(44100, tone(500.0, 44100, 0.25, 0.5)));
  ASSERT_TRUE(soundInit(kOutputRate));
  SoundSample shared = soundSampleLoad(path.c_str(), 2, true);
  SoundChannel first = loopingChannel(shared, 44100, 100);
  SoundChannel second = loopingChannel(shared, 44100, 100);
  SoundChannel third = soundSampleGetChannel(shared);
  ASSERT_NE(third, 0u);
  EXPECT_FALSE(soundChannelPlaying(first));  // taken over: its handle is outdated
  soundChannelPlay(first);
  EXPECT_FALSE(soundChannelPlaying(first));
  EXPECT_TRUE(soundChannelPlaying(second));
  // A taken but idle channel goes before one that plays.
  SoundChannel fourth = soundSampleGetChannel(shared);
  EXPECT_TRUE(soundChannelPlaying(second));
  EXPECT_NE(fourth, third);

  SoundSample strict = soundSampleLoad(path.c_str(), 1, false);
  EXPECT_NE(soundSampleGetChannel(strict), 0u);
  EXPECT_EQ(soundSampleGetChannel(strict), 0u);
  soundFree();
}

TEST(SoundMixer, MissingOrBadFileGivesNoSampleAndALogLine) {
  fs::path previous = fs::current_path();
  fs::current_path(WaveOutput::folder());
  openLog();
  std::string garbage = writeSample("garbage.wav", std::vector<uint8_t>(200, 0x5a));
  ASSERT_TRUE(soundInit(kOutputRate));
  EXPECT_EQ(soundSampleLoad("data\\audio\\absent.wav", 2, true), 0u);
  EXPECT_EQ(soundSampleLoad(garbage.c_str(), 2, true), 0u);
  // Calls on the missing sample's handles are ignored.
  SoundChannel none = soundSampleGetChannel(0);
  EXPECT_EQ(none, 0u);
  soundChannelSetAttributes(none, 44100, 100, 0);
  soundChannelSetLoop(none, true);
  soundChannelPlay(none);
  EXPECT_FALSE(soundChannelPlaying(none));
  soundFree();
  std::ifstream in("log.txt");
  std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fs::current_path(previous);
  EXPECT_NE(log.find("Sound: cannot read data\\audio\\absent.wav"), std::string::npos) << log;
  EXPECT_NE(log.find(garbage + " is not a usable WAV file"), std::string::npos) << log;
}

TEST(SoundMixer, WithoutADeviceEveryCallIsIgnored) {
  std::string path = writeSample("tone.wav", pcm16Wav(44100, tone(500.0, 44100, 0.25, 0.5)));
  EXPECT_EQ(soundSampleLoad(path.c_str(), 2, true), 0u);
  EXPECT_EQ(soundSampleGetChannel(1), 0u);
  soundChannelSetAttributes(1, 44100, 100, 0);
  soundChannelPlay(1);
  soundSetMasterVolume(100);
  soundFree();
  EXPECT_FALSE(soundChannelPlaying(1));
}

TEST(WavDecoder, MalformedFilesAreRejectedWithAReason) {
  std::vector<uint8_t> valid = pcm16Wav(22050, tone(441.0, 22050, 0.01, 0.5));
  std::vector<std::vector<uint8_t>> cases = {
      {},
      std::vector<uint8_t>(valid.begin(), valid.begin() + 12),  // header only
      std::vector<uint8_t>(64, 0xff),
      wavImage(1, 0, 22050, 16, {0, 0, 0, 0}),      // no channels
      wavImage(1, 1, 0, 16, {0, 0, 0, 0}),          // no rate
      wavImage(1, 1, 22050, 16, {}),                // no audio
      wavImage(0x55, 1, 22050, 16, {0, 0, 0, 0}),   // compressed format nobody reads
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    SoundPcm pcm;
    std::string why;
    EXPECT_FALSE(decodeWav(cases[i].data(), cases[i].size(), pcm, why)) << "case " << i;
    EXPECT_FALSE(why.empty()) << "case " << i;
  }
}

TEST(WavDecoder, DataShorterThanItsHeaderSaysNeverReadsPastTheEnd) {
  std::vector<uint8_t> image = pcm16Wav(22050, tone(441.0, 22050, 0.1, 0.5));
  image.resize(image.size() / 2);
  SoundPcm pcm;
  std::string why;
  if (decodeWav(image.data(), image.size(), pcm, why)) {
    EXPECT_LE(pcm.samples.size() * 2, image.size());
  } else {
    EXPECT_FALSE(why.empty());
  }
}

TEST(WavDecoder, EightBitAndFloatBecomeSixteenBit) {
  SoundPcm pcm;
  std::string why;
  std::vector<uint8_t> eight = wavImage(1, 1, 8000, 8, {0, 128, 255, 128});
  ASSERT_TRUE(decodeWav(eight.data(), eight.size(), pcm, why)) << why;
  ASSERT_EQ(pcm.samples.size(), 4u);
  EXPECT_EQ(pcm.rate, 8000);
  EXPECT_EQ(pcm.samples[0], -32768);
  EXPECT_EQ(pcm.samples[1], 0);
  EXPECT_GT(pcm.samples[2], 32000);

  const float values[] = {0.5f, -1.0f, 0.0f, 0.25f};
  std::vector<uint8_t> bytes(reinterpret_cast<const uint8_t*>(values),
                             reinterpret_cast<const uint8_t*>(values) + sizeof values);
  std::vector<uint8_t> stereoFloat = wavImage(3, 2, 44100, 32, bytes);
  ASSERT_TRUE(decodeWav(stereoFloat.data(), stereoFloat.size(), pcm, why)) << why;
  EXPECT_EQ(pcm.channels, 2);
  ASSERT_EQ(pcm.samples.size(), 4u);
  constexpr int kConversionTolerance = 1;
  EXPECT_NEAR(pcm.samples[0], 16384, kConversionTolerance);
  EXPECT_NEAR(pcm.samples[1], -32767, kConversionTolerance);
  EXPECT_NEAR(pcm.samples[3], 8192, kConversionTolerance);
}
