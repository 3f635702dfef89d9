#include "render/mat_renderer.h"

#include "render/gl_ext.h"
#include "render/material.h"
#include "render_gl_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace render_test;

namespace {

void* noEntryPoints(const char*) { return nullptr; }

#if STRAVO_GLSL
// A driver that has everything but glUniformMatrix3fvARB.
void* allButOne(const char* name) {
  if (std::strcmp(name, "glUniformMatrix3fvARB") == 0) return nullptr;
  return GLWindow::procAddress(name);
}
#endif

bool enabledOnUnit(int unit, GLenum target) {
  glExt.glActiveTextureARB(GL_TEXTURE0_ARB + unit);
  return glIsEnabled(target) == GL_TRUE;
}

class MatRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.ok());
    writeFile("data/materials/commands.txt", kCommandTable);
  }

  std::unique_ptr<MatRenderer> make(GLProcLoader loader = &GLWindow::procAddress) {
    return std::make_unique<MatRenderer>(loader);
  }

  ScratchFolder scratch;
  GLWindow window;
};

}  // namespace

TEST_F(MatRendererTest, ConstructionSetsUpShadersThenReadsBothTables) {
  auto m = make();
  EXPECT_EQ(logText(),
            "Log started\n"
            "MatRenderer: Initializing shader environment\n"
            "MatRenderer: Reading commands\n"
            "MatRenderer: Reading constants\n"
            "MatRenderer: \"data\\materials\\constants.txt\" not found");
  EXPECT_EQ(m->tables.FindCommand("UseShader"), kOpUseShader);
  EXPECT_TRUE(glExt.multitexture);
  EXPECT_EQ(glExt.shaders, bool(STRAVO_GLSL));
}

TEST_F(MatRendererTest, MissingEntryPointsStillLeaveTheStartingValues) {
  auto m = make(&noEntryPoints);
  EXPECT_EQ(logLines("Error: Failed to initialize multitexturing"), 1);
  EXPECT_EQ(m->textureUnits[3], unsigned(GL_TEXTURE3_ARB));
  EXPECT_EQ(m->cubemapSize, 128);
  EXPECT_EQ(m->globalLight.y, 1500.0);
  EXPECT_EQ(m->cubemapStates[99], 0);
  // Drawing still works on the one unit there is; shaders are simply absent.
  m->ResetState();
  EXPECT_EQ(m->GetShader("data\\shaders\\any.vs"), nullptr);
#if STRAVO_GLSL
  m.reset();
  auto partial = make(&allButOne);
  EXPECT_EQ(logLines("Error: Failed to initialize shader functions"), 1);
  EXPECT_FALSE(glExt.shaders);
#endif
}

TEST(GlslExtensions, NamesAreMatchedAsSubstrings) {
  EXPECT_TRUE(hasGlslExtensions(
      "GL_ARB_multitexture GL_ARB_shader_objects GL_ARB_vertex_shader GL_ARB_fragment_shader "
      "GL_ARB_shading_language_100"));
  EXPECT_FALSE(hasGlslExtensions("GL_ARB_shader_objects GL_ARB_vertex_shader GL_ARB_fragment_shader"));
  EXPECT_FALSE(hasGlslExtensions(nullptr));
}

TEST_F(MatRendererTest, ResetLeavesNoUnitTexturedAndUnitZeroActive) {
  auto m = make();
  glExt.glActiveTextureARB(GL_TEXTURE3_ARB);
  glEnable(GL_TEXTURE_2D);
  glExt.glActiveTextureARB(GL_TEXTURE5_ARB);
  glEnable(GL_TEXTURE_CUBE_MAP_ARB);
  glEnable(GL_BLEND);
  m->ResetState();
  GLint active = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
  EXPECT_EQ(active, GL_TEXTURE0_ARB);
  for (int unit = 0; unit < kTextureUnits; ++unit) {
    EXPECT_FALSE(enabledOnUnit(unit, GL_TEXTURE_2D)) << unit;
    EXPECT_FALSE(enabledOnUnit(unit, GL_TEXTURE_CUBE_MAP_ARB)) << unit;
  }
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(m->texturing);
}

#if STRAVO_GLSL
TEST_F(MatRendererTest, TextureNoneSwitchesOffOnlyItsUnit) {
  auto m = make();
  for (int unit : {0, 1}) {
    glExt.glActiveTextureARB(GL_TEXTURE0_ARB + unit);
    glEnable(GL_TEXTURE_2D);
  }
  m->UseTexture(1, nullptr);
  EXPECT_EQ(logLines("MatRenderer: Use Texture 1 NONE"), 1);
  EXPECT_FALSE(enabledOnUnit(1, GL_TEXTURE_2D));
  EXPECT_TRUE(enabledOnUnit(0, GL_TEXTURE_2D));
}
#endif

