#pragma once

#include <cstddef>
#include <cstdint>

// FNV-1a (64-bit): the ghost file's checksum, the track identity and the
// runner's trajectory hash. fnv1aAdd continues a hash over more bytes.
constexpr uint64_t kFnv1aOffset = 1469598103934665603ull;
constexpr uint64_t kFnv1aPrime = 1099511628211ull;

inline uint64_t fnv1aAdd(uint64_t hash, const void* data, size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) hash = (hash ^ p[i]) * kFnv1aPrime;
  return hash;
}

inline uint64_t fnv1a(const void* data, size_t size) { return fnv1aAdd(kFnv1aOffset, data, size); }
