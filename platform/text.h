#pragma once
// Text conversions and character classes. The core works in UTF-16; 8-bit text follows the
// system's ANSI code page on Windows and is UTF-8 on POSIX.
#include <string>
#include <string_view>

namespace platform {

// UTF-16 to the system's 8-bit text. Characters the code page cannot hold become its default
// character ("?" on POSIX, where only unpaired surrogates cannot be held).
std::string ToNarrow(std::u16string_view text);

// The system's 8-bit text to UTF-16; undecodable bytes become U+FFFD.
std::u16string FromNarrow(std::string_view text);

// UTF-8 to and from UTF-16 whatever the code page, for profile data, tools and tests.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// White space as the runtime's iswspace sees it in the default locale: U+0009 to U+000D,
// U+0020, U+0085, U+00A0, and from U+0100 up what the system's character-type table marks
// as space.
bool IsSpace(char16_t c);

}  // namespace platform
