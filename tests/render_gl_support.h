#pragma once

// A window with a GL context for the render tests (Mesa's software GL under
// Xvfb), pixel read-back and small geometry builders.

#include "physics/vec3.h"
#include "render/geometry.h"
#include "render_test_support.h"

#include <SDL.h>
#include <GL/gl.h>

#include <array>
#include <string>
#include <vector>

namespace render_test {

constexpr int kWindowWidth = 256;
constexpr int kWindowHeight = 192;
// One step of an 8-bit channel, and the slack software GL needs around it.
constexpr int kColorTol = 3;

// The command table with the opcode names as keywords.
constexpr const char* kCommandTable =
    "0 Color\r\n1 Blend\r\n2 Draw\r\n3 ZPass\r\n4 UseTexture\r\n5 UseShader\r\n6 ZWrite\r\n"
    "7 Uniform1f\r\n8 Uniform4f\r\n9 UseDynamicTexture\r\n10 CubemapSection\r\n11 AlphaTest\r\n";

class GLWindow {
 public:
  explicit GLWindow(int width = kWindowWidth, int height = kWindowHeight) {
    SDL_Init(SDL_INIT_VIDEO);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    window_ = SDL_CreateWindow("render test", 0, 0, width, height, SDL_WINDOW_OPENGL);
    if (window_ != nullptr) context_ = SDL_GL_CreateContext(window_);
    if (context_ != nullptr) SDL_GL_MakeCurrent(window_, context_);
  }
  ~GLWindow() {
    if (context_ != nullptr) SDL_GL_DeleteContext(context_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    SDL_Quit();
  }
  bool ok() const { return context_ != nullptr; }

  static void* procAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

 private:
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
};

using Rgb = std::array<int, 3>;

inline Rgb pixelAt(int x, int y) {
  unsigned char p[3] = {0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
  return {p[0], p[1], p[2]};
}

inline Rgb centrePixel() { return pixelAt(kWindowWidth / 2, kWindowHeight / 2); }

inline Rgb rgb(double r, double g, double b) { return {int(r * 255 + 0.5), int(g * 255 + 0.5), int(b * 255 + 0.5)}; }

inline ::testing::AssertionResult near(const Rgb& got, const Rgb& want) {
  for (int i = 0; i < 3; ++i) {
    if (std::abs(got[i] - want[i]) > kColorTol) {
      return ::testing::AssertionFailure() << "got (" << got[0] << ", " << got[1] << ", " << got[2]
                                           << ") want (" << want[0] << ", " << want[1] << ", " << want[2] << ")";
    }
  }
  return ::testing::AssertionSuccess();
}

inline void clearColour(float r, float g, float b) {
  glClearColor(r, g, b, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

// A quad centre +- u +- v, counter-clockwise seen from the side u x v points to,
// with texture coordinates (0,0)..(1,1) and one colour per vertex. Keeps its own
// arrays, so its Geometry stays valid as long as it lives.
struct Quad {
  std::vector<float> positions;
  std::vector<float> texCoords;
  std::vector<float> normals;
  std::vector<float> colors;
  std::vector<int32_t> indices{0, 1, 2, 0, 2, 3};
  std::string name;

  Quad(const Vec3& centre, const Vec3& u, const Vec3& v, const std::string& material, const Rgb& colour = {255, 255, 255})
      : name(material) {
    const double su[4] = {-1, 1, 1, -1};
    const double sv[4] = {-1, -1, 1, 1};
    Vec3 n = cross(u, v);
    n = n * (1.0 / length(n));
    for (int i = 0; i < 4; ++i) {
      Vec3 p = centre + u * su[i] + v * sv[i];
      positions.insert(positions.end(), {float(p.x), float(p.y), float(p.z)});
      texCoords.insert(texCoords.end(), {float(su[i] * 0.5 + 0.5), float(sv[i] * 0.5 + 0.5)});
      normals.insert(normals.end(), {float(n.x), float(n.y), float(n.z)});
      colors.insert(colors.end(), {colour[0] / 255.0f, colour[1] / 255.0f, colour[2] / 255.0f});
    }
  }

  // With vertex colours (a mesh's), or with them as forced colours.
  Geometry geometry(bool forced = false) const {
    return Geometry(4, positions.data(), texCoords.data(), normals.data(), forced ? colors.data() : nullptr,
                    forced ? nullptr : colors.data(), 2, indices.data(), name.c_str());
  }
};

// A quad facing the default camera (at the origin, looking along -z) that fills
// the view, `distance` metres away.
inline Quad screenQuad(const std::string& material, double distance = 1.0, const Rgb& colour = {255, 255, 255}) {
  return Quad(Vec3(0, 0, -distance), Vec3(4 * distance, 0, 0), Vec3(0, 4 * distance, 0), material, colour);
}

// A TGA image file: rows of blue, green, red (, alpha) bytes.
inline std::string tgaFile(int width, int height, int depth, const std::vector<uint8_t>& pixels) {
  std::string file(18, '\0');
  file[2] = 2;
  file[12] = char(width & 0xff);
  file[13] = char(width >> 8);
  file[14] = char(height & 0xff);
  file[15] = char(height >> 8);
  file[16] = char(depth);
  file.append(pixels.begin(), pixels.end());
  return file;
}

}  // namespace render_test
