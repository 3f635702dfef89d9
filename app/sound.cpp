#include "app/sound.h"

#include "app/files.h"
#include "app/log.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kMinFrequency = 100;     // Hz
constexpr int kMaxFrequency = 200000;  // Hz
constexpr int kMaxPlaybacks = 64;      // per sample
constexpr uint32_t kSlotBits = 16;     // channel handle: generation << 16 | slot + 1
constexpr uint32_t kSlotMask = (1u << kSlotBits) - 1;
constexpr float kHalfPi = 1.5707964f;

// One playback slot: an OpenAL source bound to its sample's buffer. Taking it
// over bumps the generation, which outdates the handle given out before.
struct Voice {
  ALuint source = 0;
  int rate = 0;              // the sample's own rate, Hz
  uint32_t generation = 1;   // 1..0xffff
  uint64_t startedAt = 0;    // play stamp of the latest start, 0 before the first
};

struct Sample {
  ALuint buffer = 0;
  int rate = 0;
  int maxPlaybacks = 1;
  bool overrideOldest = false;
  std::vector<size_t> voices;  // indices into Mixer::voices
};

struct Mixer {
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
  std::vector<Sample> samples;  // sample handle = index + 1
  std::vector<Voice> voices;
  uint64_t playStamp = 0;
};

Mixer gMixer;

Sample* findSample(SoundSample handle) {
  if (handle == 0 || handle > gMixer.samples.size()) return nullptr;
  return &gMixer.samples[handle - 1];
}

Voice* findVoice(SoundChannel handle) {
  uint32_t slot = handle & kSlotMask;
  if (slot == 0 || slot > gMixer.voices.size()) return nullptr;
  Voice& voice = gMixer.voices[slot - 1];
  return voice.generation == (handle >> kSlotBits) ? &voice : nullptr;
}

SoundChannel channelHandle(size_t index) {
  return (gMixer.voices[index].generation << kSlotBits) | uint32_t(index + 1);
}

bool isPlaying(const Voice& voice) {
  ALint state = AL_STOPPED;
  alGetSourcei(voice.source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

// Pan -100..100 becomes a direction on the listener's horizontal half circle in front.
void setPan(ALuint source, int pan) {
  float angle = float(std::clamp(pan, -100, 100)) / 100.0f * kHalfPi;
  alSource3f(source, AL_POSITION, std::sin(angle), 0.0f, -std::cos(angle));
}

// A fresh channel's attributes: the sample's own rate, full volume, centre, no loop.
void resetVoice(const Voice& voice) {
  alSourceStop(voice.source);
  alSourceRewind(voice.source);
  alSourcef(voice.source, AL_PITCH, 1.0f);
  alSourcef(voice.source, AL_GAIN, 1.0f);
  alSourcei(voice.source, AL_LOOPING, AL_FALSE);
  setPan(voice.source, 0);
}

// The slot to take over: one that is not playing if any, else the longest playing.
size_t oldestVoice(const Sample& sample) {
  size_t best = sample.voices.front();
  bool bestPlaying = isPlaying(gMixer.voices[best]);
  for (size_t index : sample.voices) {
    const Voice& voice = gMixer.voices[index];
    bool playing = isPlaying(voice);
    if ((bestPlaying && !playing) ||
        (bestPlaying == playing && voice.startedAt < gMixer.voices[best].startedAt)) {
      best = index;
      bestPlaying = playing;
    }
  }
  return best;
}

}  // namespace

bool decodeWav(const uint8_t* data, size_t size, SoundPcm& out, std::string& why) {
  if (size == 0 || size > size_t(INT32_MAX)) {
    why = size == 0 ? "empty file" : "file too large";
    return false;
  }
  SDL_RWops* stream = SDL_RWFromConstMem(data, int(size));
  if (stream == nullptr) {
    why = SDL_GetError();
    return false;
  }
  SDL_AudioSpec wavFormat;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV_RW(stream, 1, &wavFormat, &buffer, &length) == nullptr) {
    why = SDL_GetError();
    return false;
  }
  int channels = std::min<int>(wavFormat.channels, 2);
  SDL_AudioCVT cvt;
  int built = SDL_BuildAudioCVT(&cvt, wavFormat.format, wavFormat.channels, wavFormat.freq, AUDIO_S16SYS, Uint8(channels),
                                wavFormat.freq);
  if (built < 0) {
    why = SDL_GetError();
    SDL_FreeWAV(buffer);
    return false;
  }
  std::vector<Uint8> converted(size_t(length) * size_t(std::max(cvt.len_mult, 1)));
  if (length > 0) std::memcpy(converted.data(), buffer, length);
  SDL_FreeWAV(buffer);
  size_t convertedBytes = length;
  if (built == 1) {
    cvt.buf = converted.data();
    cvt.len = int(length);
    if (SDL_ConvertAudio(&cvt) < 0) {
      why = SDL_GetError();
      return false;
    }
    convertedBytes = size_t(cvt.len_cvt);
  }
  size_t frames = convertedBytes / (sizeof(int16_t) * size_t(channels));
  if (frames == 0) {
    why = "no audio data";
    return false;
  }
  out.rate = wavFormat.freq;
  out.channels = channels;
  out.samples.resize(frames * size_t(channels));
  std::memcpy(out.samples.data(), converted.data(), out.samples.size() * sizeof(int16_t));
  return true;
}

