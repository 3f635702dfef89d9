#pragma once

#include "tools/datagen/data_set.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int kSampleRate = 44100;

// One sound of the data set: mono samples in -1..1 at 44.1 kHz.
struct SoundFile {
  std::string path;  // "data\\audio\\wind.wav"
  std::vector<float> samples;
  bool loops;        // played as a loop: its end runs seamlessly into its start
};

// The eight car sounds, made for the rates the game plays them at: the engine
// layers at rpm x 8.4 + 100 Hz are native near 5250 rpm, where a four-cylinder
// fires 175 times a second; the mechanical noise, turbo, squeal, gravel and
// wind are pitched for their own rate ranges.
std::vector<SoundFile> buildSounds();

// A 16-bit PCM mono WAV file image.
std::vector<uint8_t> encodeWav(const std::vector<float>& samples);

void writeSounds(DataSetWriter& writer, const std::vector<SoundFile>& sounds);
