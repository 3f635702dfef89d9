#pragma once

class PhCar;

// The car's sound channels over the sample player: started once at start-up,
// set from the car once per frame update, released with the player (soundFree).

// Starts the player at 44100 Hz, loads the eight samples and starts the seven
// looping channels silent; the blow-off channel waits for its first release.
// Without a device or with missing files the affected channels stay silent.
void startCarSounds();

// Sets every channel from the car for this update; volume is 0 while the menu is
// shown and during the warm-up, which keeps the loops running silently. Plays
// the blow-off once per release of the boost and clears the car's blowOff for it.
void updateCarSounds(PhCar& car, float volume);
