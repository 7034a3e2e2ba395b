#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "param/param_blob.h"
#include "param/param_blob_reader.h"
#include "param/param_blob_writer.h"
#include "param/relaunch.h"

namespace {

std::optional<std::u16string> Stored(const ParamBlobWriter& writer) {
  ParamBlobReader reader;
  const std::string text = writer.Encode();
  reader.Decode(text.data(), static_cast<int>(text.size()), 0);
  return StoredCommandLine(reader);
}

std::optional<std::u16string> StoredBytes(const std::vector<std::uint8_t>& value) {
  ParamBlobWriter writer;
  writer.Add("cmd_line", value.data(), static_cast<std::uint32_t>(value.size()));
  return Stored(writer);
}

TEST(StoredCommandLineTest, NoRecordGivesAnEmptyCommandLine) {
  ParamBlobWriter writer;
  writer.AddText("other", u"x");
  EXPECT_EQ(Stored(writer), std::u16string());
}

TEST(StoredCommandLineTest, EndsAtTheFirstZeroUnit) {
  EXPECT_EQ(StoredBytes({'a', 0, 'b', 0, 0, 0, 'c', 0}), u"ab");
  EXPECT_EQ(StoredBytes({'a', 0, 'b', 0}), u"ab");
  // An odd last byte is a unit of its own, its high byte zero.
  EXPECT_EQ(StoredBytes({'a', 0, 'b'}), u"ab");
  EXPECT_EQ(StoredBytes({0x2D, 0x4E, 0x87, 0x65}), u"\u4e2d\u6587");
}

TEST(StoredCommandLineTest, LongestCommandLineFitsAndOneUnitMoreIsRefused) {
  ParamBlobWriter fits;
  fits.AddText("cmd_line", std::u16string(4095, u'x'));
  EXPECT_EQ(Stored(fits), std::u16string(4095, u'x'));

  ParamBlobWriter tooLong;
  tooLong.AddText("cmd_line", std::u16string(4096, u'x'));
  EXPECT_EQ(Stored(tooLong), std::nullopt);

  // What counts is the command line up to its terminator, not the record's length.
  std::u16string padded = std::u16string(100, u'y') + u'\0' + std::u16string(5000, u'z');
  ParamBlobWriter terminated;
  terminated.AddText("cmd_line", padded);
  EXPECT_EQ(Stored(terminated), std::u16string(100, u'y'));
}

}  // namespace
