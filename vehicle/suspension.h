#pragma once

class PhCar;

// One track query around the body, then per wheel the nearest contact under its
// hub and the spring-and-damper force; wheels without contact hang at full length.
void contactPass(PhCar& car);
