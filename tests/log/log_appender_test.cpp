#include <gtest/gtest.h>

#include <memory>
#include <regex>

#include "log/log_appender.h"
#include "tests/log/log_test_support.h"
#include "platform/log_file.h"
#include "platform/text.h"

namespace {

using logtest::TempFolder;

TEST(LogAppenderTest, LockNameKeepsDigitsAndLettersUpperCased) {
  const struct {
    std::u16string path;
    std::u16string name;
  } cases[] = {
      {u"C:\\Data\\Log\\rundll.log", u"CDATALOGRUNDLLLOG"},
      {u"/tmp/a-b c_9.Log", u"TMPABC9LOG"},
      {u"\\\u4e2d\u6587\\-.:", u""},
      {u"z\u00e9Z09", u"ZZ09"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LogUtils::LockNameFromPath(c.path), c.name) << platform::ToUtf8(c.path);
  }
}

TEST(LogAppenderTest, PrefixPadsIdsAndAddsTag) {
  const struct {
    unsigned long pid, tid;
    std::u16string tag;
    std::u16string prefix;
  } cases[] = {
      {812, 96, u"", u"03-07 14:05:09.042 [  812][   96]"},
      {12345, 1, u"", u"03-07 14:05:09.042 [12345][    1]"},
      {1234567, 4294967295ul, u"", u"03-07 14:05:09.042 [1234567][4294967295]"},
      {7, 8, u"T1", u"03-07 14:05:09.042 [    7][    8][T1]"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LogUtils::FormatLinePrefix(3, 7, 14, 5, 9, 42, c.pid, c.tid, c.tag), c.prefix);
  }
  EXPECT_EQ(LogUtils::FormatLinePrefix(3, 7, 14, 5, 9, 42, 1, 2, std::u16string(200, u't'))
                .size(),
            99u);
}

// Checks one real line: stamp of now, this process, a five-column id field, then `rest`.
void ExpectLine(const std::string& line, const std::string& rest) {
  static const std::regex pattern(R"(^(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d)\.(\d{3}) \[( *)(\d+)\]\[( *)(\d+)\](.*)$)");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(line, m, pattern)) << line;
  const platform::LocalTime now = platform::NowLocal();
  EXPECT_EQ(std::stoi(m[1]), now.month);
  EXPECT_EQ(std::stoi(m[2]), now.day);
  EXPECT_LE(std::stoi(m[3]), 23);
  EXPECT_LE(std::stoi(m[4]), 59);
  EXPECT_EQ(std::stol(m[8]), platform::testing::CurrentProcessId());
  EXPECT_EQ(m[7].length() + m[8].length(), std::max<std::size_t>(5, m[8].length()));
  EXPECT_EQ(m[9].length() + m[10].length(), std::max<std::size_t>(5, m[10].length()));
  EXPECT_EQ(m[11].str(), rest);
}

TEST(LogAppenderTest, RealFileHoldsStampedLinesWithAndWithoutTag) {
  TempFolder dir;
  const std::u16string plain = dir.Path("plain.log"), tagged = dir.Path("tagged.log");
  LogUtils::LogAppender a(plain, u"", 0), b(tagged, u"QA", 0);
  a.Write(u"-------log start", 1);
  a.Write(u"hello world", 0);
  b.Write(u"tagged text", 1);
  const auto lines = logtest::Lines(plain);
  ASSERT_EQ(lines.size(), 2u);
  ExpectLine(lines[0], "-------log start");
  ExpectLine(lines[1], "hello world");
  const auto taggedLines = logtest::Lines(tagged);
  ASSERT_EQ(taggedLines.size(), 1u);
  ExpectLine(taggedLines[0], "[QA]tagged text");
}

