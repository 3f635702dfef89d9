#pragma once

#include "physics/mat4.h"
#include "physics/vec3.h"

#include <vector>

struct Geometry;

// Culling that no one can see: the triangle list of a geometry that never
// moves is cut into contiguous index ranges, each with a box around its
// vertices, and a range whose box lies wholly outside the view volume is not
// submitted. Its triangles produce no fragments anyway (they would all be
// clipped), so the picture is the same; the triangle counters still count
// them. This holds while vertex programs place vertices with the fixed
// modelview and projection (ftransform), as every shader of the data set does.

// One run of triangles and the box around their vertices in the owner's frame.
struct IndexRange {
  int firstTriangle = 0;
  int triangleCount = 0;
  Vec3 centre{0.0, 0.0, 0.0};
  Vec3 halfSize{0.0, 0.0, 0.0};
};

// Ranges of `kTrianglesPerRange` triangles (the last may be shorter), in order.
struct IndexRanges {
  static constexpr int kTrianglesPerRange = 128;
  std::vector<IndexRange> ranges;
};

// Cuts `geometry`'s triangle list into ranges. Indices outside the vertex
// arrays are not read.
IndexRanges buildIndexRanges(const Geometry& geometry);

// The six planes bounding what a perspective view can show, in world
// coordinates, each pointing inwards with unit normal.
struct ViewVolume {
  Vec3 normals[6];
  double offsets[6] = {};  // inside: normal . p + offset >= 0

  // A camera at `position` with view rotation `rotation` (eye = R (world -
  // position)) and the projection of gluPerspective(fovY, aspect, zNear, zFar).
  static ViewVolume perspective(const Vec3& position, const Mat4& rotation, float fovY, float aspect, float zNear,
                                float zFar);

  // True when the box (centre, halfSize) in the frame of `orientation`
  // placed at `position` lies wholly outside one of the planes.
  bool boxOutside(const Vec3& centre, const Vec3& halfSize, const Vec3& position, const Mat4& orientation) const;
};
