#include "app/car_sound_channels.h"

#include "app/car_sounds.h"
#include "app/sound.h"
#include "vehicle/car.h"

namespace {

constexpr int kOutputRate = 44100;  // Hz
constexpr int kPlaybacksPerSample = 2;

// Indexed by CarSound.
const char* const kSampleFiles[kCarSoundCount] = {
    "data\\audio\\engine_porschehigh2c.wav", "data\\audio\\engine_porschelow2c.wav",
    "data\\audio\\turbohiss.wav",            "data\\audio\\enginenoise.wav",
    "data\\audio\\skid.wav",                 "data\\audio\\gskid2.wav",
    "data\\audio\\vent2.wav",                "data\\audio\\wind.wav"};

// The looping channels in the order they start.
const CarSound kLoops[] = {kEngineHigh, kEngineLow, kTurboWhistle, kMechanicalNoise, kSqueal, kOffRoad, kWind};

// The looping channels in the order the update sets them.
const CarSound kUpdateOrder[] = {kEngineHigh, kEngineLow, kMechanicalNoise, kTurboWhistle, kWind, kSqueal, kOffRoad};

struct CarSounds {
  SoundSample samples[kCarSoundCount] = {};
  SoundChannel channels[kCarSoundCount] = {};
  float squealLevel = 0.0f;  // smoothed squeal volume
};

CarSounds gCarSounds;

CarSoundInput carSoundInput(const PhCar& car) {
  CarSoundInput in;
  in.rpmAverage = car.rpmAverage;
  in.throttle = car.throttle;
  in.speed = length(car.current.velocity);
  in.turbo = car.turbo;
  in.blowOff = car.blowOff;
  for (int i = 0; i < 4; ++i) {
    in.wheels[i] = {car.wheels[i].load, car.wheels[i].gripRatio, car.wheels[i].surface};
  }
  return in;
}

}  // namespace

void startCarSounds() {
  gCarSounds = CarSounds();
  soundInit(kOutputRate);
  for (int i = 0; i < kCarSoundCount; ++i) {
    gCarSounds.samples[i] = soundSampleLoad(kSampleFiles[i], kPlaybacksPerSample, true);
  }
  for (CarSound sound : kLoops) {
    SoundChannel channel = soundSampleGetChannel(gCarSounds.samples[sound]);
    gCarSounds.channels[sound] = channel;
    soundChannelSetAttributes(channel, kOutputRate, 0, 0);
    soundChannelSetLoop(channel, true);
    soundChannelPlay(channel);
  }
  gCarSounds.channels[kBlowOff] = soundSampleGetChannel(gCarSounds.samples[kBlowOff]);
}

void updateCarSounds(PhCar& car, float volume) {
  CarSoundMix mix = carSoundRules(carSoundInput(car), volume, gCarSounds.squealLevel);
  for (CarSound sound : kUpdateOrder) {
    soundChannelSetAttributes(gCarSounds.channels[sound], mix.channels[sound].frequency,
                              mix.channels[sound].volume, 0);
  }
  if (mix.playBlowOff) {
    SoundChannel channel = gCarSounds.channels[kBlowOff];
    soundChannelSetAttributes(channel, mix.channels[kBlowOff].frequency, mix.channels[kBlowOff].volume, 0);
    soundChannelPlay(channel);
    car.blowOff = 0.0f;
  }
}
