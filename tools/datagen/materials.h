#pragma once

#include "tools/datagen/data_set.h"

#include <string>
#include <vector>

// A material script and the name the models use for it.
struct MaterialFile {
  std::string name;    // "evo_paint" -> data\materials\evo_paint.txt
  std::string script;  // LF line ends; written with CR LF
};

// The scripts of every material the models, the skid marks and the car shadow use.
std::vector<MaterialFile> buildMaterialScripts();

// The keyword table: one "opcode keyword" pair a line.
std::string commandTableText();
// The named modes: one "name value" pair a line.
std::string constantTableText();

// Writes the scripts and both tables under data\materials\.
void writeMaterials(DataSetWriter& writer);
