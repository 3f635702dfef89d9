#pragma once

#include "physics/quadtree.h"
#include "physics/vec3.h"

#include <cstdint>
#include <vector>

// Builds collision trees from triangles listed in code: each triangle gets its own
// three vertices, grouped by material.
struct TriangleSoup {
  std::vector<float> positions;
  std::vector<std::vector<int32_t>> groups;

  // Appends a triangle to `group` and returns its number within the whole mesh
  // (numbers stay valid when triangles are added in group order).
  int add(int group, const Vec3& a, const Vec3& b, const Vec3& c) {
    if (int(groups.size()) <= group) groups.resize(size_t(group) + 1);
    for (const Vec3* v : {&a, &b, &c}) {
      groups[size_t(group)].push_back(int32_t(positions.size() / 3));
      positions.push_back(float(v->x));
      positions.push_back(float(v->y));
      positions.push_back(float(v->z));
    }
    int number = 0;
    for (size_t g = 0; g <= size_t(group); ++g) number += int(groups[g].size() / 3);
    return number - 1;
  }

  // An upward-facing right triangle with legs of `size` along +x and +z from (x, y, z).
  int addFlat(int group, double x, double y, double z, double size) {
    return add(group, Vec3(x, y, z), Vec3(x, y, z + size), Vec3(x + size, y, z));
  }

  CollisionQuadtree* build() const {
    std::vector<int> counts;
    std::vector<const int32_t*> lists;
    for (const std::vector<int32_t>& g : groups) {
      counts.push_back(int(g.size() / 3));
      lists.push_back(g.data());
    }
    return buildQuadtree(positions.data(), int(positions.size() / 3), int(groups.size()), counts.data(),
                         lists.data());
  }
};
