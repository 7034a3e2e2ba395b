#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/appended_signature.h"

namespace {

using platform::AppendedSignature;
using platform::AppendedSignatureResult;
using R = AppendedSignatureResult;

// data, then `signature`, then the 12-byte trailer with `info` and `length`, then `magic`.
std::vector<std::uint8_t> Block(const std::string& data, const std::string& signature,
                                std::vector<std::uint8_t> info, std::uint32_t length,
                                const std::string& magic = platform::kAppendedSignatureMagic) {
  std::vector<std::uint8_t> bytes(data.begin(), data.end());
  bytes.insert(bytes.end(), signature.begin(), signature.end());
  bytes.insert(bytes.end(), info.begin(), info.end());
  for (int shift : {24, 16, 8, 0}) bytes.push_back(static_cast<std::uint8_t>(length >> shift));
  bytes.insert(bytes.end(), magic.begin(), magic.end());
  return bytes;
}

const std::vector<std::uint8_t> kCms = {0, 0, 2, 0, 0, 0, 0, 0};

TEST(AppendedSignatureTest, ReadsTheTrailerFromTheEnd) {
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
    AppendedSignatureResult result;
    std::size_t signedSize;
  } cases[] = {
      {"well formed", Block("ELFDATA", "SIG", kCms, 3), R::kFound, 7},
      {"signature covers nothing", Block("", "SIG", kCms, 3), R::kFound, 0},
      {"no magic", Block("ELFDATA", "SIG", kCms, 3, "~Module signature appended~X"),
       R::kAbsent, 0},
      {"empty file", {}, R::kAbsent, 0},
      {"magic only",
       std::vector<std::uint8_t>(platform::kAppendedSignatureMagic,
                                 platform::kAppendedSignatureMagic +
                                     platform::kAppendedSignatureMagicSize),
       R::kMalformed, 0},
      {"length zero", Block("ELFDATA", "SIG", kCms, 0), R::kMalformed, 0},
      {"length beyond the start", Block("ELFDATA", "SIG", kCms, 11), R::kMalformed, 0},
      {"length of everything", Block("ELFDATA", "SIG", kCms, 10), R::kFound, 0},
      {"huge length", Block("ELFDATA", "SIG", kCms, 0xFFFFFFFF), R::kMalformed, 0},
      {"not a CMS signature", Block("ELFDATA", "SIG", {0, 0, 1, 0, 0, 0, 0, 0}, 3),
       R::kMalformed, 0},
      {"signer named in the trailer", Block("ELFDATA", "SIG", {0, 0, 2, 4, 0, 0, 0, 0}, 3),
       R::kMalformed, 0},
      {"padding not zero", Block("ELFDATA", "SIG", {0, 0, 2, 0, 0, 0, 0, 1}, 3),
       R::kMalformed, 0},
  };
  for (const auto& c : cases) {
    AppendedSignature found;
    found.signatureSize = 99;
    EXPECT_EQ(platform::FindAppendedSignature(c.bytes.data(), c.bytes.size(), found), c.result)
        << c.what;
    EXPECT_EQ(found.signedSize, c.signedSize) << c.what;
    if (c.result == R::kFound) {
      EXPECT_EQ(found.signatureOffset, c.signedSize) << c.what;
      EXPECT_EQ(found.signatureSize, c.bytes.size() - 12 - 28 - c.signedSize) << c.what;
    } else {
      EXPECT_EQ(found.signatureSize, 0u) << c.what;
    }
  }
}

TEST(AppendedSignatureTest, EveryTruncationIsAbsentOrMalformed) {
  const auto bytes = Block("ELFDATA", "SIGNATURE", kCms, 9);
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    AppendedSignature found;
    EXPECT_NE(platform::FindAppendedSignature(bytes.data(), size, found), R::kFound) << size;
  }
}

TEST(AppendedSignatureTest, PrimaryIsTheInnermostBlock) {
  const auto inner = Block("ELFDATA", "FIRST", kCms, 5);
  const auto outer =
      Block(std::string(inner.begin(), inner.end()), "SECOND!", kCms, 7);
  AppendedSignature found;
  ASSERT_EQ(platform::FindPrimarySignature(outer.data(), outer.size(), found), R::kFound);
  EXPECT_EQ(found.signedSize, 7u);
  EXPECT_EQ(found.signatureSize, 5u);
  // The last block alone is what FindAppendedSignature sees.
  ASSERT_EQ(platform::FindAppendedSignature(outer.data(), outer.size(), found), R::kFound);
  EXPECT_EQ(found.signedSize, inner.size());

  // A damaged inner trailer damages the whole file.
  auto broken = inner;
  broken[broken.size() - 28 - 12 + 2] = 7;
  const auto wrapped = Block(std::string(broken.begin(), broken.end()), "SECOND!", kCms, 7);
  EXPECT_EQ(platform::FindPrimarySignature(wrapped.data(), wrapped.size(), found),
            R::kMalformed);
}

}  // namespace
