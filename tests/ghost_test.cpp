// Ghost laps: a lap recorded by the headless runner on the test oval, read back,
// driven again, damaged in every way the reader refuses, and a second car beside
// the player's that leaves the player's drive byte-identical.

#include "tests/sim_tracks.h"

#include "app/fnv1a.h"
#include "app/input_device.h"
#include "app/log.h"
#include "app/scripted_input.h"
#include "game/laps/ghost_car.h"
#include "game/laps/ghost_file.h"
#include "game/laps/ghost_files.h"
#include "game/laps/ghosts.h"
#include "game/laps/proof_verify.h"
#include "game/laps.h"
#include "game/prop_file.h"
#include "physics/random.h"
#include "game/startup_models.h"
#include "game/update.h"
#include "physics/world.h"
#include "vehicle/car.h"
#include "vehicle/car_state.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using namespace simtracks;

namespace {

// Enough for the roll to the line and one lap of the oval and some of the next.
constexpr const char* kLapRun = "--autopilot --ticks 4500";

// Offsets into a ghost file (see game/laps/ghost_file.h).
constexpr size_t kVersionAt = 8, kPhysicsAt = 12, kTrackAt = 16, kLapTimeAt = 24, kTicksAt = 28,
                 kLapFlagsAt = 32, kStateSizeAt = 36, kStateAt = 40;

void putU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// A damaged file that is otherwise whole: the checksum made to match again.
void reseal(std::vector<uint8_t>& b) {
  uint64_t h = fnv1a(b.data(), b.size() - 8);
  for (int i = 0; i < 8; ++i) b[b.size() - 8 + i] = uint8_t(h >> (8 * i));
}

// The oval with one lap of the runner's autopilot in ghosts/best.ghost (a lap
// proof) and one with the turbo in ghosts/best-turbo.ghost, made once for every
// test here, and both laps in the older format that holds the car's state at
// the lap's start.
class GhostLapFile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new std::string(makeDataFolder());
    ASSERT_TRUE(writeOval(*dir));
    ASSERT_EQ(runSim(*dir, kLapRun), 0) << readFile(*dir + "/err.txt");
    summary = new std::string(readFile(*dir + "/out.txt"));
    std::string bytes = readFile(*dir + "/ghosts/best.ghost");
    proof = new std::vector<uint8_t>(bytes.begin(), bytes.end());
    ProofTrack track;
    LapProof parsed;
    ProofVerdict verdict;
    GhostLap lap;
    std::string why;
    ASSERT_TRUE(loadProofTrack(*dir, track, why) && parseProof(proof->data(), proof->size(), parsed, why) &&
                ghostOfProof(parsed, track, lap, verdict, why))
        << why;
    file = new std::vector<uint8_t>(encodeGhost(lap));
    ASSERT_EQ(runSim(*dir, std::string(kLapRun) + " --turbo"), 0) << readFile(*dir + "/err.txt");
    bytes = readFile(*dir + "/ghosts/best-turbo.ghost");
    GhostLap turboLap;
    ASSERT_TRUE(parseProof(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), parsed, why) &&
                ghostOfProof(parsed, track, turboLap, verdict, why))
        << why;
    turboFile = new std::vector<uint8_t>(encodeGhost(turboLap));
  }
  static void TearDownTestSuite() {
    removeDataFolder(*dir);
    delete dir;
    delete summary;
    delete file;
    delete turboFile;
    delete proof;
  }

  void SetUp() override {
    ASSERT_FALSE(file->empty()) << *summary;
    std::string bytes = readFile(*dir + "/data/models/track1.rmd");
    trackId = trackIdentity(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ASSERT_TRUE(track.Load((*dir + "/data/models/track1.rmd").c_str()));
    tree = buildTrackQuadtree(track);
    ASSERT_NE(tree, nullptr);
    PropFile props;
    ASSERT_TRUE(readPropFile((*dir + "/data/trees.prp").c_str(), props));
    state.startPosition = props.startPosition;
    state.startHeading = props.startHeading;
    computeStartLine(state);
  }
  void TearDown() override { destroyQuadtree(tree); }

  bool parse(const std::vector<uint8_t>& bytes, GhostLap& lap, std::string& why) const {
    return parseGhost(bytes.data(), bytes.size(), trackId, lap, why);
  }
  bool verify(const GhostLap& lap, std::string& why) {
    GhostCar ghost;
    return verifyGhostLap(ghost, lap, tree, state.startLineA, state.startLineB, why);
  }

  static std::string* dir;
  static std::string* summary;
  static std::vector<uint8_t>* file;
  static std::vector<uint8_t>* turboFile;
  static std::vector<uint8_t>* proof;
  uint64_t trackId = 0;
  RMDMesh track;
  CollisionQuadtree* tree = nullptr;
  GameState state;
};

