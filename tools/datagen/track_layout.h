#pragma once

#include "physics/vec3.h"

#include <cstdint>
#include <string>
#include <vector>

// Cross-section of the circuit, metres from the centre line.
constexpr double kRoadHalfWidth = 6.0;   // asphalt, edge lines included
constexpr double kKerbOuter = 7.0;       // kerbs (corners) or verge (straights)
constexpr double kRunoffOuter = 12.0;    // gravel or grass run-off
constexpr double kRunoffDrop = 0.1;      // the run-off's outer edge lies this much below the road
constexpr double kTerrainBlend = 25.0;   // beyond the run-off the ground rises to the hills over this
// Where the driving heading of the demo car starts and where a lost car comes back.
constexpr double kRecoveryX = -71.0;
constexpr double kRecoveryZ = 133.0;
constexpr double kRecoveryRoadY = -0.15;  // road surface under the recovery point
// The fixed trackside camera, relative to the start position.
const Vec3 kTracksideCameraOffset(-7.0, 1.0, -3.0);
// Trees and groves of the default circuit.
constexpr uint32_t kDefaultScenerySeed = 4242u;

// Which circuit to build: the default one, or the one a seed gives.
struct CircuitChoice {
  bool seeded = false;
  uint32_t seed = 0;
};

// Phases of the rolling hills, so every seed has its own ground.
struct TerrainShape {
  double phase[5] = {0.0, 0.0, 0.0, 0.0, 0.0};
};

// The circuit: its centre line sampled evenly in driving direction from the
// start line, with the road surface height, and the start pose that goes into
// the prop file.
struct TrackLayout {
  std::vector<Vec3> centre;     // y is the road surface
  std::vector<Vec3> tangent;    // unit, horizontal, driving direction
  std::vector<double> curvature;  // 1/m, positive where the road turns left
  double spacing = 0.0;         // metres between samples (about 2)
  double length = 0.0;          // metres, closed loop
  double heightOffset = 0.0;    // added to the natural ground so the recovery point sits right
  Vec3 startPosition;           // on the start line, road surface height
  float startHeading = 0.0f;    // degrees; forward is (-sin, 0, -cos)
  TerrainShape terrain;
  uint32_t scenerySeed = 0;     // trees and groves
  int candidate = 0;            // which of a seed's candidate layouts passed the checks
};

// Builds the chosen circuit; the same every time for the same choice. A seed
// tries candidate layouts in turn and keeps the first that passes
// checkLayout; when none of them does, the default circuit stands in.
TrackLayout buildTrackLayout(const CircuitChoice& choice = CircuitChoice());

// What the game assumes of every circuit: empty when the layout keeps it all,
// otherwise the first rule it breaks.
std::string checkLayout(const TrackLayout& layout);

// The recovery heading, degrees: the start heading turned by 170 degrees.
float recoveryHeading(const TrackLayout& layout);

// The nearest point of the closed centre line to (x, z), seen from above.
struct CentreHit {
  int segment = 0;       // sample index the nearest segment starts at
  double t = 0.0;        // 0..1 along that segment
  double distance = 0.0; // horizontal metres
  double side = 0.0;     // > 0 when (x, z) lies right of the driving direction
  double roadY = 0.0;    // road surface height at the nearest point
};
CentreHit nearestCentre(const TrackLayout& layout, double x, double z);

// Rolling hills before the offset: a few metres of relief, rising at the map's
// edge into a ring of higher ground.
double naturalHeight(const TerrainShape& shape, double x, double z);

// Height of the ground at (x, z): the road's height inside the run-off, blending
// into the hills beyond; sunk a little under the ribbon so it never shows
// through the road.
double groundHeight(const TrackLayout& layout, double x, double z);

// Height of the ribbon's surface at signed offset `offset` across the road
// (|offset| up to kRunoffOuter) for a road height roadY.
double ribbonHeight(double roadY, double offset);

// The trackside camera must see the road this far around it.
constexpr double kSightReach = 120.0;
// Points of the road within kSightReach of the trackside camera: the centre
// and both edges of every sample.
std::vector<Vec3> roadInSight(const TrackLayout& layout);

// Unit vector to the right of a horizontal driving direction.
Vec3 rightOf(const Vec3& tangent);
