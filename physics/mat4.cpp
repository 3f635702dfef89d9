#include "physics/mat4.h"

#include <cmath>

namespace {

// Row k of the rotation block.
Vec3 row(const Mat4& a, int k) { return {a[k], a[4 + k], a[8 + k]}; }

void setRow(Mat4& a, int k, const Vec3& r) {
  a[k] = float(r.x);
  a[4 + k] = float(r.y);
  a[8 + k] = float(r.z);
}

constexpr double kDegreesToRadians = 3.14159265358979323846 / 180.0;

}  // namespace

Mat4 identityMat4() {
  Mat4 a;
  for (float& e : a.m) e = 0.0f;
  a[0] = a[5] = a[10] = a[15] = 1.0f;
  return a;
}

void transposeRotation(Mat4& a) {
  for (int r = 0; r < 3; ++r) {
    for (int c = r + 1; c < 3; ++c) {
      float t = a[4 * c + r];
      a[4 * c + r] = a[4 * r + c];
      a[4 * r + c] = t;
    }
  }
}

void rotateBy(Mat4& a, const Mat4& p) {
  Mat4 out = identityMat4();
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      double sum = 0.0;
      for (int k = 0; k < 3; ++k) sum += double(a[4 * k + j]) * double(p[4 * i + k]);
      out[4 * i + j] = float(sum);
    }
  }
  a = out;
}

Mat4 axisAngleMat4(const Vec3& axis, float angle) {
  double s = float(std::sin(double(angle)));
  double c = float(std::cos(double(angle)));
  double t = 1.0 - c;
  double x = axis.x, y = axis.y, z = axis.z;
  Mat4 a;
  for (float& e : a.m) e = 0.0f;
  a[0] = float(c + t * x * x);
  a[1] = float(t * x * y + s * z);
  a[2] = float(t * z * x - s * y);
  a[4] = float(t * x * y - s * z);
  a[5] = float(c + t * y * y);
  a[6] = float(t * z * y + s * x);
  a[8] = float(t * z * x + s * y);
  a[9] = float(t * z * y - s * x);
  a[10] = float(c + t * z * z);
  a[15] = 1.0f;
  return a;
}

Mat4 yawPitchMat4(float yawDegrees, float pitchDegrees) {
  Mat4 a = axisAngleMat4(Vec3(0.0, 1.0, 0.0), float(double(yawDegrees) * kDegreesToRadians));
  rotateBy(a, axisAngleMat4(Vec3(1.0, 0.0, 0.0), float(double(pitchDegrees) * kDegreesToRadians)));
  return a;
}

void normalizeRows(Mat4& a) {
  for (int k = 0; k < 3; ++k) {
    Vec3 r = row(a, k);
    double len = length(r);
    if (len == 0.0) continue;
    setRow(a, k, Vec3(r.x / len, r.y / len, r.z / len));
  }
}

void reorthogonalize(Mat4& a) {
  Vec3 r0 = row(a, 0);
  Vec3 r1 = row(a, 1);
  setRow(a, 2, cross(r0, r1));
  Vec3 r2 = row(a, 2);
  setRow(a, 1, cross(r2, r0));
}

void blendToward(Mat4& a, const Mat4& n, float t) {
  for (int i = 0; i < 16; ++i) a[i] = float(double(t) * n[i] + (1.0 - double(t)) * a[i]);
}
