#pragma once

#include "tools/datagen/mesh_builder.h"
#include "tools/datagen/track_layout.h"

// The grandstand beside the start line: terraced seats under a roof, facing
// the road from the side away from the trackside camera, part of the track
// model as its own material group (scenery: never driven on).
struct Grandstand {
  bool present = false;
  Vec3 frontCentre;  // middle of its front edge, on the ground
  Vec3 along;        // unit, along the road in driving direction
  Vec3 out;          // unit, horizontal, from the road toward the back of the stand
  double length = 0.0;
  double depth = 0.0;
  double top = 0.0;  // height of the roof above frontCentre
};

// Where the stand goes for this circuit; not present when no place beside
// the start line is clear of the rest of the circuit.
Grandstand placeGrandstand(const TrackLayout& layout);

// True when (x, z) lies within `margin` metres of the stand's footprint.
bool nearGrandstand(const Grandstand& stand, double x, double z, double margin);

// Adds the stand's steps, walls and roof to `mesh` under `material`.
void addGrandstand(MeshBuilder& mesh, int material, const Grandstand& stand);
