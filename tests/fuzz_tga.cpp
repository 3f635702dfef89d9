// libFuzzer target: any byte string given to the TGA decoder is either rejected
// with a reason or gives an image whose buffer holds exactly its pixels, read
// from within the input.
#include "render/tga.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TgaImage image;
  std::string why;
  if (!parseTga(data, size, image, why)) {
    require(!why.empty());
    return 0;
  }
  require(image.bytesPerPixel == 3 || image.bytesPerPixel == 4);
  require(image.width > 0 && image.height > 0);
  require(image.pixels.size() == size_t(image.width) * size_t(image.height) * size_t(image.bytesPerPixel));
  require(image.pixels.size() <= size);
  return 0;
}
