// Writes the seed corpus of fuzz_tga into the folder given as the argument:
// 24- and 32-bit images, one with an ID field, and a run-length encoded one.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> image(int type, int width, int height, int depth, int idLength) {
  std::vector<uint8_t> file(18, 0);
  file[0] = uint8_t(idLength);
  file[2] = uint8_t(type);
  file[12] = uint8_t(width);
  file[14] = uint8_t(height);
  file[16] = uint8_t(depth);
  file.resize(18 + idLength + size_t(width) * height * (depth / 8), 0x5a);
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const std::vector<uint8_t> seeds[] = {image(2, 2, 1, 24, 0), image(2, 3, 2, 32, 0), image(2, 1, 1, 24, 5),
                                        image(10, 2, 2, 24, 0)};
  int n = 0;
  for (const std::vector<uint8_t>& seed : seeds) {
    std::string path = std::string(argv[1]) + "/seed" + std::to_string(n++) + ".tga";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 1;
    std::fwrite(seed.data(), 1, seed.size(), f);
    std::fclose(f);
  }
  return 0;
}
