#include "render/rmd_mesh.h"

#include "scratch_folder.h"
#include "tools/rmd_writer/rmd_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A small mesh with every kind of data: four vertices, two materials.
RMDMesh sampleMesh(int extraSets = 0) {
  RMDMesh mesh;
  mesh.vertexCount = 4;
  for (int v = 0; v < 4; ++v) {
    for (int k = 0; k < 3; ++k) {
      mesh.positions.push_back(float(v) + 0.1f * float(k) - 0.5f);
      mesh.normals.push_back(k == 1 ? 1.0f : 0.25f * float(v));
      mesh.colors.push_back(0.2f * float(k + v));
    }
    mesh.texCoords[0].push_back(0.125f * float(v));
    mesh.texCoords[0].push_back(1.0f - 0.125f * float(v));
  }
  mesh.texCoordSetCount = 1 + extraSets;
  for (int set = 1; set <= extraSets; ++set) {
    for (int j = 0; j < 8; ++j) mesh.texCoords[set].push_back(float(set * 10 + j));
  }
  mesh.materialCount = 2;
  mesh.materialNames = {"road", "grass"};
  mesh.triangleCounts = {2, 1};
  mesh.triangleIndices = {{0, 1, 2, 2, 1, 3}, {3, 2, 0}};
  return mesh;
}

bool parse(const std::vector<uint8_t>& bytes, RMDMesh& out, std::string& why) {
  return parseRmd(bytes.data(), bytes.size(), out, why);
}

void putIntAt(std::vector<uint8_t>& bytes, size_t at, int32_t v) {
  uint32_t u;
  std::memcpy(&u, &v, 4);
  for (int k = 0; k < 4; ++k) bytes[at + k] = uint8_t(u >> (8 * k));
}

int32_t intAt(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t u = 0;
  for (int k = 0; k < 4; ++k) u |= uint32_t(bytes[at + k]) << (8 * k);
  int32_t v;
  std::memcpy(&v, &u, 4);
  return v;
}

// Chunk offset of directory entry `entry` (0-based) in a written file.
size_t chunkOffset(const std::vector<uint8_t>& bytes, int entry) {
  size_t directory = size_t(intAt(bytes, bytes.size() - 4));
  return size_t(intAt(bytes, directory + 8 * size_t(entry) + 4));
}

void expectRejected(const std::vector<uint8_t>& bytes, const char* reason) {
  RMDMesh mesh = sampleMesh();
  std::string why;
  EXPECT_FALSE(parse(bytes, mesh, why)) << reason;
  EXPECT_NE(why.find(reason), std::string::npos) << "got: " << why;
  EXPECT_EQ(mesh.vertexCount, 0);
  EXPECT_EQ(mesh.materialCount, 0);
  EXPECT_TRUE(mesh.positions.empty());
}

}  // namespace

TEST(RmdMesh, WriteThenParseIsExact) {
  RMDMesh written = sampleMesh(2);
  RMDMesh read;
  std::string why;
  ASSERT_TRUE(parse(writeRmd(written), read, why)) << why;
  EXPECT_EQ(read.vertexCount, 4);
  EXPECT_EQ(read.positions, written.positions);
  EXPECT_EQ(read.normals, written.normals);
  EXPECT_EQ(read.colors, written.colors);
  EXPECT_EQ(read.materialCount, 2);
  EXPECT_EQ(read.materialNames, written.materialNames);
  EXPECT_EQ(read.triangleCounts, written.triangleCounts);
  EXPECT_EQ(read.triangleIndices, written.triangleIndices);
  EXPECT_EQ(read.texCoordSetCount, 3);
  for (int set = 0; set < 3; ++set) EXPECT_EQ(read.texCoords[set], written.texCoords[set]) << "set " << set;
  EXPECT_TRUE(read.texCoords[3].empty());
}

TEST(RmdMesh, ThreeEntryDirectoryOrOtherFourthTagGivesOneTextureSet) {
  RMDMesh read;
  std::string why;
  std::vector<uint8_t> threeEntries = writeRmd(sampleMesh());
  ASSERT_TRUE(parse(threeEntries, read, why)) << why;
  EXPECT_EQ(read.texCoordSetCount, 1);

  std::vector<uint8_t> otherTag = writeRmd(sampleMesh(1));
  size_t directory = size_t(intAt(otherTag, otherTag.size() - 4));
  ASSERT_EQ(intAt(otherTag, directory + 24), 4);
  putIntAt(otherTag, directory + 24, 5);
  ASSERT_TRUE(parse(otherTag, read, why)) << why;
  EXPECT_EQ(read.texCoordSetCount, 1);
  EXPECT_TRUE(read.texCoords[1].empty());
}

