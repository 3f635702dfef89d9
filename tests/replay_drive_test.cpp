// The replay viewer inside the real update: a lap recorded by the headless
// runner on the test oval is played while the player's drive stands still,
// and the drive goes on afterwards exactly as if the viewer had never opened.

#include "tests/sim_tracks.h"

#include "app/scripted_input.h"
#include "game/laps/ghost_files.h"
#include "game/laps/ghosts.h"
#include "game/laps.h"
#include "game/prop_file.h"
#include "game/laps/replay_player.h"
#include "game/update.h"
#include "physics/random.h"
#include "game/startup_models.h"
#include "physics/world.h"
#include "tools/sim/telemetry.h"
#include "vehicle/car.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

using namespace simtracks;

namespace {

constexpr int kDriveUpdates = 150;

// The car the sound was last set from.
const PhCar* soundCar = nullptr;
void recordSoundCar(PhCar& car, float) { soundCar = &car; }

// The oval with one lap of the runner's autopilot as its best ghost.
class ReplayDrive : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new std::string(makeDataFolder());
    ASSERT_TRUE(writeOval(*dir));
    ASSERT_EQ(runSim(*dir, "--autopilot --ticks 4500"), 0) << readFile(*dir + "/err.txt");
  }
  static void TearDownTestSuite() {
    removeDataFolder(*dir);
    delete dir;
  }
  void SetUp() override {
    ASSERT_TRUE(track.Load((*dir + "/data/models/track1.rmd").c_str()));
    tree = buildTrackQuadtree(track);
    ASSERT_NE(tree, nullptr);
    ASSERT_TRUE(readPropFile((*dir + "/data/trees.prp").c_str(), props));
  }
  void TearDown() override { destroyQuadtree(tree); }

  static std::string* dir;
  RMDMesh track;
  CollisionQuadtree* tree = nullptr;
  PropFile props;
};

std::string* ReplayDrive::dir = nullptr;

// The game's update on the oval with its ghosts and the viewer's player, keys
// given update by update, one tick per update.
struct Drive {
  PhWorld world;
  ScriptedInput source;
  InputDevice input{&source};
  PhCar* car = nullptr;
  GameContext ctx;
  GameState state;
  Ghosts ghosts;
  ReplayPlayer replay;
  std::vector<std::string> rows;  // telemetry of every update that stepped the car

  Drive(const std::string& dir, CollisionQuadtree* tree, const PropFile& props) {
    world.attachTree(tree);
    seedRandom(kStartupSeed);
    car = new PhCar();
    car->world = &world;
    car->input = &input;
    world.addBody(car);
    ctx.car = car;
    ctx.world = &world;
    ctx.input = &input;
    ctx.updateSounds = recordSoundCar;
    state.startPosition = props.startPosition;
    state.startHeading = props.startHeading;
    computeStartLine(state);
    openGhosts(ghosts, dir + "/ghosts", trackIdentityOfFile((dir + "/data/models/track1.rmd").c_str()), tree, state);
    loadGhostFiles(ghosts, state, dir + "/");
    ctx.ghosts = &ghosts;
    ctx.replay = &replay;
    restartDrive(ctx, state);
  }
  ~Drive() { delete car; }

  // One update with exactly `keys` down.
  void update(std::initializer_list<int> keys) {
    for (int code = 0; code < 256; ++code) source.setKey(code, false);
    for (int code : keys) source.setKey(code, true);
    bool wasOpen = state.viewer.active;
    ASSERT_TRUE(UpdateFrame(ctx, state, kTickSeconds));
    if (wasOpen || state.viewer.active) return;
    char* text = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    writeTelemetryRow(out, long(rows.size()), *car, LapPosition{});
    std::fclose(out);
    rows.emplace_back(text, size);
    std::free(text);
  }
  // A key pressed for one update and released for the next.
  void press(int key) {
    update({key});
    update({});
  }
  void drive(int updates) {
    for (int i = 0; i < updates; ++i) update({kKeyThrottle});
  }
};

}  // namespace

