#include "app/car_sounds.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr float kFullLoad = 0.5f;  // above the 0.1 at which a wheel counts fully

CarSoundInput idleCar() {
  CarSoundInput car{};
  car.rpmAverage = 1000.0f;
  car.throttle = 0.0f;
  car.speed = 0.0;
  for (CarSoundWheel& wheel : car.wheels) wheel = {kFullLoad, 1.0f, 0};
  return car;
}

// Every wheel on the surface given, sliding with the grip ratio given.
CarSoundInput slidingCar(float gripRatio, int surface, int wheels) {
  CarSoundInput car = idleCar();
  for (int i = 0; i < wheels; ++i) car.wheels[i] = {kFullLoad, gripRatio, surface};
  return car;
}

CarSoundMix rules(const CarSoundInput& car, float volume = 1.0f) {
  float squealLevel = 0.0f;
  return carSoundRules(car, volume, squealLevel);
}

}  // namespace

TEST(CarSounds, StandstillWindIsSilentAt70000Hz) {
  CarSoundMix mix = rules(idleCar());
  EXPECT_EQ(mix.channels[kWind].frequency, 70000);
  EXPECT_EQ(mix.channels[kWind].volume, 0);

  // Below a sixth of a metre per tick the wind has not started yet.
  CarSoundInput slow = idleCar();
  slow.speed = 0.16;
  EXPECT_EQ(rules(slow).channels[kWind].frequency, 70000);
  EXPECT_EQ(rules(slow).channels[kWind].volume, 0);

  CarSoundInput fast = idleCar();
  fast.speed = 0.5;  // 135 km/h
  EXPECT_EQ(rules(fast).channels[kWind].frequency, 90000);
  EXPECT_EQ(rules(fast).channels[kWind].volume, 27);
}

TEST(CarSounds, SettingsAreTruncatedNotRounded) {
  CarSoundInput car = idleCar();
  car.rpmAverage = 1001.0f;
  car.throttle = 0.99f;
  CarSoundMix mix = rules(car);
  EXPECT_EQ(mix.channels[kEngineHigh].frequency, 8508);  // 8508.4
  EXPECT_EQ(mix.channels[kEngineLow].frequency, 8508);
  EXPECT_EQ(mix.channels[kEngineHigh].volume, 69);      // 69.3
  EXPECT_EQ(mix.channels[kEngineLow].volume, 0);        // 0.7
  EXPECT_EQ(mix.channels[kMechanicalNoise].frequency, 22502);  // 22502.5
  EXPECT_EQ(mix.channels[kMechanicalNoise].volume, 5);         // 5.9
}

TEST(CarSounds, TurboWhistlesOnlyWithTheTurboOn) {
  CarSoundInput car = idleCar();
  car.rpmAverage = 6000.0f;
  car.throttle = 1.0f;
  CarSoundMix off = rules(car);
  EXPECT_EQ(off.channels[kTurboWhistle].frequency, 10000);
  EXPECT_EQ(off.channels[kTurboWhistle].volume, 0);
  car.turbo = true;
  CarSoundMix on = rules(car);
  EXPECT_EQ(on.channels[kTurboWhistle].frequency, 37000);
  EXPECT_EQ(on.channels[kTurboWhistle].volume, 18);
}

TEST(CarSounds, SquealFrequencyFallsToItsFloor) {
  // A wheel with no grip left at full load adds 1 - 0.15 to the squeal sum.
  EXPECT_EQ(rules(idleCar()).channels[kSqueal].frequency, 45000);
  EXPECT_EQ(rules(slidingCar(0.0f, 0, 1)).channels[kSqueal].frequency, 36500);
  EXPECT_EQ(rules(slidingCar(0.0f, 0, 2)).channels[kSqueal].frequency, 30000);  // sum 1.7
  EXPECT_EQ(rules(slidingCar(0.0f, 0, 4)).channels[kSqueal].frequency, 30000);  // sum 3.4
  // Half the grip: (1 - 0.5)^4 = 0.0625 stays under the 0.15 threshold.
  EXPECT_EQ(rules(slidingCar(0.5f, 0, 4)).channels[kSqueal].frequency, 45000);
}

