#include "tools/icon/icon_picture.h"
#include "tools/icon/png_file.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The largest icon the hicolor theme has a folder for.
constexpr int kMaxSize = 1024;

bool writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

// stravo-icon DIR NAME SIZE...: writes the icon as DIR/SIZExSIZE/apps/NAME.png for
// each size, the layout of an icon theme such as hicolor.
int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: stravo-icon DIR NAME SIZE...   (writes DIR/SIZExSIZE/apps/NAME.png)\n");
    return 2;
  }
  for (int i = 3; i < argc; ++i) {
    int size = std::atoi(argv[i]);
    if (size < 1 || size > kMaxSize) {
      std::fprintf(stderr, "stravo-icon: '%s' is not a size from 1 to %d\n", argv[i], kMaxSize);
      return 2;
    }
    std::string side = std::to_string(size);
    std::filesystem::path path = std::filesystem::path(argv[1]) / (side + "x" + side) / "apps" / (std::string(argv[2]) + ".png");
    std::vector<uint8_t> png;
    std::string why;
    if (!encodePng(drawIcon(size), png, why) || !writeFile(path, png)) {
      std::fprintf(stderr, "stravo-icon: cannot write %s %s\n", path.c_str(), why.c_str());
      return 1;
    }
  }
  return 0;
}
