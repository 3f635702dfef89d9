#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes the files of one data set under a root folder. Paths are given the
// way the program spells them ("data\\models\\evo.rmd") and are converted here;
// folders are created as needed.
struct DataSetWriter {
  std::string root;
  int filesWritten = 0;
  size_t bytesWritten = 0;
  bool failed = false;  // set by the first file that could not be written
};

bool writeDataFile(DataSetWriter& writer, const char* path, const std::vector<uint8_t>& bytes);

// Text with CR LF line ends: the material scripts end their comments at a
// carriage return, and the other tables are read the same way.
bool writeTextFile(DataSetWriter& writer, const char* path, const std::string& text);

// Text kept exactly as given (our own line-based files use LF).
bool writePlainTextFile(DataSetWriter& writer, const char* path, const std::string& text);

// Little-endian appenders for the binary formats.
void putInt16(std::vector<uint8_t>& out, int v);
void putInt32(std::vector<uint8_t>& out, int32_t v);
void putFloat32(std::vector<uint8_t>& out, float v);
void putFloat64(std::vector<uint8_t>& out, double v);
