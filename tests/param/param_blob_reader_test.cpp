#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "param/param_blob.h"
#include "param/param_blob_reader.h"
#include "param/param_blob_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using param_blob::ReadU32;
using param_blob::WriteU32;

int Decode(ParamBlobReader& reader, const std::string& text, int mode) {
  return reader.Decode(text.data(), static_cast<int>(text.size()), mode);
}

// A blob of one record per name, each value the name's bytes.
Bytes Blob(std::initializer_list<const char*> names) {
  ParamBlobWriter writer;
  for (const char* name : names) writer.Add(name, name, static_cast<std::uint32_t>(std::strlen(name)));
  return writer.Bytes();
}

std::string Value(const std::uint8_t* record) {
  return std::string(reinterpret_cast<const char*>(record + param_blob::kValueOffset),
                     ReadU32(record + param_blob::kValueLengthOffset));
}

std::string NameOf(const std::uint8_t* record) {
  return std::string(reinterpret_cast<const char*>(record + param_blob::kNameOffset),
                     strnlen(reinterpret_cast<const char*>(record + param_blob::kNameOffset), 50));
}

TEST(ParamBlobReaderTest, FindsTheCommandLineRecord) {
  ParamBlobWriter writer;
  ASSERT_TRUE(writer.AddText("cmd_line", u"rundll.exe --dll=a.dll"));
  ParamBlobReader reader;
  ASSERT_EQ(Decode(reader, writer.Encode(), 0), 1);
  const std::uint8_t* record = reader.Find("cmd_line");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(ReadU32(record), param_blob::kRecordMagic);
  EXPECT_EQ(ReadU32(record + param_blob::kValueLengthOffset), 44u);
  EXPECT_EQ(std::memcmp(record + param_blob::kValueOffset, "r\0u\0n\0", 6), 0);
}

TEST(ParamBlobReaderTest, MatchesOnTheRecordNameLengthOnly) {
  ParamBlobReader reader;
  ASSERT_EQ(Decode(reader, param_blob::Encode(Blob({"cmd_line", "x"})), 0), 1);
  EXPECT_EQ(reader.Find("cmd"), nullptr);
  EXPECT_EQ(reader.Find("other"), nullptr);
  EXPECT_EQ(reader.Find(""), nullptr);
  ASSERT_NE(reader.Find("cmd_line_and_more"), nullptr);
  EXPECT_EQ(NameOf(reader.Find("cmd_line_and_more")), "cmd_line");
  // A record named "x" matches every request that starts with x.
  EXPECT_EQ(NameOf(reader.Find("xyz")), "x");
  EXPECT_EQ(reader.Find(nullptr), nullptr);
}

TEST(ParamBlobReaderTest, EmptyRecordNameMatchesEveryRequest) {
  ParamBlobReader reader;
  ASSERT_EQ(Decode(reader, param_blob::Encode(Blob({"", "cmd_line"})), 0), 1);
  EXPECT_EQ(NameOf(reader.Find("cmd_line")), "");
  EXPECT_EQ(NameOf(reader.Find("anything")), "");
}

TEST(ParamBlobReaderTest, FirstOfTwoRecordsWithTheSameNameWins) {
  ParamBlobWriter writer;
  writer.Add("cmd_line", "first", 5);
  writer.Add("cmd_line", "second", 6);
  ParamBlobReader reader;
  ASSERT_EQ(Decode(reader, writer.Encode(), 0), 1);
  EXPECT_EQ(Value(reader.Find("cmd_line")), "first");
}

TEST(ParamBlobReaderTest, RecordWithAnotherMagicIsSteppedOver) {
  ParamBlobWriter writer;
  writer.Add("cmd_line", "first", 5);
  writer.Add("cmd_line", "second", 6);
  writer.Add("next", "n", 1);
  Bytes blob = writer.Bytes();
  WriteU32(blob.data() + 12, 0x12345678);  // the first record's magic
  ParamBlobReader reader;
  ASSERT_EQ(Decode(reader, param_blob::Encode(blob), 0), 1);
  EXPECT_EQ(Value(reader.Find("cmd_line")), "second");
  EXPECT_EQ(Value(reader.Find("next")), "n");
}

