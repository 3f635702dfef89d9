#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class PhCar;

// Playback: the next recorded frame's controls replace the driver's; control goes
// back to the driver after the last one.
void playReplayFrame(PhCar& car);
// Recording: this tick's controls, position and velocity into the next frame;
// a full buffer stops recording.
void recordReplayFrame(PhCar& car);

// A replay file: the frame count, then 80 bytes a frame; a full buffer's is the largest.
constexpr size_t kReplayFrameBytes = 80;
constexpr size_t kReplayCountBytes = 4;
size_t replayFileMaxBytes();

// Writes the count and the recorded frames through a temporary file and a
// rename; false when the file cannot be written whole (logged and reported).
bool saveReplay(const PhCar& car, const char* path);

// Reads a replay image into the car's buffer and arms playback from frame 0.
// False with `why` set when the count is negative, above the buffer or does not
// match the image size, or when a frame's throttle, steering, brakes or shift
// request lie outside what the car records; the car is then left untouched.
bool parseReplay(const uint8_t* data, size_t size, PhCar& car, std::string& why);
// parseReplay of a file; a failure is logged with the file name and the reason.
bool loadReplay(PhCar& car, const char* path);
