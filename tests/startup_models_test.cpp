#include "game/startup_models.h"

#include "physics/world.h"
#include "scratch_folder.h"
#include "tools/rmd_writer/rmd_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kModelPaths[] = {"data\\models\\evo.rmd",    "data\\models\\hwheel.rmd",
                                   "data\\models\\cone.rmd",   "data\\models\\tree1.rmd",
                                   "data\\models\\track1.rmd", "data\\models\\skydome.rmd"};

// Two upward triangles covering [0, 4] x [0, 4] at y = 0, in two materials.
RMDMesh square() {
  RMDMesh mesh;
  mesh.vertexCount = 4;
  mesh.positions = {0, 0, 0, 0, 0, 4, 4, 0, 0, 4, 0, 4};
  mesh.normals.assign(12, 0.0f);
  mesh.colors.assign(12, 1.0f);
  mesh.texCoords[0].assign(8, 0.5f);
  mesh.texCoordSetCount = 1;
  mesh.materialCount = 2;
  mesh.materialNames = {"road", "grass"};
  mesh.triangleCounts = {1, 1};
  mesh.triangleIndices = {{0, 1, 2}, {2, 1, 3}};
  return mesh;
}

}  // namespace

class StartupModelsTest : public ScratchFolder {};

TEST_F(StartupModelsTest, LoadsInOrderAndBuildsTheTreeAfterTheTrack) {
  for (const char* path : kModelPaths) ASSERT_TRUE(saveRmd(path, square()));
  StartupModels models;
  PhWorld world;
  CollisionQuadtree* tree = nullptr;
  std::string failedPath;
  ASSERT_TRUE(loadStartupModels("", models, world, tree, failedPath));
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(world.tree, tree);
  EXPECT_EQ(tree->triangleCount, 2);
  EXPECT_EQ(tree->group[1], 1);
  EXPECT_EQ(models.skyDome.vertexCount, 4);

  std::vector<std::string> lines;
  for (const char* path : kModelPaths) lines.push_back(std::string("RMDMesh: Loading mesh \"") + path + "\"");
  lines.insert(lines.begin() + 5, "Main: Building quadtree");
  std::string text = log();
  size_t at = 0;
  for (const std::string& line : lines) {
    at = text.find(line, at);
    ASSERT_NE(at, std::string::npos) << line;
  }

  ASSERT_TRUE(world.queryAround(Vec3(1.0, 0.0, 1.0), 3.0f));
  Contact c;
  ASSERT_TRUE(world.nearestContact(Vec3(3.0, 0.2, 3.0), 0.271f, c));
  EXPECT_EQ(c.group, 1);
  destroyQuadtree(tree);
}

TEST_F(StartupModelsTest, MissingModelStopsAtOnce) {
  for (const char* path : kModelPaths) {
    if (std::string(path) != "data\\models\\cone.rmd") {
      ASSERT_TRUE(saveRmd(path, square()));
    }
  }
  StartupModels models;
  PhWorld world;
  CollisionQuadtree* tree = nullptr;
  std::string failedPath;
  EXPECT_FALSE(loadStartupModels("", models, world, tree, failedPath));
  EXPECT_EQ(failedPath, "data\\models\\cone.rmd");
  EXPECT_EQ(tree, nullptr);
  EXPECT_EQ(world.tree, nullptr);
  EXPECT_EQ(models.track.vertexCount, 0);
  std::string text = log();
  EXPECT_NE(text.find("Error loading model"), std::string::npos);
  EXPECT_EQ(text.find("tree1.rmd"), std::string::npos);
}
