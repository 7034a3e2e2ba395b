// Windows Base64 through crypt32's CryptStringToBinaryA and CryptBinaryToStringA.
#include <windows.h>
#include <wincrypt.h>

#include "platform/base64.h"

namespace platform {

std::vector<std::uint8_t> Base64Decode(const char* text, int length) {
  if (text == nullptr || length <= 0) return {};
  // The first call only learns the size; neither result is needed, the caller checks the
  // bytes it gets.
  DWORD size = 1024;
  CryptStringToBinaryA(text, length, CRYPT_STRING_BASE64, nullptr, &size, nullptr, nullptr);
  std::vector<std::uint8_t> out(size, 0);
  if (size > 0 && CryptStringToBinaryA(text, length, CRYPT_STRING_BASE64, out.data(), &size,
                                       nullptr, nullptr)) {
    out.resize(size);
  }
  return out;
}

std::string Base64Encode(const std::uint8_t* data, std::size_t size) {
  const DWORD flags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;
  DWORD chars = 0;
  if (size == 0 ||
      !CryptBinaryToStringA(data, static_cast<DWORD>(size), flags, nullptr, &chars)) {
    return std::string();
  }
  std::string out(chars, '\0');
  if (!CryptBinaryToStringA(data, static_cast<DWORD>(size), flags, out.data(), &chars)) {
    return std::string();
  }
  out.resize(chars);
  return out;
}

}  // namespace platform
