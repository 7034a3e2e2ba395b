// Windows text: the ANSI code page through WideCharToMultiByte/MultiByteToWideChar, white
// space above U+00FF from GetStringTypeW.
#include <windows.h>

#include "platform/text.h"

namespace platform {
namespace {

std::string FromWide(UINT codePage, std::u16string_view text) {
  if (text.empty()) return std::string();
  auto wide = reinterpret_cast<LPCWCH>(text.data());
  int size = WideCharToMultiByte(codePage, 0, wide, static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(size > 0 ? size : 0, '\0');
  if (size > 0) {
    size = WideCharToMultiByte(codePage, 0, wide, static_cast<int>(text.size()), out.data(),
                               size, nullptr, nullptr);
    out.resize(size > 0 ? size : 0);
  }
  return out;
}

std::u16string ToWide(UINT codePage, std::string_view text) {
  if (text.empty()) return std::u16string();
  int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                 nullptr, 0);
  std::u16string out(size > 0 ? size : 0, u'\0');
  if (size > 0) {
    size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                               reinterpret_cast<LPWSTR>(out.data()), size);
    out.resize(size > 0 ? size : 0);
  }
  return out;
}

}  // namespace

std::string ToNarrow(std::u16string_view text) { return FromWide(CP_ACP, text); }
std::u16string FromNarrow(std::string_view text) { return ToWide(CP_ACP, text); }
std::string ToUtf8(std::u16string_view text) { return FromWide(CP_UTF8, text); }
std::u16string FromUtf8(std::string_view text) { return ToWide(CP_UTF8, text); }

bool IsSpace(char16_t c) {
  if (c < 0x100) return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0;
  WORD type = 0;
  WCHAR wc = c;
  return GetStringTypeW(CT_CTYPE1, &wc, 1, &type) && (type & C1_SPACE) != 0;
}

}  // namespace platform
