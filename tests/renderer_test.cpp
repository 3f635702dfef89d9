#include "render/renderer.h"

#include "render/mat_renderer.h"
#include "render/material.h"
#include "render_gl_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace render_test;

namespace {

// Texels of the solid test colours, as TGA stores them (blue, green, red).
std::string solid(const Rgb& c) { return tgaFile(1, 1, 24, {uint8_t(c[2]), uint8_t(c[1]), uint8_t(c[0])}); }

const Rgb kRed{255, 0, 0};
const Rgb kGreen{0, 255, 0};
const Rgb kBlue{0, 0, 255};
const Rgb kWhite{255, 255, 255};

class RendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.ok());
    writeFile("data/materials/commands.txt", kCommandTable);
    writeFile("data/materials/constants.txt", "LESS_EQUAL 1\r\n");
    writeFile("data/textures/red.tga", solid(kRed));
    writeFile("data/textures/green.tga", solid(kGreen));
    writeFile("data/textures/blue.tga", solid(kBlue));
    writeFile("data/textures/white.tga", solid(kWhite));
    writeFile("data/textures/grey.tga", solid({204, 204, 204}));
  }

  void material(const std::string& name, const std::string& script) {
    writeFile("data/materials/" + name + ".txt", script);
  }

  std::unique_ptr<Renderer> makeRenderer() {
    auto renderer = std::make_unique<Renderer>(&GLWindow::procAddress);
    renderer->SetViewportSize(kWindowWidth, kWindowHeight);
    renderer->SetCamera(&camera, &view, kFovY);
    return renderer;
  }

  // Draws one full-view quad per material, in order, all at the same distance,
  // over a black background; returns the centre pixel.
  Rgb drawLayers(const std::vector<std::string>& materials) {
    std::vector<Quad> quads;
    for (const std::string& name : materials) quads.push_back(screenQuad(name));
    std::vector<Geometry> geometries;
    for (const Quad& q : quads) geometries.push_back(q.geometry());
    auto renderer = makeRenderer();
    for (Geometry& g : geometries) renderer->AddGeometry(&g, &g, 0, nullptr);
    clearColour(0, 0, 0);
    renderer->Render(Renderer::kNormalView, nullptr);
    return centrePixel();
  }

  static constexpr float kFovY = 90.0f;
  ScratchFolder scratch;
  GLWindow window;
  Vec3 camera{0, 0, 0};
  Mat4 view = identityMat4();
};

}  // namespace

TEST_F(RendererTest, BlendModesMixWithWhatIsAlreadyDrawn) {
  material("base", "UseTexture 0 grey.tga\r\nDraw\r\n");
  material("darken", "ZPass LESS_EQUAL\r\nBlend 3\r\nUseTexture 0 red.tga\r\nDraw\r\n");
  material("add", "ZPass 1\r\nBlend 1\r\nUseTexture 0 blue.tga\r\nDraw\r\n");
  material("odd", "ZPass 1\r\nBlend 7\r\nUseTexture 0 green.tga\r\nDraw\r\n");
  // Darkening keeps destination x (1 - source): red takes the red away.
  EXPECT_TRUE(near(drawLayers({"base", "darken"}), {0, 204, 204}));
  EXPECT_TRUE(near(drawLayers({"base", "add"}), {204, 204, 255}));
  // An unknown mode changes nothing: no blending, the source is drawn.
  EXPECT_TRUE(near(drawLayers({"base", "odd"}), kGreen));
  EXPECT_EQ(logLines("MatRenderer: Unknown blend mode 7"), 1);
  EXPECT_EQ(logLines("MatRenderer: ZPass less or equal"), 3);
}

