#include "board/tokens.h"

#include <openssl/rand.h>
#include <openssl/sha.h>

namespace {

constexpr int kTokenBytes = 32;
constexpr size_t kMinNameLength = 3;
constexpr size_t kMaxNameLength = 24;

std::string hex(const unsigned char* bytes, size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < size; ++i) {
    out += digits[bytes[i] >> 4];
    out += digits[bytes[i] & 15];
  }
  return out;
}

}  // namespace

std::string newToken() {
  unsigned char bytes[kTokenBytes];
  if (RAND_bytes(bytes, kTokenBytes) != 1) return "";
  return hex(bytes, kTokenBytes);
}

std::string tokenHash(const std::string& token) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(token.data()), token.size(), digest);
  return hex(digest, sizeof(digest));
}

std::string bearerToken(const std::string& header) {
  const std::string scheme = "Bearer ";
  if (header.size() <= scheme.size() || header.compare(0, scheme.size(), scheme) != 0) return "";
  std::string token = header.substr(scheme.size());
  for (char c : token)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return "";
  return token.size() == 2 * kTokenBytes ? token : "";
}

bool validPlayerName(const std::string& name) {
  if (name.size() < kMinNameLength || name.size() > kMaxNameLength) return false;
  for (char c : name)
    if (c < 0x20 || c > 0x7e) return false;
  return name.front() != ' ' && name.back() != ' ';
}
