// Several real processes share one log file and its lock.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <regex>

#include "log/log_appender.h"
#include "tests/log/log_test_support.h"

namespace {

using platform::testing::Child;

std::unique_ptr<Child> StartWriter(const std::u16string& path, int id, int count) {
  return std::make_unique<Child>(
      platform::testing::SiblingProgram(u"rundll-log-writer"),
      logtest::WriterCommandLine({u"write", path, platform::FromNarrow(std::to_string(id)),
                                  platform::FromNarrow(std::to_string(count))}));
}

// Per writer id: the numbers of its lines in file order. Every other line fails the test
// unless it is a start or end marker.
std::map<int, std::vector<int>> WriterLines(const std::u16string& path, int& markers) {
  static const std::regex statement(
      std::string("^") + logtest::kPrefixPattern +
      R"(\[I\]\[ *\d+\]\[log_writer_main\] w(\d+) (\d+) x{80}$)");
  static const std::regex marker(std::string("^") + logtest::kPrefixPattern +
                                 "-------log (start|end)$");
  std::map<int, std::vector<int>> numbers;
  std::map<int, std::string> pids;
  markers = 0;
  for (const std::string& line : logtest::Lines(path)) {
    std::smatch m;
    if (std::regex_match(line, m, statement)) {
      const int id = std::stoi(m[3]);
      numbers[id].push_back(std::stoi(m[4]));
      if (pids.count(id) == 0) pids[id] = m[1];
      EXPECT_EQ(pids[id], m[1].str()) << "writer " << id << " changed process";
    } else if (std::regex_match(line, marker)) {
      ++markers;
    } else {
      ADD_FAILURE() << "torn or foreign line: " << line;
    }
  }
  return numbers;
}

TEST(SharedLogTest, FourProcessesWriteEveryLineOnceWholeAndInOrder) {
  constexpr int kWriters = 4, kLines = 2000;
  logtest::TempFolder dir;
  const std::u16string path = dir.Path("shared.log"), ready = dir.Path("ready");
  // The writers start while another process holds the lock, so their first lines queue up.
  const auto holder = logtest::StartLockHolder(path, ready, u"700");
  ASSERT_NE(holder, nullptr);
  std::vector<std::unique_ptr<Child>> writers;
  for (int id = 0; id < kWriters; ++id) writers.push_back(StartWriter(path, id, kLines));
  for (auto& writer : writers) {
    int code = -1;
    ASSERT_TRUE(writer->WaitFor(180000, code));
    EXPECT_EQ(code, 0);
  }
  int markers = 0;
  const auto numbers = WriterLines(path, markers);
  EXPECT_EQ(markers, 2 * kWriters);
  ASSERT_EQ(numbers.size(), static_cast<std::size_t>(kWriters));
  std::vector<int> expected(kLines);
  for (int i = 0; i < kLines; ++i) expected[i] = i;
  for (const auto& [id, seen] : numbers) EXPECT_EQ(seen, expected) << "writer " << id;
}

TEST(SharedLogTest, LockOfAKilledOwnerIsTakenOver) {
  logtest::TempFolder dir;
  const std::u16string path = dir.Path("killed.log"), ready = dir.Path("ready");
  const auto holder = logtest::StartLockHolder(path, ready, u"-1");
  ASSERT_NE(holder, nullptr);
  holder->Kill();
  int code = 0;
  ASSERT_TRUE(holder->WaitFor(30000, code));
  auto writer = StartWriter(path, 9, 10);
  ASSERT_TRUE(writer->WaitFor(60000, code)) << "the writer is still waiting for the lock";
  EXPECT_EQ(code, 0);
  int markers = 0;
  const auto numbers = WriterLines(path, markers);
  EXPECT_EQ(markers, 2);
  ASSERT_EQ(numbers.count(9), 1u);
  EXPECT_EQ(numbers.at(9), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(SharedLogTest, OnlyLiveProcessesMakeTheLockExistBefore) {
  logtest::TempFolder dir;
  const std::u16string path = dir.Path("first.log"), ready = dir.Path("ready");
  logtest::Touch(path);
  const auto holder = logtest::StartLockHolder(path, ready, u"-1");
  ASSERT_NE(holder, nullptr);
  {
    LogUtils::LogAppender second(path, u"", 1);
    EXPECT_TRUE(logtest::Exists(path)) << "another live process uses the lock";
  }
  holder->Kill();
  int code = 0;
  ASSERT_TRUE(holder->WaitFor(30000, code));
  LogUtils::LogAppender first(path, u"", 1);
  EXPECT_FALSE(logtest::Exists(path)) << "the killed process no longer counts";
}

}  // namespace