TEST_F(RendererTest, DepthFunctionAndWritesDecideWhatShows) {
  material("nearNoWrite", "ZWrite 0\r\nUseTexture 0 red.tga\r\nDraw\r\n");
  material("near", "UseTexture 0 red.tga\r\nDraw\r\n");
  material("far", "UseTexture 0 green.tga\r\nDraw\r\n");
  material("equal", "ZPass 2\r\nUseTexture 0 blue.tga\r\nDraw\r\n");
  Quad nearQuad = screenQuad("near", 1.0), nearNoWrite = screenQuad("nearNoWrite", 1.0);
  Quad far = screenQuad("far", 2.0), equalNear = screenQuad("equal", 1.0);
  Geometry gNear = nearQuad.geometry(), gNoWrite = nearNoWrite.geometry(), gFar = far.geometry();
  Geometry gEqual = equalNear.geometry();
  {
    auto renderer = makeRenderer();
    renderer->AddGeometry(&gNoWrite, &gNoWrite, 0, nullptr);
    renderer->AddGeometry(&gFar, &gFar, 0, nullptr);
    renderer->Render(Renderer::kNormalView, nullptr);
    EXPECT_TRUE(near(centrePixel(), kGreen)) << "a surface that writes no depth hides nothing";
  }
  {
    auto renderer = makeRenderer();
    renderer->AddGeometry(&gNear, &gNear, 0, nullptr);
    renderer->AddGeometry(&gFar, &gFar, 0, nullptr);
    renderer->AddGeometry(&gEqual, &gEqual, 0, nullptr);
    renderer->Render(Renderer::kNormalView, nullptr);
    EXPECT_TRUE(near(centrePixel(), kBlue)) << "equal depth passes over the same surface";
  }
  EXPECT_EQ(logLines("MatRenderer: ZPass equal"), 1);
}

TEST_F(RendererTest, AlphaTestAndAlphaBlendingUseTheTextureAlpha) {
  // Left half opaque red, right half red at alpha 64; two texels a half, so
  // sampling a quarter across stays within one half however the filter spreads.
  writeFile("data/textures/fade.tga",
            tgaFile(4, 1, 32, {0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 64, 0, 0, 255, 64}));
  material("base", "UseTexture 0 green.tga\r\nDraw\r\n");
  material("cut", "ZPass 1\r\nAlphaTest 0.5\r\nUseTexture 0 fade.tga\r\nDraw\r\n");
  material("mix", "ZPass 1\r\nBlend 2\r\nUseTexture 0 fade.tga\r\nDraw\r\n");
  // The quad spans the view exactly.
  auto fill = [](const std::string& name) { return Quad(Vec3(0, 0, -1), Vec3(1.34, 0, 0), Vec3(0, 1.01, 0), name); };
  Quad base = fill("base"), cut = fill("cut"), mix = fill("mix");
  Geometry gBase = base.geometry(), gCut = cut.geometry(), gMix = mix.geometry();
  const int left = kWindowWidth / 4, right = 3 * kWindowWidth / 4, row = kWindowHeight / 2;
  {
    auto renderer = makeRenderer();
    renderer->AddGeometry(&gBase, &gBase, 0, nullptr);
    renderer->AddGeometry(&gCut, &gCut, 0, nullptr);
    renderer->Render(Renderer::kNormalView, nullptr);
    EXPECT_TRUE(near(pixelAt(left, row), kRed));
    EXPECT_TRUE(near(pixelAt(right, row), kGreen));
  }
  {
    auto renderer = makeRenderer();
    renderer->AddGeometry(&gBase, &gBase, 0, nullptr);
    renderer->AddGeometry(&gMix, &gMix, 0, nullptr);
    renderer->Render(Renderer::kNormalView, nullptr);
    EXPECT_TRUE(near(pixelAt(left, row), kRed));
    EXPECT_TRUE(near(pixelAt(right, row), rgb(64 / 255.0, 191 / 255.0, 0)));
  }
  EXPECT_EQ(logLines("MatRenderer: Alpha blending"), 1);
}

