#pragma once

#include "game/game_state.h"

// Camera modes, chosen with the keys 1-4.
enum CameraMode {
  kCameraBumper = 0,  // low, just ahead of the car's centre
  kCameraRoof = 1,    // higher, above the windscreen
  kCameraChase = 2,   // the chase point behind the car
  kCameraTrackside = 3,  // fixed beside the start, following the car
};

// Menu tick: the menu camera circles the track 200 m out and 10 m up.
void orbitTick(GameState& state);

// Driving tick: the chase point closes in on a spot 4 m behind the car (behind
// its direction of travel when it moves) and 1.5 m up, faster at speed; a
// point more than 10 m from the car jumps to 1 m above it.
void chaseTick(GameState& state, const Vec3& position, const Vec3& velocity, const Mat4& orientation);

// The chase and orbit points for a frame `alpha` of a tick after the last tick.
void interpolateCameras(GameState& state, float alpha);

// Eye point, angles and (trackside) field of view of the current mode, from the
// car's drawn pose.
void placeCamera(GameState& state, const Vec3& drawnPosition, const Mat4& drawnOrientation);

// Heading in degrees that looks along `direction` over the ground. A direction
// with no horizontal part has none: `yaw` is left as it was and false returned.
bool yawToward(const Vec3& direction, float& yaw);
