#pragma once

#include "physics/mat4.h"
#include "physics/ptr_list.h"
#include "physics/vec3.h"
#include "render/geometry.h"
#include "render/gl_proc.h"
#include "render/material_script.h"
#include "render/material_tables.h"
#include "render/range_culling.h"
#include "render/shader_program.h"
#include "render/textures.h"

#include <utility>
#include <vector>

// The layer between material scripts and OpenGL: it owns every texture, shader
// program and dynamic cube map a material names, performs the state changes of
// material commands, draws geometry lists with vertex arrays and counts the
// triangles. Needs a current GL context for its whole life.
class MatRenderer : public ScriptHost {
 public:
  static constexpr int kCubemapCount = 100;  // dynamic cube-map ids 0..99

  // Sets up the shader environment (starting values are set even when it
  // fails), then reads data\materials\commands.txt and constants.txt.
  explicit MatRenderer(GLProcLoader getProcAddress);
  ~MatRenderer() override;
  MatRenderer(const MatRenderer&) = delete;
  MatRenderer& operator=(const MatRenderer&) = delete;

  // Caches: the first request loads, a failed load is not kept.
  Texture* GetTexture(const char* path) override;
  ShaderProgram* GetShader(const char* path) override;
  int GetUniformLocation(ShaderProgram* program, const char* name) override;
  void CreateDynamicCubemap(int id) override;

  // State operations of material commands.
  void SetBlendMode(int mode);
  void SetZPass(int mode);
  void SetZWrite(int mode);
  void SetAlphaTest(float reference);
  void UseTexture(int unit, const Texture* texture);
  void UseDynamicTexture(int id, int unit);
  void UseShader(const ShaderProgram* program);
  void SetUniform(int location, int count, const float* values);

  // View operations. SetCamera clears the depth buffer (never the colour
  // buffer), loads the view matrix and makes `position` the observer.
  void SetCamera(const Vec3& position, const Mat4& rotation);
  void SetProjection(float fovY, float aspect, float zNear, float zFar);
  void SetViewport(int width, int height);
  // The cube-map face's square in the window's corner, depth clears kept to it.
  void SetCubemapViewport();

  // Dynamic cube maps.
  void BeginCubemapUpdate();
  bool IsCubemapDone(int id) const;
  void StoreCubeMapSide(int id, int side);

  // Puts every material back to the same starting state.
  void ResetState();
  // Draws the geometry of a list with the current state (the Draw command).
  void DrawGeometryList(const PtrList<Geometry>& list);

  MaterialTables tables;
  PtrList<Texture> textureCache;
  PtrList<ShaderProgram> shaderCache;
  unsigned int textureUnits[kTextureUnits];
  unsigned int cubemapTextures[kCubemapCount];
  int cubemapStates[kCubemapCount];  // 0 not created, 1 created, 2 rendered in this update
  int cubemapSize = 128;             // edge of a cube-map face in pixels
  Vec3 globalLight{500.0, 1500.0, 3000.0};
  Vec3 observer{0.0, 0.0, 0.0};
  const ShaderProgram* currentShader = nullptr;
  bool texturing = false;
  int trianglesRendered = 0;
  // The volume of the view being drawn, set by the Renderer for its views:
  // index ranges of fixed geometry wholly outside it are skipped (and still
  // counted in trianglesRendered). Null: everything is submitted.
  const ViewVolume* cullVolume = nullptr;
  // Triangles actually handed to GL, cleared with trianglesRendered.
  int trianglesSubmitted = 0;
  // Draws a list's geometry nearest the observer first, and the visible
  // ranges of fixed geometry nearest first; only for materials whose picture
  // does not depend on the order (see draw_order.h).
  bool nearToFar = false;

 private:
  void readTables();
  void setObjectUniforms(const Vec3& position, const Mat4& orientation);
  void setArrayPointers(const Geometry& g);
  // Which of `g`'s ranges reach into cullVolume (into rangeVisible_); false
  // when none does.
  bool markVisibleRanges(const Geometry& g, const Vec3& position, const Mat4& orientation);
  void drawVisibleRanges(const Geometry& g);
  void drawVisibleRangesNearToFar(const Geometry& g, const Vec3& position, const Mat4& orientation);
  // One geometry of a Draw; `previous` is the one drawn before it.
  void drawGeometry(const Geometry& g, const Geometry*& previous, bool shading);

  std::vector<bool> rangeVisible_;
  std::vector<std::pair<double, const Geometry*>> geometryOrder_;  // squared distance, geometry
  std::vector<std::pair<double, int>> rangeOrder_;                 // squared distance, range index
};
