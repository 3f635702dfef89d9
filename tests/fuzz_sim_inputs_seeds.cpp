// Writes a seed corpus for fuzz_sim_inputs into the folder named by argv[1]:
// one well-formed input script, prop file and centre line.

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

void writeSeed(const std::string& path, char selector, const std::string& body) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  std::fputc(selector, f);
  std::fwrite(body.data(), 1, body.size(), f);
  std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  std::string dir = argv[1];
  writeSeed(dir + "/script", 0,
            "# drive\n0 Up down\n10 analog on\n12 axis0 -500\n20 axis1 1000\n30 Up up\n");

  std::string prop;
  double start[3] = {-71.0, 0.5, 133.0}, tree[3] = {10.0, 0.0, 20.0};
  float heading = 170.0f;
  int32_t count = 1;
  prop.append(reinterpret_cast<const char*>(start), sizeof(start));
  prop.append(reinterpret_cast<const char*>(&heading), 4);
  prop.append(reinterpret_cast<const char*>(&count), 4);
  prop.append(reinterpret_cast<const char*>(tree), sizeof(tree));
  prop.append(reinterpret_cast<const char*>(&heading), 4);
  writeSeed(dir + "/props", 1, prop);

  std::string line;
  for (int i = 0; i < 16; ++i) {
    char row[64];
    std::snprintf(row, sizeof(row), "%.3f 0.0 %.3f\n", 20.0 * std::cos(i * 0.3927), 20.0 * std::sin(i * 0.3927));
    line += row;
  }
  writeSeed(dir + "/line", 2, line);
  return 0;
}
