#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Paths inside the program keep back-slash separators ("data\models\evo.rmd");
// this is the one place where they become the platform's.
std::string platformPath(const char* path);

// fopen with the path converted.
FILE* openFile(const char* path, const char* mode);

// Reads a whole file; false when it cannot be opened or read.
bool readWholeFile(const char* path, std::vector<unsigned char>& out);

// Writes a temporary file beside `path` and renames it over `path`, so a crash
// never leaves a truncated file behind. False when either step fails.
bool writeFileAtomically(const char* path, const void* data, size_t size);

// Creates the folder when it does not exist yet; true when it exists afterwards.
bool makeFolder(const char* path);
