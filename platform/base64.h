#pragma once
// Standard Base64: the alphabet with "+" and "/", "=" padding, no header lines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Decodes `length` characters of `text`. What text that is not Base64 decodes to is the
// system decoder's business (possibly nothing); callers validate the bytes they get.
std::vector<std::uint8_t> Base64Decode(const char* text, int length);

// Encodes on one line, without line breaks.
std::string Base64Encode(const std::uint8_t* data, std::size_t size);

}  // namespace platform
