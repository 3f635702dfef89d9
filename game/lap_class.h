#pragma once

// The two classes a lap is timed in: driven without the turbo, and with the
// turbo on during at least one of its ticks. The value indexes the per-class
// arrays (best laps, references).
enum class LapClass { Plain = 0, Turbo = 1 };
constexpr int kLapClassCount = 2;
constexpr LapClass kLapClasses[kLapClassCount] = {LapClass::Plain, LapClass::Turbo};

constexpr LapClass lapClassOf(bool turbo) { return turbo ? LapClass::Turbo : LapClass::Plain; }
constexpr int classIndex(LapClass c) { return static_cast<int>(c); }

// The class as boards and their addresses name it.
constexpr const char* lapClassName(LapClass c) { return c == LapClass::Turbo ? "turbo" : "plain"; }
