#pragma once

#include "physics/ptr_list.h"
#include "physics/vec3.h"
#include "render/geometry.h"
#include "render/material_script.h"

// Which materials may be drawn in another order than the scene's without a
// pixel changing. A pass that draws once, without blending, with depth
// writes on and the depth test "less" leaves every sample showing the
// nearest fragment that passes, whichever comes first; such materials may
// go after each other and their geometry near to far. Everything else keeps
// its place. The software rasteriser tests and writes depth before shading
// opaque fragments, so opaque work drawn near to far is shaded about once
// per pixel; alpha-tested fragments write depth only after shading, so they
// belong after the opaque ones; a background that surrounds the camera (the
// sky dome, placed at the observer) is hidden wherever anything else was
// drawn, so it goes last.
enum class DrawClass {
  kFixed,        // keeps its place in the scene order
  kOpaque,       // order-free, depth written before shading
  kAlphaTested,  // order-free, depth written after the alpha test
  kBackground,   // order-free, all of its geometry placed at the observer
};

// The class of `script` drawing `list`, in the normal view or (`cubemapPass`)
// a cube-map face; `observer` is the reference that geometry placed at the
// camera holds.
DrawClass drawClassOf(const MaterialScript& script, const PtrList<Geometry>& list, bool cubemapPass,
                      const Vec3* observer);
