#include "game/draw/frame.h"

#include "app/log.h"
#include "game/cameras.h"
#include "game/draw/ghost_scene.h"
#include "game/laps/ghosts.h"
#include "game/draw/hud.h"
#include "game/laps/replay_player.h"
#include "game/draw/timing_hud.h"
#include "render/renderer.h"
#include "vehicle/car.h"

#include <GL/gl.h>
#include <GL/glext.h>

namespace {

constexpr float kDefaultFov = 55.0f;
constexpr float kChaseFov = 65.0f;
// The menu camera looks down a little and back toward the middle of the track.
constexpr float kMenuPitch = 10.0f;
constexpr float kMenuYawOffset = 150.0f;
constexpr float kChasePitch = 5.0f;

// Builds the view on the modelview stack and returns the eye point.
Vec3 buildView(GameState& state, const PhCar& car) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  if (state.menuVisible) {
    glRotatef(kMenuPitch, 1.0f, 0.0f, 0.0f);
    glRotatef(state.orbitAngle * kRadToDeg - kMenuYawOffset, 0.0f, 1.0f, 0.0f);
    glTranslated(-state.orbitDrawn.x, -state.orbitDrawn.y, -state.orbitDrawn.z);
    state.fieldOfView = kDefaultFov;
    return state.orbitDrawn;
  }
  // The trackside camera's field of view was set by the update.
  if (state.cameraMode != kCameraTrackside) state.fieldOfView = kDefaultFov;
  switch (state.cameraMode) {
    case kCameraBumper:
    case kCameraRoof: {
      Mat4 inverse = car.drawn.orientation;
      transposeRotation(inverse);
      glMultMatrixf(inverse.m);
      break;
    }
    case kCameraChase:
      state.fieldOfView = kChaseFov;
      glRotatef(kChasePitch, 1.0f, 0.0f, 0.0f);
      glRotatef(state.cameraYaw, 0.0f, 1.0f, 0.0f);
      break;
    case kCameraTrackside:
      glRotatef(state.cameraPitch, 1.0f, 0.0f, 0.0f);
      glRotatef(state.cameraYaw, 0.0f, 1.0f, 0.0f);
      break;
    default:
      break;
  }
  glTranslated(-state.cameraPosition.x, -state.cameraPosition.y, -state.cameraPosition.z);
  return state.cameraPosition;
}

// Overlay space: x -16..80 left to right, y -12..60 top to bottom.
void beginOverlay(const DrawContext& draw) {
  glPushMatrix();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(-16.0, 80.0, 60.0, -12.0, 2000.0, -2000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  if (draw.useProgramObject != nullptr) draw.useProgramObject(0);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_TEXTURE_CUBE_MAP_ARB);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
}

void endOverlay() {
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glFlush();
}

}  // namespace

void RenderFrame(const GameContext& ctx, GameState& state, const DrawContext& draw) {
  const PhCar& car = *ctx.car;
  state.viewEye = buildView(state, car);

  // The renderer takes the rotation alone; it places the eye itself.
  float view[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, view);
  for (int i = 0; i < 16; ++i) state.viewRotation.m[i] = view[i];
  state.viewRotation.m[12] = state.viewRotation.m[13] = state.viewRotation.m[14] = 0.0f;
  state.viewRotation.m[15] = 1.0f;
  if (draw.ghostScene != nullptr && ctx.ghosts != nullptr) {
    const Ghosts& ghosts = *ctx.ghosts;
    // The ghost car hides while the replay viewer plays: the drive it races stands still then.
    updateGhostScene(*draw.ghostScene, *draw.renderer, ghosts.shown ? ghostCarToDraw(ghosts) : nullptr,
                     !state.viewer.active && ghostVisible(ghosts));
  }
  draw.renderer->SetCamera(&state.viewEye, &state.viewRotation, state.fieldOfView);
  draw.renderer->Render(Renderer::kNormalView, nullptr);
  // F12 logs one frame's drawing.
  setLogging(false);

  beginOverlay(draw);
  if (!state.menuVisible) {
    const PhCar* replayed = ctx.replay != nullptr ? replayCar(*ctx.replay) : nullptr;
    if (state.viewer.active && replayed != nullptr) {
      drawInstruments(state, *replayed, draw.textures.numbers, state.viewer.lapTime);
      drawReplayBanner(state.viewer, draw.textures.timing);
    } else {
      drawInstruments(state, car, draw.textures.numbers);
      if (state.timing.shown) drawTimingAids(state.timing, draw.textures.numbers, draw.textures.timing);
      // With laps from a board the ghost says whose lap it drives.
      if (ctx.ghosts != nullptr && ghostVisible(*ctx.ghosts) && haveBoardLaps(*ctx.ghosts))
        drawGhostLabel(ctx.ghosts->choice, draw.textures.timing);
    }
    if (state.saveNotice.ticksLeft > 0) drawSaveNotice(draw.textures.timing);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
  } else {
    drawMenu(state, draw.textures.menu, draw.textures.info, draw.textures.menuOnOff, draw.textures.numbers);
  }
  endOverlay();
}
