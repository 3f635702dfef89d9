#include "tools/datagen/data_set.h"
#include "tools/datagen/generator.h"
#include "tools/datagen/top_view.h"
#include "tools/datagen/track_model.h"

#include <chrono>
#include <cstdio>
#include <cstring>

// stravo-datagen DIR: writes the demo data set into DIR/data/.
// stravo-datagen --version: prints the generator's version number.
// stravo-datagen --top-view FILE.tga: draws a map of the track for checking it by eye.
int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%d\n", kGeneratorVersion);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--top-view") == 0) {
    TrackLayout layout = buildTrackLayout();
    Image map = renderTopView(buildTrackModel(layout), layout, placeTrees(layout), 1024);
    DataSetWriter writer;
    writer.root = ".";
    return writeDataFile(writer, argv[2], encodeTga(map, 24)) ? 0 : 1;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: stravo-datagen DIR   (writes DIR/data/...)\n"
                         "       stravo-datagen --version\n"
                         "       stravo-datagen --top-view FILE.tga\n");
    return 2;
  }
  auto start = std::chrono::steady_clock::now();
  GenerationReport report;
  std::string why;
  if (!generateDataSet(argv[1], report, why)) {
    std::fprintf(stderr, "stravo-datagen: %s\n", why.c_str());
    return 1;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("stravo-datagen: %d files, %.1f MB in %.2f s; track %.0f m, %d triangles, %d trees\n",
              report.filesWritten, double(report.bytesWritten) / 1e6, seconds, report.trackLength,
              report.trackTriangles, report.trees);
  return 0;
}
