#pragma once

class PhCar;

// The driver's side of the car's step: each turns the input device's state into
// one group of controls. Rates are per tick; a car without an input device reads
// every control as released.

// Clutch pedal, the anti-stall opening below 1200 rpm and the idle keeper.
void applyClutch(PhCar& car);
// Throttle with the turbo boost and the blow-off when the throttle closes.
void applyThrottle(PhCar& car);
// Foot brake, growing faster at low speed, eased when both front tyres slide.
void applyFootBrake(PhCar& car);
// Steering with the counter-steer assist, self-centring and the +-0.75 rad clamp.
void applySteering(PhCar& car);
// The foot brake to every wheel, or the handbrake to the rear ones.
void applyWheelBrakes(PhCar& car);
