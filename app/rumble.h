#pragma once

#include <cstdint>

// Strengths of a pad's two rumble motors, 0..65535 each: the left one is the
// heavy low-frequency motor, the right one the light high-frequency motor.
struct RumbleMotors {
  uint16_t left = 0;
  uint16_t right = 0;
};

// The car's force-feedback value (-1..1; beyond is clamped) as motor
// strengths: |value| sets the strength, a negative value runs the left motor
// and a positive one the right. Below kRumbleDeadZone the pad stays still, so
// the small load differences of straight driving do not buzz; above it the
// strength rises linearly to full at |value| = 1.
RumbleMotors rumbleMotors(float value);

// The same value as the level of a constant-force or steering effect,
// -32767..32767.
int16_t rumbleForceLevel(float value);

constexpr float kRumbleDeadZone = 0.05f;
// The pad is told its strengths every this many ticks (25 times a second)
// and each order lasts kRumbleHoldMs, so a stalled game goes quiet on its own.
constexpr int kRumbleRefreshTicks = 3;
constexpr uint32_t kRumbleHoldMs = 120;
