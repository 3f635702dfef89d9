#include "render/draw_order.h"

#include "render/material_tables.h"
#include "render_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The scripts here name no texture or shader.
class NoResources : public ScriptHost {
 public:
  Texture* GetTexture(const char*) override { return nullptr; }
  ShaderProgram* GetShader(const char*) override { return nullptr; }
  int GetUniformLocation(ShaderProgram*, const char*) override { return -1; }
  void CreateDynamicCubemap(int) override {}
};

const char kCommands[] =
    "0 Color\r\n1 Blend\r\n2 Draw\r\n3 ZPass\r\n4 UseTexture\r\n5 UseShader\r\n6 ZWrite\r\n"
    "7 Uniform1f\r\n8 Uniform4f\r\n9 UseDynamicTexture\r\n10 CubemapSection\r\n11 AlphaTest\r\n";

class DrawOrder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(parseCommandTable(reinterpret_cast<const uint8_t*>(kCommands), sizeof kCommands - 1, tables, why));
    triangle.triangleCount = 1;
    list.append(&triangle);
  }

  DrawClass classOf(const std::string& text, bool cubemapPass = false) {
    MaterialScript script;
    compileMaterialScript(reinterpret_cast<const uint8_t*>(text.data()), text.size(), tables, host, 1, script);
    return drawClassOf(script, list, cubemapPass, &observer);
  }

  render_test::ScratchFolder scratch;
  MaterialTables tables;
  NoResources host;
  Geometry triangle;
  PtrList<Geometry> list;
  Vec3 observer{0, 0, 0};
};

}  // namespace

TEST_F(DrawOrder, OneOpaqueDrawIsOrderFree) {
  EXPECT_EQ(classOf("Draw"), DrawClass::kOpaque);
  EXPECT_EQ(classOf("Color 1 0 0\r\nBlend 0\r\nZWrite 1\r\nZPass 0\r\nDraw"), DrawClass::kOpaque);
  EXPECT_EQ(classOf("UseDynamicTexture 1\r\nDraw"), DrawClass::kOpaque);
  // State set after the only Draw changes nothing drawn.
  EXPECT_EQ(classOf("Draw\r\nBlend 2"), DrawClass::kOpaque);
}

TEST_F(DrawOrder, BlendingDepthRulesAndSeveralDrawsKeepTheirPlace) {
  for (const char* script : {"Blend 1\r\nDraw", "Blend 2\r\nDraw", "Blend 3\r\nDraw", "ZWrite 0\r\nDraw",
                             "ZPass 1\r\nDraw", "ZPass 2\r\nDraw", "Draw\r\nDraw", ""})
    EXPECT_EQ(classOf(script), DrawClass::kFixed) << script;
  // Blending switched off again before the Draw is opaque.
  EXPECT_EQ(classOf("Blend 2\r\nBlend 0\r\nDraw"), DrawClass::kOpaque);
}

TEST_F(DrawOrder, AlphaTestIsOrderFreeButLate) {
  EXPECT_EQ(classOf("AlphaTest 0.5\r\nDraw"), DrawClass::kAlphaTested);
  EXPECT_EQ(classOf("AlphaTest 0.5\r\nAlphaTest 0\r\nDraw"), DrawClass::kOpaque);
}

TEST_F(DrawOrder, CubemapPassReadsOnlyTheCubemapSection) {
  const char* script = "Blend 2\r\nDraw\r\nCubemapSection\r\nDraw";
  EXPECT_EQ(classOf(script), DrawClass::kFixed);
  EXPECT_EQ(classOf(script, true), DrawClass::kOpaque);
  EXPECT_EQ(classOf("Blend 1\r\nDraw", true), DrawClass::kFixed);
}

TEST_F(DrawOrder, GeometryAllAtTheObserverIsTheBackground) {
  triangle.position = &observer;
  EXPECT_EQ(classOf("Draw"), DrawClass::kBackground);
  EXPECT_EQ(classOf("AlphaTest 0.5\r\nDraw"), DrawClass::kAlphaTested);
  Vec3 elsewhere(1, 0, 0);
  Geometry other;
  other.triangleCount = 1;
  other.position = &elsewhere;
  list.append(&other);
  EXPECT_EQ(classOf("Draw"), DrawClass::kOpaque);
  // Empty geometry is never drawn and does not count.
  other.triangleCount = 0;
  EXPECT_EQ(classOf("Draw"), DrawClass::kBackground);
}
