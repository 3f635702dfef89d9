#pragma once

// The car's eight sounds, in the order their samples are loaded.
enum CarSound {
  kEngineHigh,       // engine, loud layer under throttle
  kEngineLow,        // engine, layer off throttle
  kTurboWhistle,
  kMechanicalNoise,
  kSqueal,           // tyres sliding on the road
  kOffRoad,          // tyres sliding off the road
  kBlowOff,          // one-shot, the turbo's blow-off valve
  kWind,
  kCarSoundCount
};

// What the sound reads from the car for one update.
struct CarSoundWheel {
  float load;       // kg*m/tick^2
  float gripRatio;  // 1 while the tyre holds
  int surface;      // 0 on the road
};

struct CarSoundInput {
  float rpmAverage;  // rev/min
  float throttle;    // 0..1
  double speed;      // m/tick, length of the body's velocity
  bool turbo;
  float blowOff;     // set by the car when the boost is released
  CarSoundWheel wheels[4];
};

// A channel's playback rate in Hz and volume 0..100, both whole numbers.
struct ChannelSetting {
  int frequency;
  int volume;
};

struct CarSoundMix {
  ChannelSetting channels[kCarSoundCount];  // indexed by CarSound
  // The blow-off fires this update: its setting is valid, the channel plays and
  // the car's blowOff is cleared so that one release sounds once.
  bool playBlowOff;
};

// The channel settings for one update. volume is the mix volume (0 while the
// menu is shown, during the warm-up too); squealLevel is the smoothed squeal
// volume carried from update to update, 0 at start.
CarSoundMix carSoundRules(const CarSoundInput& car, float volume, float& squealLevel);
