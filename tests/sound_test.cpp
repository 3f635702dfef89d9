#include "app/sound.h"

#include "app/log.h"
#include "tests/wave_capture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace wave_capture;

constexpr double kPitchTolerance = 0.02;  // relative, of a measured tone frequency
constexpr int kSilenceTolerance = 2;      // 16-bit steps

SoundChannel loopingChannel(SoundSample sample, int frequency, int volume) {
  SoundChannel channel = soundSampleGetChannel(sample);
  soundChannelSetAttributes(channel, frequency, volume, 0);
  soundChannelSetLoop(channel, true);
  soundChannelPlay(channel);
  return channel;
}

// A fresh device playing one looping sample with fixed settings for 0.3 s; the
// steady part of what it played. Settings never change while the capture runs,
// so a mixer running late on a busy machine cannot shift them in time.
std::vector<int16_t> steadyLoop(const std::string& path, int frequency, int volume, int masterVolume) {
  EXPECT_TRUE(soundInit(kOutputRate));
  soundSetMasterVolume(masterVolume);
  SoundChannel channel = loopingChannel(soundSampleLoad(path.c_str(), 2, true), frequency, volume);
  waitMs(300);
  EXPECT_TRUE(soundChannelPlaying(channel));
  return steady(finishCapture());
}

void waitUntilStopped(SoundChannel channel) {
  for (int i = 0; i < 200 && soundChannelPlaying(channel); ++i) waitMs(10);
}

}  // namespace

TEST(SoundMixer, PitchFollowsFrequencyAgainstTheSampleRate) {
  // A 441 Hz tone recorded at 22050 Hz: asking for 44100 Hz plays it an octave up.
  std::string path = writeFile("tone.wav", pcm16Wav(22050, tone(441.0, 22050, 1.0, 0.5)));
  EXPECT_NEAR(measuredFrequency(steadyLoop(path, 22050, 100, 100)), 441.0, 441.0 * kPitchTolerance);
  EXPECT_NEAR(measuredFrequency(steadyLoop(path, 44100, 100, 100)), 882.0, 882.0 * kPitchTolerance);
}

TEST(SoundMixer, VolumeZeroIsSilentWhileTheLoopKeepsPlaying) {
  // The tone peaks at half of full scale; channel and master volume scale it.
  std::string path = writeFile("tone.wav", pcm16Wav(44100, tone(500.0, 44100, 0.25, 0.5)));
  constexpr double kLevelTolerance = 0.05;  // relative
  const double half = 0.5 * kFullScale;
  EXPECT_LE(peak(steadyLoop(path, 44100, 0, 100)), kSilenceTolerance);
  EXPECT_NEAR(peak(steadyLoop(path, 44100, 50, 100)), 0.5 * half, half * kLevelTolerance);
  EXPECT_NEAR(peak(steadyLoop(path, 44100, 100, 100)), half, half * kLevelTolerance);
  EXPECT_NEAR(peak(steadyLoop(path, 44100, 100, 50)), 0.5 * half, half * kLevelTolerance);
}

TEST(SoundMixer, LoudMixDoesNotClip) {
  // Eight near-full-scale tones at full volume add up far beyond full scale.
  ASSERT_TRUE(soundInit(kOutputRate));
  for (int i = 0; i < 8; ++i) {
    std::string path = writeFile("loud" + std::to_string(i) + ".wav",
                                   pcm16Wav(44100, tone(200.0 + 50.0 * i, 44100, 0.2, 0.9)));
    loopingChannel(soundSampleLoad(path.c_str(), 2, true), 44100, 100);
  }
  waitMs(500);
  std::vector<int16_t> mix = finishCapture();
  // The output limiter catches each swell a few samples late, so short tops of
  // up to eight samples touch full scale: about one sample in two hundred, more
  // when the mixer thread starts the channels at other phases. Without it a
  // quarter of them would be cut off there.
  constexpr double kClippedShare = 0.02;
  std::vector<int16_t> body = stretch(mix, 0.05, 0.45);
  size_t atFullScale = 0;
  for (int16_t s : body) atFullScale += std::abs(int(s)) >= kFullScale ? 1 : 0;
  EXPECT_LE(double(atFullScale), kClippedShare * double(body.size()));
  EXPECT_GT(peak(body), kFullScale / 2);
}

TEST(SoundMixer, OneShotPlaysToItsEndWithoutRestartingAndAgainLater) {
  // 0.3 s of tone, not looping: a second play half-way changes nothing, a play
  // after it has ended starts it over.
  std::string path = writeFile("shot.wav", pcm16Wav(44100, tone(500.0, 44100, 0.3, 0.5)));
  ASSERT_TRUE(soundInit(kOutputRate));
  SoundChannel channel = soundSampleGetChannel(soundSampleLoad(path.c_str(), 2, true));
  soundChannelSetAttributes(channel, 44100, 100, 0);
  soundChannelPlay(channel);
  waitMs(150);
  EXPECT_TRUE(soundChannelPlaying(channel));
  soundChannelPlay(channel);
  waitUntilStopped(channel);
  waitMs(100);
  soundChannelPlay(channel);
  waitUntilStopped(channel);
  waitMs(50);
  std::vector<Stretch> shots = soundStretches(finishCapture(), kSilenceTolerance);
  ASSERT_EQ(shots.size(), 2u);
  constexpr double kLengthTolerance = 0.03;  // s
  for (const Stretch& shot : shots) EXPECT_NEAR(shot.to - shot.from, 0.3, kLengthTolerance);
}

TEST(SoundMixer, FullSampleTakesOverItsLongestPlayingChannel) {
  std::string path = writeFile("tone.wav", pcm16Wav(44100, tone(500.0, 44100, 0.25, 0.5)));
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

TEST(SoundMixer, MissingDeviceOrFileGivesSilenceAndALogLine) {
  fs::path previous = fs::current_path();
  fs::current_path(WaveOutput::folder());
  openLog();
  std::string garbage = writeFile("garbage.wav", std::vector<uint8_t>(200, 0x5a));
  std::string good = writeFile("tone.wav", pcm16Wav(44100, tone(500.0, 44100, 0.25, 0.5)));
  EXPECT_EQ(soundSampleLoad(good.c_str(), 2, true), 0u);  // no device yet: silence
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
