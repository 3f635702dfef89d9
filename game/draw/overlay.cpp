#include "game/draw/overlay.h"

#include "game/time_display.h"
#include "physics/vec3.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr float kGlyphWidthU = 0.0625f;  // 16 glyphs side by side
constexpr float kTimeGlyphSize = 2.4f;
constexpr float kDegToRadF = 0.017453292f;

}  // namespace

void thickLineCorners(float x1, float y1, float x2, float y2, float w1, float w2, float corners[8]) {
  Vec3 a(x1, y1, 0.0);
  Vec3 b(x2, y2, 0.0);
  Vec3 side = cross(cross(a, b), b - a);
  normalizeGuarded(side);
  double h1 = double(w1) * 0.5;
  double h2 = double(w2) * 0.5;
  corners[0] = float(x1 + side.x * h1);
  corners[1] = float(y1 + side.y * h1);
  corners[2] = float(x1 - side.x * h1);
  corners[3] = float(y1 - side.y * h1);
  corners[4] = float(x2 - side.x * h2);
  corners[5] = float(y2 - side.y * h2);
  corners[6] = float(x2 + side.x * h2);
  corners[7] = float(y2 + side.y * h2);
}

void drawThickLine(float x1, float y1, float x2, float y2, float w1, float w2) {
  float c[8];
  thickLineCorners(x1, y1, x2, y2, w1, w2, c);
  GLboolean culling = glIsEnabled(GL_CULL_FACE);
  glDisable(GL_CULL_FACE);
  glBegin(GL_QUADS);
  for (int i = 0; i < 4; ++i) glVertex3f(c[2 * i], c[2 * i + 1], 0.0f);
  glEnd();
  if (culling) glEnable(GL_CULL_FACE);
}

void drawArc(float cx, float cy, float r, float w, int startDeg, int endDeg) {
  auto pointX = [&](int deg) { return float(cx + r * std::cos(float(deg) * kDegToRadF)); };
  auto pointY = [&](int deg) { return float(cy + r * std::sin(float(deg) * kDegToRadF)); };
  int lo = std::min(startDeg, endDeg);
  int hi = std::max(startDeg, endDeg);
  int i = 0;
  for (int j = lo; j <= hi; ++j) {
    if (i >= 4 || j == hi) {
      drawThickLine(pointX(j + 1), pointY(j + 1), pointX(j - i - 2), pointY(j - i - 2), w, w);
      i = 0;
    } else {
      i += 1;
    }
  }
}

void instrumentPoint(float cx, float cy, float a, float r, float& x, float& y) {
  x = float(cx - std::cos(a) * r);
  y = float(cy - std::sin(a) * r);
}

void drawGlyph(float x, float y, int glyph, float size) {
  float u0 = float(glyph) * kGlyphWidthU;
  float u1 = float(glyph + 1) * kGlyphWidthU;
  // Counter-clockwise on the screen (y grows downward), so culling keeps it.
  glBegin(GL_QUADS);
  glTexCoord2f(u0, 1.0f);
  glVertex3f(x, y, 0.0f);
  glTexCoord2f(u0, 0.0f);
  glVertex3f(x, y + size, 0.0f);
  glTexCoord2f(u1, 0.0f);
  glVertex3f(x + size, y + size, 0.0f);
  glTexCoord2f(u1, 1.0f);
  glVertex3f(x + size, y, 0.0f);
  glEnd();
}

void drawTime(float x, float y, float seconds) {
  int glyphs[kTimeGlyphCount];
  timeGlyphs(seconds, glyphs);
  for (int i = 0; i < kTimeGlyphCount; ++i) drawGlyph(x + kTimeGlyphOffsets[i], y, glyphs[i], kTimeGlyphSize);
}
