#include "generated_data_set.h"
#include "tools/datagen/generator.h"
#include "tools/datagen/materials.h"
#include "tools/datagen/shaders.h"

#include "app/files.h"
#include "game/prop_file.h"
#include "render/material_script.h"
#include "render/material_tables.h"
#include "render/rmd_mesh.h"
#include "physics/vec3.h"
#include "render/tga.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr double kSizeTol = 0.05;   // m, model dimensions
constexpr double kWheelTol = 0.002; // m, the tyre radius the physics uses
constexpr float kFloatTol = 1e-4f;
constexpr double kSliverArea = 1e-3;  // m^2
constexpr double kDegrees = 3.14159265358979323846 / 180.0;

// One data set generated for the whole suite, read from inside its folder so
// the program's own paths (and the loader's path-selected corrections) apply.
class DataSet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string why;
    ASSERT_TRUE(dataSet_.enter(why)) << why;
  }
  static void TearDownTestSuite() { dataSet_.leave(); }
  static std::vector<unsigned char> read(const std::string& path) {
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(readWholeFile(path.c_str(), std::max(kMaxRmdFileBytes, kMaxTgaFileBytes), bytes)) << path;
    return bytes;
  }
  static RMDMesh load(const char* path) {
    RMDMesh mesh;
    EXPECT_TRUE(mesh.Load(path)) << path;
    return mesh;
  }
  static GeneratedDataSet dataSet_;
};
GeneratedDataSet DataSet::dataSet_;

struct Box {
  double lo[3] = {1e30, 1e30, 1e30}, hi[3] = {-1e30, -1e30, -1e30};
};

Box boundsOf(const RMDMesh& mesh, int material = -1) {
  Box b;
  auto add = [&](int v) {
    for (int k = 0; k < 3; ++k) {
      b.lo[k] = std::min(b.lo[k], double(mesh.positions[size_t(v * 3 + k)]));
      b.hi[k] = std::max(b.hi[k], double(mesh.positions[size_t(v * 3 + k)]));
    }
  };
  if (material < 0) {
    for (int v = 0; v < mesh.vertexCount; ++v) add(v);
  } else {
    for (int32_t v : mesh.triangleIndices[size_t(material)]) add(v);
  }
  return b;
}

// Records what the scripts ask for instead of loading it.
class RecordingHost : public ScriptHost {
 public:
  std::set<std::string> textures, shaders, uniforms;
  int cubemaps = 0;
  Texture* GetTexture(const char* path) override {
    textures.insert(path);
    return reinterpret_cast<Texture*>(&marker_);
  }
  ShaderProgram* GetShader(const char* path) override {
    shaders.insert(path);
    return reinterpret_cast<ShaderProgram*>(&marker_);
  }
  int GetUniformLocation(ShaderProgram*, const char* name) override {
    uniforms.insert(name);
    return 1;
  }
  void CreateDynamicCubemap(int) override { cubemaps += 1; }

 private:
  int marker_ = 0;
};

bool isPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

const char* const kModelPaths[] = {"data\\models\\evo.rmd",   "data\\models\\hwheel.rmd",
                                   "data\\models\\cone.rmd",  "data\\models\\tree1.rmd",
                                   "data\\models\\track1.rmd", "data\\models\\skydome.rmd"};

}  // namespace

TEST_F(DataSet, EveryModelLoadsWithAtMostSixMaterialsAndAScriptForEach) {
  for (const char* path : kModelPaths) {
    RMDMesh mesh = load(path);
    EXPECT_GE(mesh.materialCount, 1) << path;
    EXPECT_LE(mesh.materialCount, 6) << path;
    for (const std::string& name : mesh.materialNames)
      EXPECT_TRUE(fs::exists(platformPath(("data\\materials\\" + name + ".txt").c_str()))) << name;
  }
  for (const char* name : {"skidmark", "carshadow"})
    EXPECT_TRUE(fs::exists(platformPath((std::string("data\\materials\\") + name + ".txt").c_str())));
}

