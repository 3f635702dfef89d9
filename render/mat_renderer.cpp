#include "render/mat_renderer.h"

#include "app/files.h"
#include "app/log.h"
#include "render/gl_ext.h"

#include <GL/glu.h>

#include <algorithm>
#include <vector>

namespace {

bool validCubemapId(int id) { return id >= 0 && id < MatRenderer::kCubemapCount; }

void logGlError() {
  GLenum error = glGetError();
  if (error == GL_NO_ERROR) return;
  logLine("OpenGL error occured");
  if (error == GL_INVALID_ENUM) logLine("GL_INVALID_ENUM");
  if (error == GL_INVALID_OPERATION) logLine("GL_INVALID_OPERATION");
}

// The identity stands in for a geometry without an owner's orientation.
const Mat4& identity() {
  static const Mat4 kIdentity = identityMat4();
  return kIdentity;
}

const Vec3& origin() {
  static const Vec3 kOrigin(0.0, 0.0, 0.0);
  return kOrigin;
}

void uniformVec3(int location, const Vec3& v) {
  if (location != -1) glExt.glUniform3fARB(location, float(v.x), float(v.y), float(v.z));
}

}  // namespace

MatRenderer::MatRenderer(GLProcLoader getProcAddress) {
  // The starting values are needed for drawing whether or not the shader
  // environment comes up; without it shader commands do nothing.
  InitShaderEnvironment(getProcAddress);
  for (int i = 0; i < kTextureUnits; ++i) textureUnits[i] = GL_TEXTURE0_ARB + i;
  for (int id = 0; id < kCubemapCount; ++id) {
    cubemapTextures[id] = 0;
    cubemapStates[id] = 0;
  }
  readTables();
}

MatRenderer::~MatRenderer() {
  logLine("MatRenderer: Cleaning up");
  textureCache.clearAndFree();
  shaderCache.clearAndFree();
  for (int id = 0; id < kCubemapCount; ++id) {
    if (cubemapStates[id] >= 1) glDeleteTextures(1, &cubemapTextures[id]);
  }
}

void MatRenderer::readTables() {
  struct TableFile {
    const char* announce;
    const char* path;
    bool (*parse)(const uint8_t*, size_t, MaterialTables&, std::string&);
  };
  const TableFile files[2] = {
      {"MatRenderer: Reading commands", "data\\materials\\commands.txt", parseCommandTable},
      {"MatRenderer: Reading constants", "data\\materials\\constants.txt", parseConstantTable},
  };
  for (const TableFile& file : files) {
    logLine("%s", file.announce);
    std::vector<unsigned char> bytes;
    if (!readWholeFile(file.path, kMaxTextFileBytes, bytes)) {
      logLine("MatRenderer: \"%s\" not found", file.path);
      continue;
    }
    std::string why;
    if (!file.parse(bytes.data(), bytes.size(), tables, why)) {
      logLine("MatRenderer: \"%s\" malformed (%s), read up to there", file.path, why.c_str());
    }
  }
}

Texture* MatRenderer::GetTexture(const char* path) {
  for (Texture* texture : textureCache) {
    if (texture->path == path) return texture;
  }
  logLine("MatRenderer: Loading texture \"%s\"", path);
  Texture* texture = new Texture;
  if (!texture->Load(path)) {
    delete texture;
    return nullptr;
  }
  textureCache.append(texture);
  return texture;
}

ShaderProgram* MatRenderer::GetShader(const char* path) {
#if STRAVO_GLSL
  for (ShaderProgram* program : shaderCache) {
    if (program->path == path) return program;
  }
  ShaderProgram* program = LoadShaderProgram(path);
  if (program != nullptr) shaderCache.append(program);
  return program;
#else
  (void)path;
  return nullptr;
#endif
}

int MatRenderer::GetUniformLocation(ShaderProgram* program, const char* name) {
  return ::GetUniformLocation(program, name);
}

