#pragma once
// The --param blob format. After Base64 decoding and unscrambling: a 12-byte header
// ("dhms", totalSize, recordCount) and recordCount records back to back, each "dmms", a
// 50-byte NUL-padded name, valueLength and the value. Integers are 32-bit little-endian.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace param_blob {

constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kNameOffset = 4;
constexpr std::size_t kNameSize = 50;
constexpr std::size_t kValueLengthOffset = 54;
constexpr std::size_t kValueOffset = 58;
constexpr std::uint32_t kBlobMagic = 0x736D6864;    // "dhms"
constexpr std::uint32_t kRecordMagic = 0x736D6D64;  // "dmms"
constexpr std::size_t kKeySize = 87;

std::uint32_t ReadU32(const std::uint8_t* p);
void WriteU32(std::uint8_t* p, std::uint32_t value);

// Builds the 87-byte scramble key: four sub-keys of 8, 17, 27 and 35 bytes side by side.
void BuildKey(std::uint8_t (&key)[kKeySize]);

// XORs every byte i with the four sub-keys' bytes i mod 8, 17, 27 and 35. Scrambling twice
// gives the bytes back, so producers and the reader share it.
void Scramble(std::uint8_t* data, std::size_t size, const std::uint8_t (&key)[kKeySize]);

// `text` as UTF-16LE bytes, the form of text values such as "cmd_line".
std::vector<std::uint8_t> Utf16LeBytes(std::u16string_view text);

// The --param text of a plain blob: scrambled, then Base64.
std::string Encode(std::vector<std::uint8_t> blob);

}  // namespace param_blob