TEST_F(DataSet, CarBodyIsASaloonStandingOnItsWheelsAfterTheLoaderTurnsIt) {
  RMDMesh body = load("data\\models\\evo.rmd");
  Box b = boundsOf(body);
  const double ground = -0.397;  // body frame, springs settled
  EXPECT_NEAR(b.hi[2] - b.lo[2], 4.1, kSizeTol + 0.02);
  EXPECT_NEAR(b.hi[1] - ground, 1.4, kSizeTol);
  EXPECT_NEAR(b.lo[1] - ground, 0.15, 0.03);
  EXPECT_NEAR(b.lo[2] + b.hi[2], 0.0, 0.1);
  // The body's width away from the door mirrors, which stand out beyond it.
  double halfWidth = 0.0;
  for (int v = 0; v < body.vertexCount; ++v)
    if (std::fabs(body.positions[size_t(v * 3 + 2)] + 0.6) > 0.2)
      halfWidth = std::max(halfWidth, std::fabs(double(body.positions[size_t(v * 3)])));
  EXPECT_NEAR(2.0 * halfWidth, 1.78, kSizeTol);
  EXPECT_GT(b.hi[0] - b.lo[0], 2.0 * halfWidth + 0.1);
  // Forward is -z: the headlights must end up at the front once turned.
  int lights = body.FindMaterial("evo_lights");
  ASSERT_GE(lights, 0);
  Box l = boundsOf(body, lights);
  EXPECT_LT(l.lo[2], -2.0);
  EXPECT_GT(l.hi[2], 2.0);
  // The windows are above the waist.
  Box glass = boundsOf(body, body.FindMaterial("evo_glass"));
  EXPECT_GT(glass.lo[1] - ground, 0.75);
  // The wheels at rest turn freely inside their arches.
  for (int v = 0; v < body.vertexCount; ++v) {
    double x = body.positions[size_t(v * 3)], y = body.positions[size_t(v * 3 + 1)];
    double z = body.positions[size_t(v * 3 + 2)];
    if (std::fabs(std::fabs(x) - 0.75) > 0.11) continue;
    for (double axle : {-1.17, 1.17})
      EXPECT_GT(std::hypot(y - (-0.126), z - axle), 0.271 + 0.02) << "vertex " << v;
  }
}

namespace {

Vec3 vertexAt(const std::vector<float>& a, int32_t v) {
  return Vec3(a[size_t(v * 3)], a[size_t(v * 3 + 1)], a[size_t(v * 3 + 2)]);
}

}  // namespace

// Every corner's normal leans the way its triangle faces (no face is wound
// inside out, no smoothing bends over an edge); panels share their corners,
// and hard edges keep one vertex per side.
TEST_F(DataSet, CarNormalsAreSmoothOverPanelsAndSplitAtHardEdges) {
  for (const char* path : {"data\\models\\evo.rmd", "data\\models\\hwheel.rmd"}) {
    RMDMesh mesh = load(path);
    int triangles = 0;
    for (int m = 0; m < mesh.materialCount; ++m) {
      const std::vector<int32_t>& idx = mesh.triangleIndices[size_t(m)];
      for (size_t t = 0; t + 2 < idx.size(); t += 3) {
        Vec3 a = vertexAt(mesh.positions, idx[t]), b = vertexAt(mesh.positions, idx[t + 1]);
        Vec3 c = vertexAt(mesh.positions, idx[t + 2]);
        Vec3 face = cross(b - a, c - a);
        // Slivers under 10 cm^2 where the arches cut into the sides may fold.
        if (length(face) < 2.0 * kSliverArea) continue;
        face = normalized(face);
        for (int k = 0; k < 3; ++k) {
          Vec3 n = vertexAt(mesh.normals, idx[t + size_t(k)]);
          EXPECT_NEAR(length(n), 1.0, 1e-3) << path;
          EXPECT_GT(dot(n, face), 0.3) << path << " material " << mesh.materialNames[size_t(m)] << " triangle " << t / 3;
        }
      }
      triangles += mesh.triangleCounts[size_t(m)];
    }
    // A smooth loft shares most corners; a faceted one would need three vertices a triangle.
    EXPECT_LT(mesh.vertexCount, triangles * 3 / 2) << path;
    std::map<std::tuple<float, float, float>, std::set<std::tuple<float, float, float>>> normalsAt;
    for (int v = 0; v < mesh.vertexCount; ++v) {
      Vec3 p = vertexAt(mesh.positions, v), n = vertexAt(mesh.normals, v);
      normalsAt[{float(p.x), float(p.y), float(p.z)}].insert({float(n.x), float(n.y), float(n.z)});
    }
    int split = 0;
    for (const auto& entry : normalsAt) split += entry.second.size() > 1;
    EXPECT_GT(split, 50) << path;
  }
}