void MatRenderer::CreateDynamicCubemap(int id) {
  if (!validCubemapId(id)) {
    logLine("MatRenderer: Dynamic cubemap id %i out of range", id);
    return;
  }
  if (cubemapStates[id] >= 1) {
    logLine("MatRenderer: Dynamic cubemap with id=%i already exists", id);
    return;
  }
  logLine("MatRenderer: Creating dynamic cubemap with id=%i", id);
  glEnable(GL_TEXTURE_CUBE_MAP_ARB);
  glGenTextures(1, &cubemapTextures[id]);
  glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, cubemapTextures[id]);
  glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  std::vector<unsigned char> white(size_t(cubemapSize) * cubemapSize * 3, 255);
  for (int face = 0; face < 6; ++face) {
    glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + face, 0, GL_RGB8, cubemapSize, cubemapSize, 0, GL_RGB,
                 GL_UNSIGNED_BYTE, white.data());
  }
  if (glGetError() != GL_NO_ERROR) logLine("OpenGL error occured");
  cubemapStates[id] = 1;
}

void MatRenderer::SetBlendMode(int mode) {
  switch (mode) {
    case 0:
      glDisable(GL_BLEND);
      logLine("MatRenderer: No blending");
      break;
    case 1:
      glEnable(GL_BLEND);
      glBlendFunc(GL_ONE, GL_ONE);
      break;
    case 2:
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      logLine("MatRenderer: Alpha blending");
      break;
    case 3:
      // Darkening: the destination is scaled by one minus the source colour.
      glEnable(GL_BLEND);
      glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
      break;
    default:
      logLine("MatRenderer: Unknown blend mode %i", mode);
  }
}

void MatRenderer::SetZPass(int mode) {
  switch (mode) {
    case 0:
      glDepthFunc(GL_LESS);
      logLine("MatRenderer: ZPass less");
      break;
    case 1:
      glDepthFunc(GL_LEQUAL);
      logLine("MatRenderer: ZPass less or equal");
      break;
    case 2:
      glDepthFunc(GL_EQUAL);
      logLine("MatRenderer: ZPass equal");
      break;
    default:
      logLine("MatRenderer: Unknown zpass mode %i", mode);
  }
}

void MatRenderer::SetZWrite(int mode) {
  if (mode == 0) {
    glDepthMask(GL_FALSE);
  } else if (mode == 1) {
    glDepthMask(GL_TRUE);
    logLine("MatRenderer: ZWrite on");
  } else {
    logLine("MatRenderer: Unknown zwrite mode %i", mode);
  }
}

void MatRenderer::SetAlphaTest(float reference) {
  if (reference == 0.0f) {
    glDisable(GL_ALPHA_TEST);
  } else {
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, reference);
  }
}

void MatRenderer::UseTexture(int unit, const Texture* texture) {
  if (unit < 0 || unit >= kTextureUnits) return;
#if STRAVO_GLSL
  activeTextureUnit(textureUnits[unit]);
  if (texture != nullptr) {
    GLenum target = texture->isCubeMap ? GL_TEXTURE_CUBE_MAP_ARB : GL_TEXTURE_2D;
    glEnable(target);
    glBindTexture(target, texture->glName);
    texturing = true;
  } else {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_CUBE_MAP_ARB);
    texturing = false;
    logLine("MatRenderer: Use Texture %i NONE", unit);
  }
#else
  // Without shaders only unit 0 is textured, and only with 2-D images.
  if (texture == nullptr) {
    logLine("MatRenderer: Use Texture %i NONE", unit);
    if (unit != 0) return;
    glDisable(GL_TEXTURE_2D);
    texturing = false;
    return;
  }
  if (unit != 0 || texture->isCubeMap) return;
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture->glName);
  texturing = true;
#endif
}

void MatRenderer::UseDynamicTexture(int id, int unit) {
#if STRAVO_GLSL
  if (!validCubemapId(id) || unit < 0 || unit >= kTextureUnits) return;
  logLine("MatRenderer: Use Dynamic Texture %i (%i)", unit, id);
  activeTextureUnit(textureUnits[unit]);
  glEnable(GL_TEXTURE_CUBE_MAP_ARB);
  glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, cubemapTextures[id]);
  texturing = true;
