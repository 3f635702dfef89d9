#include "tools/sim/sim_world.h"

#include "app/files.h"
#include "game/laps.h"
#include "game/laps/ghost_files.h"
#include "game/startup_models.h"
#include "game/update.h"
#include "physics/random.h"

namespace {

// Why a mesh did not load, for the runner's one line: the loader only logs it.
std::string meshFailure(const std::string& path) {
  std::vector<unsigned char> bytes;
  std::string why;
  RMDMesh mesh;
  if (readWholeFile(path.c_str(), kMaxRmdFileBytes, bytes, why)) parseRmd(bytes.data(), bytes.size(), mesh, why);
  return why;
}

}  // namespace

SimWorld::~SimWorld() {
  delete car;
  destroyQuadtree(tree);
}

bool openSimWorld(const std::string& dir, SimWorld& sim, std::string& why) {
  std::string failedPath;
  if (!loadTrackWithCollision(dir + "\\", sim.track, sim.world, sim.tree, failedPath)) {
    why = "cannot load the track " + platformPath(failedPath.c_str()) + ": " + meshFailure(failedPath);
    return false;
  }

  std::string propPath = dir + "\\data\\trees.prp";
  PropFile props;
  if (readPropFile(propPath.c_str(), props)) {
    sim.state.startPosition = props.startPosition;
    sim.state.startHeading = props.startHeading;
  }

  seedRandom(kStartupSeed);
  sim.car = new PhCar();
  sim.car->world = &sim.world;
  sim.car->input = &sim.input;
  sim.replayPath = dir + "\\replay.vlr";
  sim.car->replayPath = sim.replayPath.c_str();
  sim.world.addBody(sim.car);

  sim.ctx.car = sim.car;
  sim.ctx.world = &sim.world;
  sim.ctx.input = &sim.input;
  computeStartLine(sim.state);
  std::string trackPath = dir + "\\data\\models\\track1.rmd";
  openGhosts(sim.ghosts, dir + "\\ghosts", trackIdentityOfFile(trackPath.c_str()), sim.tree, sim.state);
  loadGhostFiles(sim.ghosts, sim.state, dir + "\\");
  sim.ctx.ghosts = &sim.ghosts;
  restartDrive(sim.ctx, sim.state);
  return true;
}