std::string* GhostLapFile::dir = nullptr;
std::string* GhostLapFile::summary = nullptr;
std::vector<uint8_t>* GhostLapFile::file = nullptr;
std::vector<uint8_t>* GhostLapFile::turboFile = nullptr;
std::vector<uint8_t>* GhostLapFile::proof = nullptr;

TEST_F(GhostLapFile, RunnerLapDrivesAgainToEveryPoseAndItsTime) {
  GhostLap lap;
  std::string why;
  ASSERT_TRUE(parse(*file, lap, why)) << why;
  EXPECT_EQ(lap.inputs.size(), lap.poses.size());
  EXPECT_EQ(lap.lapTime, lapTimeOfTicks(uint32_t(lap.inputs.size())));
  EXPECT_EQ(lap.lapClass, LapClass::Plain);
  EXPECT_EQ(file->size(), kGhostHeaderBytes + carStateBytes() +
                              lap.inputs.size() * (kGhostInputBytes + kGhostPoseBytes) + kGhostChecksumBytes);
  EXPECT_TRUE(verify(lap, why)) << why;
  // What is read back writes back to the same bytes.
  EXPECT_EQ(encodeGhost(lap), *file);

  // The runner's verdict names the lap time its summary printed.
  std::vector<double> laps = lapTimes(*summary);
  ASSERT_EQ(laps.size(), 1u) << *summary;
  ASSERT_EQ(runSim(*dir, "--verify-ghost ghosts/best.ghost"), 0) << readFile(*dir + "/err.txt");
  std::string verdict = readFile(*dir + "/out.txt");
  std::string lapLine = summary->substr(summary->find("lap 1: ") + 7);
  EXPECT_EQ(verdict, "ghost verified: lap " + lapLine.substr(0, lapLine.find('\n')) + " clean\n");

  // The older format is no proof.
  writeFile(*dir + "/older.ghost", std::string(file->begin(), file->end()));
  ASSERT_EQ(runSim(*dir, "--verify-ghost older.ghost ghosts/best.ghost"), 3);
  EXPECT_EQ(readFile(*dir + "/out.txt"), "ghost refused: made by an older version; it holds no standing start\n" +
                                            verdict);
}

