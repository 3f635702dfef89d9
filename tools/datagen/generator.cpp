#include "tools/datagen/generator.h"

#include "tools/datagen/car_model.h"
#include "tools/datagen/data_set.h"
#include "tools/datagen/hud_pictures.h"
#include "tools/datagen/materials.h"
#include "tools/datagen/scenery_models.h"
#include "tools/datagen/shaders.h"
#include "tools/datagen/sounds.h"
#include "tools/datagen/textures.h"
#include "tools/datagen/track_model.h"
#include "tools/datagen/track_props.h"
#include "tools/rmd_writer/rmd_writer.h"

const char* const kVersionStampPath = "data\\datagen.version";

namespace {

void writeModel(DataSetWriter& writer, const char* path, const MeshBuilder& model) {
  writeDataFile(writer, path, writeRmd(model.toMesh()));
}

}  // namespace

std::string versionStampText(const CircuitChoice& circuit) {
  std::string text = std::to_string(kGeneratorVersion);
  if (circuit.seeded) text += " seed " + std::to_string(circuit.seed);
  return text + "\n";
}

bool generateDataSet(const std::string& root, GenerationReport& report, std::string& why) {
  return generateDataSet(root, CircuitChoice(), report, why);
}

bool generateDataSet(const std::string& root, const CircuitChoice& circuit, GenerationReport& report,
                     std::string& why) {
  DataSetWriter writer;
  writer.root = root;

  std::vector<TextureFile> textures = buildSurfaceTextures();
  if (!buildHudPictures(textures, why)) return false;

  TrackLayout layout = buildTrackLayout(circuit);
  MeshBuilder track = buildTrackModel(layout);
  std::vector<TreePlacement> trees = placeTrees(layout);

  writeModel(writer, "data\\models\\evo.rmd", buildCarBody());
  writeModel(writer, "data\\models\\hwheel.rmd", buildWheel());
  writeModel(writer, "data\\models\\cone.rmd", buildCone());
  writeModel(writer, "data\\models\\tree1.rmd", buildTree());
  writeModel(writer, "data\\models\\track1.rmd", track);
  writeModel(writer, "data\\models\\skydome.rmd", buildSkyDome());
  writeDataFile(writer, "data\\trees.prp", encodePropFile(layout, trees));
  writePlainTextFile(writer, "data\\track.line", trackLineText(layout));
  writeTextures(writer, textures);
  writeSounds(writer, buildSounds());
  writeMaterials(writer);
  writeShaders(writer);
  writePlainTextFile(writer, kVersionStampPath, versionStampText(circuit));

  report.trackLength = layout.length;
  report.candidate = layout.candidate;
  report.trackTriangles = track.triangleCount();
  report.trees = int(trees.size());
  report.filesWritten = writer.filesWritten;
  report.bytesWritten = writer.bytesWritten;
  if (writer.failed) {
    why = "a file could not be written under \"" + root + "\"";
    return false;
  }
  return true;
}
