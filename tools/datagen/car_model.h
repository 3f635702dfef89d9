#pragma once

#include "tools/datagen/mesh_builder.h"

// Where the car stands, in the car's own frame as the game draws it (forward
// is -z, the mounts at x +-0.75 and z +-1.17): the wheel centres at rest and
// the ground under them.
constexpr double kWheelCentreY = -0.126;  // mount 0.25 less the settled spring 0.376
constexpr double kGroundY = -0.397;       // wheel centre less the 0.271 m tyre radius
constexpr double kAxleZ = 1.17;
constexpr double kTrackHalf = 0.75;
constexpr double kTyreRadius = 0.271;     // as drawn, after the loader's 0.9 scale

// The car body: a compact four-door rally saloon of about 4.1 x 1.78 x 1.4 m
// (mirrors aside) lofted from cross-sections, with paint, glass, black trim and
// lamps, written in the file's frame (the loader turns it by 180 degrees about
// y and lifts it by 0.35 m).
MeshBuilder buildCarBody();

// One wheel of radius 0.271 m and 0.205 m wide after the loader's 0.9 scale,
// turning about x: a profiled tyre, a five-spoke rim on each face with the
// brake disc seen between the spokes. Its texture coordinates are written
// ready for the loader's (u, v) -> (-v, -u) turn.
MeshBuilder buildWheel();
