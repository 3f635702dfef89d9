#include "render/shader_program.h"

#include "app/files.h"
#include "app/log.h"
#include "render/gl_ext.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

MessageBoxHandler messageBoxHandler = nullptr;

void writeInfoLog(GLhandleARB object) {
  GLint length = 0;
  glExt.glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
  if (length <= 1) return;
  std::vector<GLcharARB> text(size_t(length) + 1, 0);
  glExt.glGetInfoLogARB(object, length, nullptr, text.data());
  logLine("compiler_log: %s", text.data());
}

// Compiles one source file into a new shader object; 0 on failure.
GLhandleARB compileShaderFile(GLenum type, const std::string& file) {
  std::vector<unsigned char> source;
  if (!readWholeFile(file.c_str(), kMaxTextFileBytes, source)) return 0;
  GLint length = GLint(source.size());
  // NUL-terminated, so an empty file still hands the compiler a string.
  source.push_back(0);
  GLhandleARB shader = glExt.glCreateShaderObjectARB(type);
  const GLcharARB* text = reinterpret_cast<const GLcharARB*>(source.data());
  glExt.glShaderSourceARB(shader, 1, &text, &length);
  glExt.glCompileShaderARB(shader);
  GLint compiled = 0;
  glExt.glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
  if (compiled == 0) {
    logLine("*** Shader compilation error");
    writeInfoLog(shader);
    showMessageBox("Shader compilation error", "Error");
    return 0;
  }
  return shader;
}

std::string withPairLetter(const char* path, char letter) {
  std::string file(path);
  if (file.size() >= 2) file[file.size() - 2] = letter;
  return file;
}

void lookUpLocations(ShaderProgram& p) {
  char name[32];
  for (int i = 0; i < ShaderProgram::kSamplers; ++i) {
    std::snprintf(name, sizeof name, "tex%d", i);
    p.texLocations[i] = GetUniformLocation(&p, name);
  }
  for (int i = 0; i < ShaderProgram::kSamplers; ++i) {
    std::snprintf(name, sizeof name, "cube%d", i);
    p.cubeLocations[i] = GetUniformLocation(&p, name);
  }
  for (int i = 0; i < ShaderProgram::kLights; ++i) {
    std::snprintf(name, sizeof name, "global_light%d", i);
    p.globalLightLocations[i] = GetUniformLocation(&p, name);
  }
  for (int i = 0; i < ShaderProgram::kLights; ++i) {
    std::snprintf(name, sizeof name, "light%d", i);
    p.lightLocations[i] = GetUniformLocation(&p, name);
  }
  p.globalObserverLocation = GetUniformLocation(&p, "global_observer");
  p.observerLocation = GetUniformLocation(&p, "observer");
  p.modelMatrixLocation = GetUniformLocation(&p, "model_matrix");
  p.directionMatrixLocation = GetUniformLocation(&p, "direction_matrix");
}

}  // namespace

void setMessageBoxHandler(MessageBoxHandler handler) { messageBoxHandler = handler; }

void showMessageBox(const char* text, const char* caption) {
  if (messageBoxHandler != nullptr) {
    messageBoxHandler(text, caption);
  } else {
    std::fprintf(stderr, "%s: %s\n", caption, text);
  }
}

ShaderProgram* LoadShaderProgram(const char* path) {
  logLine("MatRenderer: Loading shader \"%s\"", path);
  if (!glExt.shaders) return nullptr;
  GLhandleARB vertexShader = compileShaderFile(GL_VERTEX_SHADER_ARB, withPairLetter(path, 'v'));
  if (vertexShader == 0) return nullptr;
  GLhandleARB fragmentShader = compileShaderFile(GL_FRAGMENT_SHADER_ARB, withPairLetter(path, 'f'));
  if (fragmentShader == 0) return nullptr;
  GLhandleARB program = glExt.glCreateProgramObjectARB();
  glExt.glAttachObjectARB(program, vertexShader);
  glExt.glAttachObjectARB(program, fragmentShader);
  glExt.glLinkProgramARB(program);
  GLint linked = 0;
  glExt.glGetObjectParameterivARB(program, GL_OBJECT_LINK_STATUS_ARB, &linked);
  if (linked == 0) {
    logLine("*** Shader linking error");
    writeInfoLog(program);
    return nullptr;
  }
  ShaderProgram* result = new ShaderProgram;
  result->program = program;
  result->vertexShader = vertexShader;
  result->fragmentShader = fragmentShader;
  result->path = path;
  lookUpLocations(*result);
  return result;
}

int GetUniformLocation(const ShaderProgram* program, const char* name) {
  if (program == nullptr || !glExt.shaders) return -1;
  return glExt.glGetUniformLocationARB(program->program, name);
}