TEST_F(RendererTest, VertexColoursTintTexturesAndForcedColoursAlwaysApply) {
  material("plain", "Color 0 0 1\r\nDraw\r\n");
  material("textured", "UseTexture 0 white.tga\r\nDraw\r\n");
  material("none", "UseTexture 0 red.tga\r\nUseTexture 0 NONE\r\nColor 0 0 1\r\nDraw\r\n");
  auto draw = [&](const std::string& name, bool forced) {
    Quad quad = screenQuad(name, 1.0, kGreen);
    Geometry g = quad.geometry(forced);
    auto renderer = makeRenderer();
    renderer->AddGeometry(&g, &g, 0, nullptr);
    clearColour(0, 0, 0);
    renderer->Render(Renderer::kNormalView, nullptr);
    return centrePixel();
  };
  EXPECT_TRUE(near(draw("plain", true), kGreen));
  EXPECT_TRUE(near(draw("textured", true), kGreen));
#if STRAVO_GLSL
  // Untextured surfaces take the material's colour, textured ones the mesh's tint.
  EXPECT_TRUE(near(draw("plain", false), kBlue));
  EXPECT_TRUE(near(draw("textured", false), kGreen));
  EXPECT_TRUE(near(draw("none", false), kBlue));
#else
  // Without shaders mesh colours are not drawn and every draw starts white.
  EXPECT_TRUE(near(draw("plain", false), kWhite));
  EXPECT_TRUE(near(draw("textured", false), kWhite));
  EXPECT_TRUE(near(draw("none", false), kWhite));
#endif
  EXPECT_EQ(logLines("MatRenderer: Use Texture 0 NONE"), 1);
}

#if STRAVO_GLSL
// The colour array is left as the previous draw set it: a textured pass after
// an untextured one of the same material is not tinted by the vertex colours,
// while a material that starts textured is.
TEST_F(RendererTest, TexturedPassAfterAnUntexturedOneKeepsTheColourArrayOff) {
  material("twopass", "Color 0 0 1\r\nDraw\r\nZPass 1\r\nUseTexture 0 white.tga\r\nDraw\r\n");
  material("textured", "Color 0 0 1\r\nUseTexture 0 white.tga\r\nDraw\r\n");
  auto draw = [&](const std::string& name) {
    Quad quad = screenQuad(name, 1.0, kGreen);
    Geometry g = quad.geometry();
    auto renderer = makeRenderer();
    renderer->AddGeometry(&g, &g, 0, nullptr);
    clearColour(0, 0, 0);
    renderer->Render(Renderer::kNormalView, nullptr);
    return centrePixel();
  };
  EXPECT_TRUE(near(draw("twopass"), kBlue));
  EXPECT_TRUE(near(draw("textured"), kGreen));
}
#endif

TEST_F(RendererTest, GeometryIsFiledPerMaterialNameAndCubemapId) {
  material("paint", "Draw\r\n");
  Quad a = screenQuad("paint"), b = screenQuad("paint"), skid = screenQuad("skid");
  Geometry ga = a.geometry(), gb = b.geometry(), gc = a.geometry(), gSkid = skid.geometry();
  Geometry empty;
  auto renderer = makeRenderer();
  EXPECT_EQ(renderer->AddGeometry(&ga, &ga, 0, nullptr), &ga);
  renderer->AddGeometry(&gb, &gb, 0, nullptr);
  renderer->AddGeometry(&gc, &gc, 1, nullptr);
  renderer->AddGeometry(&gSkid, &Geometry::Empty(), 0, nullptr);
  renderer->AddGeometry(&empty, &empty, 0, nullptr);
  ASSERT_EQ(renderer->scene.size(), 4);
  std::vector<SceneEntry*> entries;
  for (SceneEntry* e : renderer->scene) entries.push_back(e);
  EXPECT_EQ(entries[0]->material->name, "paint");
  EXPECT_EQ(entries[0]->mainList.size(), 2);
  EXPECT_EQ(entries[1]->material->cubemapId, 1);
  EXPECT_EQ(entries[2]->material->name, "skid");
  EXPECT_EQ(entries[3]->material->name, "");
  // Main geometry only; the empty reflection entry adds nothing.
  EXPECT_EQ(renderer->trianglesInScene, 8);
  EXPECT_EQ(logLines("Material: Loading material \"paint\""), 2);
  EXPECT_EQ(logLines("Error: File \"data\\materials\\skid.txt\" not found, creating default material"), 1);
  // A missing script draws with the default material: one Draw.
  EXPECT_EQ(entries[2]->material->commands.size(), 1);
  renderer->Render(Renderer::kNormalView, nullptr);
  EXPECT_EQ(logLines("Renderer: Rendered 8 tris"), 1);
  renderer.reset();
  EXPECT_EQ(logLines("Renderer: 8 triangles in scene, rendered 8 triangles"), 1);
  EXPECT_EQ(logLines("Renderer: Cleaning up"), 1);
  EXPECT_EQ(logLines("MatRenderer: Cleaning up"), 1);
}