#else
  (void)id;
  (void)unit;
#endif
}

void MatRenderer::UseShader(const ShaderProgram* program) {
#if STRAVO_GLSL
  if (!glExt.shaders) return;
  currentShader = program;
  if (program == nullptr) {
    glExt.glUseProgramObjectARB(0);
    logLine("MatRenderer: Use Shader NONE");
    return;
  }
  glExt.glUseProgramObjectARB(program->program);
  for (int i = 0; i < ShaderProgram::kSamplers; ++i) {
    if (program->texLocations[i] != -1) glExt.glUniform1iARB(program->texLocations[i], i);
    if (program->cubeLocations[i] != -1) glExt.glUniform1iARB(program->cubeLocations[i], i);
  }
#else
  (void)program;
#endif
}

void MatRenderer::SetUniform(int location, int count, const float* values) {
#if STRAVO_GLSL
  // A uniform that was not found, or one with no program in use, sets nothing.
  if (!glExt.shaders || currentShader == nullptr || location == -1) return;
  switch (count) {
    case 1:
      glExt.glUniform1fARB(location, values[0]);
      break;
    case 3:
      glExt.glUniform3fARB(location, values[0], values[1], values[2]);
      break;
    case 4:
      glExt.glUniform4fARB(location, values[0], values[1], values[2], values[3]);
      break;
    default:
      logLine("MatRenderer: Unknown number of float uniform parameters (%i)", count);
  }
#else
  (void)location;
  (void)count;
  (void)values;
#endif
}

void MatRenderer::SetCamera(const Vec3& position, const Mat4& rotation) {
  glDepthMask(GL_TRUE);
  glClear(GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glMultMatrixf(rotation.m);
  glTranslatef(float(-position.x), float(-position.y), float(-position.z));
  observer = position;
}

void MatRenderer::SetProjection(float fovY, float aspect, float zNear, float zFar) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(fovY, aspect, zNear, zFar);
  glMatrixMode(GL_MODELVIEW);
}

void MatRenderer::SetViewport(int width, int height) {
  glDisable(GL_SCISSOR_TEST);
  glViewport(0, 0, width, height);
}

// A face is drawn into the window's corner and copied out; its depth clears
// need not touch the rest of the window (the normal view clears it again),
// and on a multisampled window clearing it all costs more than drawing the
// face.
void MatRenderer::SetCubemapViewport() {
  glScissor(0, 0, cubemapSize, cubemapSize);
  glEnable(GL_SCISSOR_TEST);
  glViewport(0, 0, cubemapSize, cubemapSize);
}

void MatRenderer::BeginCubemapUpdate() {
  for (int& state : cubemapStates) {
    if (state == 2) state = 1;
  }
  trianglesRendered = 0;
  trianglesSubmitted = 0;
}

bool MatRenderer::IsCubemapDone(int id) const { return validCubemapId(id) && cubemapStates[id] == 2; }

void MatRenderer::StoreCubeMapSide(int id, int side) {
  if (!validCubemapId(id)) return;
  logLine("MatRenderer: StoreCubeMapSide(%i, %i)", id, side);
  activeTextureUnit(textureUnits[0]);
  glEnable(GL_TEXTURE_CUBE_MAP_ARB);
  glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, cubemapTextures[id]);
  if (side >= 0 && side < 6) {
    glCopyTexSubImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + side, 0, 0, 0, 0, 0, cubemapSize, cubemapSize);
  }
  logGlError();
  cubemapStates[id] = 2;
}

void MatRenderer::ResetState() {
  glDisable(GL_BLEND);
  glColor3f(1.0f, 1.0f, 1.0f);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glDepthMask(GL_TRUE);
  glDisable(GL_ALPHA_TEST);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  for (int i = 0; i < kTextureUnits; ++i) {
    activeTextureUnit(textureUnits[i]);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_CUBE_MAP_ARB);
  }
  activeTextureUnit(textureUnits[0]);
  texturing = false;
