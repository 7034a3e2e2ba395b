#pragma once
// Shared by the log tests: a fresh folder per test, reading the real log file back, and the
// siblings of the test executable.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
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

}  // namespace logtest
