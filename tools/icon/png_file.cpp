#include "tools/icon/png_file.h"

#include <png.h>

#include <algorithm>
#include <cmath>

namespace {

uint8_t toByte(float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

}  // namespace

bool encodePng(const Image& image, std::vector<uint8_t>& out, std::string& why) {
  if (image.width <= 0 || image.height <= 0) {
    why = "an empty picture has no PNG";
    return false;
  }
  std::vector<uint8_t> rgba(image.pixels.size());
  std::transform(image.pixels.begin(), image.pixels.end(), rgba.begin(), toByte);

  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = png_uint_32(image.width);
  png.height = png_uint_32(image.height);
  png.format = PNG_FORMAT_RGBA;
  // The first call measures, the second writes into a buffer of that size.
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&png, nullptr, &size, 0, rgba.data(), 0, nullptr)) {
    why = std::string("libpng: ") + png.message;
    return false;
  }
  out.resize(size);
  if (!png_image_write_to_memory(&png, out.data(), &size, 0, rgba.data(), 0, nullptr)) {
    why = std::string("libpng: ") + png.message;
    return false;
  }
  out.resize(size);
  return true;
}
