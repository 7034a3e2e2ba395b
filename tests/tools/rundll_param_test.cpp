// rundll-param as its users run it: its printed value must decode in the host's reader.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "param/param_blob.h"
#include "param/param_blob_reader.h"
#include "param/relaunch.h"
#include "platform/command_line.h"
#include "platform/process.h"
#include "platform/testing.h"
#include "platform/text.h"

namespace fs = std::filesystem;

namespace {

std::u16string Tool() { return platform::testing::SiblingProgram(u"rundll-param"); }

struct Output {
  int exitCode;
  std::string text;
};

Output RunTool(const std::vector<std::u16string>& args) {
  const fs::path file = fs::temp_directory_path() /
                        ("rundll-param-" + std::to_string(platform::testing::CurrentProcessId()));
  std::vector<std::u16string> all = {Tool()};
  all.insert(all.end(), args.begin(), args.end());
  Output out;
  out.exitCode = platform::testing::RunWithOutput(Tool(), platform::JoinCommandLine(all),
                                                  platform::FromUtf8(file.string()));
  {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    out.text = text.str();
  }
  while (!out.text.empty() && (out.text.back() == '\n' || out.text.back() == '\r')) out.text.pop_back();
  fs::remove(file);
  return out;
}

ParamBlobReader Decoded(const std::string& text) {
  ParamBlobReader reader;
  EXPECT_EQ(reader.Decode(text.data(), static_cast<int>(text.size()), 0), 1);
  return reader;
}

TEST(RundllParamTest, CommandLineFromArgumentsIsQuotedForTheHost) {
  const std::vector<std::u16string> child = {uR"(C:\Product\bin\rundll.exe)",
                                             uR"(--dll=Plugins\a b.dll)", u"--entry=Run",
                                             u"\u4e2d\u6587"};
  std::vector<std::u16string> args = {u"--"};
  args.insert(args.end(), child.begin(), child.end());
  const Output out = RunTool(args);
  ASSERT_EQ(out.exitCode, 0);
  EXPECT_EQ(StoredCommandLine(Decoded(out.text)), platform::JoinCommandLine(child));
}

TEST(RundllParamTest, CommandLineAsWrittenAndFurtherRecords) {
  const Output out = RunTool({uR"(--cmd-line="C:\x\rundll.exe"  --entry=Run)", u"--record=label=hi",
                          u"--raw-record=flags=0102ff"});
  ASSERT_EQ(out.exitCode, 0);
  const ParamBlobReader reader = Decoded(out.text);
  EXPECT_EQ(StoredCommandLine(reader), uR"("C:\x\rundll.exe"  --entry=Run)");
  const std::uint8_t* label = reader.Find("label");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(param_blob::ReadU32(label + param_blob::kValueLengthOffset), 4u);
  EXPECT_EQ(std::memcmp(label + param_blob::kValueOffset, "h\0i\0", 4), 0);
  const std::uint8_t* flags = reader.Find("flags");
  ASSERT_NE(flags, nullptr);
  EXPECT_EQ(param_blob::ReadU32(flags + param_blob::kValueLengthOffset), 3u);
  EXPECT_EQ(std::memcmp(flags + param_blob::kValueOffset, "\x01\x02\xff", 3), 0);
}

TEST(RundllParamTest, UsageErrorsExitWithTwoAndPrintNothing) {
  const std::vector<std::vector<std::u16string>> cases = {
      {},
      {u"--bogus"},
      {u"--record=" + std::u16string(51, u'n') + u"=v", u"--", u"rundll.exe"},
      {u"--raw-record=x=0g", u"--", u"rundll.exe"},
      {u"--raw-record=x=123", u"--", u"rundll.exe"},
      {u"--cmd-line=" + std::u16string(4096, u'x')},
  };
  for (const auto& args : cases) {
    const Output out = RunTool(args);
    EXPECT_EQ(out.exitCode, 2) << args.size();
    EXPECT_EQ(out.text, "");
  }
  const Output help = RunTool({u"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.text.find("usage: rundll-param"), std::string::npos);
}

}  // namespace
