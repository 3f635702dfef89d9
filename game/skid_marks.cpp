#include "game/skid_marks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kLayEveryTicks = 4;
// Marks sit this far above the tyre's lowest point, so they do not fight the road.
constexpr double kLift = double(0.02f);
// A wheel must have moved this far since its last mark.
constexpr double kMinSpacing = double(0.1f);
constexpr double kHalfWidth = double(0.16f);
constexpr double kGripExponent = double(0.4f);
// The oldest slots of the ring, next to be overwritten, fade a little each laying.
constexpr int kFadeSlots = 50;
constexpr float kFadeStep = 0.008f;

void setSlotPosition(SkidTrail& trail, int slot, const Vec3& left, const Vec3& right) {
  float* v = trail.positions + 6 * slot;
  v[0] = float(left.x);
  v[1] = float(left.y);
  v[2] = float(left.z);
  v[3] = float(right.x);
  v[4] = float(right.y);
  v[5] = float(right.z);
}

void setSlotColor(SkidTrail& trail, int slot, float intensity) {
  std::fill(trail.colors + 6 * slot, trail.colors + 6 * slot + 6, intensity);
}

void fadeSlot(SkidTrail& trail, int slot) {
  for (float* c = trail.colors + 6 * slot; c != trail.colors + 6 * slot + 6; ++c)
    *c = std::max(0.0f, *c - kFadeStep);
}

int nextSlot(int slot) { return (slot + 1) % kSkidSlots; }

// How dark a sliding tyre marks the road: nothing while it grips or carries no load.
double markIntensity(const SkidWheel& wheel) {
  double slide = double(0.35f) - std::pow(double(wheel.gripRatio), kGripExponent) * double(0.8f);
  double loaded = std::min(6.0 * double(wheel.load), 1.0);
  return slide * loaded - double(0.05f);
}

void layWheel(SkidTrail& trail, const SkidWheel& wheel, const Vec3& up, const Vec3& velocity) {
  Vec3 p(wheel.hub.x, wheel.hub.y - double(wheel.radius) + kLift, wheel.hub.z);
  if (length(p - trail.skidLast) < kMinSpacing) return;

  double c = markIntensity(wheel);
  // Not-a-number (a grip ratio below zero) breaks the trail like no slide at all.
  if (!(c > 0.0)) {
    trail.skidRun = 0;
    return;
  }
  // A segment's colour is written one laying later, when its far edge exists.
  if (trail.skidRun > 1) setSlotColor(trail, trail.skidHead, float(c));
  trail.skidHead = nextSlot(trail.skidHead);

  Vec3 side = cross(velocity, up);
  normalizeGuarded(side);
  Vec3 left = p - side * kHalfWidth;
  Vec3 right = p + side * kHalfWidth;
  setSlotPosition(trail, trail.skidHead, left, right);
  trail.skidLast = p;
  if (trail.skidRun == 0) {
    // A new trail: a second edge on the same spot, so the joint to the old
    // trail has no area.
    trail.skidHead = nextSlot(trail.skidHead);
    setSlotPosition(trail, trail.skidHead, left, right);
  }
  trail.skidRun += 1;

  setSlotColor(trail, nextSlot(trail.skidHead), 0.0f);
  for (int j = 0; j < kFadeSlots; ++j) fadeSlot(trail, (trail.skidHead + j) % kSkidSlots);
}

}  // namespace

void initSkidTrail(SkidTrail& trail) {
  std::memset(trail.positions, 0, sizeof(trail.positions));
  std::memset(trail.colors, 0, sizeof(trail.colors));
  for (int v = 0; v < kSkidVertices; ++v) {
    trail.texCoords[2 * v] = (v % 2 == 0) ? 0.0f : 1.0f;
    trail.texCoords[2 * v + 1] = 0.0f;
  }
  // Slot k joins slot k + 1, the last one the first: a closed ring.
  for (int k = 0; k < kSkidSlots; ++k) {
    int32_t* t = trail.triangles + 6 * k;
    t[0] = 2 * k;
    t[1] = 2 * k + 1;
    t[2] = (2 * k + 2) % kSkidVertices;
    t[3] = 2 * k + 1;
    t[4] = (2 * k + 3) % kSkidVertices;
    t[5] = (2 * k + 2) % kSkidVertices;
  }
  trail.skidHead = 0;
  trail.skidRun = 0;
  trail.skidLast = Vec3(0.0, 0.0, 0.0);
}

void initSkidMarks(SkidMarks& marks) {
  for (SkidTrail& trail : marks.trails) initSkidTrail(trail);
  marks.skidTickCounter = 0;
}

void laySkidMarks(SkidMarks& marks, const SkidWheel wheels[kSkidWheels], const Mat4& orientation,
                  const Vec3& velocity) {
  marks.skidTickCounter += 1;
  if (marks.skidTickCounter < kLayEveryTicks) return;
  marks.skidTickCounter = 0;

  Vec3 up = localToWorld(orientation, Vec3(0.0, 1.0, 0.0), Vec3(0.0, 0.0, 0.0));
  for (int i = 0; i < kSkidWheels; ++i) layWheel(marks.trails[i], wheels[i], up, velocity);
}
