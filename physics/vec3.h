#pragma once

#include <cmath>

// A vector of three doubles: positions, velocities, forces and directions.
// World frame: y is up, the ground is the x/z plane, lengths in metres.
struct Vec3 {
  double x, y, z;  // left unset by default construction

  Vec3() = default;
  constexpr Vec3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

  Vec3& operator+=(const Vec3& b) { x += b.x; y += b.y; z += b.z; return *this; }
  Vec3& operator-=(const Vec3& b) { x -= b.x; y -= b.y; z -= b.z; return *this; }
  Vec3& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
};

inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(const Vec3& a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator*(const Vec3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }

inline double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline double length(const Vec3& a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

// Unguarded: a zero vector gives non-finite components.
inline Vec3 normalized(const Vec3& a) { return a * (1.0 / length(a)); }

// The single-precision 1e-6 widened to double.
constexpr double kNormalizeMinLength = 9.999999974752427e-07;

// Guarded: a vector too short to have a direction becomes (1, 0, 0).
inline void normalizeGuarded(Vec3& a) {
  double len = length(a);
  if (len < kNormalizeMinLength) {
    a = Vec3(1.0, 0.0, 0.0);
    return;
  }
  a *= 1.0 / len;
}
