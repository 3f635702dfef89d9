#include "app/window.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

constexpr float kMatrixTol = 1e-5f;
const char kTitle[] = "StravoDemo1 by Velkor";

AppConfig windowedConfig(int fsaa) {
  AppConfig config = defaultConfig();
  config.fsaa = fsaa;
  return config;
}

// Opens the window with `config` and returns what went to stderr meanwhile
// (message boxes go there in batch mode).
std::string openWindow(const AppConfig& config, bool* opened) {
  setenv("STRAVO_BATCH", "1", 1);
  setWindowConfig(config);
  testing::internal::CaptureStderr();
  *opened = CreateAppWindow(kTitle, config.windowwidth, config.windowheight, config.bitsperpixel,
                            config.fullscreen != 0, kChoosePixelFormat);
  return testing::internal::GetCapturedStderr();
}

struct WindowTest : testing::Test {
  void TearDown() override { DestroyAppWindow(); }
};

void expectProjection(int width, int height) {
  float m[16];
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
  double aspect = double(float(width) / float(height));
  double zNear = double(0.2f), zFar = 2000.0;
  EXPECT_NEAR(m[0], f / aspect, kMatrixTol);
  EXPECT_NEAR(m[5], f, kMatrixTol);
  EXPECT_NEAR(m[10], (zFar + zNear) / (zNear - zFar), kMatrixTol);
  EXPECT_NEAR(m[11], -1.0, kMatrixTol);
  EXPECT_NEAR(m[14], 2.0 * zFar * zNear / (zNear - zFar), kMatrixTol);
}

}  // namespace

TEST_F(WindowTest, OpensTheConfiguredClientSizeWithTheStartingGlState) {
  bool opened = false;
  std::string messages = openWindow(windowedConfig(0), &opened);
  ASSERT_TRUE(opened);
  EXPECT_EQ(messages, "");
  EXPECT_STREQ(SDL_GetWindowTitle(appWindow()), kTitle);
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(appWindow(), &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  EXPECT_FALSE(fullscreenActive());
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  EXPECT_FALSE(SDL_IsScreenSaverEnabled());

  float clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[0], 0.9f);
  EXPECT_EQ(clear[1], 0.9f);
  EXPECT_EQ(clear[2], 0.95f);
  EXPECT_EQ(clear[3], 0.0f);
  GLint value = 0;
  glGetIntegerv(GL_DEPTH_FUNC, &value);
  EXPECT_EQ(value, GL_LEQUAL);
  glGetIntegerv(GL_CULL_FACE_MODE, &value);
  EXPECT_EQ(value, GL_BACK);
  glGetIntegerv(GL_SHADE_MODEL, &value);
  EXPECT_EQ(value, GL_SMOOTH);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  glGetIntegerv(GL_DEPTH_BITS, &value);
  EXPECT_GE(value, 16);
  glGetIntegerv(GL_SAMPLE_BUFFERS, &value);
  EXPECT_EQ(value, 0);
  expectProjection(800, 600);
}

