#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A small sample player over OpenAL Soft. A sample is a decoded WAV file held by
// the mixer; a channel is one playback slot of a sample with its own frequency,
// volume, pan and loop flag. Handles are plain numbers and 0 means "none": every
// call on a 0 or outdated handle does nothing, so a missing device or file
// simply leaves the program silent. Main thread only; OpenAL mixes on its own thread.

using SoundSample = uint32_t;
using SoundChannel = uint32_t;

// Opens the default output device at the given rate (Hz) and starts mixing.
// False when there is no device: every later call is then silently ignored.
bool soundInit(int outputRate);

// Stops everything and releases the device; every handle becomes outdated.
void soundFree();

// Loads a WAV file (path with back-slashes) as a sample with at most
// maxPlaybacks channels. With overrideOldest, asking for a channel when all are
// taken takes over the one that has played longest; otherwise it gives 0.
// Returns 0, after a log line naming the file, when the file is missing or bad.
SoundSample soundSampleLoad(const char* path, int maxPlaybacks, bool overrideOldest);

// A channel of the sample, initially stopped at the sample's own rate, full
// volume, centre pan, not looping. 0 when none can be had.
SoundChannel soundSampleGetChannel(SoundSample sample);

// Frequency in Hz (the playback rate: the sample's own rate plays it unchanged),
// volume 0..100, pan -100 (left) .. 100 (right). Values beyond those ranges are
// clamped; frequency to 100..200000 Hz.
void soundChannelSetAttributes(SoundChannel channel, int frequency, int volume, int pan);

void soundChannelSetLoop(SoundChannel channel, bool loop);

// Starts the channel from the beginning unless it is already playing.
void soundChannelPlay(SoundChannel channel);

bool soundChannelPlaying(SoundChannel channel);

// Gain applied to the whole mix, 0..100.
void soundSetMasterVolume(int volume);

// Decoded audio: interleaved signed 16-bit frames of one or two channels.
struct SoundPcm {
  int rate = 0;      // frames per second
  int channels = 0;  // 1 or 2
  std::vector<int16_t> samples;
};

// Decodes a WAV file image of any format SDL reads (8/16/32-bit integer, float,
// ADPCM), mixing more than two channels down to stereo. False with the reason
// when the data is not a usable WAV.
bool decodeWav(const uint8_t* data, size_t size, SoundPcm& out, std::string& why);
// The largest sound file read: minutes of CD-quality stereo, far beyond the
// car's short loops.
constexpr size_t kMaxWavFileBytes = size_t(64) << 20;
