#include "render/range_culling.h"

#include "render/geometry.h"

#include <algorithm>
#include <cmath>

namespace {

// Slack for the single-precision transforms GL applies: a box this close to
// a plane counts as inside.
constexpr double kPlaneSlack = 0.05;  // m

// A column of the rotation block and the translation of `m`, as GL applies it.
Vec3 column(const Mat4& m, int c) { return Vec3(m.m[4 * c], m.m[4 * c + 1], m.m[4 * c + 2]); }

}  // namespace

IndexRanges buildIndexRanges(const Geometry& geometry) {
  IndexRanges out;
  if (geometry.positions == nullptr || geometry.triangleIndices == nullptr) return out;
  for (int first = 0; first < geometry.triangleCount; first += IndexRanges::kTrianglesPerRange) {
    IndexRange range;
    range.firstTriangle = first;
    range.triangleCount = std::min(IndexRanges::kTrianglesPerRange, geometry.triangleCount - first);
    Vec3 low(1e30, 1e30, 1e30), high(-1e30, -1e30, -1e30);
    for (int i = 3 * first; i < 3 * (first + range.triangleCount); ++i) {
      int v = geometry.triangleIndices[i];
      if (v < 0 || v >= geometry.vertexCount) continue;
      const float* p = geometry.positions + 3 * v;
      low = Vec3(std::min(low.x, double(p[0])), std::min(low.y, double(p[1])), std::min(low.z, double(p[2])));
      high = Vec3(std::max(high.x, double(p[0])), std::max(high.y, double(p[1])), std::max(high.z, double(p[2])));
    }
    // A range without a readable vertex keeps an inverted box: never culled.
    if (low.x <= high.x) {
      range.centre = (low + high) * 0.5;
      range.halfSize = (high - low) * 0.5;
    } else {
      range.halfSize = Vec3(1e30, 1e30, 1e30);
    }
    out.ranges.push_back(range);
  }
  return out;
}

ViewVolume ViewVolume::perspective(const Vec3& position, const Mat4& rotation, float fovY, float aspect,
                                   float zNear, float zFar) {
  // The planes in eye coordinates (the camera looks along -z), inward.
  double ty = std::tan(double(fovY) * M_PI / 360.0);
  double tx = ty * double(aspect);
  const Vec3 eyeNormals[6] = {{0, 0, -1}, {0, 0, 1}, {1, 0, -tx}, {-1, 0, -tx}, {0, 1, -ty}, {0, -1, -ty}};
  const double eyeOffsets[6] = {-double(zNear), double(zFar), 0, 0, 0, 0};
  ViewVolume volume;
  for (int i = 0; i < 6; ++i) {
    // eye = R (w - position) + t: n . eye = (R^T n) . w - (R^T n) . position + n . t.
    const Vec3& n = eyeNormals[i];
    Vec3 world(dot(column(rotation, 0), n), dot(column(rotation, 1), n), dot(column(rotation, 2), n));
    double scale = 1.0 / length(world);
    volume.normals[i] = world * scale;
    volume.offsets[i] = (eyeOffsets[i] - dot(world, position) + dot(n, column(rotation, 3))) * scale;
  }
  return volume;
}

bool ViewVolume::boxOutside(const Vec3& centre, const Vec3& halfSize, const Vec3& position,
                            const Mat4& orientation) const {
  const Vec3 axes[3] = {column(orientation, 0), column(orientation, 1), column(orientation, 2)};
  Vec3 worldCentre = position + column(orientation, 3) + axes[0] * centre.x + axes[1] * centre.y + axes[2] * centre.z;
  for (int i = 0; i < 6; ++i) {
    const Vec3& n = normals[i];
    double reach = std::fabs(dot(n, axes[0])) * halfSize.x + std::fabs(dot(n, axes[1])) * halfSize.y +
                   std::fabs(dot(n, axes[2])) * halfSize.z;
    if (dot(n, worldCentre) + offsets[i] < -reach - kPlaneSlack) return true;
  }
  return false;
}