TEST_F(GhostLapFile, DamagedFilesAreRefusedWithOneReason) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const double nanDouble = std::numeric_limits<double>::quiet_NaN();
  struct Damage {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> apply;
    const char* reason;
  };
  const size_t poses = file->size() - 8 - 60;  // the last pose
  const size_t inputs = kStateAt + carStateBytes();
  const Damage damages[] = {
      {"magic", [](std::vector<uint8_t>& b) { b[0] = 'X'; }, "not a ghost file"},
      {"format version", [](std::vector<uint8_t>& b) { putU32(b, kVersionAt, 2); }, "format version 2"},
      {"physics version", [](std::vector<uint8_t>& b) { putU32(b, kPhysicsAt, kPhysicsVersion + 1); },
       "physics version"},
      {"track", [](std::vector<uint8_t>& b) { b[kTrackAt] ^= 1; }, "another track"},
      {"no ticks", [](std::vector<uint8_t>& b) { putU32(b, kTicksAt, 0); }, "impossible tick count 0"},
      {"too many ticks", [](std::vector<uint8_t>& b) { putU32(b, kTicksAt, kMaxGhostTicks + 1); },
       "impossible tick count"},
      {"start-state size", [](std::vector<uint8_t>& b) { putU32(b, kStateSizeAt, 12); }, "start-state size"},
      {"truncated", [](std::vector<uint8_t>& b) { b.resize(b.size() - 100); }, "truncated"},
      {"header only", [](std::vector<uint8_t>& b) { b.resize(20); }, "truncated"},
      {"trailing bytes", [](std::vector<uint8_t>& b) { b.push_back(0); }, "beyond the end"},
      {"checksum", [=](std::vector<uint8_t>& b) { b[poses] ^= 0x10; }, "checksum"},
      {"lap time", [](std::vector<uint8_t>& b) { b[kLapTimeAt] ^= 1; reseal(b); }, "lap time does not match"},
      {"start state not finite",
       [=](std::vector<uint8_t>& b) { std::memcpy(&b[kStateAt], &nanDouble, 8); reseal(b); }, "not finite"},
      {"pose not finite",
       [=](std::vector<uint8_t>& b) { std::memcpy(&b[poses + 24], &nan, 4); reseal(b); }, "pose not finite"},
      {"input bits", [=](std::vector<uint8_t>& b) { b[inputs + 3] = 0x80; reseal(b); }, "unknown input bits at tick 1"},
      {"input axis", [=](std::vector<uint8_t>& b) { std::memcpy(&b[inputs + 8], &nan, 4); reseal(b); },
       "input axis"},
  };
  for (const Damage& d : damages) {
    std::vector<uint8_t> bytes = *file;
    d.apply(bytes);
    GhostLap lap;
    std::string why;
    EXPECT_FALSE(parse(bytes, lap, why)) << d.name;
    EXPECT_NE(why.find(d.reason), std::string::npos) << d.name << ": " << why;
  }
}

TEST_F(GhostLapFile, ClassIsWhatTheTicksSayNotWhatTheFileStates) {
  GhostLap lap;
  std::string why;
  ASSERT_FALSE(turboFile->empty());
  ASSERT_TRUE(parse(*turboFile, lap, why)) << why;
  EXPECT_EQ(lap.lapClass, LapClass::Turbo);

  // The turbo lap relabelled as a plain one, checksum made to match.
  std::vector<uint8_t> relabelled = *turboFile;
  putU32(relabelled, kLapFlagsAt, 0);
  reseal(relabelled);
  EXPECT_FALSE(parse(relabelled, lap, why));
  EXPECT_EQ(why, "marked as a lap without the turbo, but the turbo is on in its ticks");

  // And a plain lap claiming the turbo class.
  std::vector<uint8_t> promoted = *file;
  putU32(promoted, kLapFlagsAt, 1);
  reseal(promoted);
  EXPECT_FALSE(parse(promoted, lap, why));
  EXPECT_EQ(why, "marked as a turbo lap, but the turbo is off in every tick");
}

TEST_F(GhostLapFile, LapThatDoesNotDriveAgainIsRefused) {
  GhostLap lap;
  std::string why;
  ASSERT_TRUE(parse(*file, lap, why)) << why;

  // A pose a hair off at tick 100: the file is whole but proves nothing.
  GhostLap moved = lap;
  moved.poses[99].position.x = std::nextafter(moved.poses[99].position.x, 1e9);
  EXPECT_FALSE(verify(moved, why));
  EXPECT_EQ(why, "does not replay: tick 100 leaves its recorded pose");

  // A different input: the throttle released at tick 50.
  GhostLap lifted = lap;
  for (size_t k = 49; k < lifted.inputs.size(); ++k) lifted.inputs[k].axes[1] = 0.5f;
  EXPECT_FALSE(verify(lifted, why));
  EXPECT_NE(why.find("does not replay: tick 50"), std::string::npos) << why;

  // Cut short, with its poses and time to match: it never reaches the line.
  GhostLap cut = lap;
  cut.inputs.resize(cut.inputs.size() - 10);
  cut.poses.resize(cut.poses.size() - 10);
  cut.lapTime = lapTimeOfTicks(uint32_t(cut.inputs.size()));
  std::vector<uint8_t> bytes = encodeGhost(cut);
  ASSERT_TRUE(parse(bytes, cut, why)) << why;
  EXPECT_FALSE(verify(cut, why));
  EXPECT_EQ(why, "does not end on the start line");

  // Moved away from the line before it starts.
  GhostLap away = lap;
  away.start.current.position.x += 50.0;
  EXPECT_FALSE(verify(away, why));
  EXPECT_EQ(why, "does not start on the start line");
}

