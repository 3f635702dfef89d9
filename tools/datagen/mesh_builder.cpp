#include "tools/datagen/mesh_builder.h"

int MeshBuilder::material(const std::string& name) {
  for (size_t i = 0; i < materials.size(); ++i)
    if (materials[i] == name) return int(i);
  materials.push_back(name);
  triangles.emplace_back();
  return int(materials.size()) - 1;
}

int MeshBuilder::addVertex(const MeshVertex& vertex) {
  vertices.push_back(vertex);
  return int(vertices.size()) - 1;
}

int MeshBuilder::addVertex(const Vec3& position, const Vec3& normal, const Vec3& color, double u,
                           double v) {
  return addVertex(MeshVertex{position, normal, color, u, v, u, v});
}

void MeshBuilder::addTriangle(int material, int a, int b, int c) {
  std::vector<int>& list = triangles[size_t(material)];
  list.push_back(a);
  list.push_back(b);
  list.push_back(c);
}

void MeshBuilder::addQuad(int material, int a, int b, int c, int d) {
  addTriangle(material, a, b, c);
  addTriangle(material, a, c, d);
}

int MeshBuilder::triangleCount() const {
  size_t n = 0;
  for (const std::vector<int>& list : triangles) n += list.size() / 3;
  return int(n);
}

RMDMesh MeshBuilder::toMesh() const {
  RMDMesh mesh;
  mesh.materialCount = int(materials.size());
  mesh.materialNames = materials;
  mesh.vertexCount = int(vertices.size());
  mesh.texCoordSetCount = secondTexCoordSet ? 2 : 1;
  for (const MeshVertex& v : vertices) {
    mesh.positions.insert(mesh.positions.end(),
                          {float(v.position.x), float(v.position.y), float(v.position.z)});
    mesh.normals.insert(mesh.normals.end(), {float(v.normal.x), float(v.normal.y), float(v.normal.z)});
    mesh.colors.insert(mesh.colors.end(), {float(v.color.x), float(v.color.y), float(v.color.z)});
    mesh.texCoords[0].insert(mesh.texCoords[0].end(), {float(v.u), float(v.v)});
    if (secondTexCoordSet) mesh.texCoords[1].insert(mesh.texCoords[1].end(), {float(v.u1), float(v.v1)});
  }
  for (const std::vector<int>& list : triangles) {
    mesh.triangleIndices.emplace_back(list.begin(), list.end());
    mesh.triangleCounts.push_back(int(list.size() / 3));
  }
  return mesh;
}

Vec3 faceNormal(const Vec3& a, const Vec3& b, const Vec3& c) {
  Vec3 n = cross(b - a, c - a);
  normalizeGuarded(n);
  return n;
}
