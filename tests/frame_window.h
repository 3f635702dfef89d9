#pragma once

// A window with a GL context at the game's default size, the renderer with an
// empty scene, a car and the game state: what RenderFrame needs to draw a
// frame that the tests read back.

#include "game/draw/frame.h"
#include "render/renderer.h"
#include "vehicle/car.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>

namespace frame_window {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kColorTol = 3;

using Rgb = std::array<int, 3>;
const Rgb kBackground{0, 0, 255};
const Rgb kWhite{255, 255, 255};
const Rgb kBlack{0, 0, 0};

// A window with a GL context, the renderer with an empty scene, and a car.
class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_Init(SDL_INIT_VIDEO);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    window = SDL_CreateWindow("frame test", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL);
    ASSERT_NE(window, nullptr);
    context = SDL_GL_CreateContext(window);
    ASSERT_NE(context, nullptr);
    SDL_GL_MakeCurrent(window, context);
    glViewport(0, 0, kWidth, kHeight);
    renderer = std::make_unique<Renderer>([](const char* name) { return SDL_GL_GetProcAddress(name); });
    renderer->SetViewportSize(kWidth, kHeight);
    ctx.car = car.get();
    draw.renderer = renderer.get();
    // Best times in the turbo class, drawn while the menu shows.
    for (int i = 0; i < kBestTimeCount; ++i) state.bestTimes.entries[i] = 61.0f;
  }
  void TearDown() override {
    renderer.reset();
    if (context != nullptr) SDL_GL_DeleteContext(context);
    if (window != nullptr) SDL_DestroyWindow(window);
    SDL_Quit();
  }

  void drawFrame() {
    glClearColor(0.0f, 0.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    RenderFrame(ctx, state, draw);
  }

  // The pixel at an overlay point (x -16..80 left to right, y -12..60 top down).
  static Rgb overlayPixel(float x, float y) {
    int px = int((x + 16.0f) / 96.0f * kWidth);
    int py = kHeight - 1 - int((y + 12.0f) / 72.0f * kHeight);
    unsigned char p[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(px, py, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
  }

  static ::testing::AssertionResult near(const Rgb& got, const Rgb& want) {
    for (int i = 0; i < 3; ++i)
      if (std::abs(got[i] - want[i]) > kColorTol)
        return ::testing::AssertionFailure() << "got (" << got[0] << ", " << got[1] << ", " << got[2] << ")";
    return ::testing::AssertionSuccess();
  }

  SDL_Window* window = nullptr;
  SDL_GLContext context = nullptr;
  std::unique_ptr<Renderer> renderer;
  std::unique_ptr<PhCar> car{new PhCar};
  GameContext ctx;
  GameState state;
  DrawContext draw;  // no textures: the pictures show as their plain colours
};

}  // namespace frame_window
