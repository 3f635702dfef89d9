#pragma once

#include "physics/ptr_list.h"
#include "render/material_tables.h"

#include <cstddef>
#include <cstdint>

struct Texture;
struct ShaderProgram;

// The opcodes of material commands; the script keywords come from the command table.
enum MaterialOpcode {
  kOpColor = 0,              // three reals: current colour
  kOpBlend = 1,              // mode: 0 none, 1 additive, 2 alpha, 3 darkening
  kOpDraw = 2,               // draw the material's geometry
  kOpZPass = 3,              // mode: 0 less, 1 less-or-equal, 2 equal
  kOpUseTexture = 4,         // unit, texture file name or "NONE"
  kOpUseShader = 5,          // shader name or "NONE"
  kOpZWrite = 6,             // mode: 0 off, 1 on
  kOpUniform1f = 7,          // uniform name, one real
  kOpUniform4f = 8,          // uniform name, four reals
  kOpUseDynamicTexture = 9,  // unit: the material's dynamic cube map
  kOpCubemapSection = 10,    // marks where the cube-map pass begins
  kOpAlphaTest = 11,         // one real: 0 off, else pass when alpha is greater
};

constexpr int kLastOpcode = kOpAlphaTest;
constexpr int kTextureUnits = 8;

// One compiled command; every field starts at zero, so an argument that does
// not parse reads as 0.
struct MaterialCommand {
  int opcode = 0;
  int intArg = 0;                  // mode, texture unit or uniform location
  float floatArgs[4] = {0, 0, 0, 0};
  void* resource = nullptr;        // Texture* (UseTexture) or ShaderProgram* (UseShader)
};

// What compiling a script needs from the owner of the textures, shaders and
// dynamic cube maps (the MatRenderer; tests give their own).
class ScriptHost {
 public:
  virtual ~ScriptHost() = default;
  // The cached texture of `path`, loaded on first use; null when it cannot be.
  virtual Texture* GetTexture(const char* path) = 0;
  // The cached shader program of `path`; null when it cannot be built.
  virtual ShaderProgram* GetShader(const char* path) = 0;
  // The location of a uniform of `program`, -1 when it has none.
  virtual int GetUniformLocation(ShaderProgram* program, const char* name) = 0;
  virtual void CreateDynamicCubemap(int id) = 0;
};

// A compiled script: its commands in file order and what they contain.
struct MaterialScript {
  PtrList<MaterialCommand> commands;  // owned
  bool hasDynamicCubemap = false;     // contains UseDynamicTexture
  bool hasCubemapSection = false;     // contains CubemapSection

  MaterialScript() = default;
  ~MaterialScript() { commands.clearAndFree(); }
  MaterialScript(const MaterialScript&) = delete;
  MaterialScript& operator=(const MaterialScript&) = delete;
};

// Compiles script text into `out` (which starts empty). Errors are logged and
// compiling goes on; the script never fails as a whole. `cubemapId` is the id of
// the dynamic cube map UseDynamicTexture creates.
void compileMaterialScript(const uint8_t* data, size_t size, const MaterialTables& tables, ScriptHost& host,
                           int cubemapId, MaterialScript& out);