// The bumper camera sits inside the closed body: every face it can see from
// there must be a back face, or the player looks at a panel turned inside out.
TEST_F(DataSet, BumperCameraInsideTheBodySeesOnlyBackFaces) {
  RMDMesh body = load("data\\models\\evo.rmd");
  const Vec3 eye(0.0, 0.09, -1.5);  // body frame, as the bumper camera stands
  int frontFacing = 0;
  for (int row = 0; row < 24; ++row) {
    for (int col = 0; col < 32; ++col) {
      // Through the 45-degree view with a 4:3 picture, looking forward (-z).
      double up = std::tan(22.5 * kDegrees) * ((row + 0.5) / 12.0 - 1.0);
      double across = std::tan(22.5 * kDegrees) * 4.0 / 3.0 * ((col + 0.5) / 16.0 - 1.0);
      Vec3 dir(across, up, -1.0);
      bool seen = false;
      for (int m = 0; m < body.materialCount; ++m) {
        const std::vector<int32_t>& idx = body.triangleIndices[size_t(m)];
        for (size_t t = 0; t + 2 < idx.size(); t += 3) {
          Vec3 a = vertexAt(body.positions, idx[t]), b = vertexAt(body.positions, idx[t + 1]);
          Vec3 c = vertexAt(body.positions, idx[t + 2]);
          Vec3 e1 = b - a, e2 = c - a, h = cross(dir, e2);
          double det = dot(e1, h);
          if (std::fabs(det) < 1e-12) continue;
          Vec3 s0 = eye - a;
          double u = dot(s0, h) / det;
          Vec3 q = cross(s0, e1);
          double v = dot(dir, q) / det, hit = dot(e2, q) / det;
          // Back faces are culled, so they hide nothing behind them.
          if (u >= 0.0 && v >= 0.0 && u + v <= 1.0 && hit > 0.0 && dot(cross(e1, e2), dir) < 0.0) seen = true;
        }
      }
      frontFacing += seen;
    }
  }
  EXPECT_EQ(frontFacing, 0);
}

TEST_F(DataSet, CarAndWheelsStayWithinTheTriangleBudget) {
  auto triangles = [](const RMDMesh& mesh) {
    int n = 0;
    for (int m = 0; m < mesh.materialCount; ++m) n += mesh.triangleCounts[size_t(m)];
    return n;
  };
  int body = triangles(load("data\\models\\evo.rmd"));
  int wheel = triangles(load("data\\models\\hwheel.rmd"));
  EXPECT_GT(body, 2000);  // a shaped body, not a box
  EXPECT_LT(body + 4 * wheel, 12000);
}

TEST_F(DataSet, WheelHasThePhysicsRadiusAfterScaling) {
  RMDMesh wheel = load("data\\models\\hwheel.rmd");
  double radius = 0.0;
  Box b = boundsOf(wheel);
  for (int v = 0; v < wheel.vertexCount; ++v)
    radius = std::max(radius, std::hypot(double(wheel.positions[size_t(v * 3 + 1)]) - 0.01,
                                         double(wheel.positions[size_t(v * 3 + 2)])));
  EXPECT_NEAR(radius, 0.271, kWheelTol);
  EXPECT_NEAR(b.hi[0] - b.lo[0], 0.205, 0.01);
  EXPECT_GE(wheel.FindMaterial("wheel_tyre"), 0);
  EXPECT_GE(wheel.FindMaterial("wheel_rim"), 0);
  // The brake disc sits inside the rim, between its two faces.
  int disc = wheel.FindMaterial("wheel_disc");
  ASSERT_GE(disc, 0);
  Box d = boundsOf(wheel, disc);
  EXPECT_LT(d.hi[0] - d.lo[0], 0.1);
  EXPECT_GT(d.hi[1] - d.lo[1], 0.25);
  EXPECT_LT(d.hi[1] - d.lo[1], 2.0 * (0.271 - 0.085));
}

