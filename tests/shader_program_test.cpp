#include "render/shader_program.h"

#include "physics/mat4.h"
#include "render/gl_ext.h"
#include "render/mat_renderer.h"
#include "render/renderer.h"
#include "render_gl_support.h"

#include <gtest/gtest.h>

#include <memory>

using namespace render_test;

namespace {

class ShaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.ok());
    writeFile("data/materials/commands.txt", kCommandTable);
  }
  ScratchFolder scratch;
  GLWindow window;
};

}  // namespace

#if STRAVO_GLSL
namespace {

// Puts the vertex straight into clip space, so the object's placement only
// reaches the picture through the uniforms; each quadrant shows one of them.
const char kProbeVertex[] =
    "varying vec2 where;\n"
    "void main() { where = gl_Vertex.xy; gl_Position = vec4(gl_Vertex.xy, 0.0, 1.0); }\n";
const char kProbeFragment[] =
    "uniform vec3 light0; uniform vec3 light3; uniform vec3 observer; uniform mat4 model_matrix;\n"
    "uniform mat3 direction_matrix; uniform float which; varying vec2 where;\n"
    "void main() {\n"
    "  vec3 v;\n"
    "  if (which < 0.5) v = light0 / 8000.0 + 0.5;\n"
    "  else if (which < 1.5) v = observer / 40.0 + 0.5;\n"
    "  else if (which < 2.5) v = model_matrix[3].xyz / 40.0 + 0.5;\n"
    "  else v = direction_matrix * vec3(0.0, 0.0, 1.0) * 0.5 + 0.5 + (light3 - light0);\n"
    "  gl_FragColor = vec4(v, 1.0);\n"
    "}\n";

// A quad over one quadrant of clip space (-1..1), counter-clockwise.
Quad quadrant(int i, const std::string& material) {
  double x = (i % 2 == 0) ? -0.5 : 0.5;
  double y = (i / 2 == 0) ? -0.5 : 0.5;
  return Quad(Vec3(x, y, 0), Vec3(0.45, 0, 0), Vec3(0, 0.45, 0), material);
}

Rgb expected(const Vec3& v) { return rgb(v.x, v.y, v.z); }

}  // namespace

TEST_F(ShaderTest, AutomaticUniformsDescribeTheObjectInItsOwnFrame) {
  writeFile("data/shaders/probe.vs", kProbeVertex);
  writeFile("data/shaders/probe.fs", kProbeFragment);
  for (int i = 0; i < 4; ++i) {
    writeFile("data/materials/probe" + std::to_string(i) + ".txt",
              "UseShader probe.vs\r\nUniform1f which " + std::to_string(i) + "\r\nDraw\r\n");
  }
  Vec3 position(10, 2, -5);
  Mat4 orientation = yawPitchMat4(90.0f, 0.0f);
  Vec3 camera(3, 1, 4);
  Mat4 view = identityMat4();
  std::vector<Quad> quads;
  for (int i = 0; i < 4; ++i) quads.push_back(quadrant(i, "probe" + std::to_string(i)));
  std::vector<Geometry> geometries;
  for (const Quad& q : quads) geometries.push_back(q.geometry());
  auto renderer = std::make_unique<Renderer>(&GLWindow::procAddress);
  for (Geometry& g : geometries) {
    g.SetTransform(&position, &orientation);
    renderer->AddGeometry(&g, &g, 0, nullptr);
  }
  renderer->SetCamera(&camera, &view, 60.0f);
  renderer->Render(Renderer::kNormalView, nullptr);

  Vec3 light = worldToLocal(orientation, Vec3(500, 1500, 3000), position);
  Vec3 observer = worldToLocal(orientation, camera, position);
  const int left = kWindowWidth / 4, right = 3 * kWindowWidth / 4;
  const int low = kWindowHeight / 4, high = 3 * kWindowHeight / 4;
  EXPECT_TRUE(near(pixelAt(left, low), expected(light * (1.0 / 8000) + Vec3(0.5, 0.5, 0.5)))) << "light0";
  EXPECT_TRUE(near(pixelAt(right, low), expected(observer * (1.0 / 40) + Vec3(0.5, 0.5, 0.5)))) << "observer";
  EXPECT_TRUE(near(pixelAt(left, high), expected(position * (1.0 / 40) + Vec3(0.5, 0.5, 0.5)))) << "model";
  // The local z axis of a 90 degree yaw points along world +x; every light gets the same value.
  EXPECT_TRUE(near(pixelAt(right, high), expected(Vec3(1, 0.5, 0.5)))) << "direction";
  // Four scripts, one program.
  EXPECT_EQ(logLines("MatRenderer: Loading shader \"data\\shaders\\probe.vs\""), 1);
  EXPECT_EQ(renderer->matRenderer().shaderCache.size(), 1);
}

