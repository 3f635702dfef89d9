#include "render/gl_ext.h"

#include "app/log.h"

#include <cstring>

GLExtensions glExt;

namespace {

template <typename Proc>
bool fetch(GLProcLoader getProcAddress, const char* name, Proc& proc) {
  proc = reinterpret_cast<Proc>(getProcAddress(name));
  return proc != nullptr;
}

bool fetchMultitexture(GLProcLoader load) {
  bool ok = fetch(load, "glActiveTextureARB", glExt.glActiveTextureARB);
  ok = fetch(load, "glClientActiveTextureARB", glExt.glClientActiveTextureARB) && ok;
  ok = fetch(load, "glMultiTexCoord2fARB", glExt.glMultiTexCoord2fARB) && ok;
  return ok;
}

#if STRAVO_GLSL
bool fetchShaderObjects(GLProcLoader load) {
  bool ok = fetch(load, "glCreateProgramObjectARB", glExt.glCreateProgramObjectARB);
  ok = fetch(load, "glCreateShaderObjectARB", glExt.glCreateShaderObjectARB) && ok;
  ok = fetch(load, "glGetObjectParameterivARB", glExt.glGetObjectParameterivARB) && ok;
  ok = fetch(load, "glShaderSourceARB", glExt.glShaderSourceARB) && ok;
  ok = fetch(load, "glCompileShaderARB", glExt.glCompileShaderARB) && ok;
  ok = fetch(load, "glLinkProgramARB", glExt.glLinkProgramARB) && ok;
  ok = fetch(load, "glUseProgramObjectARB", glExt.glUseProgramObjectARB) && ok;
  ok = fetch(load, "glAttachObjectARB", glExt.glAttachObjectARB) && ok;
  ok = fetch(load, "glGetInfoLogARB", glExt.glGetInfoLogARB) && ok;
  ok = fetch(load, "glGetUniformLocationARB", glExt.glGetUniformLocationARB) && ok;
  ok = fetch(load, "glUniform1fARB", glExt.glUniform1fARB) && ok;
  ok = fetch(load, "glUniform3fARB", glExt.glUniform3fARB) && ok;
  ok = fetch(load, "glUniform4fARB", glExt.glUniform4fARB) && ok;
  ok = fetch(load, "glUniform1iARB", glExt.glUniform1iARB) && ok;
  ok = fetch(load, "glUniformMatrix4fvARB", glExt.glUniformMatrix4fvARB) && ok;
  ok = fetch(load, "glUniformMatrix3fvARB", glExt.glUniformMatrix3fvARB) && ok;
  return ok;
}
#endif

}  // namespace

bool hasGlslExtensions(const char* extensions) {
  if (extensions == nullptr) return false;
  static const char* const kRequired[] = {"GL_ARB_vertex_shader", "GL_ARB_fragment_shader", "GL_ARB_shader_object",
                                          "GL_ARB_shading_language_100"};
  for (const char* name : kRequired) {
    if (std::strstr(extensions, name) == nullptr) return false;
  }
  return true;
}

bool InitShaderEnvironment(GLProcLoader getProcAddress) {
  glExt = GLExtensions();
  logLine("MatRenderer: Initializing shader environment");
  glExt.multitexture = fetchMultitexture(getProcAddress);
  if (!glExt.multitexture) {
    logLine("Error: Failed to initialize multitexturing");
    return false;
  }
#if STRAVO_GLSL
  if (!fetchShaderObjects(getProcAddress)) {
    logLine("Error: Failed to initialize shader functions");
    return false;
  }
  if (!hasGlslExtensions(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)))) {
    logLine("Error: Failed to initialize GLSL");
    return false;
  }
  glExt.shaders = true;
#endif
  return true;
}

void activeTextureUnit(GLenum unit) {
  if (glExt.multitexture) glExt.glActiveTextureARB(unit);
}

void clientActiveTextureUnit(GLenum unit) {
  if (glExt.multitexture) glExt.glClientActiveTextureARB(unit);
}
