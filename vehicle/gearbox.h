#pragma once

class PhCar;

// Shift keys, the automatic gearbox and the replay's requests start a gear change.
void applyShiftRequests(PhCar& car);
// A running change: declutch, change gear, engage, with throttle lift or blip.
void runShiftSequence(PhCar& car);
