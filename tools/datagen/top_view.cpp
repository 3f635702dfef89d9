#include "tools/datagen/top_view.h"

#include "tools/datagen/track_model.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kViewExtent = 330.0;  // metres from the centre to the map's edge

void dot(Image& image, double px, double py, int radius, float r, float g, float b) {
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx)
      if (dx * dx + dy * dy <= radius * radius) image.blendOver(int(px) + dx, int(py) + dy, r, g, b, 1.0f);
}

}  // namespace

Image renderTopView(const MeshBuilder& track, const TrackLayout& layout,
                    const std::vector<TreePlacement>& trees, int size) {
  Image image(size, size);
  image.fill(0.0f, 0.0f, 0.0f, 1.0f);
  const double scale = size / (2.0 * kViewExtent);
  auto toPixel = [&](const Vec3& p, double& px, double& py) {
    px = (p.x + kViewExtent) * scale;
    py = (p.z + kViewExtent) * scale;
  };
  const float colours[3][3] = {{0.45f, 0.45f, 0.47f}, {0.25f, 0.55f, 0.2f}, {0.8f, 0.72f, 0.5f}};
  const Vec3 light = normalized(Vec3(500.0, 1500.0, 3000.0));
  for (size_t m = 0; m < track.triangles.size(); ++m) {
    const std::vector<int>& list = track.triangles[m];
    for (size_t t = 0; t + 2 < list.size(); t += 3) {
      const Vec3& a = track.vertices[size_t(list[t])].position;
      const Vec3& b = track.vertices[size_t(list[t + 1])].position;
      const Vec3& c = track.vertices[size_t(list[t + 2])].position;
      double shade = 0.55 + 0.6 * std::max(0.0, dot(faceNormal(a, b, c), light));
      double ax, ay, bx, by, cx, cy;
      toPixel(a, ax, ay);
      toPixel(b, bx, by);
      toPixel(c, cx, cy);
      int x0 = std::max(0, int(std::floor(std::min({ax, bx, cx}))));
      int x1 = std::min(size - 1, int(std::ceil(std::max({ax, bx, cx}))));
      int y0 = std::max(0, int(std::floor(std::min({ay, by, cy}))));
      int y1 = std::min(size - 1, int(std::ceil(std::max({ay, by, cy}))));
      double area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
      if (std::fabs(area) < 1e-12) continue;
      for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
          double px = x + 0.5, py = y + 0.5;
          double w0 = ((bx - px) * (cy - py) - (by - py) * (cx - px)) / area;
          double w1 = ((cx - px) * (ay - py) - (cy - py) * (ax - px)) / area;
          double w2 = 1.0 - w0 - w1;
          if (w0 < 0.0 || w1 < 0.0 || w2 < 0.0) continue;
          // The ribbon is drawn before the ground; ground under it must not cover it.
          float* p = image.at(x, y);
          if (m != kGroupGrass || p[0] + p[1] + p[2] == 0.0f || p[1] > p[0] * 1.5f)
            image.set(x, y, float(colours[m][0] * shade), float(colours[m][1] * shade),
                      float(colours[m][2] * shade));
        }
      }
    }
  }
  for (const TreePlacement& t : trees) {
    double px, py;
    toPixel(t.position, px, py);
    dot(image, px, py, std::max(1, int(3.0 * scale)), 0.05f, 0.2f, 0.05f);
  }
  for (int k = 0; k < 720; ++k) {
    double a = k * 3.14159265358979323846 / 360.0;
    double px, py;
    toPixel(Vec3(std::cos(a) * kOrbitRadius, 0.0, std::sin(a) * kOrbitRadius), px, py);
    image.blendOver(int(px), int(py), 0.3f, 0.6f, 1.0f, 1.0f);
  }
  double px, py;
  toPixel(layout.startPosition, px, py);
  dot(image, px, py, 3, 1.0f, 1.0f, 1.0f);
  toPixel(Vec3(kRecoveryX, 0.0, kRecoveryZ), px, py);
  dot(image, px, py, 3, 1.0f, 0.1f, 0.1f);
  return image;
}
