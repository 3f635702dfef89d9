#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Paths inside the program keep back-slash separators ("data\models\evo.rmd");
// this is the one place where they become the platform's.
std::string platformPath(const char* path);

// fopen with the path converted.
FILE* openFile(const char* path, const char* mode);

// True when something (a file, a folder, anything) has this name.
bool pathExists(const char* path);

// Opens a regular file for reading. A folder, device, FIFO or socket is refused
// without reading from it (and a FIFO without waiting for a writer): nullptr
// with the reason in `why`.
FILE* openRegularFile(const char* path, std::string& why);

// The largest text file read (configuration, scripts, shaders, tables, centre
// lines): far beyond any real one, small enough to hold.
constexpr size_t kMaxTextFileBytes = size_t(16) << 20;

// Reads a whole regular file of at most `maxBytes`, the largest that its format
// allows. Everything else is refused before a byte is read, with the reason in
// `why`: a file that cannot be opened, one that is not a regular file, one
// larger than `maxBytes`.
bool readWholeFile(const char* path, size_t maxBytes, std::vector<unsigned char>& out, std::string& why);
// The same without the reason.
bool readWholeFile(const char* path, size_t maxBytes, std::vector<unsigned char>& out);

// Reads an open descriptor (a file, a pipe, a socket) to its end, giving up as
// soon as more than `maxBytes` have arrived: for input whose size is not known
// before it ends, such as a body received over the network.
bool readAtMost(int fd, size_t maxBytes, std::vector<unsigned char>& out, std::string& why);
// True when `size` (a file's, or a length announced before the bytes) is within
// `maxBytes`; otherwise false with the reason.
bool sizeWithin(uint64_t size, size_t maxBytes, std::string& why);

// Writes a temporary file beside `path`, flushes it to the disk and renames it
// over `path`, so that a crash leaves either the old file or the new one, never
// a part. False with the reason when any step fails; the temporary file is then
// removed.
bool writeFileAtomically(const char* path, const void* data, size_t size, std::string& why);

// Creates the folder when it does not exist yet; true when it exists afterwards,
// otherwise false with the reason (a file of that name, a read-only parent).
bool makeFolder(const char* path, std::string& why);