TEST(LogAppenderTest, ChineseLineIsWrittenIntact) {
  // More Chinese characters than ASCII ones, stamp included: at three UTF-8 bytes each the
  // line needs more than two bytes a unit.
  std::u16string folder;
  for (int i = 0; i < 40; ++i) folder += u"\u4e2d\u6587";
  const std::u16string text =
      u"\u8def\u5f84 C:\\\u7528\u6237\\" + folder + u"\\rundll.log \u5b8c";
  if (platform::FromNarrow(platform::ToNarrow(text)) != text) {
    GTEST_SKIP() << "the system's 8-bit code page cannot hold Chinese text";
  }
  TempFolder dir;
  const std::u16string path = dir.Path("cn.log");
  LogUtils::LogAppender appender(path, u"", 0);
  const int size = appender.Write(text, 1);
  const auto lines = logtest::Lines(path);
  ASSERT_EQ(lines.size(), 1u);
  ExpectLine(lines[0], platform::ToNarrow(text));
  EXPECT_EQ(size, static_cast<int>(logtest::ReadBytes(path).size()));
}

std::u16string captured;
void Capture(const std::u16string& text) { captured += text; }

TEST(LogAppenderTest, OpenFailureIsReportedOnceAndLinesAreDropped) {
  TempFolder dir;
  const std::u16string path = dir.Path("missing") + u"/" + u"rundll.log";
  captured.clear();
  LogUtils::SetDebugOutputForTesting(Capture);
  LogUtils::LogAppender appender(path, u"", 0);
  EXPECT_EQ(appender.Write(u"first", 1), -1);
  EXPECT_EQ(appender.Write(u"second", 0), -1);
  LogUtils::SetDebugOutputForTesting(nullptr);
  EXPECT_EQ(captured, u"open " + path + u" error. [2]\r\n");  // ENOENT, reported once
  EXPECT_FALSE(logtest::Exists(path));
}

TEST(LogAppenderTest, SizeCountsExistingBytesAndRestartsAfterClear) {
  TempFolder dir;
  const std::u16string path = dir.Path("size.log");
  {
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out << "0123456789";
  }
  LogUtils::LogAppender appender(path, u"", 0);
  const int size = appender.Write(u"a", 0);
  EXPECT_EQ(size, static_cast<int>(logtest::ReadBytes(path).size()));
  EXPECT_GT(size, 10);
  EXPECT_TRUE(appender.Clear());
  EXPECT_FALSE(logtest::Exists(path));
  const int after = appender.Write(u"b", 0);
  EXPECT_EQ(after, static_cast<int>(logtest::ReadBytes(path).size()));
  EXPECT_EQ(logtest::Texts(path), std::vector<std::string>{"b"});
}

TEST(LogAppenderTest, OnlyTheFirstUserDeletesTheFileWhenAsked) {
  TempFolder dir;
  const std::u16string path = dir.Path("first.log");
  logtest::Touch(path);
  auto first = std::make_unique<LogUtils::LogAppender>(path, u"", 1);
  EXPECT_FALSE(logtest::Exists(path)) << "the first user starts from an empty file";
  first->Write(u"kept", 1);
  {
    LogUtils::LogAppender second(path, u"", 1);  // the first still holds the lock open
    EXPECT_TRUE(logtest::Exists(path));
  }
  first.reset();
  {
    LogUtils::LogAppender notAsked(path, u"", 0);
    EXPECT_TRUE(logtest::Exists(path));
  }
  LogUtils::LogAppender firstAgain(path, u"", 1);
  EXPECT_FALSE(logtest::Exists(path));
}

TEST(LogAppenderTest, BusyLockKeepsLinesQueuedInOrder) {
  TempFolder dir;
  const std::u16string path = dir.Path("busy.log"), ready = dir.Path("ready");
  const auto holder = logtest::StartLockHolder(path, ready, u"1500");
  ASSERT_NE(holder, nullptr);
  LogUtils::LogAppender appender(path, u"", 0);
  EXPECT_EQ(appender.Write(u"one", 0), 0);
  EXPECT_EQ(appender.Write(u"two", 0), 0);
  EXPECT_TRUE(logtest::ReadBytes(path).empty()) << "nothing written while the lock is busy";
  appender.Write(u"three", 1);
  EXPECT_EQ(logtest::Texts(path), (std::vector<std::string>{"one", "two", "three"}));
  int code = -1;
  EXPECT_TRUE(holder->WaitFor(30000, code));
  EXPECT_EQ(code, 0);
}

}  // namespace