#if STRAVO_GLSL
  if (glExt.shaders) glExt.glUseProgramObjectARB(0);
#endif
  currentShader = nullptr;
}

void MatRenderer::setObjectUniforms(const Vec3& position, const Mat4& orientation) {
  const ShaderProgram& p = *currentShader;
  Vec3 light = worldToLocal(orientation, globalLight, position);
  for (int location : p.lightLocations) uniformVec3(location, light);
  uniformVec3(p.observerLocation, worldToLocal(orientation, observer, position));
  if (p.modelMatrixLocation == -1 && p.directionMatrixLocation == -1) return;
  GLfloat m[16];
  glPushMatrix();
  glLoadIdentity();
  glTranslatef(float(position.x), float(position.y), float(position.z));
  glMultMatrixf(orientation.m);
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  glPopMatrix();
  if (p.modelMatrixLocation != -1) glExt.glUniformMatrix4fvARB(p.modelMatrixLocation, 1, GL_FALSE, m);
  if (p.directionMatrixLocation != -1) {
    const GLfloat direction[9] = {m[0], m[1], m[2], m[4], m[5], m[6], m[8], m[9], m[10]};
    glExt.glUniformMatrix3fvARB(p.directionMatrixLocation, 1, GL_FALSE, direction);
  }
}

void MatRenderer::setArrayPointers(const Geometry& g) {
  glVertexPointer(3, GL_FLOAT, 0, g.positions);
  // Arrays the geometry lacks are switched off, so GL never reads through a
  // pointer left over from an earlier, possibly larger, geometry.
  for (int i = 0; i < kTextureUnits; ++i) {
    clientActiveTextureUnit(textureUnits[i]);
    if (i < g.texCoordSetCount && g.texCoords[i] != nullptr) {
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      glTexCoordPointer(2, GL_FLOAT, 0, g.texCoords[i]);
    } else {
      glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if (!glExt.multitexture) break;
  }
  clientActiveTextureUnit(textureUnits[0]);
  if (g.normals != nullptr) {
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0, g.normals);
  } else {
    glDisableClientState(GL_NORMAL_ARRAY);
  }
#if STRAVO_GLSL
  // Forced colours always apply. An untextured draw switches the colour array
  // off, so it takes the material's colour; a textured one leaves the array as
  // it was (on after the reset, off after an untextured draw of the same
  // material) and only points it at the vertex colours. Geometry without
  // colours switches it off: GL would read through the previous pointer.
  if (!texturing) glDisableClientState(GL_COLOR_ARRAY);
  if (g.forcedColors != nullptr) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_FLOAT, 0, g.forcedColors);
  } else if (g.colors != nullptr) {
    glColorPointer(3, GL_FLOAT, 0, g.colors);
  } else {
    glDisableClientState(GL_COLOR_ARRAY);
  }
#else
  // Without shaders vertex colours are not drawn; only forced colours are.
  if (g.forcedColors != nullptr) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_FLOAT, 0, g.forcedColors);
  } else {
    glDisableClientState(GL_COLOR_ARRAY);
  }
#endif
}

void MatRenderer::DrawGeometryList(const PtrList<Geometry>& list) {
  bool shading = glExt.shaders && currentShader != nullptr;
  if (shading) {
    for (int location : currentShader->globalLightLocations) uniformVec3(location, globalLight);
    uniformVec3(currentShader->globalObserverLocation, observer);
  }
  const Geometry* previous = nullptr;
  if (!nearToFar) {
    for (const Geometry* g : list) drawGeometry(*g, previous, shading);
    return;
  }
  geometryOrder_.clear();
  for (const Geometry* g : list) {
    Vec3 offset = (g->position != nullptr ? *g->position : origin()) - observer;
    geometryOrder_.emplace_back(dot(offset, offset), g);
  }
  std::stable_sort(geometryOrder_.begin(), geometryOrder_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [distance, g] : geometryOrder_) drawGeometry(*g, previous, shading);
}