TEST_F(GhostLapFile, RefusedFileIsLoggedAndLeftUnusedAndAGoodOneIsSilent) {
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(dir->c_str()), 0);
  mkdir("kept", 0755);
  mkdir("proven", 0755);
  mkdir("refused", 0755);
  mkdir("unproven", 0755);
  std::vector<uint8_t> damaged = *file, damagedProof = *proof;
  damaged[damaged.size() / 2] ^= 1;
  damagedProof[damagedProof.size() / 2] ^= 1;
  writeFile("kept/best.ghost", std::string(file->begin(), file->end()));
  writeFile("proven/best.ghost", std::string(proof->begin(), proof->end()));
  writeFile("refused/best.ghost", std::string(damaged.begin(), damaged.end()));
  writeFile("unproven/best.ghost", std::string(damagedProof.begin(), damagedProof.end()));

  openLog();
  Ghosts kept, proven, refused, unproven;
  for (auto [ghosts, folder] : {std::pair<Ghosts*, const char*>{&kept, "kept"}, {&proven, "proven"}}) {
    openGhosts(*ghosts, folder, trackId, tree, state);
    loadGhostFiles(*ghosts, state, "");
  }
  std::string logAfterKept = readFile("log.txt");
  for (auto [ghosts, folder] : {std::pair<Ghosts*, const char*>{&refused, "refused"}, {&unproven, "unproven"}}) {
    openGhosts(*ghosts, folder, trackId, tree, state);
    loadGhostFiles(*ghosts, state, "");
  }
  setLogging(false);
  std::string log = readFile("log.txt");
  ASSERT_EQ(chdir(previous), 0);

  EXPECT_TRUE(kept.haveBest[0]);
  EXPECT_FALSE(kept.haveBest[1]);  // no turbo file: no fault, no line
  EXPECT_TRUE(proven.haveBest[0]);
  EXPECT_EQ(proven.best[0].inputs.size(), kept.best[0].inputs.size());
  EXPECT_EQ(logAfterKept, "Log started");
  EXPECT_FALSE(refused.haveBest[0]);
  EXPECT_FALSE(unproven.haveBest[0]);
  EXPECT_EQ(log, "Log started\nMain: Ghost file \"refused\\best.ghost\" refused: checksum does not match"
                 "\nMain: Ghost file \"unproven\\best.ghost\" refused: checksum does not match");
}

// The player's car driven from the lap's start by its inputs, with or without a
// ghost car built part-way and stepped after it tick for tick: every value of
// the player's car after every tick, as bytes.
std::vector<uint8_t> playerDrive(const GhostLap& lap, CollisionQuadtree* tree, bool withGhost, int& ghostTicks) {
  seedRandom(kStartupSeed);
  PhWorld world;
  world.attachTree(tree);
  InputDevice input(nullptr);
  PhCar* car = new PhCar();
  car->world = &world;
  car->input = &input;
  world.addBody(car);
  applyCarState(lap.start, *car);

  std::vector<uint8_t> bytes;
  std::unique_ptr<GhostCar> ghost;
  ghostTicks = 0;
  for (size_t k = 0; k < lap.inputs.size(); ++k) {
    if (withGhost && k == 20) {
      ghost = std::make_unique<GhostCar>();
      startGhost(*ghost, lap, tree);
    }
    applyGhostInput(lap.inputs[k], input, *car);
    world.step();
    if (ghost && stepGhost(*ghost)) ++ghostTicks;
    CarState s = captureCarState(*car);
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&s);
    bytes.insert(bytes.end(), p, p + sizeof(s));
  }
  if (ghost) {
    EXPECT_FALSE(ghost->diverged);
  }
  delete car;
  return bytes;
}

