// Writes the seed corpus of fuzz_ghost into the folder given as the argument:
// short laps of a car standing on no track, with and without the turbo mark.
#include "game/laps/ghost_car.h"
#include "game/laps/ghost_file.h"
#include "vehicle/car.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr uint64_t kFuzzTrack = 0x5eed5eed5eed5eedull;

// A car dropped in a world without a track, driven for `ticks` ticks with
// the throttle and a little steering.
GhostLap lap(uint32_t ticks, bool turbo) {
  GhostCar ghost;
  PhCar& car = *ghost.car;
  car.current.position = Vec3(1.0, 0.5, -2.0);
  car.SavePrevious();
  GhostLap out;
  out.trackId = kFuzzTrack;
  out.lapClass = lapClassOf(turbo);
  out.start = captureCarState(car);
  for (uint32_t k = 0; k < ticks; ++k) {
    GhostInput in;
    in.keys = 1u << 1;
    in.flags = kGhostAutoGearbox | (turbo ? kGhostTurbo : 0u);
    in.axes[0] = 0.25f;
    applyGhostInput(in, ghost.input, car);
    ghost.world.step();
    out.inputs.push_back(in);
    out.poses.push_back(captureGhostPose(car));
  }
  out.lapTime = lapTimeOfTicks(ticks);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const GhostLap seeds[] = {lap(1, false), lap(3, true), lap(12, false)};
  int number = 0;
  for (const GhostLap& l : seeds) {
    std::string path = std::string(argv[1]) + "/seed" + std::to_string(number++) + ".ghost";
    std::string why;
    if (!saveGhost(path.c_str(), l, why)) {
      std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), why.c_str());
      return 1;
    }
  }
  return 0;
}
