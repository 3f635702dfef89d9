// libFuzzer target: the material tables and the script compiler. The input is
// three texts separated by NUL bytes: the command table, the constant table and
// a script. Whatever they hold, every compiled command has a known opcode and
// an in-range texture unit, and the flags agree with the commands.
#include "render/material_script.h"
#include "render/material_tables.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void require(bool ok) {
  if (!ok) std::abort();
}

Texture* const kTexture = reinterpret_cast<Texture*>(0x1000);
ShaderProgram* const kShader = reinterpret_cast<ShaderProgram*>(0x2000);

// Resolves names that start with 'a' and uniforms that start with 'u'.
class Host : public ScriptHost {
 public:
  Texture* GetTexture(const char* path) override {
    return std::strncmp(path, "data\\textures\\a", 15) == 0 ? kTexture : nullptr;
  }
  ShaderProgram* GetShader(const char* path) override {
    return std::strncmp(path, "data\\shaders\\a", 14) == 0 ? kShader : nullptr;
  }
  int GetUniformLocation(ShaderProgram* program, const char* name) override {
    require(program == kShader);
    return name[0] == 'u' ? 3 : -1;
  }
  void CreateDynamicCubemap(int id) override { require(id == 4); }
};

// The next NUL-separated part of the input.
std::string part(const uint8_t*& data, size_t& size) {
  const uint8_t* end = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  size_t length = end != nullptr ? size_t(end - data) : size;
  std::string text(reinterpret_cast<const char*>(data), length);
  size_t used = end != nullptr ? length + 1 : length;
  data += used;
  size -= used;
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string commands = part(data, size);
  std::string constants = part(data, size);
  std::string script(reinterpret_cast<const char*>(data), size);
  MaterialTables tables;
  std::string why;
  parseCommandTable(reinterpret_cast<const uint8_t*>(commands.data()), commands.size(), tables, why);
  parseConstantTable(reinterpret_cast<const uint8_t*>(constants.data()), constants.size(), tables, why);
  for (const CommandEntry* e : tables.commands) require(e->keyword.size() <= size_t(kMaxTokenLength));
  for (const ConstantEntry* e : tables.constants) {
    require(e->name.size() <= size_t(kMaxTokenLength) && e->value.size() <= size_t(kMaxTokenLength));
  }
  Host host;
  MaterialScript out;
  compileMaterialScript(reinterpret_cast<const uint8_t*>(script.data()), script.size(), tables, host, 4, out);
  bool dynamic = false, section = false;
  for (const MaterialCommand* c : out.commands) {
    require(c->opcode >= 0 && c->opcode <= kLastOpcode);
    if (c->opcode == kOpUseTexture || c->opcode == kOpUseDynamicTexture) {
      require(c->intArg >= 0 && c->intArg < kTextureUnits);
    }
    if (c->opcode == kOpUseTexture) require(c->resource == nullptr || c->resource == kTexture);
    if (c->opcode == kOpUseShader) require(c->resource == nullptr || c->resource == kShader);
    dynamic = dynamic || c->opcode == kOpUseDynamicTexture;
    section = section || c->opcode == kOpCubemapSection;
  }
  require(dynamic == out.hasDynamicCubemap && section == out.hasCubemapSection);
  return 0;
}