bool soundInit(int outputRate) {
  if (gMixer.device != nullptr) return true;
  ALCdevice* device = alcOpenDevice(nullptr);
  if (device == nullptr) {
    logLine("Sound: no output device, the program stays silent");
    return false;
  }
  // The limiter keeps a loud mix from clipping at the output.
  const ALCint attributes[] = {ALC_FREQUENCY, outputRate, ALC_OUTPUT_LIMITER_SOFT, ALC_TRUE, 0};
  ALCcontext* context = alcCreateContext(device, attributes);
  if (context == nullptr || alcMakeContextCurrent(context) == ALC_FALSE) {
    logLine("Sound: cannot start mixing, the program stays silent");
    if (context != nullptr) alcDestroyContext(context);
    alcCloseDevice(device);
    return false;
  }
  // Sounds are not placed in space: positions only pan.
  alDistanceModel(AL_NONE);
  gMixer.device = device;
  gMixer.context = context;
  return true;
}

void soundFree() {
  if (gMixer.device == nullptr) return;
  for (const Voice& voice : gMixer.voices) {
    alSourceStop(voice.source);
    alDeleteSources(1, &voice.source);
  }
  for (const Sample& sample : gMixer.samples) {
    if (sample.buffer != 0) alDeleteBuffers(1, &sample.buffer);
  }
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(gMixer.context);
  alcCloseDevice(gMixer.device);
  gMixer = Mixer();
}

SoundSample soundSampleLoad(const char* path, int maxPlaybacks, bool overrideOldest) {
  if (gMixer.device == nullptr) return 0;
  std::vector<unsigned char> bytes;
  std::string why;
  if (!readWholeFile(path, kMaxWavFileBytes, bytes, why)) {
    logLine("Sound: cannot read %s: %s", path, why.c_str());
    return 0;
  }
  SoundPcm pcm;
  if (!decodeWav(bytes.data(), bytes.size(), pcm, why)) {
    logLine("Sound: %s is not a usable WAV file: %s", path, why.c_str());
    return 0;
  }
  if (pcm.samples.size() > size_t(INT32_MAX) / sizeof(int16_t)) {
    logLine("Sound: %s is too long to play", path);
    return 0;
  }
  alGetError();
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  ALenum format = pcm.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
  alBufferData(buffer, format, pcm.samples.data(), ALsizei(pcm.samples.size() * sizeof(int16_t)), pcm.rate);
  if (alGetError() != AL_NO_ERROR) {
    logLine("Sound: %s could not be handed to the mixer", path);
    alDeleteBuffers(1, &buffer);
    return 0;
  }
  Sample sample;
  sample.buffer = buffer;
  sample.rate = pcm.rate;
  sample.maxPlaybacks = std::clamp(maxPlaybacks, 1, kMaxPlaybacks);
  sample.overrideOldest = overrideOldest;
  gMixer.samples.push_back(sample);
  return SoundSample(gMixer.samples.size());
}

SoundChannel soundSampleGetChannel(SoundSample handle) {
  Sample* sample = findSample(handle);
  if (sample == nullptr) return 0;
  if (int(sample->voices.size()) < sample->maxPlaybacks) {
    if (gMixer.voices.size() >= kSlotMask) return 0;
    alGetError();
    Voice voice;
    alGenSources(1, &voice.source);
    if (alGetError() != AL_NO_ERROR) return 0;
    voice.rate = sample->rate;
    alSourcei(voice.source, AL_BUFFER, ALint(sample->buffer));
    alSourcei(voice.source, AL_SOURCE_RELATIVE, AL_TRUE);
    resetVoice(voice);
    gMixer.voices.push_back(voice);
    sample->voices.push_back(gMixer.voices.size() - 1);
    return channelHandle(gMixer.voices.size() - 1);
  }
  if (!sample->overrideOldest) return 0;
  size_t index = oldestVoice(*sample);
  Voice& voice = gMixer.voices[index];
  resetVoice(voice);
  voice.generation = voice.generation == 0xffff ? 1 : voice.generation + 1;
  voice.startedAt = 0;
  return channelHandle(index);
}

void soundChannelSetAttributes(SoundChannel channel, int frequency, int volume, int pan) {
  Voice* voice = findVoice(channel);
  if (voice == nullptr) return;
  float rate = float(std::clamp(frequency, kMinFrequency, kMaxFrequency));
  alSourcef(voice->source, AL_PITCH, rate / float(voice->rate));
  alSourcef(voice->source, AL_GAIN, float(std::clamp(volume, 0, 100)) / 100.0f);
  setPan(voice->source, pan);
}

void soundChannelSetLoop(SoundChannel channel, bool loop) {
  Voice* voice = findVoice(channel);
  if (voice == nullptr) return;
  alSourcei(voice->source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
}

void soundChannelPlay(SoundChannel channel) {
  Voice* voice = findVoice(channel);
  if (voice == nullptr || isPlaying(*voice)) return;
  alSourcePlay(voice->source);
  voice->startedAt = ++gMixer.playStamp;
}

bool soundChannelPlaying(SoundChannel channel) {
  Voice* voice = findVoice(channel);
  return voice != nullptr && isPlaying(*voice);
}

void soundSetMasterVolume(int volume) {
  if (gMixer.device == nullptr) return;
  alListenerf(AL_GAIN, float(std::clamp(volume, 0, 100)) / 100.0f);
}