TEST_F(WindowTest, MultisampleRequestEndsInAMultisampleWindowOrOneMessage) {
  bool opened = false;
  std::string messages = openWindow(windowedConfig(4), &opened);
  ASSERT_TRUE(opened);
  ASSERT_NE(appWindow(), nullptr);
  GLint buffers = 0;
  glGetIntegerv(GL_SAMPLE_BUFFERS, &buffers);
  if (windowSamples() == 4) {
    EXPECT_EQ(messages, "");
    EXPECT_EQ(buffers, 1);
  } else {
    EXPECT_TRUE(messages == "ERROR: Multisampling is not supported.\n" ||
                messages == "ERROR: Multisampling failed to initialise.\n")
        << messages;
    EXPECT_EQ(buffers, 0);
  }
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(appWindow(), &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  expectProjection(800, 600);
}

// The multisample request falls back to the ordinary window after one message.
void expectPlainWindowAfter(const std::string& messages, const char* expected) {
  EXPECT_EQ(messages, expected);
  ASSERT_NE(appWindow(), nullptr);
  EXPECT_EQ(windowSamples(), 0);
  GLint buffers = -1;
  glGetIntegerv(GL_SAMPLE_BUFFERS, &buffers);
  EXPECT_EQ(buffers, 0);
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(appWindow(), &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  expectProjection(800, 600);
}

TEST_F(WindowTest, DriverWithoutMultisamplingGivesOneMessageAndThePlainWindow) {
  // SDL reads an environment variable named after an extension as its override.
  setenv("GL_ARB_multisample", "0", 1);
  bool opened = false;
  std::string messages = openWindow(windowedConfig(4), &opened);
  unsetenv("GL_ARB_multisample");
  ASSERT_TRUE(opened);
  expectPlainWindowAfter(messages, "ERROR: Multisampling is not supported.\n");
}

TEST_F(WindowTest, UnavailableSampleCountGivesOneMessageAndThePlainWindow) {
  bool opened = false;
  std::string messages = openWindow(windowedConfig(64), &opened);
  ASSERT_TRUE(opened);
  expectPlainWindowAfter(messages, "ERROR: Multisampling failed to initialise.\n");
}

TEST_F(WindowTest, RefusedFullscreenModeRunsInAWindowOfTheConfiguredSize) {
  AppConfig config = windowedConfig(0);
  config.fullscreen = 1;
  config.refreshrate = 12345;  // no display offers this
  bool opened = false;
  std::string messages = openWindow(config, &opened);
  ASSERT_TRUE(opened);
  EXPECT_EQ(messages, "");
  EXPECT_FALSE(fullscreenActive());
  EXPECT_EQ(SDL_GetWindowFlags(appWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
  int w = 0, h = 0;
  SDL_GetWindowSize(appWindow(), &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
}

// A three-line config.txt leaves the refresh rate 0: the display's current rate.
TEST_F(WindowTest, RefreshRateZeroAsksForTheDisplaysCurrentRate) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
  SDL_DisplayMode current, found;
  ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &current), 0);
  int bits = int(SDL_BITSPERPIXEL(current.format));
  EXPECT_TRUE(findDisplayMode(current.w, current.h, bits, 0, found));
  EXPECT_EQ(found.refresh_rate, current.refresh_rate);
  EXPECT_FALSE(findDisplayMode(current.w, current.h, bits, current.refresh_rate + 12345, found));
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST_F(WindowTest, ResizeToZeroHeightKeepsTheProjectionFinite) {
  bool opened = false;
  openWindow(windowedConfig(0), &opened);
  ASSERT_TRUE(opened);
  ResizeView(640, 0);
  float m[16];
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  for (float v : m) EXPECT_TRUE(std::isfinite(v));
  expectProjection(640, 1);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 640);
  EXPECT_EQ(viewport[3], 1);
}

TEST_F(WindowTest, SizeEventReprojectsAndCloseEventPostsTheQuit) {
  bool opened = false;
  openWindow(windowedConfig(0), &opened);
  ASSERT_TRUE(opened);
  SDL_Event event = {};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
  event.window.data1 = 1024;
  event.window.data2 = 512;
  handleWindowEvent(event);
  expectProjection(1024, 512);

  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  event.window.event = SDL_WINDOWEVENT_CLOSE;
  handleWindowEvent(event);
  SDL_Event posted;
  bool quit = false;
  while (SDL_PollEvent(&posted)) quit = quit || posted.type == SDL_QUIT;
  EXPECT_TRUE(quit);
}

TEST_F(WindowTest, DestroyReleasesEverythingAndAllowsAReopen) {
  bool opened = false;
  openWindow(windowedConfig(0), &opened);
  ASSERT_TRUE(opened);
  DestroyAppWindow();
  EXPECT_EQ(appWindow(), nullptr);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  openWindow(windowedConfig(0), &opened);
  EXPECT_TRUE(opened);
}
