#include "tests/frame_window.h"

using namespace frame_window;

namespace {

// Points of the overlay that only one of the two layouts covers.
constexpr float kMenuPictureX = 45.0f, kMenuPictureY = 10.0f;
constexpr float kHelpPictureX = 20.0f, kHelpPictureY = 40.0f;
constexpr float kTurboBestX = 66.6f, kTurboBestY = 11.0f;    // first glyph of best-times entry 5
constexpr float kRevDialRimX = 73.4f, kRevDialRimY = 50.0f;  // outer edge of the rev counter's rim

}  // namespace

TEST_F(FrameTest, MenuShowsPicturesAndBestTimesButNoInstruments) {
  state.menuVisible = true;
  drawFrame();
  EXPECT_TRUE(near(overlayPixel(kMenuPictureX, kMenuPictureY), kWhite));
  EXPECT_TRUE(near(overlayPixel(kHelpPictureX, kHelpPictureY), {179, 179, 166}));
  EXPECT_TRUE(near(overlayPixel(kTurboBestX, kTurboBestY), {255, 204, 204}));
  EXPECT_TRUE(near(overlayPixel(kRevDialRimX, kRevDialRimY), kBackground));
}

TEST_F(FrameTest, DrivingShowsInstrumentsButNoMenuOrBestTimes) {
  state.menuVisible = false;
  drawFrame();
  EXPECT_TRUE(near(overlayPixel(kRevDialRimX, kRevDialRimY), kBlack));
  EXPECT_TRUE(near(overlayPixel(kMenuPictureX, kMenuPictureY), kBackground));
  EXPECT_TRUE(near(overlayPixel(kTurboBestX, kTurboBestY), kBackground));
}

TEST_F(FrameTest, OverlayLeavesTheMatrixStacksAndDepthTestAsFound) {
  state.menuVisible = false;
  drawFrame();
  GLint depth = 0, projection = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projection);
  EXPECT_EQ(depth, 1);
  EXPECT_EQ(projection, 1);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
