#pragma once

#include "tools/datagen/track_layout.h"

#include <string>

// Bumped whenever the generator's output changes, so that make-data.sh knows
// a working folder's data set is stale.
constexpr int kGeneratorVersion = 7;

// The stamp written beside the data set; it holds the version number.
extern const char* const kVersionStampPath;

// What a run made, for the closing summary.
struct GenerationReport {
  double trackLength = 0.0;   // metres
  int candidate = 0;          // the seed's candidate layout that was kept
  int trackTriangles = 0;
  int trees = 0;
  int filesWritten = 0;
  size_t bytesWritten = 0;
};

// The version stamp's text: the version, and the seed of a seeded circuit, so
// make-data.sh remakes a folder whose circuit is not the one asked for.
std::string versionStampText(const CircuitChoice& circuit);

// Writes the whole data set under root/data/ with the chosen circuit. False
// with `why` set when a file cannot be written or the overlay font cannot be read.
bool generateDataSet(const std::string& root, const CircuitChoice& circuit, GenerationReport& report,
                     std::string& why);
// The default circuit.
bool generateDataSet(const std::string& root, GenerationReport& report, std::string& why);
