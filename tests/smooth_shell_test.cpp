// Normals of a model built as shared points and faces: smooth across gentle
// bends, split at creases and wherever the material changes; faces without
// area are dropped.
#include "tools/datagen/smooth_shell.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kTol = 1e-9;

CornerLook plain(int, const Vec3&, const Vec3&) { return {0.0, 0.0, Vec3(1.0, 1.0, 1.0)}; }

// Two unit quads side by side along x, the second bent up by `degrees`
// about their shared edge at x = 1.
SmoothShell bentPair(double degrees, int secondMaterial) {
  SmoothShell shell;
  double a = degrees * 3.14159265358979323846 / 180.0;
  int p[6] = {shell.point(Vec3(0, 0, 0)), shell.point(Vec3(1, 0, 0)),
              shell.point(Vec3(1 + std::cos(a), std::sin(a), 0)), shell.point(Vec3(0, 0, -1)),
              shell.point(Vec3(1, 0, -1)), shell.point(Vec3(1 + std::cos(a), std::sin(a), -1))};
  shell.quad(0, p[0], p[1], p[4], p[3]);
  shell.quad(secondMaterial, p[1], p[2], p[5], p[4]);
  return shell;
}

MeshBuilder emit(const SmoothShell& shell) {
  MeshBuilder mesh;
  mesh.material("a");
  mesh.material("b");
  emitSmoothShell(shell, 30.0, plain, mesh);
  return mesh;
}

}  // namespace

TEST(SmoothShell, GentleBendSharesTheEdgeWithAnAveragedNormal) {
  MeshBuilder mesh = emit(bentPair(20.0, 0));
  EXPECT_EQ(mesh.vertices.size(), 6u);
  for (const MeshVertex& v : mesh.vertices) {
    if (std::fabs(v.position.x - 1.0) > kTol) continue;
    // Halfway between straight up and the second quad's tilt of 20 degrees.
    EXPECT_NEAR(std::atan2(-v.normal.x, v.normal.y) * 180.0 / 3.14159265358979323846, 10.0, 1e-6);
  }
}

TEST(SmoothShell, CreaseAndMaterialChangeSplitTheEdge) {
  EXPECT_EQ(emit(bentPair(45.0, 0)).vertices.size(), 8u);  // past the 30-degree crease
  MeshBuilder twoParts = emit(bentPair(0.0, 1));           // flat, but two materials
  EXPECT_EQ(twoParts.vertices.size(), 8u);
  EXPECT_EQ(twoParts.triangles[0].size(), 6u);
  EXPECT_EQ(twoParts.triangles[1].size(), 6u);
}

TEST(SmoothShell, FacesWithoutAreaAreDroppedAndAQuadWithTwoEqualCornersIsATriangle) {
  SmoothShell shell;
  int a = shell.point(Vec3(0, 0, 0)), b = shell.point(Vec3(1, 0, 0)), c = shell.point(Vec3(1, 1, 0));
  int same = shell.point(Vec3(1, 1, 0));
  shell.quad(0, a, b, c, same);                                     // a triangle
  shell.quad(0, a, b, shell.point(Vec3(2, 0, 0)), shell.point(Vec3(3, 0, 0)));  // all on a line
  ASSERT_EQ(shell.faces.size(), 1u);
  EXPECT_EQ(shell.faces[0].count, 3);
  MeshBuilder mesh = emit(shell);
  EXPECT_EQ(mesh.triangleCount(), 1);
  for (const MeshVertex& v : mesh.vertices) EXPECT_NEAR(v.normal.z, 1.0, kTol);
}
