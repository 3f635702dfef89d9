#pragma once

#include <string>

// Bumped whenever the generator's output changes, so that make-data.sh knows
// a working folder's data set is stale.
constexpr int kGeneratorVersion = 3;

// The stamp written beside the data set; it holds the version number.
extern const char* const kVersionStampPath;

// What a run made, for the closing summary.
struct GenerationReport {
  double trackLength = 0.0;   // metres
  int trackTriangles = 0;
  int trees = 0;
  int filesWritten = 0;
  size_t bytesWritten = 0;
};

// Writes the whole data set under root/data/. False with `why` set when a file
// cannot be written or the overlay font cannot be read.
bool generateDataSet(const std::string& root, GenerationReport& report, std::string& why);
