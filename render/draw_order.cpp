#include "render/draw_order.h"

DrawClass drawClassOf(const MaterialScript& script, const PtrList<Geometry>& list, bool cubemapPass,
                      const Vec3* observer) {
  bool active = !cubemapPass || !script.hasCubemapSection;
  // The state at the Draw, from the reset state: no blending, depth "less", writes on.
  int blend = 0, depthTest = 0, depthWrite = 1, draws = 0;
  bool alphaTested = false;
  for (const MaterialCommand* c : script.commands) {
    if (active && draws == 0) {
      switch (c->opcode) {
        case kOpBlend:
          blend = c->intArg;
          break;
        case kOpZPass:
          depthTest = c->intArg;
          break;
        case kOpZWrite:
          depthWrite = c->intArg;
          break;
        case kOpAlphaTest:
          alphaTested = c->floatArgs[0] != 0.0f;
          break;
        default:
          break;
      }
    }
    if (active && c->opcode == kOpDraw) ++draws;
    if (c->opcode == kOpCubemapSection) active = true;
  }
  if (draws != 1 || blend != 0 || depthTest != 0 || depthWrite != 1) return DrawClass::kFixed;
  if (alphaTested) return DrawClass::kAlphaTested;
  int drawn = 0, atObserver = 0;
  for (const Geometry* g : list) {
    if (g->triangleCount <= 0) continue;
    ++drawn;
    if (observer != nullptr && g->position == observer) ++atObserver;
  }
  return drawn > 0 && atObserver == drawn ? DrawClass::kBackground : DrawClass::kOpaque;
}
