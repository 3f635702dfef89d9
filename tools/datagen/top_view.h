#pragma once

#include "tools/datagen/image.h"
#include "tools/datagen/mesh_builder.h"
#include "tools/datagen/track_layout.h"
#include "tools/datagen/track_props.h"

#include <vector>

// A map of the track seen from above for checking the layout by eye: surfaces
// coloured by material group and shaded by slope, trees as dark dots, the
// start line white, the recovery point red and the menu orbit a thin circle.
Image renderTopView(const MeshBuilder& track, const TrackLayout& layout,
                    const std::vector<TreePlacement>& trees, int size);