TEST(ParamBlobReaderTest, FiftyByteNameWithoutTerminator) {
  const std::string name(50, 'n');
  ParamBlobWriter writer;
  ASSERT_TRUE(writer.Add(name, "v", 1));
  EXPECT_FALSE(writer.Add(name + "n", "v", 1));
  ParamBlobReader reader;
  ASSERT_EQ(Decode(reader, writer.Encode(), 0), 1);
  EXPECT_NE(reader.Find(name.c_str()), nullptr);
  EXPECT_NE(reader.Find((name + "more").c_str()), nullptr);
  EXPECT_EQ(reader.Find(name.substr(0, 49).c_str()), nullptr);
}

// Headers that are refused: nothing stored, nothing found, Decode still returns 1.
TEST(ParamBlobReaderTest, RefusesBadHeaders) {
  struct Case {
    const char* what;
    std::size_t offset;
    std::uint32_t value;
  };
  const Bytes good = Blob({"cmd_line"});
  const Case cases[] = {
      {"wrong magic", 0, 0x736D6D64},
      {"zero totalSize", 4, 0},
      {"zero recordCount", 8, 0},
      {"totalSize below the header", 4, 11},
      {"totalSize beyond the data", 4, static_cast<std::uint32_t>(good.size() + 1)},
  };
  for (const Case& c : cases) {
    for (int mode : {0, 1}) {
      Bytes blob = good;
      WriteU32(blob.data() + c.offset, c.value);
      ParamBlobReader reader;
      EXPECT_EQ(Decode(reader, param_blob::Encode(blob), mode), 1) << c.what;
      EXPECT_EQ(reader.Find("cmd_line"), nullptr) << c.what << ", mode " << mode;
    }
  }
}

TEST(ParamBlobReaderTest, RefusesDataShorterThanTheHeader) {
  for (std::size_t size = 1; size < 12; ++size) {
    Bytes blob = Blob({"cmd_line"});
    blob.resize(size);
    ParamBlobReader reader;
    EXPECT_EQ(Decode(reader, param_blob::Encode(blob), 0), 1);
    EXPECT_EQ(reader.Find(""), nullptr) << size;
  }
}

TEST(ParamBlobReaderTest, EmptyOrNullTextChangesNothing) {
  ParamBlobReader reader;
  ASSERT_EQ(Decode(reader, param_blob::Encode(Blob({"cmd_line"})), 0), 1);
  EXPECT_EQ(reader.Decode("", 0, 0), 0);
  EXPECT_EQ(reader.Decode(nullptr, 8, 0), 0);
  EXPECT_EQ(reader.Decode("abcd", -1, 0), 0);
  EXPECT_NE(reader.Find("cmd_line"), nullptr);
}

TEST(ParamBlobReaderTest, TextThatIsNotBase64FindsNothing) {
  for (const char* text : {"!!!!", "@#$%^&*()", "a", "====", "dGVzdA"}) {
    ParamBlobReader reader;
    EXPECT_EQ(reader.Decode(text, static_cast<int>(std::strlen(text)), 0), 1) << text;
    EXPECT_EQ(reader.Find(""), nullptr) << text;
  }
}

TEST(ParamBlobReaderTest, RefusedReplacementLeavesNothingToFind) {
  ParamBlobReader reader;
  ASSERT_EQ(Decode(reader, param_blob::Encode(Blob({"cmd_line"})), 0), 1);
  Bytes bad = Blob({"cmd_line"});
  WriteU32(bad.data() + 8, 0);
  ASSERT_EQ(Decode(reader, param_blob::Encode(bad), 0), 1);
  EXPECT_EQ(reader.Find("cmd_line"), nullptr);
  // Nor can a later append bring the first blob's record back.
  ASSERT_EQ(Decode(reader, param_blob::Encode(Blob({"second"})), 1), 1);
  EXPECT_EQ(reader.Find("cmd_line"), nullptr);
  EXPECT_EQ(Value(reader.Find("second")), "second");
}

