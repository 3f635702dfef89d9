#pragma once

#include "board/lap_check.h"

#include <string>
#include <vector>

// An SVG drawing of a lap against the board's leader along the distance: the
// two speeds above, the time this lap is behind (+) or ahead (-) below.
// `leader` may be empty (no delta drawn) or the lap itself (delta zero).
std::string traceSvg(const std::vector<TraceSample>& lap, const std::vector<TraceSample>& leader);

// The leader's time at the same share of its own lap as `distance` is of a
// lap `lapLength` long; the leader's samples rise in distance.
float leaderTimeAt(const std::vector<TraceSample>& leader, float distance, float lapLength);
