#pragma once

#include "tools/datagen/image.h"

#include <cstdint>
#include <string>
#include <vector>

// The picture as an 8-bit RGBA PNG, encoded by libpng. False with `why` set when
// libpng refuses it (an empty picture, for one).
bool encodePng(const Image& image, std::vector<uint8_t>& out, std::string& why);
