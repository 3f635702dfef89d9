#pragma once

#include <cstdint>
#include <cstring>

// Little-endian reads from a byte image, as the replay and lap-proof files
// store their numbers; the caller has checked that the bytes are there.

inline uint32_t getU32(const uint8_t* in) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | in[i];
  return v;
}

inline uint64_t getU64(const uint8_t* in) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | in[i];
  return v;
}

inline float getFloat(const uint8_t* in) {
  uint32_t bits = getU32(in);
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}