TEST_F(GhostLapFile, SecondCarInItsOwnWorldLeavesThePlayersDriveByteIdentical) {
  GhostLap lap;
  std::string why;
  ASSERT_TRUE(parse(*file, lap, why)) << why;
  int ticksAlone = 0, ticksBeside = 0;
  std::vector<uint8_t> alone = playerDrive(lap, tree, false, ticksAlone);
  std::vector<uint8_t> beside = playerDrive(lap, tree, true, ticksBeside);
  EXPECT_EQ(ticksBeside, int(lap.inputs.size()) - 20);
  ASSERT_EQ(alone.size(), beside.size());
  EXPECT_TRUE(alone == beside);
}

// A driver on the keyboard alone: digital steering toward a point 15 m ahead
// on the oval's centre line with a swerve just before the line, the throttle
// and brake toward a speed for the straights and a lower one for the bends,
// the manual gearbox shifted by engine speed, and the handbrake pulled once in
// the first bend. Keys as scan codes, for one tick.
struct KeyboardDriver {
  double s = -Oval::kStartZ;  // m along the oval of the car's nearest centre point, from behind the line
  int sinceShift = 0;         // ticks since a shift key was pressed
  int handbrakeTicks = 0;

  static double distanceTo(double along, const Vec3& p) {
    double x, z, tx, tz;
    Oval::at(along, x, z, tx, tz);
    return std::hypot(p.x - x, p.z - z);
  }

  std::vector<int> keys(const PhCar& car) {
    const Vec3& p = car.current.position;
    while (distanceTo(s + 1.0, p) < distanceTo(s, p)) s += 1.0;
    std::vector<int> down;
    double x, z, tx, tz, aheadX, aheadZ;
    Oval::at(s, x, z, tx, tz);
    Oval::at(s + 50.0, x, z, aheadX, aheadZ);
    double target = tx * aheadX + tz * aheadZ > 0.99 ? 24.0 : 15.0;  // m/s
    Oval::at(s + 15.0, x, z, aheadX, aheadZ);
    const Vec3& v = car.current.velocity;  // m/tick
    double speed = length(v) * double(kTicksPerSecond);
    // The angle to the point ahead, positive to the left seen from above, asks
    // for a wheel angle; the keys move the wheel toward it, looking twelve
    // ticks ahead as the wheel's own centring does.
    double dx = x - p.x, dz = z - p.z;
    double angle = speed > 1.0 ? std::asin((v.z * dx - v.x * dz) / (length(v) * std::hypot(dx, dz))) : 0.0;
    double wanted = std::max(-0.3, std::min(0.3, 1.5 * angle));
    double coming = double(car.steer) + 12.0 * double(car.steerRate);
    if (s > -15.0 && s < -12.0) down.push_back(kKeyLeft);  // a swerve: the wheel turns at the line
    else if (coming < wanted - 0.01) down.push_back(kKeyLeft);
    else if (coming > wanted + 0.01) down.push_back(kKeyRight);
    if (speed < target) down.push_back(kKeyThrottle);
    if (speed > target + 2.0) down.push_back(kKeyBrake);
    sinceShift += 1;
    if (sinceShift > 40 && car.rpm > 5500.0f && car.gear < 5) {
      down.push_back(kKeyShiftUp);
      sinceShift = 0;
    } else if (sinceShift > 40 && car.rpm < 2800.0f && car.gear > 1) {
      down.push_back(kKeyShiftDown);
      sinceShift = 0;
    }
    if (s > 2 * Oval::kHalfStraight && handbrakeTicks < 8) {
      down.push_back(kKeyHandbrake);
      handbrakeTicks += 1;
    }
    return down;
  }
};

// Ticks of `lap` with input bit `bit` (kGhostKeyCodes order) set, and the
// number of times it went down.
int ticksHeld(const GhostLap& lap, int bit, int& presses) {
  int held = 0;
  presses = 0;
  bool was = false;
  for (const GhostInput& in : lap.inputs) {
    bool now = (in.keys & (1u << bit)) != 0;
    held += now ? 1 : 0;
    presses += now && !was ? 1 : 0;
    was = now;
  }
  return held;
}

int ghostBit(int code) {
  for (int i = 0; i < kGhostKeyCount; ++i)
    if (kGhostKeyCodes[i] == code) return i;
  return -1;
}

