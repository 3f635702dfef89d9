#include "tools/sim/sim_world.h"

#include "app/files.h"
#include "physics/random.h"
#include "physics/track_collision.h"

namespace {

// The shared generator's seed at start-up, before the car draws its noise table.
constexpr uint32_t kStartupSeed = 345;

}  // namespace

SimWorld::~SimWorld() {
  delete car;
  destroyQuadtree(tree);
}

bool openSimWorld(const std::string& dir, SimWorld& sim, std::string& why) {
  std::string trackPath = dir + "\\data\\models\\track1.rmd";
  if (!sim.track.Load(trackPath.c_str())) {
    why = "cannot load the track " + platformPath(trackPath.c_str());
    return false;
  }
  sim.tree = buildTrackQuadtree(sim.track);
  if (sim.tree == nullptr) {
    why = "cannot build the collision tree of " + platformPath(trackPath.c_str());
    return false;
  }
  sim.world.attachTree(sim.tree);

  std::string propPath = dir + "\\data\\trees.prp";
  readPropFile(propPath.c_str(), sim.props);

  seedRandom(kStartupSeed);
  sim.car = new PhCar();
  sim.car->world = &sim.world;
  sim.car->input = &sim.input;
  sim.replayPath = dir + "\\replay.vlr";
  sim.car->replayPath = sim.replayPath.c_str();
  sim.world.addBody(sim.car);
  placeAtStart(sim);
  return true;
}

void placeAtStart(SimWorld& sim) {
  PhCar& car = *sim.car;
  car.current.position = restartPosition(sim.props.startPosition, sim.props.startHeading);
  car.current.velocity = Vec3(0.0, 0.0, 0.0);
  car.current.orientation = yawPitchMat4(sim.props.startHeading, 0.0f);
  car.current.angularStep = identityMat4();
  car.SavePrevious();
  car.reset();
}
