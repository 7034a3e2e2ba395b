// POSIX text: 8-bit text is UTF-8, converted with iconv; white space above U+00FF from a table
// of the characters that the Windows character-type table marks as space.
#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "platform/text.h"

namespace platform {
namespace {

// Converts with iconv; an input unit it cannot convert is replaced and skipped.
std::string Convert(const char* to, const char* from, const char* in, std::size_t inBytes,
                    std::size_t unit, std::string_view replacement) {
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return out;
  char* src = const_cast<char*>(in);
  std::size_t left = inBytes;
  char buffer[4096];
  while (left > 0) {
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    std::size_t rc = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, dst - buffer);
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      std::size_t skip = std::min(unit, left);
      src += skip;
      left -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string ToUtf8(std::u16string_view text) {
  // ASCII is the common case (log lines, paths) and needs no converter.
  if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; })) {
    return std::string(text.begin(), text.end());
  }
  std::string le;
  le.reserve(text.size() * 2);
  for (char16_t c : text) {
    le += static_cast<char>(c & 0xFF);
    le += static_cast<char>(c >> 8);
  }
  return Convert("UTF-8", "UTF-16LE", le.data(), le.size(), 2, "?");
}

std::u16string FromUtf8(std::string_view text) {
  if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
    return std::u16string(text.begin(), text.end());
  }
  std::string le = Convert("UTF-16LE", "UTF-8", text.data(), text.size(), 1, "\xFD\xFF");
  std::u16string out;
  out.reserve(le.size() / 2);
  for (std::size_t i = 0; i + 1 < le.size(); i += 2) {
    out += static_cast<char16_t>(static_cast<unsigned char>(le[i]) |
                                 static_cast<unsigned char>(le[i + 1]) << 8);
  }
  return out;
}

std::string ToNarrow(std::u16string_view text) { return ToUtf8(text); }
std::u16string FromNarrow(std::string_view text) { return FromUtf8(text); }

bool IsSpace(char16_t c) {
  if (c < 0x100) return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0;
  switch (c) {
    case 0x1680: case 0x2000: case 0x2001: case 0x2002: case 0x2003: case 0x2004:
    case 0x2005: case 0x2006: case 0x2007: case 0x2008: case 0x2009: case 0x200A:
    case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
      return true;
    default:
      return false;
  }
}

}  // namespace platform
