#include "tools/icon/icon_picture.h"

#include <algorithm>
#include <cmath>

namespace {

struct Rgba {
  float r, g, b, a;
};

// Samples per pixel along each axis: smooth edges even at 16 x 16.
constexpr int kSamples = 4;
constexpr double kCorner = 0.18;   // corner radius, in icon widths
constexpr double kHorizon = 0.42;  // from the top

// Inside a rectangle with rounded corners of radius r.
bool inRoundedBox(double x, double y, double x0, double y0, double x1, double y1, double r) {
  if (x < x0 || x > x1 || y < y0 || y > y1) return false;
  double cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
  return std::hypot(x - cx, y - cy) <= r;
}

Rgba mix(Rgba a, Rgba b, double t) {
  float s = float(std::clamp(t, 0.0, 1.0));
  return {a.r + (b.r - a.r) * s, a.g + (b.g - a.g) * s, a.b + (b.b - a.b) * s, a.a + (b.a - a.a) * s};
}

// The landscape behind the car: sky, grass and the road bending towards the horizon.
Rgba scenery(double x, double y) {
  if (y < kHorizon) return mix({0.20f, 0.45f, 0.85f, 1}, {0.70f, 0.85f, 0.98f, 1}, y / kHorizon);
  double t = (y - kHorizon) / (1.0 - kHorizon);  // 0 at the horizon, 1 at the bottom
  Rgba grass = mix({0.35f, 0.60f, 0.25f, 1}, {0.15f, 0.42f, 0.12f, 1}, t);
  double centre = 0.5 + 0.22 * (1.0 - t) * (1.0 - t) - 0.02;
  double half = 0.02 + 0.40 * t;
  double off = std::abs(x - centre);
  if (off > half) return grass;
  if (off > half * 0.88) return {0.95f, 0.95f, 0.95f, 1};
  return mix({0.45f, 0.45f, 0.48f, 1}, {0.30f, 0.30f, 0.33f, 1}, t);
}

// The car from behind; false where the point is not on it.
bool car(double x, double y, Rgba& out) {
  if (inRoundedBox(x, y, 0.26, 0.80, 0.36, 0.92, 0.03) || inRoundedBox(x, y, 0.64, 0.80, 0.74, 0.92, 0.03)) {
    out = {0.08f, 0.08f, 0.08f, 1};  // tyres
    return true;
  }
  if (inRoundedBox(x, y, 0.34, 0.56, 0.66, 0.72, 0.05)) {
    bool window = inRoundedBox(x, y, 0.38, 0.59, 0.62, 0.70, 0.03);
    out = window ? Rgba{0.10f, 0.14f, 0.22f, 1} : Rgba{0.80f, 0.08f, 0.06f, 1};
    return true;
  }
  if (inRoundedBox(x, y, 0.24, 0.68, 0.76, 0.88, 0.05)) {
    bool lamp = y > 0.72 && y < 0.77 && (x < 0.33 || x > 0.67);
    out = lamp ? Rgba{1.0f, 0.75f, 0.20f, 1} : Rgba{0.88f, 0.10f, 0.08f, 1};
    return true;
  }
  return false;
}

Rgba iconAt(double x, double y) {
  if (!inRoundedBox(x, y, 0.0, 0.0, 1.0, 1.0, kCorner)) return {0, 0, 0, 0};
  Rgba c;
  if (car(x, y, c)) return c;
  return scenery(x, y);
}

}  // namespace

Image drawIcon(int size) {
  Image image(size, size);
  const double step = 1.0 / (double(size) * kSamples);
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      // Colours add up weighted by coverage, so transparent samples do not darken edges.
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          Rgba c = iconAt((px * kSamples + sx + 0.5) * step, (py * kSamples + sy + 0.5) * step);
          r += c.r * c.a;
          g += c.g * c.a;
          b += c.b * c.a;
          a += c.a;
        }
      }
      if (a > 0) image.set(px, py, float(r / a), float(g / a), float(b / a), float(a / (kSamples * kSamples)));
    }
  }
  return image;
}
