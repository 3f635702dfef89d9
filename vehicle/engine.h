#pragma once

class PhCar;

// Engine torque at an engine speed, with or without the turbo.
float engineTorque(float rpm, bool turbo);
// Engine speed coupled to the rear axle through the clutch, the torque curve,
// friction, the rev limiter and the averaged speed the instruments show.
void stepEngine(PhCar& car);
// After the tyre pass: the differential split from the rear wheels' mean speeds
// and the new axle speed.
void updateDifferential(PhCar& car);
