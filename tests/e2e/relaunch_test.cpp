// Relaunch mode with real processes: the host (or the probe, which records the command line
// it received) is started with --param, and its child is observed.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "param/param_blob.h"
#include "param/param_blob_writer.h"
#include "platform/command_line.h"
#include "platform/process.h"
#include "platform/testing.h"
#include "platform/text.h"

namespace fs = std::filesystem;

namespace {

struct Record {
  bool hidden;
  std::u16string commandLine;
};

class RelaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("rundll-relaunch-" + std::to_string(platform::testing::CurrentProcessId()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    platform::testing::SetEnvironment("RUNDLL_PROBE_DIR", dir_.string().c_str());
    event_ = std::u16string(u"rundll-test-") +
             platform::FromUtf8(std::to_string(platform::testing::CurrentProcessId()));
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Every record the probes wrote so far.
  std::vector<Record> Records() const {
    std::vector<Record> records;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      if (entry.path().extension() != ".txt") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::stringstream text;
      text << in.rdbuf();
      const std::string s = text.str();
      const std::size_t newline = s.find('\n');
      records.push_back({s.compare(0, newline, "hidden=1") == 0,
                         platform::FromUtf8(s.substr(newline + 1))});
    }
    return records;
  }

  // Waits for the relaunched child's record: the one without --param. The parent has
  // already exited; the child may still be starting.
  std::vector<Record> WaitForChild() const {
    for (int i = 0; i < 200; ++i) {
      std::vector<Record> records = Records();
      if (records.size() >= 2) return records;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return Records();
  }

  static const Record* Child(const std::vector<Record>& records) {
    for (const Record& r : records) {
      if (r.commandLine.find(u"--param=") == std::u16string::npos) return &r;
    }
    return nullptr;
  }

  int RunWithParam(const std::u16string& host, const std::string& param) {
    return platform::testing::RunAndWait(
        host, platform::JoinCommandLine({host, u"--param=" + platform::FromUtf8(param),
                                         u"sync=" + event_}));
  }

  fs::path dir_;
  std::u16string event_;
};

std::string CommandLineParam(const std::u16string& commandLine) {
  ParamBlobWriter writer;
  writer.AddText("cmd_line", commandLine);
  return writer.Encode();
}

TEST_F(RelaunchTest, StartsOneHiddenCopyWithTheStoredCommandLine) {
  const std::u16string probe = platform::testing::SiblingProgram(u"rundll-probe");
  const std::u16string stored = platform::JoinCommandLine(
      {probe, u"--dll=Plugins\\x y.dll", u"--entry=Run", u"--opt=\"quoted\"", u"\u4e2d\u6587"});
  platform::testing::NamedEvent sync(event_);
  ASSERT_TRUE(sync.Created());

  EXPECT_EQ(RunWithParam(probe, CommandLineParam(stored)), 0);

  const std::vector<Record> records = WaitForChild();
  ASSERT_EQ(records.size(), 2u);
  const Record* child = Child(records);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->commandLine, stored);
  EXPECT_TRUE(child->hidden);
  EXPECT_FALSE(sync.Signalled());
}

TEST_F(RelaunchTest, LongestCommandLineIsPassedWhole) {
  const std::u16string probe = platform::testing::SiblingProgram(u"rundll-probe");
  std::u16string stored = platform::JoinCommandLine({probe, u"--pad="});
  stored += std::u16string(4095 - stored.size(), u'p');
  EXPECT_EQ(RunWithParam(probe, CommandLineParam(stored)), 0);
  const std::vector<Record> records = WaitForChild();
  const Record* child = Child(records);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->commandLine, stored);
}

TEST_F(RelaunchTest, BlobWithoutCommandLineStartsTheChildWithAnEmptyOne) {
  const std::u16string probe = platform::testing::SiblingProgram(u"rundll-probe");
  ParamBlobWriter other;
  other.AddText("other", u"x");
  std::vector<std::uint8_t> badHeader = other.Bytes();
  badHeader[0] = 'x';
  for (const std::string& param : {other.Encode(), param_blob::Encode(badHeader)}) {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    platform::testing::NamedEvent sync(event_);
    EXPECT_EQ(RunWithParam(probe, param), 0);
    const std::vector<Record> records = WaitForChild();
    ASSERT_EQ(records.size(), 2u);
    const Record* child = Child(records);
    ASSERT_NE(child, nullptr);
    // Wine hands a child started with an empty command line its quoted program path; the
    // child sees no option either way.
    std::vector<std::u16string> args;
    platform::SplitCommandLine(child->commandLine, args);
    EXPECT_TRUE(child->commandLine.empty() || args.size() == 1u)
        << platform::ToUtf8(child->commandLine);
    EXPECT_FALSE(sync.Signalled());
  }
}

TEST_F(RelaunchTest, FailedStartSignalsTheEventAndExitsWithOne) {
  // A copy of the real host whose executable is moved away once it has started: its own
  // path names nothing when it tries to start itself again.
  const fs::path copy = dir_ / "rundll-copy.exe";
  fs::copy_file(fs::path(platform::ToUtf8(platform::testing::SiblingProgram(u"rundll"))), copy);
  const std::u16string host = platform::FromUtf8(copy.string());
  platform::testing::NamedEvent sync(event_);
  ASSERT_TRUE(sync.Created());
  const std::u16string commandLine = platform::JoinCommandLine(
      {host, u"--param=" + platform::FromUtf8(CommandLineParam(u"rundll --dll=x.dll")),
       u"sync=" + event_});
  EXPECT_EQ(platform::testing::RunWithExecutableMovedAway(host, commandLine), 1);
  EXPECT_TRUE(sync.Signalled());
}

TEST_F(RelaunchTest, CommandLineTooLongForTheBufferIsRefused) {
  const std::u16string host = platform::testing::SiblingProgram(u"rundll");
  platform::testing::NamedEvent sync(event_);
  EXPECT_EQ(RunWithParam(host, CommandLineParam(std::u16string(4096, u'x'))), 1);
  EXPECT_TRUE(sync.Signalled());
}

TEST_F(RelaunchTest, RealHostRelaunchesWithoutSignalling) {
  const std::u16string host = platform::testing::SiblingProgram(u"rundll");
  platform::testing::NamedEvent sync(event_);
  EXPECT_EQ(RunWithParam(host, CommandLineParam(platform::JoinCommandLine({host}))), 0);
  EXPECT_FALSE(sync.Signalled());
}

TEST_F(RelaunchTest, EmptyParamIsRunMode) {
  const std::u16string probe = platform::testing::SiblingProgram(u"rundll-probe");
  platform::testing::NamedEvent sync(event_);
  EXPECT_EQ(platform::testing::RunAndWait(
                probe, platform::JoinCommandLine({probe, u"--param=", u"sync=" + event_})),
            0);
  EXPECT_EQ(Records().size(), 1u);
  EXPECT_FALSE(sync.Signalled());
}

}  // namespace
