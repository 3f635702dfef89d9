// The timing aids and the replay banner drawn by the real frame over an empty
// scene with the data set's own pictures, read back from a window; each frame
// is also kept as a picture in build/artefacts/timing_frame.

#include "game/laps/ghosts.h"
#include "game/laps/replay_player.h"
#include "render/textures.h"
#include "tests/frame_window.h"
#include "tools/datagen/hud_pictures.h"
#include "tools/datagen/image.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace frame_window;

namespace {

struct Area {
  float x0, y0, x1, y1;  // overlay units
};
// The delta at the top middle, the three sector rows and the ideal lap at the
// top left, the replay banner at the top middle.
constexpr Area kDeltaArea{21.0f, -11.0f, 40.0f, -6.0f};
constexpr Area kSectorRow[3] = {{-15.0f, -10.6f, 15.0f, -8.0f}, {-15.0f, -7.6f, 15.0f, -5.0f},
                                {-15.0f, -4.6f, 15.0f, -2.0f}};
constexpr Area kDiffColumn{1.5f, -10.6f, 15.0f, -2.0f};
constexpr Area kIdealRow{-15.0f, -1.6f, 8.0f, 1.0f};
// NOT SAVED under the delta.
constexpr Area kNoticeArea{21.0f, -5.0f, 34.0f, -2.0f};

class TimingFrame : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    state.menuVisible = false;
    char pattern[] = "/tmp/stravo-timing-frame-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;

    // The data set's numbers and timing pictures, written and loaded as the game does.
    std::vector<TextureFile> pictures;
    std::string why;
    ASSERT_TRUE(buildHudPictures(pictures, why)) << why;
    for (const TextureFile& picture : pictures) {
      std::string name = picture.path.substr(picture.path.rfind('\\') + 1);
      if (name != "numbers.tga" && name != "timing.tga") continue;
      std::string path = folder + "/" + name;
      std::vector<uint8_t> bytes = encodeTga(picture.image, picture.bitsPerPixel);
      std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
      auto texture = std::make_unique<Texture>();
      ASSERT_TRUE(texture->Load2D(path.c_str(), kTextureLinear)) << path;
      (name == "numbers.tga" ? draw.textures.numbers : draw.textures.timing) = texture->GLName();
      textures.push_back(std::move(texture));
    }
  }
  void TearDown() override {
    std::system(("rm -rf '" + folder + "'").c_str());
    textures.clear();
    FrameTest::TearDown();
  }

  // Draws a frame over the empty scene, reads it back and keeps it as
  // artefacts/timing_frame/NAME.tga.
  void drawFrame(const char* name) {
    FrameTest::drawFrame();
    pixels.assign(size_t(kWidth) * kHeight * 3, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    Image shot(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        // Kept as read, bottom row first, which is how the picture file stores rows.
        const uint8_t* p = &pixels[(size_t(y) * kWidth + x) * 3];
        shot.set(x, y, p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f);
      }
    std::string dir = std::string(STRAVO_ARTEFACTS) + "/timing_frame";
    mkdir(STRAVO_ARTEFACTS, 0755);
    mkdir(dir.c_str(), 0755);
    std::vector<uint8_t> bytes = encodeTga(shot, 24);
    std::ofstream(dir + "/" + name + ".tga", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
  }

  // Pixels of an overlay area whose colour passes `test`.
  int count(const Area& a, const std::function<bool(int, int, int)>& test) const {
    int x0 = int((a.x0 + 16.0f) / 96.0f * kWidth), x1 = int((a.x1 + 16.0f) / 96.0f * kWidth);
    int y0 = int((a.y0 + 12.0f) / 72.0f * kHeight), y1 = int((a.y1 + 12.0f) / 72.0f * kHeight);
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const uint8_t* p = &pixels[(size_t(kHeight - 1 - y) * kWidth + x) * 3];
        if (test(p[0], p[1], p[2])) ++n;
      }
    return n;
  }
  static bool green(int r, int g, int b) { return g > 200 && r < 140 && b < 140; }
  static bool red(int r, int g, int b) { return r > 200 && g < 110 && b < 110; }
  static bool gold(int r, int g, int b) { return r > 200 && g > 160 && b < 110; }
  static bool light(int r, int g, int b) { return r > 140 && g > 140 && b > 140; }

  // A session with three timed sectors, the second of them slower than its best.
  void timeASession() {
    TimingAids& aids = state.timing;
    const float best[3] = {20.60f, 26.40f, 30.46f};
    const float lap[3] = {20.42f, 26.55f, 30.46f};
    for (int i = 0; i < 3; ++i) {
      aids.sectors.previousBest[i] = best[i];
      aids.sectors.best[i] = std::fmin(best[i], lap[i]);
      aids.lastLapSectors[i] = lap[i];
    }
    aids.sectors.latest = 2;
    aids.latestTicks = 0;
  }

  std::string folder;
  std::vector<std::unique_ptr<Texture>> textures;
  std::vector<uint8_t> pixels;
};

}  // namespace

