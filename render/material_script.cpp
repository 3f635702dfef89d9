#include "render/material_script.h"

#include "app/log.h"

#include <string>

namespace {

// Reads one token for the compiler: an over-long token is logged and reads as
// the empty token, which no table entry matches and which converts to 0.
std::string nextToken(TextCursor& cursor) {
  std::string token;
  if (readToken(cursor, token) == TokenResult::kTooLong) {
    logLine("Material: Token longer than %i bytes ignored", kMaxTokenLength);
  }
  return token;
}

// Comments run to the next carriage return (and the line feed after it), as
// scripts have CR LF line ends; the end of the data also ends one.
void skipComment(TextCursor& cursor) {
  while (!cursor.atEnd()) {
    uint8_t c = cursor.data[cursor.pos++];
    if (c == '\r') {
      if (!cursor.atEnd() && cursor.data[cursor.pos] == '\n') ++cursor.pos;
      return;
    }
  }
}

class ScriptCompiler {
 public:
  ScriptCompiler(const uint8_t* data, size_t size, const MaterialTables& tables, ScriptHost& host, int cubemapId,
                 MaterialScript& out)
      : cursor_(data, size), tables_(tables), host_(host), cubemapId_(cubemapId), out_(out) {}

  void run() {
    while (!cursor_.atEnd()) {
      std::string keyword = nextToken(cursor_);
      if (keyword.empty()) continue;
      if (keyword[0] == '/' || keyword[0] == ';') {
        skipComment(cursor_);
        continue;
      }
      int opcode = tables_.FindCommand(keyword.c_str());
      if (opcode == -1) {
        logLine("Material: Unknown command \"%s\"", keyword.c_str());
        continue;
      }
      if (opcode < 0 || opcode > kLastOpcode) {
        logLine("Material: Unknown opcode %i", opcode);
        continue;
      }
      MaterialCommand* command = new MaterialCommand;
      command->opcode = opcode;
      if (readArguments(*command)) {
        out_.commands.append(command);
      } else {
        delete command;
      }
    }
  }

 private:
  int readInt() { return scanInt(tables_.SubstituteConstant(nextToken(cursor_).c_str())); }
  float readReal() { return scanReal(tables_.SubstituteConstant(nextToken(cursor_).c_str())); }

  // Reads a texture unit; one outside 0..7 is logged and rejects the command.
  bool readUnit(int& unit) {
    unit = readInt();
    if (unit >= 0 && unit < kTextureUnits) return true;
    logLine("Material: Texture unit %i out of range, command ignored", unit);
    return false;
  }

  // False when the command is rejected and must not be appended.
  bool readArguments(MaterialCommand& command) {
    switch (command.opcode) {
      case kOpColor:
        for (int i = 0; i < 3; ++i) command.floatArgs[i] = readReal();
        return true;
      case kOpBlend:
      case kOpZPass:
      case kOpZWrite:
        command.intArg = readInt();
        return true;
      case kOpUseTexture:
        return readUseTexture(command);
      case kOpUseShader:
        readUseShader(command);
        return true;
      case kOpUniform1f:
      case kOpUniform4f:
        readUniform(command);
        return true;
      case kOpUseDynamicTexture:
        if (!readUnit(command.intArg)) return false;
        out_.hasDynamicCubemap = true;
        host_.CreateDynamicCubemap(cubemapId_);
        return true;
      case kOpCubemapSection:
        out_.hasCubemapSection = true;
        return true;
      case kOpAlphaTest:
        command.floatArgs[0] = readReal();
        return true;
      default:  // kOpDraw takes no arguments
        return true;
    }
  }

  bool readUseTexture(MaterialCommand& command) {
    bool unitOk = readUnit(command.intArg);
    std::string name = nextToken(cursor_);
    if (!unitOk) return false;
    if (name == "NONE") return true;
    std::string path = "data\\textures\\" + name;
    command.resource = host_.GetTexture(path.c_str());
    if (command.resource == nullptr) logLine("Error: Texture \"%s\" not found", path.c_str());
    return true;
  }

  void readUseShader(MaterialCommand& command) {
    std::string name = nextToken(cursor_);
    // "NONE" switches the program off when executed but keeps the shader that
    // later uniform commands of this script are looked up in.
    if (name == "NONE") return;
    std::string path = "data\\shaders\\" + name;
    ShaderProgram* program = host_.GetShader(path.c_str());
    command.resource = program;
    uniformShader_ = program;
    if (program == nullptr) logLine("Error: Shader \"%s\" not found", path.c_str());
  }

  void readUniform(MaterialCommand& command) {
    std::string name = nextToken(cursor_);
#if STRAVO_GLSL
    if (uniformShader_ == nullptr) {
      logLine("Error: Uniforms (\"%s\") must go after UseShader", name.c_str());
      command.intArg = -1;
    } else {
      command.intArg = host_.GetUniformLocation(uniformShader_, name.c_str());
      if (command.intArg == -1) logLine("Error: Uniform \"%s\" not found", name.c_str());
    }
#else
    // Without shaders a uniform has nothing to be looked up in; it is never set.
    command.intArg = 0;
#endif
    int count = command.opcode == kOpUniform1f ? 1 : 4;
    for (int i = 0; i < count; ++i) command.floatArgs[i] = readReal();
  }

  TextCursor cursor_;
  const MaterialTables& tables_;
  ScriptHost& host_;
  int cubemapId_;
  MaterialScript& out_;
  // The shader named last by UseShader ("NONE" aside); null when none or it failed.
  ShaderProgram* uniformShader_ = nullptr;
};

}  // namespace

void compileMaterialScript(const uint8_t* data, size_t size, const MaterialTables& tables, ScriptHost& host,
                           int cubemapId, MaterialScript& out) {
  ScriptCompiler(data, size, tables, host, cubemapId, out).run();
}