TEST_F(MatRendererTest, DynamicCubemapIsCreatedOnceAndStoringMarksItRendered) {
  auto m = make();
  m->CreateDynamicCubemap(5);
  unsigned int name = m->cubemapTextures[5];
  m->CreateDynamicCubemap(5);
  EXPECT_EQ(logLines("MatRenderer: Creating dynamic cubemap with id=5"), 1);
  EXPECT_EQ(logLines("MatRenderer: Dynamic cubemap with id=5 already exists"), 1);
  EXPECT_EQ(m->cubemapTextures[5], name);
  EXPECT_EQ(m->cubemapStates[5], 1);
  EXPECT_FALSE(m->IsCubemapDone(5));
  // A side outside 0..5 copies nothing, yet the cube map counts as rendered.
  m->StoreCubeMapSide(5, 6);
  EXPECT_EQ(logLines("MatRenderer: StoreCubeMapSide(5, 6)"), 1);
  EXPECT_EQ(logLines("OpenGL error occured"), 0);
  EXPECT_TRUE(m->IsCubemapDone(5));
  m->trianglesRendered = 7;
  m->BeginCubemapUpdate();
  EXPECT_EQ(m->cubemapStates[5], 1);
  EXPECT_EQ(m->trianglesRendered, 0);
  // Ids outside 0..99 are refused rather than written past the tables.
  m->CreateDynamicCubemap(100);
  m->StoreCubeMapSide(-1, 0);
  EXPECT_FALSE(m->IsCubemapDone(100));
}

TEST_F(MatRendererTest, TwoScriptsNamingOneTextureShareIt) {
  writeFile("data/textures/wood.tga", tgaFile(1, 1, 24, {1, 2, 3}));
  writeFile("data/materials/table.txt", "UseTexture 0 wood.tga\r\nDraw\r\n");
  writeFile("data/materials/chair.txt", "UseTexture 1 wood.tga\r\nUseTexture 0 rust.tga\r\nDraw\r\n");
  writeFile("data/materials/stool.txt", "UseTexture 0 rust.tga\r\nDraw\r\n");
  auto m = make();
  Material table, chair, stool;
  EXPECT_TRUE(table.Load("table", m.get()));
  EXPECT_TRUE(chair.Load("chair", m.get()));
  EXPECT_TRUE(stool.Load("stool", m.get()));
  EXPECT_EQ(m->textureCache.size(), 1);
  EXPECT_EQ(table.commands.begin().node->data->resource, chair.commands.begin().node->data->resource);
  EXPECT_EQ(logLines("MatRenderer: Loading texture \"data\\textures\\wood.tga\""), 1);
  // A texture that failed is not kept, so each request tries again.
  EXPECT_EQ(logLines("MatRenderer: Loading texture \"data\\textures\\rust.tga\""), 2);
  EXPECT_EQ(logLines("Error: Texture \"data\\textures\\rust.tga\" not found"), 2);
}

TEST_F(MatRendererTest, DrawSkipsEmptyGeometryAndCountsEveryDraw) {
  auto m = make();
  Quad quad = screenQuad("any");
  Geometry g = quad.geometry();
  Geometry empty;
  Geometry cut(4, quad.positions.data(), nullptr, nullptr, nullptr, nullptr, 0, quad.indices.data(), "any");
  PtrList<Geometry> list;
  list.append(&empty);
  list.append(&g);
  list.append(&g);
  list.append(&cut);
  GLint depthBefore = 0, depthAfter = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
  m->ResetState();
  m->DrawGeometryList(list);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
  EXPECT_EQ(m->trianglesRendered, 4);
  EXPECT_EQ(depthAfter, depthBefore);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(MatRendererTest, CameraClearsDepthButNeverColour) {
  auto m = make();
  clearColour(0.0f, 1.0f, 0.0f);
  glClearDepth(0.25);
  glClear(GL_DEPTH_BUFFER_BIT);
  glClearDepth(1.0);
  m->SetCamera(Vec3(1, 2, 3), identityMat4());
  float depth = 0.0f;
  glReadPixels(10, 10, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  EXPECT_EQ(depth, 1.0f);
  EXPECT_TRUE(near(pixelAt(10, 10), {0, 255, 0}));
  EXPECT_EQ(m->observer.z, 3.0);
  GLfloat view[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, view);
  EXPECT_EQ(view[12], -1.0f);
  EXPECT_EQ(view[14], -3.0f);
}