TEST(RmdMesh, EmptyMaterialsAndFindMaterial) {
  RMDMesh noMaterials = sampleMesh();
  noMaterials.materialCount = 0;
  RMDMesh read;
  std::string why;
  ASSERT_TRUE(parse(writeRmd(noMaterials), read, why)) << why;
  EXPECT_EQ(read.materialCount, 0);
  EXPECT_TRUE(read.triangleIndices.empty());
  EXPECT_EQ(read.FindMaterial("road"), -1);
  EXPECT_EQ(read.FindMaterial(""), -1);

  RMDMesh twins = sampleMesh();
  twins.materialCount = 3;
  twins.materialNames = {"grass", "road", "road"};
  twins.triangleCounts = {0, 2, 1};
  twins.triangleIndices = {{}, {0, 1, 2, 2, 1, 3}, {3, 2, 0}};
  ASSERT_TRUE(parse(writeRmd(twins), read, why)) << why;
  EXPECT_EQ(read.triangleCounts[0], 0);
  EXPECT_TRUE(read.triangleIndices[0].empty());
  EXPECT_EQ(read.FindMaterial("road"), 1);
  EXPECT_EQ(read.FindMaterial("Road"), -1);
  EXPECT_EQ(read.FindMaterial("roa"), -1);
}

TEST(RmdMesh, MalformedFilesAreRejectedWithReason) {
  RMDMesh longName = sampleMesh();
  longName.materialNames[1] = std::string(256, 'n');
  expectRejected(writeRmd(longName), "longer than 255");
  longName.materialNames[1] = std::string(255, 'n');
  RMDMesh read;
  std::string why;
  EXPECT_TRUE(parse(writeRmd(longName), read, why)) << why;

  RMDMesh badIndex = sampleMesh();
  badIndex.triangleIndices[1][2] = 4;
  expectRejected(writeRmd(badIndex), "index out of range");
  badIndex.triangleIndices[1][2] = -1;
  expectRejected(writeRmd(badIndex), "index out of range");

  std::vector<uint8_t> tooManySets = writeRmd(sampleMesh(1));
  putIntAt(tooManySets, chunkOffset(tooManySets, 3), 8);
  expectRejected(tooManySets, "more than 7");

  std::vector<uint8_t> bytes = writeRmd(sampleMesh(1));
  std::vector<uint8_t> negative = bytes;
  putIntAt(negative, chunkOffset(bytes, 0), -1);
  expectRejected(negative, "negative vertex count");
  negative = bytes;
  putIntAt(negative, chunkOffset(bytes, 1), -2);
  expectRejected(negative, "negative material count");
  negative = bytes;
  putIntAt(negative, chunkOffset(bytes, 2), -3);
  expectRejected(negative, "negative triangle count");
  negative = bytes;
  putIntAt(negative, chunkOffset(bytes, 3), -1);
  expectRejected(negative, "negative texture");

  std::vector<uint8_t> hugeCount = bytes;
  putIntAt(hugeCount, chunkOffset(bytes, 0), 0x7fffffff);
  expectRejected(hugeCount, "truncated");

  std::vector<uint8_t> badDirectory = bytes;
  putIntAt(badDirectory, bytes.size() - 4, int32_t(bytes.size()));
  expectRejected(badDirectory, "directory offset");
  putIntAt(badDirectory, bytes.size() - 4, 4);
  expectRejected(badDirectory, "directory offset");

  std::vector<uint8_t> chunkInHeader = bytes;
  size_t directory = size_t(intAt(bytes, bytes.size() - 4));
  putIntAt(chunkInHeader, directory + 4, 2);
  expectRejected(chunkInHeader, "offset out of range");
}

TEST(RmdMesh, EveryTruncationIsRejected) {
  std::vector<uint8_t> bytes = writeRmd(sampleMesh(2));
  for (size_t size = 0; size < bytes.size(); ++size) {
    // A cut file keeps its last four bytes as the directory offset.
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(size));
    RMDMesh read;
    std::string why;
    EXPECT_FALSE(parse(cut, read, why)) << "size " << size;
    EXPECT_FALSE(why.empty());
  }
}