TEST_F(ReplayDrive, ViewerPlaysTheLapAndTheDriveGoesOnByteIdentical) {
  Drive plain(*dir, tree, props);
  plain.drive(2 * kDriveUpdates);

  Drive viewed(*dir, tree, props);
  ASSERT_TRUE(viewed.ghosts.haveBest[0]);
  viewed.drive(kDriveUpdates);
  float lapTime = viewed.state.lapTime;
  Vec3 chase = viewed.state.chasePoint;
  int mode = viewed.state.cameraMode;

  // P pressed while driving on: this update's tick still drives.
  viewed.update({kKeyThrottle, kKeyToggleReplay});
  viewed.update({});
  ASSERT_TRUE(viewed.state.viewer.active);
  const GhostLap& lap = viewed.ghosts.best[0];
  EXPECT_EQ(viewed.replay.lap, &lap);  // no lap completed yet: the best ghost
  for (int i = 0; i < 40; ++i) viewed.update({});
  PhCar* replayed = replayCar(viewed.replay);
  ASSERT_NE(replayed, nullptr);
  int played = viewed.state.viewer.tick;
  EXPECT_GE(played, 40);
  EXPECT_EQ(soundCar, replayed);
  // The replayed car is drawn through the player's car.
  EXPECT_EQ(viewed.car->drawn.position.x, replayed->drawn.position.x);

  viewed.press(kKeyPauseReplay);
  for (int i = 0; i < 10; ++i) viewed.update({});
  EXPECT_EQ(viewed.state.viewer.tick, played + 1);  // the release update ran before the pause took
  viewed.press(kKeyPauseReplay);
  viewed.press(kKeySlowerReplay);
  viewed.press(kKeySlowerReplay);
  played = viewed.state.viewer.tick;
  for (int i = 0; i < 40; ++i) viewed.update({});
  EXPECT_NEAR(viewed.state.viewer.tick - played, 10, 1);  // a quarter of the speed

  viewed.press(kKeyFirstCamera + 2);  // the chase camera follows the replayed car
  EXPECT_EQ(viewed.state.cameraMode, 2);
  EXPECT_LT(length(viewed.state.chasePoint - replayed->current.position), 10.0);
  viewed.press(kKeyRestartReplay);
  EXPECT_LE(viewed.state.viewer.tick, 1);
  EXPECT_FALSE(viewed.replay.car->diverged);

  viewed.press(kKeyToggleReplay);
  EXPECT_FALSE(viewed.state.viewer.active);
  EXPECT_EQ(viewed.state.lapTime, lapTime);
  EXPECT_EQ(viewed.state.cameraMode, mode);
  EXPECT_EQ(viewed.state.chasePoint.x, chase.x);
  viewed.drive(kDriveUpdates - 1);
  EXPECT_EQ(soundCar, viewed.car);

  ASSERT_EQ(viewed.rows.size(), plain.rows.size());
  for (size_t i = 0; i < plain.rows.size(); ++i) ASSERT_EQ(viewed.rows[i], plain.rows[i]) << "update " << i;
}

TEST_F(ReplayDrive, EscapeLeavesTheViewerWithoutOpeningTheMenu) {
  Drive drive(*dir, tree, props);
  drive.drive(5);
  drive.press(kKeyToggleReplay);
  ASSERT_TRUE(drive.state.viewer.active);
  for (int i = 0; i < 4; ++i) drive.update({kKeyToggleMenu});
  EXPECT_FALSE(drive.state.viewer.active);
  EXPECT_FALSE(drive.state.menuVisible);
  drive.update({});
  drive.press(kKeyToggleMenu);  // a fresh press opens it as always
  EXPECT_TRUE(drive.state.menuVisible);
  drive.press(kKeyToggleReplay);  // not over the menu
  EXPECT_FALSE(drive.state.viewer.active);
}

TEST_F(ReplayDrive, WithoutALapThereIsNothingToPlay) {
  removeDataFolder(*dir + "/ghosts");
  Drive drive(*dir, tree, props);
  drive.drive(5);
  drive.press(kKeyToggleReplay);
  EXPECT_FALSE(drive.state.viewer.active);
}

TEST(ReplayLap, LastCompletedLapFirstThenTheBestOfTheClass) {
  Ghosts ghosts;
  EXPECT_EQ(lapToReplay(ghosts, LapClass::Plain), nullptr);
  ghosts.haveBest[1] = true;
  EXPECT_EQ(lapToReplay(ghosts, LapClass::Plain), &ghosts.best[1]);
  ghosts.haveBest[0] = true;
  EXPECT_EQ(lapToReplay(ghosts, LapClass::Plain), &ghosts.best[0]);
  EXPECT_EQ(lapToReplay(ghosts, LapClass::Turbo), &ghosts.best[1]);
  ghosts.haveLastLap = true;
  EXPECT_EQ(lapToReplay(ghosts, LapClass::Turbo), &ghosts.lastLap);
}
