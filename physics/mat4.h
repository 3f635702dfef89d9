#pragma once

#include "physics/vec3.h"

// Sixteen floats in OpenGL column-major order: row r, column c is element 4*c + r.
// The 3x3 block is a rotation whose columns are the object's local axes in world
// coordinates; elements 12-14 are a translation. Operations compute in double and
// round only when storing an element.
struct Mat4 {
  float m[16];

  float& operator[](int i) { return m[i]; }
  float operator[](int i) const { return m[i]; }
};

// All zero, then 1 on the diagonal.
Mat4 identityMat4();

// Replaces the 3x3 block by its transpose; the other elements stay.
void transposeRotation(Mat4& a);

// a <- a * p over the 3x3 blocks; the translation of the result is cleared.
void rotateBy(Mat4& a, const Mat4& p);

// Rotation of `angle` radians about the unit `axis`, as glRotate builds it.
Mat4 axisAngleMat4(const Vec3& axis, float angle);

// Ry(yaw) * Rx(pitch), both in degrees, zero translation.
Mat4 yawPitchMat4(float yawDegrees, float pitchDegrees);

// R^T * (p - origin): a world point in the frame of `a` placed at `origin`.
// Inline: the car's step calls this and localToWorld dozens of times a tick.
inline Vec3 worldToLocal(const Mat4& a, const Vec3& p, const Vec3& origin) {
  Vec3 d = p - origin;
  return {d.x * a[0] + d.y * a[1] + d.z * a[2],
          d.x * a[4] + d.y * a[5] + d.z * a[6],
          d.x * a[8] + d.y * a[9] + d.z * a[10]};
}

// R * v + origin: a local point (or, with a zero origin, a direction) to world.
inline Vec3 localToWorld(const Mat4& a, const Vec3& v, const Vec3& origin) {
  return {double(a[0]) * v.x + double(a[4]) * v.y + double(a[8]) * v.z + origin.x,
          double(a[1]) * v.x + double(a[5]) * v.y + double(a[9]) * v.z + origin.y,
          double(a[2]) * v.x + double(a[6]) * v.y + double(a[10]) * v.z + origin.z};
}

// Divides each row of the rotation block by its length; zero rows stay zero.
void normalizeRows(Mat4& a);

// r2 <- r0 x r1, then r1 <- r2 x r0; r0 is kept.
void reorthogonalize(Mat4& a);

// Every element becomes t*n + (1 - t)*a.
void blendToward(Mat4& a, const Mat4& n, float t);