// Every recorded lap so far came from the autopilot's analog stick and the
// automatic gearbox; the keyboard's steering integrator and the manual
// shifts are state the ghost file must carry as well.
TEST_F(GhostLapFile, KeyboardLapWithManualShiftsAndHandbrakeDrivesAgain) {
  seedRandom(kStartupSeed);
  PhWorld world;
  world.attachTree(tree);
  ScriptedInput source;
  InputDevice input(&source);
  PhCar* car = new PhCar();
  car->world = &world;
  car->input = &input;
  world.addBody(car);
  GameContext ctx;
  ctx.car = car;
  ctx.world = &world;
  ctx.input = &input;
  Ghosts ghosts;  // no folder: nothing is written
  ghosts.trackId = trackId;
  ghosts.tree = tree;
  ctx.ghosts = &ghosts;
  restartDrive(ctx, state);
  input.setAnalog(false);
  car->autoGearbox = false;

  KeyboardDriver driver;
  LapEvent lapEvent;
  for (int t = 0; t < 8000 && !lapEvent.completed; ++t) {
    for (int code = 0; code < 256; ++code) source.setKey(code, false);
    for (int code : driver.keys(*car)) source.setKey(code, true);
    lapEvent = Tick(ctx, state);
    ASSERT_FALSE(carIsLost(*car)) << "tick " << t;
  }
  delete car;
  ASSERT_TRUE(lapEvent.completed);
  ASSERT_TRUE(ghosts.haveLastLap);
  const GhostLap& lap = ghosts.lastLap;
  EXPECT_EQ(lap.lapTime, lapEvent.lapTime);
  EXPECT_EQ(lap.inputs.size(), lapEvent.lapTicks);
  for (const GhostInput& in : lap.inputs) ASSERT_EQ(in.flags, 0u);  // digital, manual, no turbo
  int presses = 0;
  EXPECT_GT(ticksHeld(lap, ghostBit(kKeyLeft), presses), 100);
  EXPECT_GT(presses, 10);
  EXPECT_GT(ticksHeld(lap, ghostBit(kKeyRight), presses), 0);
  ticksHeld(lap, ghostBit(kKeyShiftUp), presses);
  EXPECT_GE(presses, 2);
  ticksHeld(lap, ghostBit(kKeyShiftDown), presses);
  EXPECT_GE(presses, 1);
  EXPECT_EQ(ticksHeld(lap, ghostBit(kKeyHandbrake), presses), 8);
  EXPECT_NE(lap.start.steerRate, 0.0f);  // the integrator is mid-swing at the line

  GhostLap readBack;
  std::string why;
  std::vector<uint8_t> bytes = encodeGhost(lap);
  ASSERT_TRUE(parse(bytes, readBack, why)) << why;
  EXPECT_TRUE(verify(readBack, why)) << why;
}

// Counts the values of the car state that differ bit for bit between two cars.
struct StateDifference {
  int differing = 0;
  template <class T>
  void operator()(const T& a, const T& b) {
    if (std::memcmp(&a, &b, sizeof(T)) != 0) ++differing;
  }
};

// Tick t of a drive: the keyboard (throttle, steering swings, shifts up and
// down of the manual gearbox, the handbrake around tick 300) or the analog stick.
GhostInput scriptedTick(int t, bool analog) {
  GhostInput in;
  if (analog) {
    in.flags = kGhostAnalog | kGhostAutoGearbox;
    in.axes[0] = 0.4f * float(std::sin(t * 0.02));
    in.axes[1] = t % 200 < 150 ? -1.0f : 0.3f;
    return in;
  }
  auto hold = [&](int code) { in.keys |= 1u << ghostBit(code); };
  hold(kKeyThrottle);
  if (t % 120 < 50) hold(t % 240 < 120 ? kKeyLeft : kKeyRight);
  if (t == 60 || t == 180 || t == 296) hold(kKeyShiftUp);
  if (t == 420) hold(kKeyShiftDown);
  if (t >= 295 && t < 305) hold(kKeyHandbrake);
  return in;
}