TEST_F(DataSet, ConeTreeAndSkyStandWhereTheGamePutsThem) {
  Box cone = boundsOf(load("data\\models\\cone.rmd"));
  EXPECT_NEAR(cone.lo[1], -0.25, 1e-3);  // placed 0.25 m above the road
  EXPECT_NEAR(cone.hi[1] - cone.lo[1], 0.72, kSizeTol);

  RMDMesh tree = load("data\\models\\tree1.rmd");
  Box t = boundsOf(tree);
  EXPECT_NEAR(t.lo[1], 0.0, kFloatTol);
  // One material, one draw a tree; below the crown only the trunk, on the tree's axis.
  EXPECT_EQ(tree.materialCount, 1);
  Box trunk;
  for (int v = 0; v < tree.vertexCount; ++v) {
    if (tree.positions[size_t(v * 3 + 1)] > 2.0f) continue;
    for (int k = 0; k < 3; ++k) {
      trunk.lo[k] = std::min(trunk.lo[k], double(tree.positions[size_t(v * 3 + k)]));
      trunk.hi[k] = std::max(trunk.hi[k], double(tree.positions[size_t(v * 3 + k)]));
    }
  }
  EXPECT_NEAR(0.5 * (trunk.lo[0] + trunk.hi[0]), 0.0, 0.05);
  EXPECT_NEAR(0.5 * (trunk.lo[2] + trunk.hi[2]), 0.0, 0.05);
  EXPECT_LT(trunk.hi[0] - trunk.lo[0], 0.7);
  EXPECT_GT(t.hi[1], 8.0);

  // The dome must enclose the camera beyond the ground and inside the far plane.
  RMDMesh sky = load("data\\models\\skydome.rmd");
  Box s = boundsOf(sky);
  EXPECT_LT(s.lo[1], -20.0);
  EXPECT_GT(s.hi[1], 300.0);
  for (int v = 0; v < sky.vertexCount; ++v) {
    double d = std::sqrt(double(sky.positions[size_t(v * 3)]) * sky.positions[size_t(v * 3)] +
                         double(sky.positions[size_t(v * 3 + 1)]) * sky.positions[size_t(v * 3 + 1)] +
                         double(sky.positions[size_t(v * 3 + 2)]) * sky.positions[size_t(v * 3 + 2)]);
    ASSERT_GT(d, 350.0);
    ASSERT_LT(d, 1800.0);
  }
}

TEST_F(DataSet, TexturesAreUncompressedPowerOfTwoTgaAndCubeFacesMatch) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("data/textures")) {
    std::vector<unsigned char> bytes = read(entry.path().string());
    TgaImage image;
    std::string why;
    ASSERT_TRUE(parseTga(bytes.data(), bytes.size(), image, why)) << entry.path() << ": " << why;
    EXPECT_TRUE(isPowerOfTwo(image.width) && isPowerOfTwo(image.height)) << entry.path();
    count += 1;
  }
  EXPECT_GE(count, 20);
  const char* faces[6] = {"xp", "xn", "yp", "yn", "zp", "zn"};
  for (const char* f : faces) {
    std::vector<unsigned char> bytes = read(std::string("data/textures/env") + f + ".tga");
    TgaImage image;
    std::string why;
    ASSERT_TRUE(parseTga(bytes.data(), bytes.size(), image, why));
    EXPECT_EQ(image.bytesPerPixel, 3);
    EXPECT_EQ(image.width, image.height);
  }
}