TEST_F(RendererTest, SceneWithoutDynamicTexturesNeverRendersACubemap) {
  material("paint", "Draw\r\n");
  Quad q = screenQuad("paint");
  Geometry g = q.geometry();
  auto renderer = makeRenderer();
  renderer->AddGeometry(&g, &g, 1, &camera);
  for (int frame = 0; frame < 3; ++frame) renderer->Render(Renderer::kNormalView, nullptr);
  EXPECT_EQ(logLines("Renderer: *** Rendering start (dynamic texture)"), 0);
  EXPECT_EQ(logLines("Renderer: *** Rendering start"), 3);
}

#if STRAVO_GLSL
namespace {

// A closed box around the cube-map centre, a colour per wall, walls facing
// inwards. The -z wall is red on its -x half and yellow on its +x half, so a
// mirrored face shows. The -x wall draws yellow, then, after CubemapSection,
// cyan: the normal view keeps yellow (the second draw fails the depth test),
// the cube map sees only cyan.
class CubemapTest : public RendererTest {
 protected:
  static constexpr double kHalf = 10.0;  // m

  void SetUp() override {
    RendererTest::SetUp();
    writeFile("data/textures/cyan.tga", solid({0, 255, 255}));
    writeFile("data/textures/yellow.tga", solid({255, 255, 0}));
    writeFile("data/textures/magenta.tga", solid({255, 0, 255}));
    material("wallXn", "UseTexture 0 yellow.tga\r\nDraw\r\nCubemapSection\r\nUseTexture 0 cyan.tga\r\nDraw\r\n");
    material("wallXp", "UseTexture 0 red.tga\r\nDraw\r\n");
    material("ceiling", "UseTexture 0 green.tga\r\nDraw\r\n");
    material("floor", "UseTexture 0 blue.tga\r\nDraw\r\n");
    material("wallZnLeft", "UseTexture 0 magenta.tga\r\nDraw\r\n");
    material("wallZnRight", "UseTexture 0 yellow.tga\r\nDraw\r\n");
    material("wallZp", "UseTexture 0 grey.tga\r\nDraw\r\n");
    material("mirror", "UseDynamicTexture 0\r\nDraw\r\n");
    const double h = kHalf;
    const Vec3 c(0, 0.5, 0);  // where the cube map of a centre at the origin is rendered from
    quads.emplace_back(c + Vec3(-h, 0, 0), Vec3(0, h, 0), Vec3(0, 0, h), "wallXn");
    quads.emplace_back(c + Vec3(h, 0, 0), Vec3(0, 0, h), Vec3(0, h, 0), "wallXp");
    quads.emplace_back(c + Vec3(0, h, 0), Vec3(h, 0, 0), Vec3(0, 0, h), "ceiling");
    quads.emplace_back(c + Vec3(0, -h, 0), Vec3(0, 0, h), Vec3(h, 0, 0), "floor");
    quads.emplace_back(c + Vec3(-h / 2, 0, -h), Vec3(h / 2, 0, 0), Vec3(0, h, 0), "wallZnLeft");
    quads.emplace_back(c + Vec3(h / 2, 0, -h), Vec3(h / 2, 0, 0), Vec3(0, h, 0), "wallZnRight");
    quads.emplace_back(c + Vec3(0, 0, h), Vec3(0, h, 0), Vec3(h, 0, 0), "wallZp");
    for (const Quad& q : quads) walls.push_back(q.geometry());
    mirror = Geometry(0, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, "mirror");
    camera = c;
    renderer = makeRenderer();
    for (Geometry& g : walls) renderer->AddGeometry(&g, &g, 0, nullptr);
    renderer->AddGeometry(&mirror, &mirror, 1, &centre);
  }

  std::vector<unsigned char> faceImage(int face) {
    MatRenderer& m = renderer->matRenderer();
    std::vector<unsigned char> pixels(size_t(m.cubemapSize) * m.cubemapSize * 3);
    glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, m.cubemapTextures[1]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + face, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }

  Rgb texel(int face, int x, int y) {
    std::vector<unsigned char> pixels = faceImage(face);
    const unsigned char* p = &pixels[(size_t(y) * renderer->matRenderer().cubemapSize + x) * 3];
    return {p[0], p[1], p[2]};
  }

  std::vector<Quad> quads;
  std::vector<Geometry> walls;
  Geometry mirror;
  Vec3 centre{0, 0, 0};
  std::unique_ptr<Renderer> renderer;
};

}  // namespace

TEST_F(CubemapTest, EachFaceShowsTheWallItLooksAt) {
  renderer->Render(Renderer::kNormalView, nullptr);
  const Rgb cyan{0, 255, 255}, yellow{255, 255, 0}, magenta{255, 0, 255}, grey{204, 204, 204};
  EXPECT_TRUE(near(texel(0, 64, 64), cyan)) << "face 0 looks along -x";
  EXPECT_TRUE(near(texel(1, 64, 64), kRed)) << "face 1 looks along +x";
  EXPECT_TRUE(near(texel(2, 64, 64), kGreen)) << "face 2 looks along +y";
  EXPECT_TRUE(near(texel(3, 64, 64), kBlue)) << "face 3 looks along -y";
  EXPECT_TRUE(near(texel(5, 64, 64), grey)) << "face 5 looks along +z";
  // Face 4 looks along -z with -y up, so world -x is on its right.
  EXPECT_TRUE(near(texel(4, 96, 64), magenta));
  EXPECT_TRUE(near(texel(4, 32, 64), yellow));
  // The normal view looks along -z with +y up: -x on the left; the -x wall
  // keeps the colour drawn before its cube-map section.
  EXPECT_TRUE(near(pixelAt(kWindowWidth / 4, kWindowHeight / 2), magenta));
  EXPECT_TRUE(near(pixelAt(3 * kWindowWidth / 4, kWindowHeight / 2), yellow));
  // The faces' depth clears were kept to their corner; nothing after them is.
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  EXPECT_EQ(logLines("MatRenderer: Creating dynamic cubemap with id=1"), 1);
  EXPECT_EQ(logLines("Renderer: Material \"mirror\" (cubemap)"), 0);
  EXPECT_EQ(logLines("Renderer: Material \"wallXn\" (cubemap)"), 6);
  EXPECT_EQ(logLines("MatRenderer: StoreCubeMapSide(1, 5)"), 1);
  EXPECT_EQ(logLines("OpenGL error occured"), 0);
}

TEST_F(CubemapTest, FixedWallsOutsideAFaceAreSkippedWithTheSamePictures) {
  auto pictures = [&] {
    renderer->Render(Renderer::kNormalView, nullptr);
    std::vector<std::vector<unsigned char>> all;
    for (int face = 0; face < 6; ++face) all.push_back(faceImage(face));
    std::vector<unsigned char> view(size_t(kWindowWidth) * kWindowHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWindowWidth, kWindowHeight, GL_RGB, GL_UNSIGNED_BYTE, view.data());
    all.push_back(view);
    return all;
  };
  auto whole = pictures();
  int wholeCount = renderer->matRenderer().trianglesRendered;
  for (Geometry& g : walls) renderer->MarkFixed(&g);
  EXPECT_TRUE(pictures() == whole);
  EXPECT_EQ(renderer->matRenderer().trianglesRendered, wholeCount);
  // Each face sees a wall ahead and four edge-on at most; the one behind is skipped.
  EXPECT_LT(renderer->matRenderer().trianglesSubmitted, wholeCount);
}

TEST_F(CubemapTest, CubemapsRefreshInTheFirstThreeFramesOrWhenAsked) {
  // 14 wall triangles, two more for the -x wall's second Draw in the normal view.
  const int normalView = 16, perFace = 14;
  for (int frame = 0; frame < 4; ++frame) renderer->Render(Renderer::kNormalView, nullptr);
  EXPECT_EQ(logLines("Renderer: Generating dynamic cubemap for material \"mirror\""), 3);
  EXPECT_EQ(logLines("Renderer: Rendered " + std::to_string(normalView + 6 * perFace) + " tris"), 3);
  EXPECT_EQ(logLines("Renderer: Rendered " + std::to_string(normalView) + " tris"), 1);
  // Asked for every frame, the count stays at zero, so switching back gives three more.
  renderer->alwaysUpdateCubemaps = true;
  renderer->Render(Renderer::kNormalView, nullptr);
  renderer->Render(Renderer::kNormalView, nullptr);
  EXPECT_EQ(renderer->frameCount, 0);
  renderer->alwaysUpdateCubemaps = false;
  for (int frame = 0; frame < 4; ++frame) renderer->Render(Renderer::kNormalView, nullptr);
  EXPECT_EQ(logLines("Renderer: Generating dynamic cubemap for material \"mirror\""), 8);
  EXPECT_EQ(renderer->frameCount, 3);
}