// The state captured mid-drive (the wheel turning, a shift under way, the
// handbrake on) and put into a freshly built car drives on exactly as the
// car it came from: a value missing from the state shows as a difference.
TEST_F(GhostLapFile, StateCapturedMidDriveDrivesOnInAFreshCarByteForByte) {
  constexpr int kCaptureTick = 300;
  constexpr int kTicksAfter = 500;
  for (bool analog : {false, true}) {
    GhostCar original;
    original.world.attachTree(tree);
    original.car->current.position = state.startPosition + Vec3(0.0, 0.5, 0.0);
    original.car->current.orientation = yawPitchMat4(state.startHeading, 0.0f);
    original.car->SavePrevious();
    for (int t = 0; t < kCaptureTick; ++t) {
      applyGhostInput(scriptedTick(t, analog), original.input, *original.car);
      original.world.step();
    }
    GhostCar fresh;
    fresh.world.attachTree(tree);
    applyCarState(captureCarState(*original.car), *fresh.car);
    int firstDifference = -1;
    for (int t = kCaptureTick; t < kCaptureTick + kTicksAfter && firstDifference < 0; ++t) {
      GhostInput in = scriptedTick(t, analog);
      applyGhostInput(in, original.input, *original.car);
      applyGhostInput(in, fresh.input, *fresh.car);
      original.world.step();
      fresh.world.step();
      StateDifference difference;
      visitCarState(*original.car, *fresh.car, difference);
      if (difference.differing != 0) firstDifference = t;
    }
    EXPECT_EQ(firstDifference, -1) << (analog ? "analog" : "keyboard") << " drive";
    EXPECT_GT(length(original.car->current.velocity), 0.1) << "the car drove";
  }
}

// Each line of `text` without what follows its last comma (the delta column of
// a run against a ghost lap), and without the sector lines, whose split points
// follow the ghost lap.
std::string withoutTimingAids(const std::string& text, bool csv) {
  std::string out;
  size_t from = 0;
  while (from < text.size()) {
    size_t end = text.find('\n', from);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(from, end - from);
    if (csv) line = line.substr(0, line.rfind(','));
    if (line.rfind("sectors ", 0) != 0) out += line + "\n";
    from = end + 1;
  }
  return out;
}

TEST_F(GhostLapFile, RunnerWithTheGhostAlongsideWritesTheSameTelemetry) {
  // Three laps' worth, with the ghost of the first lap riding along each.
  writeFile(*dir + "/lap.ghost", std::string(file->begin(), file->end()));
  const std::string run = "--autopilot --ticks 8000 --telemetry ";
  ASSERT_EQ(runSim(*dir, run + "plain.csv"), 0) << readFile(*dir + "/err.txt");
  std::string plain = readFile(*dir + "/out.txt");
  ASSERT_EQ(runSim(*dir, run + "ghost.csv --ghost lap.ghost"), 0) << readFile(*dir + "/err.txt");
  std::string ghost = readFile(*dir + "/out.txt");

  std::string plainCsv = readFile(*dir + "/plain.csv");
  std::string ghostCsv = readFile(*dir + "/ghost.csv");
  EXPECT_EQ(ghostCsv.substr(0, ghostCsv.find('\n')), plainCsv.substr(0, plainCsv.find('\n')) + ",delta");
  EXPECT_EQ(withoutTimingAids(plainCsv, false), withoutTimingAids(ghostCsv, true));
  size_t at = ghost.find("ghost ticks: ");
  ASSERT_NE(at, std::string::npos) << ghost;
  EXPECT_GT(std::stol(ghost.substr(at + 13)), 1000) << ghost;
  EXPECT_EQ(withoutTimingAids(plain, false), withoutTimingAids(ghost.substr(0, at), false));
}

// Laps fed to the ghost bookkeeping as the lap timer reports them, without
// driving: which laps become the class's ghost, and when the ghost car shows.
struct LapFeed {
  Ghosts ghosts;  // no folder: nothing is written
  InputDevice input{nullptr};
  PhCar* car = new PhCar();
  BestTimes bestTimes;
  bool lapRunning = false;

  ~LapFeed() { delete car; }

  void tick(bool touch, float lastLap = 0.0f) {
    LapEvent event;
    event.started = touch;
    if (touch && lapRunning) {
      event.completed = true;
      event.lapTime = lastLap;
      event.newBest = offerLap(bestTimes, lastLap, LapClass::Plain) == firstPlaceOf(LapClass::Plain);
    }
    lapRunning = true;
    ghostsAfterTick(ghosts, input, *car, event);
  }
  void lap(float seconds, int ticks) {
    for (int k = 0; k < ticks - 1; ++k) tick(false);
    tick(true, seconds);
  }
};

