#pragma once

class PhCar;

// Per wheel: the contact patch's motion, the tread speed with the rear axle's
// drive and the brakes, the tyre force capped by friction, and the suspension and
// tyre forces and torques on the body.
void tyrePass(PhCar& car);