TEST(ParamBlobReaderTest, AppendKeepsBothBlobsAsOne) {
  ParamBlobReader reader;
  ASSERT_EQ(Decode(reader, param_blob::Encode(Blob({"first"})), 0), 1);
  ASSERT_EQ(Decode(reader, param_blob::Encode(Blob({"second"})), 1), 1);
  const std::uint8_t* first = reader.Find("first");
  const std::uint8_t* second = reader.Find("second");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second - first, 58 + 5);
  // The stored header sits right before the first record.
  const std::uint8_t* header = first - 12;
  EXPECT_EQ(ReadU32(header), param_blob::kBlobMagic);
  EXPECT_EQ(ReadU32(header + 4), 12u + (58 + 5) + (58 + 6));
  EXPECT_EQ(ReadU32(header + 8), 2u);
  // A refused append changes nothing.
  Bytes bad = Blob({"third"});
  WriteU32(bad.data(), 0);
  ASSERT_EQ(Decode(reader, param_blob::Encode(bad), 1), 1);
  EXPECT_EQ(reader.Find("third"), nullptr);
  EXPECT_EQ(reader.Find("first"), first);
  EXPECT_EQ(ReadU32(reader.Find("first") - 12 + 8), 2u);
}

// Lengths inside the blob that run past its end: the walk ends with null instead of
// reading beyond the data.
TEST(ParamBlobReaderTest, RecordsRunningPastTheEndAreNotRead) {
  {
    Bytes blob = Blob({"a", "b"});
    WriteU32(blob.data() + 8, 3);  // one record more than there is
    ParamBlobReader reader;
    ASSERT_EQ(Decode(reader, param_blob::Encode(blob), 0), 1);
    EXPECT_EQ(Value(reader.Find("b")), "b");
    EXPECT_EQ(reader.Find("c"), nullptr);
  }
  {
    Bytes blob = Blob({"a", "b"});
    WriteU32(blob.data() + 12 + 54, 1000);  // the first value runs past the end
    ParamBlobReader reader;
    ASSERT_EQ(Decode(reader, param_blob::Encode(blob), 0), 1);
    EXPECT_EQ(reader.Find("a"), nullptr);
    EXPECT_EQ(reader.Find("b"), nullptr);
  }
  {
    Bytes blob = Blob({"a"});
    WriteU32(blob.data() + 12 + 54, 0xFFFFFFFF);
    ParamBlobReader reader;
    ASSERT_EQ(Decode(reader, param_blob::Encode(blob), 0), 1);
    EXPECT_EQ(reader.Find("a"), nullptr);
  }
  {
    // totalSize cuts the stored blob inside the second record.
    Bytes blob = Blob({"a", "b"});
    WriteU32(blob.data() + 4, static_cast<std::uint32_t>(blob.size() - 1));
    ParamBlobReader reader;
    ASSERT_EQ(Decode(reader, param_blob::Encode(blob), 0), 1);
    EXPECT_EQ(Value(reader.Find("a")), "a");
    EXPECT_EQ(reader.Find("b"), nullptr);
  }
}

TEST(ParamBlobReaderTest, RecordCountsBeyondThirtyOneBitsFindNothing) {
  Bytes blob = Blob({"a"});
  WriteU32(blob.data() + 8, 0x80000000u);
  ParamBlobReader reader;
  ASSERT_EQ(Decode(reader, param_blob::Encode(blob), 0), 1);
  EXPECT_EQ(reader.Find("a"), nullptr);

  // An append whose sum does not fit the count is refused.
  ParamBlobReader appended;
  Bytes big = Blob({"a"});
  WriteU32(big.data() + 8, 0x7FFFFFFFu);
  ASSERT_EQ(Decode(appended, param_blob::Encode(big), 0), 1);
  ASSERT_EQ(Decode(appended, param_blob::Encode(Blob({"b"})), 1), 1);
  EXPECT_EQ(appended.Find("b"), nullptr);
  EXPECT_EQ(Value(appended.Find("a")), "a");
}

TEST(ParamBlobReaderTest, ScrambleIsItsOwnInverseAndCoversTheHeader) {
  std::uint8_t key[param_blob::kKeySize];
  param_blob::BuildKey(key);
  Bytes blob = Blob({"cmd_line"});
  Bytes scrambled = blob;
  param_blob::Scramble(scrambled.data(), scrambled.size(), key);
  EXPECT_NE(std::memcmp(scrambled.data(), "dhms", 4), 0);
  param_blob::Scramble(scrambled.data(), scrambled.size(), key);
  EXPECT_EQ(scrambled, blob);
}

}  // namespace