// A ghost file is replaced only by a faster lap of its class, whatever the best
// times say: a second run, which never reads toptimes.dat, leaves a faster lap
// of the first run in place, and a faster one replaces a slower one.
TEST(GhostKeeping, OnlyAFasterLapReplacesTheFileAcrossRuns) {
  const std::string fast = kLapRun, slow = "--autopilot --manual --ticks 6000";
  std::string bytes[2];  // the file after the second run: fast then slow, slow then fast
  std::vector<double> laps[2];
  for (int order = 0; order < 2; ++order) {
    std::string dir = makeDataFolder();
    ASSERT_TRUE(writeOval(dir));
    ASSERT_EQ(runSim(dir, order == 0 ? fast : slow), 0) << readFile(dir + "/err.txt");
    laps[order] = lapTimes(readFile(dir + "/out.txt"));
    ASSERT_EQ(runSim(dir, order == 0 ? slow : fast), 0) << readFile(dir + "/err.txt");
    std::vector<double> second = lapTimes(readFile(dir + "/out.txt"));
    laps[order].insert(laps[order].end(), second.begin(), second.end());
    bytes[order] = readFile(dir + "/ghosts/best.ghost");
    removeDataFolder(dir);
  }
  ASSERT_FALSE(laps[0].empty());
  ASSERT_FALSE(laps[1].empty());
  // Both orders keep the same, faster lap: the autopilot's with the automatic gearbox.
  double fastest = *std::min_element(laps[0].begin(), laps[0].end());
  EXPECT_EQ(fastest, laps[0].front());
  EXPECT_GT(laps[1].front(), fastest);
  EXPECT_FALSE(bytes[0].empty());
  EXPECT_EQ(bytes[0], bytes[1]);
}

TEST(GhostBookkeeping, BestLapsBecomeTheGhostAndTheGhostShowsFromTheNextLapStart) {
  LapFeed feed;
  feed.bestTimes.entries[0] = 10.0f;  // an old record no lap here beats
  feed.tick(true);                          // the first touch starts a lap
  feed.lap(60.0f, 5);
  ASSERT_TRUE(feed.ghosts.haveBest[0]);     // the first lap of a class without a ghost
  EXPECT_EQ(feed.ghosts.best[0].lapTime, 60.0f);
  EXPECT_EQ(feed.ghosts.best[0].inputs.size(), 5u);
  feed.lap(61.0f, 6);                       // slower: the ghost stays
  EXPECT_EQ(feed.ghosts.best[0].lapTime, 60.0f);
  feed.lap(59.0f, 7);                       // faster than the ghost, not the record
  EXPECT_EQ(feed.ghosts.best[0].lapTime, 59.0f);
  EXPECT_EQ(feed.ghosts.best[0].inputs.size(), 7u);
  feed.bestTimes = BestTimes();             // the table lost: a new record, slower than the ghost
  feed.lap(62.0f, 4);
  EXPECT_EQ(feed.ghosts.best[0].lapTime, 59.0f);
  EXPECT_FALSE(feed.ghosts.haveBest[1]);
  EXPECT_FALSE(ghostVisible(feed.ghosts));

  // G shows it from the next lap start; recovery (or restart) takes it away.
  feed.input.keys[kKeyToggleGhost] = 0x80;
  handleGhostKey(feed.ghosts, feed.input);
  feed.input.keys[kKeyToggleGhost] = 0;
  handleGhostKey(feed.ghosts, feed.input);
  EXPECT_TRUE(feed.ghosts.shown);
  EXPECT_FALSE(ghostVisible(feed.ghosts));
  feed.lap(65.0f, 3);
  EXPECT_TRUE(ghostVisible(feed.ghosts));
  resetGhosts(feed.ghosts);
  EXPECT_FALSE(ghostVisible(feed.ghosts));
  EXPECT_FALSE(feed.ghosts.recorder.recording);
}

}  // namespace
