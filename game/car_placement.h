#pragma once

#include "physics/vec3.h"

class PhCar;

// Where the game puts the car: at start-up, on a restart and on a recovery.
// A lap proof's run begins at the first two, and its recoveries are the third.

// The car as built, placed 20 m behind the start line facing along the start
// heading (position and orientation only), as start-up leaves it.
void placeCarAsBuilt(PhCar& car, const Vec3& startPosition, float startHeading);
// The menu's restart: standing at the same spot, braked, its controls reset.
void placeCarAtRestart(PhCar& car, const Vec3& startPosition, float startHeading);
// R or a lost car: standing at the fixed recovery point near the start.
void placeCarAtRecoveryPoint(PhCar& car, float startHeading);