TEST(RmdCorrections, FloorIsFlattenedOnlyUnderItsExactPath) {
  RMDMesh floor = sampleMesh();
  applyRmdCorrections("data\\models\\floor.rmd", floor);
  for (int v = 0; v < floor.vertexCount; ++v) {
    EXPECT_EQ(floor.positions[3 * v + 1], 0.0f);
    EXPECT_EQ(floor.positions[3 * v], sampleMesh().positions[3 * v] * 0.5f);
    EXPECT_EQ(floor.texCoords[0][2 * v + 1], sampleMesh().texCoords[0][2 * v + 1] * 15.0f);
  }
  for (const char* other : {"data/models/floor.rmd", "data\\models\\Floor.rmd", "data\\models\\floor.rmd ",
                            "data\\models\\floor.rm"}) {
    RMDMesh untouched = sampleMesh();
    applyRmdCorrections(other, untouched);
    EXPECT_EQ(untouched.positions, sampleMesh().positions) << other;
  }
}

TEST(RmdCorrections, EvoIsTurnedAndLiftedInTwoFloatSteps) {
  RMDMesh evo = sampleMesh();
  evo.positions[0] = 2.0f;
  evo.positions[1] = 0.3f;
  evo.positions[2] = 1.0f;
  evo.normals[0] = 0.5f;
  evo.normals[2] = -0.25f;
  applyRmdCorrections("data\\models\\evo.rmd", evo);
  EXPECT_EQ(evo.positions[0], -2.0f);
  // One addition of 0.35 would give 0.649999976.
  EXPECT_EQ(evo.positions[1], 0.650000036f);
  EXPECT_EQ(evo.positions[2], float(-1.0 - double(0.03f)));
  EXPECT_EQ(evo.normals[0], -0.5f);
  EXPECT_EQ(evo.normals[2], 0.25f);
}

TEST(RmdCorrections, WheelIsShrunkAndItsTextureTurned) {
  RMDMesh wheel = sampleMesh();
  wheel.texCoords[0][0] = 0.25f;
  wheel.texCoords[0][1] = 0.75f;
  wheel.positions[1] = 1.0f;
  applyRmdCorrections("data\\models\\hwheel.rmd", wheel);
  EXPECT_EQ(wheel.texCoords[0][0], -0.75f);
  EXPECT_EQ(wheel.texCoords[0][1], -0.25f);
  EXPECT_EQ(wheel.positions[1], float(double(0.9f) + double(0.01f)));
}

TEST(RmdCorrections, TreeAndSkyDomeLowestPointSearchedFrom1000) {
  RMDMesh high = sampleMesh();
  for (int v = 0; v < high.vertexCount; ++v) high.positions[3 * v + 1] = 1200.0f + float(v);
  RMDMesh tree = high;
  applyRmdCorrections("data\\models\\tree1.rmd", tree);
  EXPECT_EQ(tree.positions[1], 200.0f);
  EXPECT_EQ(tree.positions[0], high.positions[0] + 5.5f);

  RMDMesh low = sampleMesh();
  low.positions[4] = -2.0f;
  applyRmdCorrections("data\\models\\tree1.rmd", low);
  EXPECT_EQ(low.positions[4], 0.0f);

  RMDMesh dome = sampleMesh();
  dome.positions[1] = -10.0f;
  dome.positions[4] = 20.0f;
  applyRmdCorrections("data\\models\\skydome.rmd", dome);
  EXPECT_EQ(dome.positions[1], float(double(float(-10.0 + 10.0 * double(0.65f))) * double(0.4f)));
  EXPECT_EQ(dome.positions[4], float(double(float(20.0 + 10.0 * double(0.65f))) * double(0.4f)));
}

class RmdLoad : public ScratchFolder {};

TEST_F(RmdLoad, LoadsAndCorrectsByPath) {
  ASSERT_TRUE(saveRmd("data\\models\\floor.rmd", sampleMesh()));
  RMDMesh mesh;
  ASSERT_TRUE(mesh.Load("data\\models\\floor.rmd"));
  EXPECT_EQ(mesh.positions[4], 0.0f);
  EXPECT_NE(log().find("RMDMesh: Loading mesh \"data\\models\\floor.rmd\""), std::string::npos);
}

TEST_F(RmdLoad, MissingOrMalformedFileFailsAndLeavesMeshEmpty) {
  RMDMesh mesh;
  EXPECT_FALSE(mesh.Load("data\\models\\none.rmd"));
  EXPECT_EQ(mesh.vertexCount, 0);

  RMDMesh bad = sampleMesh();
  bad.triangleIndices[0][0] = 99;
  ASSERT_TRUE(saveRmd("data\\models\\bad.rmd", bad));
  EXPECT_FALSE(mesh.Load("data\\models\\bad.rmd"));
  EXPECT_TRUE(mesh.positions.empty());
  EXPECT_NE(log().find("\"data\\models\\bad.rmd\": vertex index out of range"), std::string::npos) << log();
}