TEST_F(ShaderTest, AbsentUniformsHaveNoLocation) {
  writeFile("data/shaders/tex.vp",
            "uniform mat4 model_matrix;\n"
            "void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = model_matrix * gl_Vertex; }\n");
  writeFile("data/shaders/tex.fp",
            "uniform sampler2D tex0;\n"
            "void main() { gl_FragColor = texture2D(tex0, gl_TexCoord[0].xy); }\n");
  MatRenderer m(&GLWindow::procAddress);
  // Named with any letter before the last: the pair is .vp and .fp.
  ShaderProgram* p = m.GetShader("data\\shaders\\tex.xp");
  ASSERT_NE(p, nullptr);
  EXPECT_NE(p->texLocations[0], -1);
  EXPECT_NE(p->modelMatrixLocation, -1);
  for (int i = 1; i < ShaderProgram::kSamplers; ++i) EXPECT_EQ(p->texLocations[i], -1);
  for (int location : p->cubeLocations) EXPECT_EQ(location, -1);
  for (int location : p->lightLocations) EXPECT_EQ(location, -1);
  for (int location : p->globalLightLocations) EXPECT_EQ(location, -1);
  EXPECT_EQ(p->observerLocation, -1);
  EXPECT_EQ(p->globalObserverLocation, -1);
  EXPECT_EQ(p->directionMatrixLocation, -1);
  m.UseShader(p);
  GLint sampler = -1;
  auto getUniform = reinterpret_cast<PFNGLGETUNIFORMIVARBPROC>(GLWindow::procAddress("glGetUniformivARB"));
  ASSERT_NE(getUniform, nullptr);
  getUniform(p->program, p->texLocations[0], &sampler);
  EXPECT_EQ(sampler, 0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ShaderTest, CompileFailureIsLoggedAndTriedAgainNextTime) {
  writeFile("data/shaders/bad.vs", "void main() { this is not GLSL }\n");
  writeFile("data/shaders/bad.fs", "void main() { gl_FragColor = vec4(1.0); }\n");
  writeFile("data/materials/a.txt", "UseShader bad.vs\r\nDraw\r\n");
  writeFile("data/materials/b.txt", "UseShader bad.vs\r\nDraw\r\n");
  writeFile("data/materials/c.txt", "UseShader gone.vs\r\nDraw\r\n");
  auto renderer = std::make_unique<Renderer>(&GLWindow::procAddress);
  Quad q = screenQuad("a");
  Geometry a = q.geometry(), b = q.geometry(), c = q.geometry();
  b.materialName = "b";
  c.materialName = "c";
  renderer->AddGeometry(&a, &a, 0, nullptr);
  renderer->AddGeometry(&b, &b, 0, nullptr);
  renderer->AddGeometry(&c, &c, 0, nullptr);
  EXPECT_EQ(logLines("*** Shader compilation error"), 2);
  EXPECT_EQ(logLines("Error: Shader \"data\\shaders\\bad.vs\" not found"), 2);
  // A missing file fails without a compiler report.
  EXPECT_EQ(logLines("Error: Shader \"data\\shaders\\gone.vs\" not found"), 1);
  EXPECT_EQ(renderer->matRenderer().shaderCache.size(), 0);
}

TEST_F(ShaderTest, EmptyShaderFileReachesTheCompilerAsAnEmptyString) {
  writeFile("data/shaders/empty.vs", "");
  writeFile("data/shaders/empty.fs", "void main() { gl_FragColor = vec4(1.0); }\n");
  writeFile("data/materials/e.txt", "UseShader empty.vs\r\nDraw\r\n");
  auto renderer = std::make_unique<Renderer>(&GLWindow::procAddress);
  while (glGetError() != GL_NO_ERROR) {
  }
  Quad q = screenQuad("e");
  Geometry e = q.geometry();
  renderer->AddGeometry(&e, &e, 0, nullptr);
  // The compiler may accept or refuse an empty shader; either way no GL error.
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
#else
TEST_F(ShaderTest, WithoutShadersNoProgramIsEverBuilt) {
  writeFile("data/shaders/probe.vs", "void main() { gl_Position = gl_Vertex; }\n");
  writeFile("data/shaders/probe.fs", "void main() { gl_FragColor = vec4(1.0); }\n");
  MatRenderer m(&GLWindow::procAddress);
  EXPECT_EQ(m.GetShader("data\\shaders\\probe.vs"), nullptr);
  EXPECT_EQ(logLines("MatRenderer: Loading shader \"data\\shaders\\probe.vs\""), 0);
}
#endif
