#include "tools/datagen/smooth_shell.h"

#include <cmath>
#include <map>
#include <tuple>

int SmoothShell::point(const Vec3& p) {
  points.push_back(p);
  return int(points.size()) - 1;
}

namespace {

// Twice the area of the face along its normal.
Vec3 areaNormal(const SmoothShell& shell, const SmoothShell::Face& f) {
  const Vec3& a = shell.points[size_t(f.points[0])];
  Vec3 n(0.0, 0.0, 0.0);
  for (int k = 1; k + 1 < f.count; ++k)
    n += cross(shell.points[size_t(f.points[k])] - a, shell.points[size_t(f.points[k + 1])] - a);
  return n;
}

constexpr double kMinArea = 1e-9;  // m^2, twice the area below which a face is dropped

}  // namespace

void SmoothShell::triangle(int material, int a, int b, int c) {
  Face f{{a, b, c, c}, 3, material};
  if (length(areaNormal(*this, f)) > kMinArea) faces.push_back(f);
}

void SmoothShell::quad(int material, int a, int b, int c, int d) {
  // A quad with two corners on one point is a triangle.
  int idx[4] = {a, b, c, d};
  int kept[4], n = 0;
  for (int k = 0; k < 4; ++k) {
    int next = idx[(k + 1) % 4];
    if (length(points[size_t(idx[k])] - points[size_t(next)]) > 1e-7) kept[n++] = idx[k];
  }
  if (n == 4) {
    Face f{{a, b, c, d}, 4, material};
    if (length(areaNormal(*this, f)) > kMinArea) faces.push_back(f);
  } else if (n == 3) {
    triangle(material, kept[0], kept[1], kept[2]);
  }
}

void emitSmoothShell(const SmoothShell& shell, double creaseDegrees, const CornerPainter& painter,
                     MeshBuilder& mesh) {
  const double cosCrease = std::cos(creaseDegrees * 3.14159265358979323846 / 180.0);
  std::vector<Vec3> faceNormals, faceUnits;
  std::vector<std::vector<int>> facesAt(shell.points.size());
  for (size_t f = 0; f < shell.faces.size(); ++f) {
    Vec3 n = areaNormal(shell, shell.faces[f]);
    faceNormals.push_back(n);
    normalizeGuarded(n);
    faceUnits.push_back(n);
    for (int k = 0; k < shell.faces[f].count; ++k) facesAt[size_t(shell.faces[f].points[k])].push_back(int(f));
  }
  // One vertex per point, material and (rounded) normal.
  std::map<std::tuple<int, int, long, long, long>, int> shared;
  for (size_t f = 0; f < shell.faces.size(); ++f) {
    const SmoothShell::Face& face = shell.faces[f];
    int idx[4];
    for (int k = 0; k < face.count; ++k) {
      int p = face.points[k];
      Vec3 n(0.0, 0.0, 0.0);
      for (int g : facesAt[size_t(p)]) {
        const SmoothShell::Face& other = shell.faces[size_t(g)];
        if (other.material == face.material && dot(faceUnits[size_t(g)], faceUnits[f]) >= cosCrease)
          n += faceNormals[size_t(g)];
      }
      normalizeGuarded(n);
      auto key = std::make_tuple(p, face.material, std::lround(n.x * 1e5), std::lround(n.y * 1e5),
                                 std::lround(n.z * 1e5));
      auto found = shared.find(key);
      if (found != shared.end()) {
        idx[k] = found->second;
        continue;
      }
      const Vec3& at = shell.points[size_t(p)];
      CornerLook look = painter(face.material, at, n);
      idx[k] = mesh.addVertex(at, n, look.color, look.u, look.v);
      shared.emplace(key, idx[k]);
    }
    if (face.count == 3)
      mesh.addTriangle(face.material, idx[0], idx[1], idx[2]);
    else
      mesh.addQuad(face.material, idx[0], idx[1], idx[2], idx[3]);
  }
}
