#include "param/param_blob.h"

#include "platform/base64.h"

namespace param_blob {
namespace {

void StoreKeyPiece32(std::uint8_t* key, int offset, std::uint32_t piece) {
  WriteU32(key + offset, piece);
}

void StoreKeyPiece16(std::uint8_t* key, int offset, std::uint16_t piece) {
  key[offset] = static_cast<std::uint8_t>(piece);
  key[offset + 1] = static_cast<std::uint8_t>(piece >> 8);
}

#include "profile/param_key.inc"

}  // namespace

std::uint32_t ReadU32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void WriteU32(std::uint8_t* p, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void BuildKey(std::uint8_t (&key)[kKeySize]) { FillParamKey(key); }

void Scramble(std::uint8_t* data, std::size_t size, const std::uint8_t (&key)[kKeySize]) {
  for (std::size_t i = 0; i < size; ++i) {
    data[i] ^= key[i % 8] ^ key[8 + i % 17] ^ key[25 + i % 27] ^ key[52 + i % 35];
  }
}

std::vector<std::uint8_t> Utf16LeBytes(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

std::string Encode(std::vector<std::uint8_t> blob) {
  std::uint8_t key[kKeySize];
  BuildKey(key);
  Scramble(blob.data(), blob.size(), key);
  return platform::Base64Encode(blob.data(), blob.size());
}

}  // namespace param_blob
