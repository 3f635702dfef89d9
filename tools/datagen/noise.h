#pragma once

#include <cmath>
#include <cstdint>

// A small deterministic generator for the data set. It is separate from the
// game's shared generator so that making data never disturbs the game's draws,
// and it gives the same sequence on every platform (no library distributions).
struct Rng {
  uint32_t state;

  explicit Rng(uint32_t seed) : state(seed * 2654435761u + 12345u) {}

  uint32_t next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  // Uniform in [0, 1).
  double uniform() { return double(next() >> 8) * (1.0 / 16777216.0); }
  // Uniform in [lo, hi).
  double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
  // Uniform in [-1, 1).
  double signedUnit() { return uniform() * 2.0 - 1.0; }
};

// Integer hash to [0, 1): the lattice values of the value noise below.
inline double hashUnit(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return double(h & 0xffffff) * (1.0 / 16777216.0);
}

inline double smoothstep01(double t) {
  if (t <= 0.0) return 0.0;
  if (t >= 1.0) return 1.0;
  return t * t * (3.0 - 2.0 * t);
}

// Smooth value noise in [0, 1) on a lattice of `period` cells that repeats, so
// textures built from it tile without seams.
inline double tiledValueNoise(double x, double y, int period, uint32_t seed) {
  double fx = std::floor(x), fy = std::floor(y);
  int ix = int(fx), iy = int(fy);
  double tx = smoothstep01(x - fx), ty = smoothstep01(y - fy);
  auto at = [&](int a, int b) {
    return hashUnit(((a % period) + period) % period, ((b % period) + period) % period, seed);
  };
  double a = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
  double b = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
  return a + (b - a) * ty;
}

// Fractal sum of tiled value noise: `octaves` layers, each twice as fine and
// half as strong; the result stays in [0, 1).
inline double tiledFractalNoise(double u, double v, int basePeriod, int octaves, uint32_t seed) {
  double sum = 0.0, weight = 0.0, amplitude = 1.0;
  int period = basePeriod;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * tiledValueNoise(u * period, v * period, period, seed + uint32_t(o) * 101u);
    weight += amplitude;
    amplitude *= 0.5;
    period *= 2;
  }
  return sum / weight;
}
