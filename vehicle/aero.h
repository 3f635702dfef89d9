#pragma once

class PhCar;

// The steering feedback from the front wheels' load difference, sent to the input device.
void applyForceFeedback(PhCar& car);
// Quadratic drag and the downforce with its pitch moment.
void applyAerodynamics(PhCar& car);
// The body shake's noise phases advance with speed.
void advanceShakePhases(PhCar& car);
void applyGravity(PhCar& car);
