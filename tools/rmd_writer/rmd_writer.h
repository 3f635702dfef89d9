#pragma once

#include "render/rmd_mesh.h"

#include <cstdint>
#include <vector>

// Writes `mesh` in the RMD format (a fourth directory entry with tag 4 only when
// it has extra texture-coordinate sets), so that parseRmd reads it back exactly.
std::vector<uint8_t> writeRmd(const RMDMesh& mesh);

// writeRmd to a file; false when it cannot be written.
bool saveRmd(const char* path, const RMDMesh& mesh);