TEST(CarSounds, SquealVolumeIsSmoothedTowardItsTarget) {
  // Four wheels sliding push the target to its cap of 25; each update closes a
  // fifth of the gap, so the volume climbs 5, 9, 12 and falls back the same way.
  CarSoundInput sliding = slidingCar(0.0f, 0, 4);
  float level = 0.0f;
  EXPECT_EQ(carSoundRules(sliding, 1.0f, level).channels[kSqueal].volume, 5);
  EXPECT_EQ(carSoundRules(sliding, 1.0f, level).channels[kSqueal].volume, 9);
  EXPECT_EQ(carSoundRules(sliding, 1.0f, level).channels[kSqueal].volume, 12);
  EXPECT_EQ(carSoundRules(idleCar(), 1.0f, level).channels[kSqueal].volume, 9);  // 12.2 * 0.8
}

TEST(CarSounds, WheelWithoutLoadAddsNothing) {
  // An airborne wheel reports no load and no grip: it must not sound as a slide.
  for (int surface : {0, 1, 2}) {
    CarSoundInput car = idleCar();
    for (CarSoundWheel& wheel : car.wheels) wheel = {0.0f, 0.0f, surface};
    float level = 0.0f;
    CarSoundMix mix = carSoundRules(car, 1.0f, level);
    EXPECT_EQ(mix.channels[kSqueal].frequency, 45000) << "surface " << surface;
    EXPECT_EQ(mix.channels[kOffRoad].volume, 0) << "surface " << surface;
    EXPECT_EQ(level, 0.0f) << "surface " << surface;
  }
}

TEST(CarSounds, OffRoadSlipSoundsFromTheFirstSlide) {
  // g = 0.25 counts as its square root, 0.5, on any surface but the road.
  CarSoundMix mild = rules(slidingCar(0.75f, 1, 1));
  EXPECT_EQ(mild.channels[kOffRoad].frequency, 30000);
  EXPECT_EQ(mild.channels[kOffRoad].volume, 5);
  EXPECT_EQ(mild.channels[kSqueal].frequency, 45000);
  EXPECT_EQ(rules(slidingCar(0.0f, 2, 4)).channels[kOffRoad].volume, 40);
  // A load of 0.05 counts half.
  CarSoundInput light = slidingCar(0.0f, 1, 1);
  light.wheels[0].load = 0.05f;
  EXPECT_EQ(rules(light).channels[kOffRoad].volume, 5);
}

TEST(CarSounds, GripRatioJustAboveOneIsNoSlide) {
  CarSoundMix mix = rules(slidingCar(1.0000001f, 1, 4));
  EXPECT_EQ(mix.channels[kOffRoad].volume, 0);
}

TEST(CarSounds, BlowOffFiresOnlyWithTurboAndAReleasedBoost) {
  CarSoundInput car = idleCar();
  car.blowOff = 0.5f;
  EXPECT_FALSE(rules(car).playBlowOff);  // turbo off: left for the car to overwrite
  car.turbo = true;
  CarSoundMix mix = rules(car);
  ASSERT_TRUE(mix.playBlowOff);
  EXPECT_EQ(mix.channels[kBlowOff].frequency, 44100);
  EXPECT_EQ(mix.channels[kBlowOff].volume, 10);
  car.blowOff = 0.1f;
  EXPECT_FALSE(rules(car).playBlowOff);
}

TEST(CarSounds, MenuSilencesEveryChannelYetKeepsTheirPitch) {
  CarSoundInput car = slidingCar(0.0f, 0, 2);
  car.wheels[3] = {kFullLoad, 0.0f, 1};
  car.rpmAverage = 7000.0f;
  car.throttle = 1.0f;
  car.speed = 1.0;
  car.turbo = true;
  car.blowOff = 1.0f;
  float level = 20.0f;
  CarSoundMix mix = carSoundRules(car, 0.0f, level);
  for (int i = 0; i < kCarSoundCount; ++i) EXPECT_EQ(mix.channels[i].volume, 0) << "channel " << i;
  EXPECT_EQ(mix.channels[kEngineHigh].frequency, 58899);
  EXPECT_TRUE(mix.playBlowOff);  // plays silently, so the release is used up
}

TEST(CarSounds, NonFiniteEngineSpeedGivesNoWildSettings) {
  CarSoundInput car = idleCar();
  car.rpmAverage = std::numeric_limits<float>::quiet_NaN();
  car.throttle = 1.0f;
  CarSoundMix mix = rules(car);
  EXPECT_EQ(mix.channels[kEngineHigh].frequency, 0);
  EXPECT_EQ(mix.channels[kMechanicalNoise].volume, 0);
}
