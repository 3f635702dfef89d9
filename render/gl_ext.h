#pragma once

#include "render/gl_proc.h"

#include <GL/gl.h>
#include <GL/glext.h>

// The extension entry points the rendering code calls, fetched by name once
// and kept for the run. Null until fetched (or when the driver lacks them).
struct GLExtensions {
  // Multitexturing.
  PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
  PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
  PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB = nullptr;
  // Shader objects.
  PFNGLCREATEPROGRAMOBJECTARBPROC glCreateProgramObjectARB = nullptr;
  PFNGLCREATESHADEROBJECTARBPROC glCreateShaderObjectARB = nullptr;
  PFNGLGETOBJECTPARAMETERIVARBPROC glGetObjectParameterivARB = nullptr;
  PFNGLSHADERSOURCEARBPROC glShaderSourceARB = nullptr;
  PFNGLCOMPILESHADERARBPROC glCompileShaderARB = nullptr;
  PFNGLLINKPROGRAMARBPROC glLinkProgramARB = nullptr;
  PFNGLUSEPROGRAMOBJECTARBPROC glUseProgramObjectARB = nullptr;
  PFNGLATTACHOBJECTARBPROC glAttachObjectARB = nullptr;
  PFNGLGETINFOLOGARBPROC glGetInfoLogARB = nullptr;
  PFNGLGETUNIFORMLOCATIONARBPROC glGetUniformLocationARB = nullptr;
  PFNGLUNIFORM1FARBPROC glUniform1fARB = nullptr;
  PFNGLUNIFORM3FARBPROC glUniform3fARB = nullptr;
  PFNGLUNIFORM4FARBPROC glUniform4fARB = nullptr;
  PFNGLUNIFORM1IARBPROC glUniform1iARB = nullptr;
  PFNGLUNIFORMMATRIX4FVARBPROC glUniformMatrix4fvARB = nullptr;
  PFNGLUNIFORMMATRIX3FVARBPROC glUniformMatrix3fvARB = nullptr;

  bool multitexture = false;  // the three multitexturing entry points are there
  bool shaders = false;       // GLSL programs can be built and used
};

// The program's one table.
extern GLExtensions glExt;

// Fetches the entry points and checks the extension string, logging what is
// missing. Without GLSL in the build only multitexturing is fetched. False when
// something is missing; the caller sets its starting values in any case.
bool InitShaderEnvironment(GLProcLoader getProcAddress);

// Whether the four GLSL extension names all occur in `extensions` (substring
// match, so "GL_ARB_shader_objects" passes for "GL_ARB_shader_object").
bool hasGlslExtensions(const char* extensions);

// Makes a texture unit active, if multitexturing is there (unit 0 is always active otherwise).
void activeTextureUnit(GLenum unit);
void clientActiveTextureUnit(GLenum unit);
