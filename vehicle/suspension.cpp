#include "vehicle/suspension.h"

#include "physics/world.h"
#include "vehicle/car.h"
#include "vehicle/noise_table.h"

#include <algorithm>

namespace {

constexpr float kQueryRadius = 3.0f;  // m, covers all four wheels around the body centre
constexpr int kRoughSurface = 1;

// Rough ground: the search radius breathes with the wheel's travel through the
// noise table, so the wheel rides over bumps the mesh does not have.
double searchRadius(const CarWheel& w) {
  double r = w.radius;
  if (w.surface == kRoughSurface) r += (sampleNoise(w.bumpPhase) + double(0.5f)) * double(0.06f);
  return r;
}

}  // namespace

void contactPass(PhCar& car) {
  const Mat4& rotation = car.current.orientation;
  const Vec3& position = car.current.position;
  const Vec3 down = localToWorld(rotation, Vec3(0.0, -1.0, 0.0), Vec3(0.0, 0.0, 0.0));
  bool haveTrack = car.world != nullptr && car.world->queryAround(position, kQueryRadius);
  car.tick.totalLoad = 0.0;

  // Each wheel's probe depends only on its own state, so all four searches
  // share one pass over the query's results.
  Vec3 probes[4];
  float radii[4];
  double searchRadii[4];
  for (int i = 0; i < 4; ++i) {
    const CarWheel& w = car.wheels[i];
    double probeLength = std::min(double(w.suspensionLength) + double(0.1f), double(w.maxLength));
    probes[i] = localToWorld(rotation, w.mount + Vec3(0.0, -probeLength, 0.0), position);
    searchRadii[i] = searchRadius(w);
    radii[i] = float(searchRadii[i]);
  }
  Contact contacts[4];
  bool found[4] = {false, false, false, false};
  if (haveTrack) car.world->nearestContacts(4, probes, radii, contacts, found);

  for (int i = 0; i < 4; ++i) {
    CarWheel& w = car.wheels[i];
    w.hub = probes[i];
    double r = searchRadii[i];
    const Contact& contact = contacts[i];
    if (found[i]) {
      w.surface = contact.group;
      // The wheel centre sits r off the surface, back on the suspension axis.
      Vec3 local = worldToLocal(rotation, contact.point + contact.normal * r, position);
      local.x = w.mount.x;
      local.z = w.mount.z;
      w.hub = localToWorld(rotation, local, position);
      double l = dot(w.hub - localToWorld(rotation, w.mount, position), down);
      w.suspensionSpeed = float(l - w.suspensionLength);
      w.suspensionLength = float(l);
      // The spring pushes but never pulls.
      double f = (double(w.maxLength) - l) * w.springRate - double(w.damperRate) * w.suspensionSpeed;
      car.tick.suspensionForce[i] = float(std::max(f, 0.0));
      car.tick.contactPoint[i] = contact.point;
      car.tick.contactNormal[i] = contact.normal;
    } else {
      w.hub = localToWorld(rotation, w.mount + Vec3(0.0, -double(w.maxLength), 0.0), position);
      car.tick.contactPoint[i] = w.hub;
      car.tick.contactNormal[i] = Vec3(0.0, 1.0, 0.0);
      car.tick.suspensionForce[i] = 0.0f;
      w.gripRatio = 1.0f;
      w.surface = 0;
    }
    w.load = car.tick.suspensionForce[i];
    car.tick.totalLoad += w.load;
  }
}
