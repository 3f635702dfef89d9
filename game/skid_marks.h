#pragma once

#include "physics/mat4.h"
#include "physics/vec3.h"

#include <cstdint>

constexpr int kSkidWheels = 4;
constexpr int kSkidSlots = 500;             // segment edges in one ring
constexpr int kSkidVertices = 2 * kSkidSlots;  // slot k is vertices 2k (left), 2k + 1 (right)
constexpr int kSkidTriangles = 2 * kSkidSlots;

// One wheel's trail: a closed ring of quads whose arrays the renderer reads in
// place every frame. Colours are the mark's intensity in all three components.
struct SkidTrail {
  float positions[3 * kSkidVertices] = {};
  float colors[3 * kSkidVertices] = {};
  float texCoords[2 * kSkidVertices] = {};
  int32_t triangles[3 * kSkidTriangles] = {};
  int skidHead = 0;  // slot last written
  int skidRun = 0;   // consecutive segments of the current trail
  Vec3 skidLast{0.0, 0.0, 0.0};  // last point laid
};

struct SkidMarks {
  SkidTrail trails[kSkidWheels];
  int skidTickCounter = 0;  // marks are laid on every fourth tick
};

// What laying a mark needs from one wheel of the car.
struct SkidWheel {
  Vec3 hub;         // world
  float radius;     // m
  float gripRatio;  // 1 while the tyre holds
  float load;       // suspension force this tick
};

// Zeroes positions and colours and builds the fixed texture coordinates and the
// ring of triangles, which only drawing needs.
void initSkidTrail(SkidTrail& trail);
void initSkidMarks(SkidMarks& marks);

// Called every driving tick; lays and fades marks on every fourth call.
// `orientation` and `velocity` are the car's current ones.
void laySkidMarks(SkidMarks& marks, const SkidWheel wheels[kSkidWheels], const Mat4& orientation,
                  const Vec3& velocity);