void MatRenderer::drawGeometry(const Geometry& geometry, const Geometry*& previous, bool shading) {
  const Geometry* g = &geometry;
  if (g->triangleCount <= 0 || g->positions == nullptr || g->triangleIndices == nullptr) return;
  const Vec3& position = g->position != nullptr ? *g->position : origin();
  const Mat4& orientation = g->orientation != nullptr ? *g->orientation : identity();
  bool culling = cullVolume != nullptr && g->ranges != nullptr;
  trianglesRendered += g->triangleCount;
  if (culling && !markVisibleRanges(*g, position, orientation)) {
    // Nothing to submit; the array state is still left as drawing it would.
    if (g != previous) {
      previous = g;
      setArrayPointers(*g);
    }
    return;
  }
  glPushMatrix();
  glTranslatef(float(position.x), float(position.y), float(position.z));
  Mat4 rotation = orientation;
  glMultMatrixf(rotation.m);
  if (shading) setObjectUniforms(position, orientation);
  if (g != previous) {
    previous = g;
    setArrayPointers(*g);
  }
#if !STRAVO_GLSL
  glColor3f(1.0f, 1.0f, 1.0f);
#endif
  if (culling) {
    if (nearToFar) {
      drawVisibleRangesNearToFar(*g, position, orientation);
    } else {
      drawVisibleRanges(*g);
    }
  } else {
    glDrawElements(GL_TRIANGLES, 3 * g->triangleCount, GL_UNSIGNED_INT, g->triangleIndices);
    trianglesSubmitted += g->triangleCount;
  }
  glPopMatrix();
}

bool MatRenderer::markVisibleRanges(const Geometry& g, const Vec3& position, const Mat4& orientation) {
  const std::vector<IndexRange>& ranges = g.ranges->ranges;
  rangeVisible_.assign(ranges.size(), false);
  bool any = false;
  for (size_t i = 0; i < ranges.size(); ++i) {
    rangeVisible_[i] = !cullVolume->boxOutside(ranges[i].centre, ranges[i].halfSize, position, orientation);
    any = any || rangeVisible_[i];
  }
  return any;
}

void MatRenderer::drawVisibleRanges(const Geometry& g) {
  // Neighbouring visible ranges go out as one call, in index order.
  const std::vector<IndexRange>& ranges = g.ranges->ranges;
  size_t i = 0;
  while (i < ranges.size()) {
    if (!rangeVisible_[i]) {
      ++i;
      continue;
    }
    int first = ranges[i].firstTriangle, count = 0;
    for (; i < ranges.size() && rangeVisible_[i]; ++i) count += ranges[i].triangleCount;
    glDrawElements(GL_TRIANGLES, 3 * count, GL_UNSIGNED_INT, g.triangleIndices + 3 * first);
    trianglesSubmitted += count;
  }
}

void MatRenderer::drawVisibleRangesNearToFar(const Geometry& g, const Vec3& position, const Mat4& orientation) {
  const std::vector<IndexRange>& ranges = g.ranges->ranges;
  rangeOrder_.clear();
  for (size_t i = 0; i < ranges.size(); ++i) {
    if (!rangeVisible_[i]) continue;
    Vec3 offset = localToWorld(orientation, ranges[i].centre, position) - observer;
    rangeOrder_.emplace_back(dot(offset, offset), int(i));
  }
  std::stable_sort(rangeOrder_.begin(), rangeOrder_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  // Ranges that follow each other in index order as well go out as one call.
  size_t k = 0;
  while (k < rangeOrder_.size()) {
    int first = ranges[size_t(rangeOrder_[k].second)].firstTriangle, count = 0;
    int next = rangeOrder_[k].second;
    for (; k < rangeOrder_.size() && rangeOrder_[k].second == next; ++k, ++next)
      count += ranges[size_t(next)].triangleCount;
    glDrawElements(GL_TRIANGLES, 3 * count, GL_UNSIGNED_INT, g.triangleIndices + 3 * first);
    trianglesSubmitted += count;
  }
}
