#pragma once

// The fixed simulation step: 75 ticks a second, one tick 1/75 s as a float.
constexpr float kTicksPerSecond = 75.0f;
constexpr float kTickSeconds = 0.013333334f;
