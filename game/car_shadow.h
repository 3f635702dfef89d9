#pragma once

#include "physics/mat4.h"
#include "physics/vec3.h"

#include <cstdint>

constexpr int kShadowVertices = 4;

// The shadow quad under the car; the renderer reads the arrays in place.
struct CarShadow {
  float positions[3 * kShadowVertices] = {};  // rewritten every update
  float texCoords[2 * kShadowVertices] = {};
  float colors[3 * kShadowVertices] = {};
  int32_t triangles[6] = {};
};

// What placing the shadow needs from one wheel of the car (body-local mount).
struct ShadowWheel {
  Vec3 mount;
  float radius;
  float suspensionLength;
};

// Fixed texture coordinates, the 0.9 grey and the two triangles, for drawing.
void initCarShadow(CarShadow& shadow);

// Writes the four corners (vertex k under wheel k) just above the ground, spread
// a little beyond the wheels, from the car's drawn pose.
void placeShadow(CarShadow& shadow, const ShadowWheel wheels[kShadowVertices],
                 const Mat4& drawnOrientation, const Vec3& drawnPosition);
