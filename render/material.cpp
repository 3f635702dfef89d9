#include "render/material.h"

#include "app/files.h"
#include "app/log.h"
#include "render/gl_ext.h"
#include "render/mat_renderer.h"

#include <vector>

bool Material::Load(const char* materialName, MatRenderer* renderer) {
  logLine("Material: Loading material \"%s\"", materialName);
  name = materialName;
  matRenderer = renderer;
  hasDynamicCubemap = false;
  hasCubemapSection = false;
  std::string path = "data\\materials\\" + name + ".txt";
  std::vector<unsigned char> text;
  if (!readWholeFile(path.c_str(), kMaxTextFileBytes, text)) {
    logLine("Error: File \"%s\" not found, creating default material", path.c_str());
    MaterialCommand* draw = new MaterialCommand;
    draw->opcode = kOpDraw;
    commands.append(draw);
    return false;
  }
  compileMaterialScript(text.data(), text.size(), renderer->tables, *renderer, cubemapId, *this);
  return true;
}

void Material::Execute(const PtrList<Geometry>& mainList, const PtrList<Geometry>& reflectionList, int pass) {
  MatRenderer& r = *matRenderer;
  r.ResetState();
  bool active = pass == kNormalPass || !hasCubemapSection;
  for (const MaterialCommand* c : commands) {
    if (active) {
      switch (c->opcode) {
        case kOpColor:
          glColor3f(c->floatArgs[0], c->floatArgs[1], c->floatArgs[2]);
          break;
        case kOpBlend:
          r.SetBlendMode(c->intArg);
          break;
        case kOpDraw:
          r.DrawGeometryList(pass == kNormalPass ? mainList : reflectionList);
          break;
        case kOpZPass:
          r.SetZPass(c->intArg);
          break;
        case kOpUseTexture:
          r.UseTexture(c->intArg, static_cast<const Texture*>(c->resource));
          break;
        case kOpUseShader:
          r.UseShader(static_cast<const ShaderProgram*>(c->resource));
          break;
        case kOpZWrite:
          r.SetZWrite(c->intArg);
          break;
        case kOpUniform1f:
          r.SetUniform(c->intArg, 1, c->floatArgs);
          break;
        case kOpUniform4f:
          r.SetUniform(c->intArg, 4, c->floatArgs);
          break;
        case kOpUseDynamicTexture:
          r.UseDynamicTexture(cubemapId, c->intArg);
          break;
        case kOpAlphaTest:
          r.SetAlphaTest(c->floatArgs[0]);
          break;
        default:  // kOpCubemapSection only marks a place
          break;
      }
    }
    if (c->opcode == kOpCubemapSection) active = true;
  }
}
