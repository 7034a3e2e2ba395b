#pragma once
// Shared by the log tests: a fresh folder per test, reading the real log file back, and the
// siblings of the test executable.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "platform/command_line.h"
#include "platform/process.h"
#include "platform/testing.h"
#include "platform/text.h"

namespace logtest {

// The stamp every line starts with: date, time, process id and thread id.
inline const char* const kPrefixPattern =
    R"(\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[( *\d+)\]\[( *\d+)\])";

class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::path(::testing::TempDir()) /
           ("rundll_log_" + std::to_string(platform::testing::CurrentProcessId()) + "_" +
            info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::u16string Path(const std::string& name) const { return (dir_ / name).u16string(); }

 private:
  std::filesystem::path dir_;
};

inline std::string ReadBytes(const std::u16string& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::u16string& path) {
  return std::filesystem::exists(std::filesystem::path(path));
}

inline void Touch(const std::u16string& path) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
}

// The lines of the log, each without its CR LF; a line without CR LF fails the test.
inline std::vector<std::string> Lines(const std::u16string& path) {
  const std::string bytes = ReadBytes(path);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "line without CR LF: " << bytes.substr(start);
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The texts of the log's lines with the stamp removed; a line without a stamp fails the test.
inline std::vector<std::string> Texts(const std::u16string& path) {
  static const std::regex stamp(std::string("^") + kPrefixPattern);
  std::vector<std::string> texts;
  for (const std::string& line : Lines(path)) {
    std::smatch match;
    if (!std::regex_search(line, match, stamp)) {
      ADD_FAILURE() << "line without stamp: " << line;
      continue;
    }
    texts.push_back(match.suffix());
  }
  return texts;
}

// A program built beside this test executable.
// The command line of rundll-log-writer with `args` after its program name.
inline std::u16string WriterCommandLine(std::vector<std::u16string> args) {
  args.insert(args.begin(), u"rundll-log-writer");
  return platform::JoinCommandLine(args);
}

// Waits up to 30 s for the file at `path` to appear.
inline bool WaitForFile(const std::u16string& path) {
  for (int i = 0; i < 3000 && !Exists(path); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return Exists(path);
}

// Starts a rundll-log-writer that takes the lock of the log at `path`, holds it for
// `milliseconds` (-1: until killed) and then ends. Returns once it holds the lock (it
// creates `ready` then), or null when it did not start or never got there.
inline std::unique_ptr<platform::testing::Child> StartLockHolder(const std::u16string& path,
                                                                 const std::u16string& ready,
                                                                 const char16_t* milliseconds) {
  auto holder = std::make_unique<platform::testing::Child>(
      platform::testing::SiblingProgram(u"rundll-log-writer"),
      WriterCommandLine({u"hold", path, ready, milliseconds}));
  if (!holder->Started() || !WaitForFile(ready)) return nullptr;
  return holder;
}

}  // namespace logtest