TEST_F(CubemapTest, CentreIsReadWhenTheCubemapIsRendered) {
  renderer->Render(Renderer::kNormalView, nullptr);
  // Moved near the +x and +z walls.
  centre = Vec3(9, 0, 9);
  renderer->alwaysUpdateCubemaps = true;
  renderer->Render(Renderer::kNormalView, nullptr);
  EXPECT_TRUE(near(texel(1, 64, 64), kRed));
  EXPECT_TRUE(near(texel(5, 64, 64), {204, 204, 204}));
  // Face 0 looks along -x at the cyan wall 19 m away; its right side (world +z
  // under a -y up) now runs into the grey +z wall a metre away.
  EXPECT_TRUE(near(texel(0, 64, 64), {0, 255, 255}));
  EXPECT_TRUE(near(texel(0, 112, 64), {204, 204, 204}));
}
#else
TEST_F(RendererTest, WithoutShadersCubemapsAreNeverRendered) {
  material("mirror", "UseDynamicTexture 0\r\nDraw\r\n");
  Geometry mirror(0, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, "mirror");
  auto renderer = makeRenderer();
  renderer->AddGeometry(&mirror, &mirror, 1, &camera);
  EXPECT_TRUE(static_cast<Material*>(renderer->scene.begin().node->data->material)->hasDynamicCubemap);
  for (int frame = 0; frame < 3; ++frame) renderer->Render(Renderer::kNormalView, nullptr);
  EXPECT_EQ(logLines("Renderer: *** Rendering start (dynamic texture)"), 0);
}
#endif

// Fixed geometry: two runs of triangles, one quad in front of the camera and
// one behind it, each a whole index range.
TEST_F(RendererTest, FixedRangeBehindTheCameraIsCountedButNotDrawn) {
  material("plain", "UseTexture 0 green.tga\r\nDraw\r\n");
  Quad front = screenQuad("plain", 1.0);
  Quad back(Vec3(0, 0, 1), Vec3(0, 4, 0), Vec3(4, 0, 0), "plain");
  std::vector<float> positions = front.positions, texCoords = front.texCoords, normals = front.normals;
  positions.insert(positions.end(), back.positions.begin(), back.positions.end());
  texCoords.insert(texCoords.end(), back.texCoords.begin(), back.texCoords.end());
  normals.insert(normals.end(), back.normals.begin(), back.normals.end());
  const int perRange = IndexRanges::kTrianglesPerRange;
  std::vector<int32_t> indices;
  for (int quad = 0; quad < 2; ++quad) {
    for (int i = 0; i < perRange / 2; ++i) {
      for (int32_t v : front.indices) indices.push_back(v + 4 * quad);
    }
  }
  Geometry g(8, positions.data(), texCoords.data(), normals.data(), nullptr, nullptr, 2 * perRange,
             indices.data(), "plain");
  auto renderer = makeRenderer();
  renderer->AddGeometry(&g, &g, 0, nullptr);
  renderer->MarkFixed(&g);
  ASSERT_EQ(g.ranges->ranges.size(), 2u);
  for (bool culling : {true, false}) {
    renderer->rangeCulling = culling;
    clearColour(0, 0, 0);
    renderer->Render(Renderer::kNormalView, nullptr);
    EXPECT_TRUE(near(centrePixel(), kGreen));
    EXPECT_EQ(renderer->matRenderer().trianglesRendered, 2 * perRange);
    EXPECT_EQ(renderer->matRenderer().trianglesSubmitted, culling ? perRange : 2 * perRange);
  }
  EXPECT_EQ(logLines("Renderer: Rendered 256 tris"), 2);
}