TEST_F(TimingFrame, DeltaAheadIsGreenAndSplitsShowWithTheIdealLap) {
  timeASession();
  state.timing.shown = true;
  state.timing.delta = -0.17;
  state.timing.tracker.shown = -0.17f;
  drawFrame("ahead-with-splits");
  EXPECT_GT(count(kDeltaArea, green), 150);
  EXPECT_EQ(count(kDeltaArea, red), 0);
  for (int i = 0; i < 3; ++i) EXPECT_GT(count(kSectorRow[i], light) + count(kSectorRow[i], gold), 100) << i;
  // Sector 1 beat its best (green), sector 2 did not (red).
  EXPECT_GT(count(kDiffColumn, green), 40);
  EXPECT_GT(count(kDiffColumn, red), 40);
  EXPECT_GT(count(kIdealRow, [](int r, int g, int b) { return b > 200 && g > 170 && r > 150; }), 100);
}

TEST_F(TimingFrame, DeltaBehindIsRedAndBlankOffThePath) {
  state.timing.shown = true;
  state.timing.delta = 0.42;
  state.timing.tracker.shown = 0.42f;
  drawFrame("behind");
  EXPECT_GT(count(kDeltaArea, red), 150);
  EXPECT_EQ(count(kSectorRow[0], light), 0);  // no sector timed yet
  state.timing.delta = NAN;
  drawFrame("off-the-path");
  EXPECT_EQ(count(kDeltaArea, red), 0);
}

TEST_F(TimingFrame, NothingWithoutT) {
  timeASession();
  state.timing.delta = -0.17;
  state.timing.tracker.shown = -0.17f;
  drawFrame("timing-off");
  EXPECT_EQ(count(kDeltaArea, green), 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(count(kSectorRow[i], light), 0) << i;
}

TEST_F(TimingFrame, FailedSaveShowsNotSavedForItsTimeOnly) {
  drawFrame("no-failed-save");
  EXPECT_EQ(count(kNoticeArea, red), 0);
  saveNoticeTick(state.saveNotice, 1);
  drawFrame("failed-save");
  EXPECT_GT(count(kNoticeArea, red), 150);
  for (int t = 0; t < kSaveNoticeTicks; ++t) saveNoticeTick(state.saveNotice, 1);
  drawFrame("failed-save-later");
  EXPECT_EQ(count(kNoticeArea, red), 0);
}

TEST(SaveNotice, EachNewFailureShowsFourSecondsAndNothingElseDoes) {
  SaveNotice notice;
  saveNoticeTick(notice, 0);
  EXPECT_EQ(notice.ticksLeft, 0);
  saveNoticeTick(notice, 1);
  EXPECT_EQ(notice.ticksLeft, kSaveNoticeTicks);
  for (int t = 1; t < kSaveNoticeTicks; ++t) saveNoticeTick(notice, 1);
  EXPECT_EQ(notice.ticksLeft, 1);
  saveNoticeTick(notice, 1);
  EXPECT_EQ(notice.ticksLeft, 0);
  saveNoticeTick(notice, 1);
  EXPECT_EQ(notice.ticksLeft, 0);
  saveNoticeTick(notice, 3);  // two more at once: shown once again
  EXPECT_EQ(notice.ticksLeft, kSaveNoticeTicks);
}

TEST_F(TimingFrame, ReplayShowsTheBannerAndTheReplayedCarsTimer) {
  Ghosts ghosts;
  ReplayPlayer player;
  GhostLap lap;
  lap.inputs.resize(10);
  lap.poses.resize(10);
  lap.start.current.position = Vec3(0.0, 0.0, 0.0);
  startReplay(player, ghosts, lap);
  ctx.replay = &player;
  openViewer(state.viewer, 10);
  state.viewer.paused = true;
  state.timing.shown = true;
  state.timing.delta = 0.42;
  state.timing.tracker.shown = 0.42f;
  drawFrame("replay-paused");
  EXPECT_GT(count(kDeltaArea, gold), 300);  // REPLAY where the delta was
  EXPECT_EQ(count(kDeltaArea, red), 0);
}
