#include "tools/datagen/data_set.h"
#include "tools/datagen/generator.h"
#include "tools/datagen/top_view.h"
#include "tools/datagen/track_model.h"
#include "tools/datagen/track_props.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int usage() {
  std::fprintf(stderr, "usage: stravo-datagen [--seed N] DIR   (writes DIR/data/...)\n"
                       "       stravo-datagen --version\n"
                       "       stravo-datagen [--seed N] --top-view FILE.tga\n");
  return 2;
}

// A seed is a whole number 0..4294967295.
bool parseSeed(const char* text, uint32_t& seed) {
  if (*text < '0' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  unsigned long long v = std::strtoull(text, &end, 10);
  if (errno != 0 || *end != '\0' || v > 0xffffffffull) return false;
  seed = uint32_t(v);
  return true;
}

}  // namespace

// stravo-datagen DIR: writes the demo data set into DIR/data/.
// stravo-datagen --seed N DIR: the same with the circuit that seed N gives.
// stravo-datagen --version: prints the generator's version number.
// stravo-datagen --top-view FILE.tga: draws a map of the track for checking it by eye.
int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%d\n", kGeneratorVersion);
    return 0;
  }
  CircuitChoice circuit;
  int next = 1;
  if (argc >= 3 && std::strcmp(argv[1], "--seed") == 0) {
    if (!parseSeed(argv[2], circuit.seed)) {
      std::fprintf(stderr, "stravo-datagen: --seed needs a whole number 0..4294967295\n");
      return usage();
    }
    circuit.seeded = true;
    next = 3;
  }
  if (argc == next + 2 && std::strcmp(argv[next], "--top-view") == 0) {
    TrackLayout layout = buildTrackLayout(circuit);
    Image map = renderTopView(buildTrackModel(layout), layout, placeTrees(layout), 1024);
    DataSetWriter writer;
    writer.root = ".";
    return writeDataFile(writer, argv[next + 1], encodeTga(map, 24)) ? 0 : 1;
  }
  if (argc != next + 1 || argv[next][0] == '-') return usage();
  auto start = std::chrono::steady_clock::now();
  GenerationReport report;
  std::string why;
  if (!generateDataSet(argv[next], circuit, report, why)) {
    std::fprintf(stderr, "stravo-datagen: %s\n", why.c_str());
    return 1;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("stravo-datagen: %d files, %.1f MB in %.2f s; track %.0f m, %d triangles, %d trees",
              report.filesWritten, double(report.bytesWritten) / 1e6, seconds, report.trackLength,
              report.trackTriangles, report.trees);
  if (circuit.seeded) std::printf("; seed %u, candidate %d", circuit.seed, report.candidate);
  std::printf("\n");
  return 0;
}
