#include "tools/datagen/materials.h"

namespace {

// Every script draws acceptably with texture unit 0 alone: a build without
// shader programs ignores the shader, uniform and cube-map lines and the
// other units, and still shows the base picture.
const MaterialFile kMaterials[] = {
    {"evo_paint",
     "// Clear-coat paint: the base colour, lit, under a mirror of the\n"
     "// surroundings that grows toward grazing angles. Without shader programs\n"
     "// the picture alone shows the body, shaded by which way it faces.\n"
     "UseTexture 0 evo_paint.tga\n"
     "UseDynamicTexture 1\n"
     "UseShader paint.vs\n"
     "Uniform4f coat_colour 0.05 0.2 0.72 0.07\n"
     "Uniform4f coat_params 0.35 0.85 1.2 0.75\n"
     "Draw\n"},
    {"evo_glass",
     "// Tinted glass: the same clear coat over a nearly black cabin.\n"
     "UseTexture 0 evo_glass.tga\n"
     "UseDynamicTexture 1\n"
     "UseShader paint.vs\n"
     "Uniform4f coat_colour 0.015 0.018 0.025 0.18\n"
     "Uniform4f coat_params 0.6 0.4 0.5 0.9\n"
     "Draw\n"},
    {"evo_trim",
     "// Black plastic: bumpers, sills, grille, shut lines and underside.\n"
     "UseTexture 0 evo_trim.tga\n"
     "UseShader lit.vs\n"
     "Uniform4f lit_params 0.45 0.6 0.25 24.0\n"
     "Draw\n"},
    {"evo_lights",
     "// Lamps: bright whatever the light.\n"
     "UseTexture 0 evo_lights.tga\n"
     "UseShader lit.vs\n"
     "Uniform4f lit_params 0.95 0.15 0.6 40.0\n"
     "Draw\n"},
    {"wheel_tyre",
     "UseTexture 0 tyre.tga\n"
     "UseShader lit.vs\n"
     "Uniform4f lit_params 0.5 0.6 0.1 12.0\n"
     "Draw\n"},
    {"wheel_rim",
     "// Gold alloy rim reflecting a fixed sky and ground.\n"
     "UseTexture 0 rim.tga\n"
     "UseTexture 1 envcm.tga\n"
     "UseShader chrome.vs\n"
     "Uniform4f chrome_params 0.25 0.45 0.8 40.0\n"
     "Draw\n"},
    {"wheel_disc",
     "// Cast-iron brake disc behind the spokes.\n"
     "UseTexture 0 brake_disc.tga\n"
     "UseShader lit.vs\n"
     "Uniform4f lit_params 0.5 0.6 0.4 20.0\n"
     "Draw\n"},
    {"cone",
     "UseTexture 0 cone.tga\n"
     "UseShader lit.vs\n"
     "Uniform4f lit_params 0.5 0.6 0.2 16.0\n"
     "Draw\n"},
    {"tree",
     "// The whole tree from one picture: bark and the crown's solid core are\n"
     "// opaque, the leaf cards round the core are cut out by the alpha.\n"
     "UseTexture 0 tree.tga\n"
     "AlphaTest 0.5\n"
     "UseShader foliage.vs\n"
     "Draw\n"},
    {"track_asphalt",
     "// Road, kerbs and start line, with close-up grain. The shader reads the\n"
     "// road and the grain from the cube map on unit 2; unit 0 is what a build\n"
     "// without shader programs shows.\n"
     "UseTexture 0 road.tga\n"
     "UseTexture 2 roadcm.tga\n"
     "UseShader road.vs\n"
     "Uniform4f ground_params 0.55 0.55 0.7 0.08\n"
     "Draw\n"},
    {"track_grass",
     "UseTexture 0 grass.tga\n"
     "UseShader ground.vs\n"
     "Uniform4f ground_params 0.5 0.65 0.9 0.0\n"
     "Draw\n"},
    {"track_gravel",
     "UseTexture 0 gravel.tga\n"
     "UseShader ground.vs\n"
     "Uniform4f ground_params 0.55 0.6 1.0 0.0\n"
     "Draw\n"},
    {"track_stand",
     "// The grandstand: seats, concrete and roof from one picture.\n"
     "UseTexture 0 stand.tga\n"
     "UseShader lit.vs\n"
     "Uniform4f lit_params 0.5 0.6 0.1 12.0\n"
     "Draw\n"},
    {"sky",
     "// The dome is far beyond everything else; it needs no light.\n"
     "UseTexture 0 sky.tga\n"
     "UseShader sky.vs\n"
     "Draw\n"},
    {"skidmark",
     "// Rubber darkens what lies under it: destination x (1 - source).\n"
     "UseTexture 0 skidmark.tga\n"
     "Blend BLEND_DARKEN\n"
     "ZWrite ZWRITE_OFF\n"
     "ZPass ZPASS_LEQUAL\n"
     "UseShader skidmark.vs\n"
     "Draw\n"},
    {"ghost",
     "// The ghost car: a see-through glow over the scene, added to what lies\n"
     "// behind it and never hiding it; out of the reflections (the game leaves\n"
     "// it out of the cube maps).\n"
     "Color 0.18 0.32 0.5\n"
     "UseTexture 0 NONE\n"
     "Blend BLEND_ADD\n"
     "ZWrite ZWRITE_OFF\n"
     "ZPass ZPASS_LEQUAL\n"
     "UseShader ghost.vs\n"
     "Uniform4f ghost_params 0.3 0.55 0.9 0.6\n"
     "Draw\n"},
    {"carshadow",
     "// The shadow darkens the ground the same way.\n"
     "UseTexture 0 carshadow.tga\n"
     "Blend BLEND_DARKEN\n"
     "ZWrite ZWRITE_OFF\n"
     "ZPass ZPASS_LEQUAL\n"
     "UseShader shadow.vs\n"
     "Draw\n"},
};

const char* const kKeywords[] = {"Color",   "Blend",     "Draw",      "ZPass",
                                 "UseTexture", "UseShader", "ZWrite", "Uniform1f",
                                 "Uniform4f", "UseDynamicTexture", "CubemapSection", "AlphaTest"};

}  // namespace

std::vector<MaterialFile> buildMaterialScripts() {
  return std::vector<MaterialFile>(std::begin(kMaterials), std::end(kMaterials));
}

std::string commandTableText() {
  std::string text;
  for (int op = 0; op < int(sizeof(kKeywords) / sizeof(kKeywords[0])); ++op)
    text += std::to_string(op) + " " + kKeywords[op] + "\n";
  return text;
}

std::string constantTableText() {
  return "BLEND_NONE 0\n"
         "BLEND_ADD 1\n"
         "BLEND_ALPHA 2\n"
         "BLEND_DARKEN 3\n"
         "ZPASS_LESS 0\n"
         "ZPASS_LEQUAL 1\n"
         "ZPASS_EQUAL 2\n"
         "ZWRITE_OFF 0\n"
         "ZWRITE_ON 1\n"
         "ALPHATEST_OFF 0\n";
}

void writeMaterials(DataSetWriter& writer) {
  for (const MaterialFile& m : buildMaterialScripts())
    writeTextFile(writer, ("data\\materials\\" + m.name + ".txt").c_str(), m.script);
  writeTextFile(writer, "data\\materials\\commands.txt", commandTableText());
  writeTextFile(writer, "data\\materials\\constants.txt", constantTableText());
}
