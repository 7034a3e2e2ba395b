#include <gtest/gtest.h>

#include <set>

#include "platform/text.h"

namespace {

TEST(TextTest, Utf8RoundTripKeepsEveryPlane) {
  const std::u16string text = u"abc \u00fc\u00df \u4e2d\u6587\u8def\u5f84 \U0001F600";
  const std::string utf8 = platform::ToUtf8(text);
  EXPECT_EQ(utf8, "abc \xC3\xBC\xC3\x9F \xE4\xB8\xAD\xE6\x96\x87\xE8\xB7\xAF\xE5\xBE\x84 \xF0\x9F\x98\x80");
  EXPECT_EQ(platform::FromUtf8(utf8), text);
}

TEST(TextTest, UndecodableUtf8BecomesReplacementCharacter) {
  EXPECT_EQ(platform::FromUtf8("a\xFF" "b"), u"a\uFFFDb");
}

TEST(TextTest, NarrowRoundTripOfAscii) {
  EXPECT_EQ(platform::FromNarrow(platform::ToNarrow(u"C:\\Log\\rundll.log")), u"C:\\Log\\rundll.log");
  EXPECT_EQ(platform::ToNarrow(u""), "");
}

TEST(TextTest, WhiteSpaceMatchesTheSystemCharacterTable) {
  // Under Wine this is the system's own table; natively it checks ours against it.
  const std::set<char16_t> spaces = {0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x20, 0x85, 0xA0,
                                     0x1680, 0x2000, 0x2001, 0x2002, 0x2003, 0x2004, 0x2005,
                                     0x2006, 0x2007, 0x2008, 0x2009, 0x200A, 0x2028, 0x2029,
                                     0x202F, 0x205F, 0x3000};
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    EXPECT_EQ(platform::IsSpace(static_cast<char16_t>(c)), spaces.count(static_cast<char16_t>(c)) == 1)
        << "U+" << std::hex << static_cast<unsigned>(c);
  }
}

}  // namespace
