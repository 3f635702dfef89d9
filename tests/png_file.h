#pragma once

// Writes a frame read back from GL as a PNG file, so pictures drawn by the
// benchmarks and tests can be looked at and compared with ImageMagick. The
// image data goes out uncompressed (stored deflate blocks): no zlib needed.

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace png_file {

inline uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

inline void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

inline void putChunk(std::vector<uint8_t>& out, const char type[5], const std::vector<uint8_t>& data) {
  putBigEndian(out, uint32_t(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  putBigEndian(out, crc32(body.data(), body.size()));
}

// `rgb`: width * height pixels of three bytes, bottom row first (as glReadPixels
// gives them); the file shows the top row first.
inline bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb) {
  std::vector<uint8_t> raw;  // filter byte 0, then the row
  for (int y = height - 1; y >= 0; --y) {
    raw.push_back(0);
    const uint8_t* row = rgb.data() + size_t(y) * size_t(width) * 3;
    raw.insert(raw.end(), row, row + size_t(width) * 3);
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521u;
    b = (b + a) % 65521u;
  }
  constexpr size_t kBlock = 65535;
  for (size_t at = 0; at < raw.size() || at == 0; at += kBlock) {
    size_t n = raw.size() - at < kBlock ? raw.size() - at : kBlock;
    z.push_back(at + n >= raw.size() ? 1 : 0);
    z.push_back(uint8_t(n & 0xff));
    z.push_back(uint8_t(n >> 8));
    z.push_back(uint8_t(~n & 0xff));
    z.push_back(uint8_t((~n >> 8) & 0xff));
    z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
    if (n == 0) break;
  }
  putBigEndian(z, (b << 16) | a);

  std::vector<uint8_t> header;
  putBigEndian(header, uint32_t(width));
  putBigEndian(header, uint32_t(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
  std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  putChunk(file, "IHDR", header);
  putChunk(file, "IDAT", z);
  putChunk(file, "IEND", {});

  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written;
}

// The colour buffer GL reads from now, width x height from the lower left.
inline std::vector<uint8_t> readFrame(int width, int height) {
  std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  return rgb;
}

}  // namespace png_file
