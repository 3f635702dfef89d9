#include "game/update.h"

#include "app/log.h"
#include "app/scripted_input.h"
#include "physics/world.h"
#include "vehicle/car.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr double kPosTol = 1e-6;

// A car in a world without a track (it falls), a scripted keyboard and the game.
struct Game {
  ScriptedInput keys;
  InputDevice input{&keys};
  PhWorld world;
  std::unique_ptr<PhCar> car{new PhCar};
  bool cubemaps = false;
  GameContext ctx;
  GameState state;

  Game() {
    car->world = &world;
    car->input = &input;
    car->current.position = Vec3(0.0, 0.5, 0.0);
    car->SavePrevious();
    world.addBody(car.get());
    ctx.car = car.get();
    ctx.world = &world;
    ctx.input = &input;
    ctx.alwaysUpdateCubemaps = &cubemaps;
    state.startPosition = Vec3(10.0, 2.0, 20.0);
    computeStartLine(state);
    placeCarAtStart(ctx, state);
    beginGame(ctx, state, "update_test_no_such_file.dat");
  }

  // One update with exactly `codes` held; the input device takes them over
  // at the next tick, as the keyboard does.
  bool update(std::initializer_list<int> codes, float interval = kTickSeconds) {
    for (int code = 0; code < 256; ++code) keys.setKey(code, false);
    for (int code : codes) keys.setKey(code, true);
    input.update();
    return UpdateFrame(ctx, state, interval);
  }
  Vec3 startSpot() const { return Vec3(10.0, 2.0 + double(0.7f), 40.0); }
};

}  // namespace

TEST(Update, MenuFreezesTheCarAndTheLapTimer) {
  Game g;
  g.state.lapRunning = true;
  Vec3 before = g.car->current.position;
  for (int i = 0; i < 20; ++i) g.update({});
  EXPECT_EQ(g.state.lapTime, 0.0f);
  EXPECT_EQ(g.car->current.position.y, before.y);
  EXPECT_EQ(g.state.trip.distance, 0.0f);
  EXPECT_GT(g.state.orbitAngle, 0.0f);
  EXPECT_EQ(g.state.volumeNow, 0.0f);
}

TEST(Update, EnterOnRestartPutsTheCarAtTheStartAndHidesTheMenu) {
  Game g;
  g.update({kKeyChooseItem});
  EXPECT_FALSE(g.state.menuVisible);
  EXPECT_EQ(g.state.volumeNow, 1.0f);
  // One tick has run since the restart: the car has begun to fall from 20 m
  // behind the line, 0.7 m up.
  EXPECT_NEAR(g.car->current.position.x, 10.0, kPosTol);
  EXPECT_NEAR(g.car->current.position.z, 40.0, kPosTol);
  EXPECT_LT(g.car->current.position.y, g.startSpot().y);
  EXPECT_GT(g.car->current.position.y, g.startSpot().y - 0.01);
}

TEST(Update, HeldRecoveryKeyPutsTheCarBackEveryUpdate) {
  Game g;
  g.update({kKeyChooseItem});
  for (int i = 0; i < 3; ++i) {
    g.update({kKeyRecover});
    EXPECT_NEAR(g.car->current.position.x, -71.0, kPosTol);
    EXPECT_NEAR(g.car->current.position.y, 0.5, kPosTol);
    EXPECT_NEAR(g.car->current.position.z, 133.0, kPosTol);
    EXPECT_FALSE(g.state.lapRunning);
  }
}

TEST(Update, CarFallingBelowTheTrackIsRecoveredInTheSameUpdate) {
  Game g;
  g.update({kKeyChooseItem});
  g.car->current.position.y = -7.5;
  g.update({});
  EXPECT_NEAR(g.car->current.position.z, 133.0, kPosTol);
  EXPECT_FALSE(g.state.resetRequested);
}

TEST(Update, CarWithAPositionThatIsNotANumberIsRecovered) {
  Game g;
  g.update({kKeyChooseItem});
  g.car->current.position.x = std::nan("");
  g.update({});
  EXPECT_NEAR(g.car->current.position.x, -71.0, kPosTol);
  // Neither the chase camera nor the distance keeps the bad value.
  g.update({});
  EXPECT_TRUE(std::isfinite(g.state.chasePoint.x));
  EXPECT_TRUE(std::isfinite(g.state.trip.distance));
}

TEST(Update, CarOnItsRoofIsRecovered) {
  Game g;
  g.update({kKeyChooseItem});
  g.car->current.orientation = yawPitchMat4(0.0f, 180.0f);
  g.update({});
  EXPECT_NEAR(g.car->current.position.x, -71.0, kPosTol);
  EXPECT_GT(g.car->current.orientation[5], 0.9f);
}

TEST(Update, SwitchesReachTheirTargetsOnEnter) {
  Game g;
  g.update({kKeyMenuRight});
  g.update({});
  g.update({kKeyMenuDown});
  g.update({});
  g.update({kKeyChooseItem});  // item 4: the turbo goes on
  EXPECT_TRUE(g.car->turbo);
  EXPECT_TRUE(g.car->autoGearbox);
  EXPECT_FALSE(g.input.isAnalog());
  EXPECT_FALSE(g.cubemaps);
}

TEST(Update, TicksFollowTheElapsedTime) {
  Game g;
  g.update({kKeyChooseItem}, 0.0f);
  // At 150 frames per second about every second update runs a tick, and the
  // drawn pose lies half way.
  int stepsBefore = g.world.stepCount;
  for (int i = 0; i < 10; ++i) g.update({}, kTickSeconds * 0.5f);
  EXPECT_EQ(g.world.stepCount - stepsBefore, 5);
  // A long stall runs every tick it owes before drawing again.
  stepsBefore = g.world.stepCount;
  g.update({}, 1.0f);
  EXPECT_EQ(g.world.stepCount - stepsBefore, 75);
}

TEST(Update, HighestCameraKeyWins) {
  Game g;
  g.update({kKeyFirstCamera + 1, kKeyFirstCamera + 3});
  EXPECT_EQ(g.state.cameraMode, 3);
  g.update({kKeyFirstCamera});
  EXPECT_EQ(g.state.cameraMode, 0);
}

TEST(Update, QuitWritesTheStatisticsAndTheBestTimes) {
  // log.txt and toptimes.dat land in the working folder: use one of our own.
  namespace fs = std::filesystem;
  fs::path home = fs::current_path();
  fs::path folder = home / "update_test_quit";
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::current_path(folder);
  openLog();
  setLogging(false);
  Game g;
  g.state.bestTimes.entries[0] = 75.5f;
  g.update({kKeyMenuDown});
  g.update({});
  EXPECT_FALSE(g.update({kKeyChooseItem}));
  EXPECT_TRUE(loggingOn());
  std::ifstream table("toptimes.dat", std::ios::binary | std::ios::ate);
  EXPECT_EQ(table.tellg(), std::streamoff(kBestTimesFileSize));
  std::ifstream log("log.txt");
  std::string text((std::istreambuf_iterator<char>(log)), {});
  EXPECT_NE(text.find("\nTop speed:         0.00kph"), std::string::npos);
  EXPECT_NE(text.find("\nDistance travelled:  0.00m"), std::string::npos);
  setLogging(false);
  fs::current_path(home);
}
