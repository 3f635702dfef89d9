#pragma once

#include "tools/datagen/track_layout.h"

#include <cstdint>
#include <string>
#include <vector>

// Trees keep at least this far from the centre line: the run-off, 3 m of
// clearance and the crown's reach.
constexpr double kTreeClearance = kRunoffOuter + 3.0 + 3.0;

// One tree of the prop file: where its lowest point stands and its heading.
struct TreePlacement {
  Vec3 position;
  float heading;  // degrees
};

// Scatters the trees in groves over the ground beside the circuit, clear of
// the run-off, the trackside camera and the menu camera's orbit.
std::vector<TreePlacement> placeTrees(const TrackLayout& layout);

// The prop file: start position and heading, then the tree records.
std::vector<uint8_t> encodePropFile(const TrackLayout& layout, const std::vector<TreePlacement>& trees);

// The centre line as text, one "x y z" point a line in driving direction
// from the start line, about 2 m apart.
std::string trackLineText(const TrackLayout& layout);

// Where the menu's orbit camera flies: radius 200 m, 10 m up.
constexpr double kOrbitRadius = 200.0;
constexpr double kOrbitHeight = 10.0;
