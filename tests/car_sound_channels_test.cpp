#include "app/car_sound_channels.h"

#include "tests/wave_capture.h"
#include "vehicle/car.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace wave_capture;

constexpr double kPitchTolerance = 0.03;  // relative, of a measured tone frequency
constexpr int kSilenceTolerance = 2;      // 16-bit steps
constexpr double kToneHz = 1000.0;        // every synthesised sample is this tone at 44100 Hz

// Runs the car's sounds from a data folder inside the capture folder that holds
// only the named samples; the others are missing and stay silent.
class CarSoundChannels : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = fs::current_path();
    fs::current_path(WaveOutput::folder());
    car = std::make_unique<PhCar>();
  }
  void TearDown() override {
    soundFree();
    fs::remove_all(WaveOutput::folder() / "data");
    fs::current_path(previous);
  }
  // A fresh start of the car's sounds, one update at the engine speed and volume
  // given, 0.3 s of listening; the steady part of what played.
  std::vector<int16_t> steadyDrive(float rpm, float volume) {
    startCarSounds();
    car->rpmAverage = rpm;
    updateCarSounds(*car, volume);
    waitMs(300);
    return steady(finishCapture());
  }
  static void provide(const char* name, double seconds) {
    writeFile(std::string("data/audio/") + name, pcm16Wav(44100, tone(kToneHz, 44100, seconds, 0.5)));
  }

  fs::path previous;
  std::unique_ptr<PhCar> car;
};

}  // namespace

TEST_F(CarSoundChannels, EngineIsSilentBehindTheMenuAndRisesInPitchWithEngineSpeed) {
  provide("engine_porschehigh2c.wav", 1.0);
  provide("engine_porschelow2c.wav", 1.0);
  car->throttle = 1.0f;
  EXPECT_LE(peak(steadyDrive(2000.0f, 0.0f)), kSilenceTolerance);  // menu shown
  // 2000 rpm plays the sample at 16900 Hz, 5000 rpm at 42100 Hz.
  const double low = kToneHz * 16900.0 / 44100.0;
  const double high = kToneHz * 42100.0 / 44100.0;
  EXPECT_NEAR(measuredFrequency(steadyDrive(2000.0f, 1.0f)), low, low * kPitchTolerance);
  EXPECT_NEAR(measuredFrequency(steadyDrive(5000.0f, 1.0f)), high, high * kPitchTolerance);
}

TEST_F(CarSoundChannels, BlowOffPlaysOncePerRelease) {
  provide("vent2.wav", 0.1);
  startCarSounds();
  car->turbo = true;
  car->blowOff = 1.0f;
  updateCarSounds(*car, 1.0f);
  EXPECT_EQ(car->blowOff, 0.0f);
  waitMs(250);
  updateCarSounds(*car, 1.0f);  // nothing released since
  waitMs(250);
  car->blowOff = 1.0f;          // the next release
  updateCarSounds(*car, 1.0f);
  waitMs(250);
  std::vector<Stretch> shots = soundStretches(finishCapture(), kSilenceTolerance);
  ASSERT_EQ(shots.size(), 2u);
  constexpr double kLengthTolerance = 0.02;  // s
  for (const Stretch& shot : shots) EXPECT_NEAR(shot.to - shot.from, 0.1, kLengthTolerance);
}
