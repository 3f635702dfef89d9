#pragma once

#include <string>

// A linked GLSL program of one vertex and one fragment shader, with the
// locations of the uniforms the renderer feeds automatically (-1: the program
// has no such active uniform, and it is never set).
struct ShaderProgram {
  static constexpr int kSamplers = 8;
  static constexpr int kLights = 4;

  unsigned int program = 0;
  unsigned int vertexShader = 0;
  unsigned int fragmentShader = 0;
  int texLocations[kSamplers];          // "tex0".."tex7"
  int cubeLocations[kSamplers];         // "cube0".."cube7"
  int globalLightLocations[kLights];    // "global_light0".."global_light3"
  int lightLocations[kLights];          // "light0".."light3"
  int globalObserverLocation = -1;      // "global_observer"
  int observerLocation = -1;            // "observer"
  int modelMatrixLocation = -1;         // "model_matrix"
  int directionMatrixLocation = -1;     // "direction_matrix"
  std::string path;                     // the cache key: "data\shaders\" + the script's name
};

// Compiles and links the pair named by `path` (its next-to-last character
// replaced by 'v' and by 'f': glass.vs gives glass.vs and glass.fs) and looks
// the uniform locations up. Null on failure, after logging the compiler's
// report; the objects made so far stay behind. Needs GLSL (glExt.shaders).
ShaderProgram* LoadShaderProgram(const char* path);

// The location of `name` in `program`; -1 without a program.
int GetUniformLocation(const ShaderProgram* program, const char* name);