TEST_F(DataSet, OverlayPicturesFitTheirQuads) {
  std::map<std::string, TgaImage> hud;
  for (const char* name : {"numbers", "menu", "menu_onoff", "info"}) {
    std::vector<unsigned char> bytes = read(std::string("data/textures/") + name + ".tga");
    std::string why;
    ASSERT_TRUE(parseTga(bytes.data(), bytes.size(), hud[name], why)) << name;
    EXPECT_EQ(hud[name].bytesPerPixel, 4) << name;  // drawn with alpha blending
  }
  // Sixteen square glyphs side by side; each digit cell holds some ink, the last four none.
  const TgaImage& numbers = hud["numbers"];
  EXPECT_EQ(numbers.width, numbers.height * 16);
  const int cell = numbers.height;
  for (int g = 0; g < 16; ++g) {
    int ink = 0;
    for (int y = 0; y < cell; ++y)
      for (int x = g * cell; x < (g + 1) * cell; ++x) ink += numbers.pixels[size_t((y * numbers.width + x) * 4 + 3)] > 128;
    if (g < 12)
      EXPECT_GT(ink, 20) << "glyph " << g;
    else
      EXPECT_EQ(ink, 0) << "glyph " << g;
  }
  // ON and OFF each fill one square half of the switch picture.
  EXPECT_EQ(hud["menu_onoff"].width, 2 * hud["menu_onoff"].height);
}

TEST_F(DataSet, TablesGiveEveryOpcodeAndScriptsUseOnlyWhatExists) {
  std::vector<unsigned char> commands = read("data/materials/commands.txt");
  std::vector<unsigned char> constants = read("data/materials/constants.txt");
  MaterialTables tables;
  std::string why;
  ASSERT_TRUE(parseCommandTable(commands.data(), commands.size(), tables, why)) << why;
  ASSERT_TRUE(parseConstantTable(constants.data(), constants.size(), tables, why)) << why;
  const char* names[12] = {"Color",     "Blend",     "Draw",      "ZPass",     "UseTexture", "UseShader",
                           "ZWrite",    "Uniform1f", "Uniform4f", "UseDynamicTexture", "CubemapSection",
                           "AlphaTest"};
  for (int op = 0; op < 12; ++op) EXPECT_EQ(tables.FindCommand(names[op]), op) << names[op];
  EXPECT_STREQ(tables.SubstituteConstant("BLEND_DARKEN"), "3");

  std::map<std::string, std::string> shaderText;
  for (const ShaderPair& s : buildShaders()) shaderText["data\\shaders\\" + s.name + ".vs"] = s.vertex + s.fragment;
  for (const MaterialFile& m : buildMaterialScripts()) {
    std::vector<unsigned char> bytes = read("data/materials/" + m.name + ".txt");
    RecordingHost host;
    MaterialScript script;
    compileMaterialScript(bytes.data(), bytes.size(), tables, host, 1, script);
    // Every line that is not a comment compiles to one command: no keyword is unknown.
    int lines = 0;
    for (size_t at = 0; at < m.script.size(); at = m.script.find('\n', at) + 1) lines += m.script[at] != '/';
    EXPECT_EQ(script.commands.size(), lines) << m.name;
    int draws = 0;
    for (MaterialCommand* c : script.commands) draws += c->opcode == kOpDraw;
    EXPECT_EQ(draws, 1) << m.name;
    for (const std::string& t : host.textures) {
      std::string path = t;
      if (path.size() >= 6 && path.compare(path.size() - 6, 2, "cm") == 0) path.replace(path.size() - 6, 2, "xp");
      EXPECT_TRUE(fs::exists(platformPath(path.c_str()))) << m.name << ": " << t;
    }
    for (const std::string& s : host.shaders) {
      std::string fragment = s;
      fragment[fragment.size() - 2] = 'f';
      EXPECT_TRUE(fs::exists(platformPath(s.c_str()))) << s;
      EXPECT_TRUE(fs::exists(platformPath(fragment.c_str()))) << fragment;
      for (const std::string& u : host.uniforms) EXPECT_NE(shaderText[s].find(u), std::string::npos) << m.name << ": " << u;
    }
  }
}

TEST_F(DataSet, PropFileGivesTheStartAndTheTrees) {
  std::vector<unsigned char> bytes = read("data/trees.prp");
  PropFile props;
  std::string why;
  ASSERT_TRUE(parsePropFile(bytes.data(), bytes.size(), props, why)) << why;
  EXPECT_GE(props.declaredCount, 150);
  EXPECT_EQ(int(props.props.size()), props.declaredCount);
  EXPECT_NEAR(props.startHeading, 90.0f, 1e-4f);
}

