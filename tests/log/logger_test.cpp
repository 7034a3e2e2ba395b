#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "log/log_appender.h"
#include "log/logger.h"
#include "platform/log_file.h"
#include "platform/text.h"
#include "tests/log/log_test_support.h"

namespace {

using Texts = std::vector<std::string>;
constexpr int kBig = 104857600;

class LoggerTest : public ::testing::Test {
 protected:
  // The threshold as seen through IsEnabled: the lowest level that passes.
  int Threshold() {
    for (int level = 0; level < 3; ++level) {
      if (logger.IsEnabled(level)) return level;
    }
    return 3;
  }
  // Bytes one ASCII line of this thread takes in the file.
  int LineBytes(const std::string& text) {
    return static_cast<int>(
        LogUtils::FormatLinePrefix(1, 1, 0, 0, 0, 0, platform::CurrentProcessIdForLog(),
                                   platform::CurrentThreadIdForLog(), u"")
            .size() +
        text.size() + 2);
  }

  logtest::TempFolder dir;
  std::u16string path = dir.Path("rundll.log");
  LogUtils::LoggerImpl logger;
};

TEST_F(LoggerTest, WithoutSwitchFileTheHostLogsNothing) {
  logger.Init(path, u"", 0, 0, kBig);
  EXPECT_FALSE(logger.IsEnabled(1));
  EXPECT_TRUE(logger.IsEnabled(3));
  logger.End();
  EXPECT_FALSE(logtest::Exists(path));
}

TEST_F(LoggerTest, SwitchFileLetsEveryLevelPassAndFramesTheRunAtEnd) {
  logtest::Touch(path + u".on");
  logger.Init(path, u"", 0, 0, kBig);
  EXPECT_EQ(Threshold(), 0);
  EXPECT_FALSE(logtest::Exists(path)) << "the start marker is only queued";
  logger.End();
  EXPECT_EQ(logtest::Texts(path), (Texts{"-------log start", "-------log end"}));
  EXPECT_EQ(Threshold(), 3);
}

TEST_F(LoggerTest, EnableWithoutSwitchFileChoosesLevelOne) {
  logger.Init(path, u"", 1, 0, kBig);
  EXPECT_EQ(Threshold(), 1);
  logger.WriteText(u"a statement");
  logger.End();
  EXPECT_EQ(logtest::Texts(path), (Texts{"-------log start", "a statement", "-------log end"}));
}

TEST_F(LoggerTest, SetLevelMarkersDependOnOldAndNewThreshold) {
  const struct {
    int from, to;
    Texts markers;
  } cases[] = {
      {1, 3, {"-------log off"}},        {0, 3, {"-------log off"}},
      {1, 1, {"-------log lev change"}}, {1, 2, {"-------log lev change"}},
      {0, 0, {"-------log lev change"}}, {2, 1, {"-------log lev change"}},
      {3, 0, {"-------log lev change"}}, {2, 3, {}},
      {3, 2, {}},                        {2, 2, {}},
  };
  int round = 0;
  for (const auto& c : cases) {
    LogUtils::LoggerImpl fresh;
    const std::u16string file = dir.Path("level" + std::to_string(round++) + ".log");
    fresh.Init(file, u"", 0, 0, kBig);  // threshold 3, nothing queued
    fresh.SetLevel(c.from);
    const std::size_t before = logtest::Exists(file) ? logtest::Texts(file).size() : 0;
    fresh.SetLevel(c.to);
    const Texts all = logtest::Exists(file) ? logtest::Texts(file) : Texts{};
    EXPECT_EQ(Texts(all.begin() + before, all.end()), c.markers) << c.from << " -> " << c.to;
    EXPECT_TRUE(fresh.IsEnabled(c.to) && (c.to == 0 || !fresh.IsEnabled(c.to - 1)));
  }
}

TEST_F(LoggerTest, LevelChangeDoesNotWaitForTheLockButLogOffDoes) {
  const std::u16string ready = dir.Path("ready");
  logger.Init(path, u"", 1, 0, kBig);
  const auto holder = logtest::StartLockHolder(path, ready, u"1000");
  ASSERT_NE(holder, nullptr);
  logger.SetLevel(1);
  EXPECT_TRUE(logtest::ReadBytes(path).empty());
  logger.SetLevel(3);  // returns once the holder lets go
  EXPECT_EQ(logtest::Texts(path),
            (Texts{"-------log start", "-------log lev change", "-------log off"}));
  int code = -1;
  EXPECT_TRUE(holder->WaitFor(30000, code));
}

TEST_F(LoggerTest, LockedLevelIgnoresSetLevelButNotTheReloadSwitch) {
  logtest::Touch(path + u".on");
  logger.Init(path, u"", 1, 0, kBig);  // switch file with enable: level 0, locked
  logger.SetLevel(3);
  EXPECT_EQ(Threshold(), 0);
  logger.HandleCommand(u"--set_log_lev=2");
  EXPECT_EQ(Threshold(), 0);
  logger.HandleCommand(u"--reload_log_switch");
  EXPECT_EQ(Threshold(), 0);
  std::filesystem::remove(std::filesystem::path(path + u".on"));
  logger.HandleCommand(u"--RELOAD_LOG_SWITCH");
  EXPECT_EQ(Threshold(), 3);
  logger.WriteText(u"flush");  // Write does not consult the threshold
  EXPECT_EQ(logtest::Texts(path),
            (Texts{"-------log start", "-------log reload switch", "flush"}));
}

TEST_F(LoggerTest, HandleCommandActsOnTheFirstSwitchInItsOrder) {
  const struct {
    const char16_t* text;
    int threshold;
  } cases[] = {
      {u"--set_log_lev=12", 1},
      {u"run --SET_LOG_LEV=2 now", 2},
      {u"--set_log_lev=3 --set_log_lev=0", 0},
      {u"--set_log_lev=3", 3},
      {u"--set_log_lev=3 --reload_log_switch", 3},
      {u"--set_log_lev=4", 1},
      {u"", 1},
      {nullptr, 1},
  };
  for (const auto& c : cases) {
    LogUtils::LoggerImpl fresh;
    fresh.Init(path, u"", 1, 0, kBig);
    fresh.HandleCommand(c.text);
    EXPECT_TRUE(fresh.IsEnabled(c.threshold) && (c.threshold == 0 || !fresh.IsEnabled(c.threshold - 1)))
        << (c.text ? platform::ToUtf8(c.text) : "null");
  }
}

TEST_F(LoggerTest, ResetEmptiesTheFileAndQueuesItsMarker) {
  logger.Init(path, u"", 1, 0, kBig);
  logger.WriteText(u"before");
  logger.Reset();
  EXPECT_FALSE(logtest::Exists(path));
  logger.End();
  EXPECT_EQ(logtest::Texts(path), (Texts{"-------log reset", "-------log end"}));
}

TEST_F(LoggerTest, SecondInitKeepsTheFirstFile) {
  const std::u16string other = dir.Path("other.log");
  logger.Init(path, u"", 1, 0, kBig);
  logger.Init(other, u"", 1, 0, kBig);
  logger.WriteText(u"where");
  logger.End();
  EXPECT_FALSE(logtest::Exists(other));
  EXPECT_EQ(logtest::Texts(path), (Texts{"-------log start", "-------log start", "where", "-------log end"}));
}

TEST_F(LoggerTest, WithoutInitNothingIsWritten) {
  logger.WriteText(u"dropped");
  logger.End();
  logger.SetLevel(0);
  EXPECT_EQ(Threshold(), 0);
  logger.Reset();
}

TEST_F(LoggerTest, SizeExactlyAtTheLimitIsKept) {
  const int size = LineBytes("-------log start") + LineBytes("a");
  logger.Init(path, u"", 1, 0, size);
  logger.WriteText(u"a");
  EXPECT_EQ(static_cast<int>(logtest::ReadBytes(path).size()), size);
  EXPECT_EQ(Threshold(), 1);
  EXPECT_EQ(logtest::Texts(path), (Texts{"-------log start", "a"}));
}

TEST_F(LoggerTest, OneByteOverTheLimitRestartsTheFile) {
  // The long line leaves room for the new file's first two lines.
  const std::string longLine(200, 'a');
  logger.Init(path, u"", 1, 0, LineBytes("-------log start") + LineBytes(longLine) - 1);
  logger.WriteText(platform::FromNarrow(longLine));
  EXPECT_FALSE(logtest::Exists(path));
  EXPECT_EQ(Threshold(), 1);
  logger.WriteText(u"b");
  EXPECT_EQ(logtest::Texts(path), (Texts{"-------log full reset", "b"}));
}

TEST_F(LoggerTest, StopWhenFullEndsTheLogAndLoggingStops) {
  logger.Init(path, u"", 1, 1, LineBytes("-------log start") + LineBytes("a") - 1);
  logger.WriteText(u"a");
  EXPECT_EQ(logtest::Texts(path), (Texts{"-------log start", "a", "-------log full"}));
  EXPECT_EQ(Threshold(), 3);
}

TEST_F(LoggerTest, FailedResetWritesTheSystemErrorAndStops) {
  logger.Init(path, u"", 1, 0, LineBytes("-------log start") + LineBytes("a"));
  logger.WriteText(u"a");
  {
    platform::testing::DeletionBlocker blocker(path);
    ASSERT_TRUE(blocker.Active());
    logger.WriteText(u"crosses the limit");
    EXPECT_EQ(Threshold(), 3);
  }
  // A roomy limit, so that reopening the log (on Windows the old, full file) and flushing the
  // queued marker does not start the full handling again.
  logger.Init(path, u"", 0, 0, kBig);
  logger.WriteText(u"after");
  const Texts texts = logtest::Texts(path);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts.back(), "after");
  static const std::regex failed(R"(-------log full reset failed\. (\d+):([^\r\n]+))");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(texts[texts.size() - 2], m, failed)) << texts[texts.size() - 2];
  RecordProperty("failed_line", texts[texts.size() - 2]);
  const int code = std::stoi(m[1]);
  EXPECT_NE(code, 0);
  std::string message = platform::ToNarrow(platform::SystemErrorText(code));
  for (std::size_t at; (at = message.find("\r\n")) != std::string::npos;) message.erase(at, 2);
  EXPECT_EQ(m[2].str(), message);
}

TEST_F(LoggerTest, ThreadsOfOneProcessKeepTheirLinesWholeAndInOrder) {
  constexpr int kThreads = 4, kLines = 500;
  logger.Init(path, u"", 1, 0, kBig);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([this, t] {
      for (int i = 0; i < kLines; ++i) {
        logger.WriteText(platform::FromNarrow("t" + std::to_string(t) + " " + std::to_string(i)));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  logger.End();
  std::vector<std::vector<int>> seen(kThreads);
  for (const std::string& text : logtest::Texts(path)) {
    int t = -1, i = -1;
    if (std::sscanf(text.c_str(), "t%d %d", &t, &i) == 2 && t >= 0 && t < kThreads) {
      seen[t].push_back(i);
    } else {
      EXPECT_TRUE(text == "-------log start" || text == "-------log end") << text;
    }
  }
  std::vector<int> expected(kLines);
  for (int i = 0; i < kLines; ++i) expected[i] = i;
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(seen[t], expected) << "thread " << t;
}

}  // namespace
