#pragma once

#include "tools/datagen/noise.h"

#include <vector>

// A point of a circuit seen from above.
struct MapPoint {
  double x, z;
};

// One random candidate loop for a seeded circuit: the outline of a random
// snake of grid cells with rounded corners, turned and moved so that it runs
// through `recovery` with the heading the game gives a recovered car (the
// start heading turned by 170 degrees). Returned as a dense closed polyline in
// driving order that starts on the start line, in the middle of a straight.
// False when this candidate cannot meet those two demands.
bool seededCentreLine(Rng& rng, MapPoint recovery, std::vector<MapPoint>& line);