namespace {

struct Wave {
  std::vector<int16_t> samples;
  SDL_AudioSpec format;
};

Wave loadWave(const std::string& path) {
  Wave w{};
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  EXPECT_NE(SDL_LoadWAV(path.c_str(), &w.format, &buffer, &length), nullptr) << path << ": " << SDL_GetError();
  if (buffer == nullptr) return w;
  w.samples.resize(length / 2);
  std::memcpy(w.samples.data(), buffer, length);
  SDL_FreeWAV(buffer);
  return w;
}

// The jump from the last sample back to the first, against the sound's own
// steps: a seamless loop wraps with a step like any other.
bool wrapsSeamlessly(const std::vector<int16_t>& s) {
  std::vector<int> steps;
  for (size_t i = 1; i < s.size(); ++i) steps.push_back(std::abs(int(s[i]) - int(s[i - 1])));
  std::sort(steps.begin(), steps.end());
  int typical = steps[steps.size() * 99 / 100];
  return std::abs(int(s.front()) - int(s.back())) <= typical;
}

// Correlation of the signal with itself `lag` samples later, around the loop.
double loopCorrelation(const std::vector<int16_t>& s, size_t lag) {
  double num = 0.0, den = 0.0;
  for (size_t i = 0; i < s.size(); ++i) {
    num += double(s[i]) * s[(i + lag) % s.size()];
    den += double(s[i]) * s[i];
  }
  return num / den;
}

}  // namespace

TEST_F(DataSet, SoundsAreMono16BitLoopsAtTheNativeRate) {
  const char* loops[] = {"engine_porschehigh2c", "engine_porschelow2c", "turbohiss", "enginenoise",
                         "skid", "gskid2", "wind"};
  for (const char* name : loops) {
    Wave w = loadWave(std::string("data/audio/") + name + ".wav");
    ASSERT_GT(w.samples.size(), 20000u) << name;
    EXPECT_EQ(w.format.freq, 44100) << name;
    EXPECT_EQ(w.format.channels, 1) << name;
    EXPECT_EQ(w.format.format, AUDIO_S16LSB) << name;
    EXPECT_TRUE(wrapsSeamlessly(w.samples)) << name;
  }
  // The blow-off is played once: it starts and ends in silence.
  Wave vent = loadWave("data/audio/vent2.wav");
  ASSERT_GT(vent.samples.size(), 1000u);
  EXPECT_LT(std::abs(int(vent.samples.front())), 200);
  EXPECT_LT(std::abs(int(vent.samples.back())), 600);
}

TEST_F(DataSet, EngineLayersRepeatWithTheFiringOfA5250RpmFourCylinder) {
  // 44100 / 252 = 175 firings a second: two a revolution at 5250 rpm, where
  // the game plays the layers at their native rate (rpm x 8.4 + 100 Hz).
  for (const char* name : {"engine_porschehigh2c", "engine_porschelow2c"}) {
    Wave w = loadWave(std::string("data/audio/") + name + ".wav");
    EXPECT_GT(loopCorrelation(w.samples, 252), 0.6) << name;
    EXPECT_LT(loopCorrelation(w.samples, 126), loopCorrelation(w.samples, 252)) << name;
  }
}

TEST_F(DataSet, TwoRunsWriteIdenticalBytesAndTheVersionStamp) {
  char pattern[] = "/tmp/stravo_datagen_again_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::string again = pattern;
  GenerationReport report;
  std::string why;
  ASSERT_TRUE(generateDataSet(again, report, why)) << why;
  int compared = 0;
  for (const auto& entry : fs::recursive_directory_iterator("data")) {
    if (!entry.is_regular_file()) continue;
    std::vector<unsigned char> mine = read(entry.path().string());
    std::vector<unsigned char> theirs = read((fs::path(again) / entry.path()).string());
    EXPECT_TRUE(mine == theirs) << entry.path();
    compared += 1;
  }
  EXPECT_EQ(compared, report.filesWritten);
  std::vector<unsigned char> stamp = read("data/datagen.version");
  EXPECT_EQ(std::atoi(std::string(stamp.begin(), stamp.end()).c_str()), kGeneratorVersion);
  fs::remove_all(again);
}
