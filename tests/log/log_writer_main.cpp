// rundll-log-writer: a process that shares the log with others, for the multi-process tests
// and the benchmark.
//   rundll-log-writer write PATH ID COUNT   logs COUNT lines "w<ID> <n> <padding>" at level 1
//   rundll-log-writer hold PATH READY MS    takes the log's lock, creates the file READY,
//                                           holds the lock MS milliseconds (-1: until killed)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "log/log_appender.h"
#include "log/log_statement.h"
#include "log/logger.h"
#include "platform/command_line.h"
#include "platform/file_lock.h"
#include "platform/text.h"

namespace {

int Write(const std::u16string& path, const std::string& id, int count) {
  LogUtils::GetLogger()->Init(path, u"", 1, 0, 104857600);
  // Long enough that a torn or interleaved line would show.
  const std::u16string padding(80, u'x');
  for (int i = 0; i < count; ++i) {
    RUNDLL_LOG_INFO << "w" << id << " " << i << " " << padding;
  }
  LogUtils::EndLog();
  return 0;
}

int Hold(const std::u16string& path, const std::string& ready, int milliseconds) {
  platform::NamedLock lock(LogUtils::LockNameFromPath(path));
  if (!lock.Valid()) return 2;
  if (lock.ExistedBefore() && !lock.Acquire()) return 3;
  if (std::FILE* file = std::fopen(ready.c_str(), "wb")) std::fclose(file);
  if (milliseconds < 0) {
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  lock.Release();
  return 0;
}

}  // namespace

int main() {
  std::vector<std::u16string> args;
  platform::SplitCommandLine(platform::HostCommandLine(), args);
  std::vector<std::string> narrow;
  for (const auto& arg : args) narrow.push_back(platform::ToNarrow(arg));
  if (narrow.size() == 5 && narrow[1] == "write") {
    return Write(args[2], narrow[3], std::atoi(narrow[4].c_str()));
  }
  if (narrow.size() == 5 && narrow[1] == "hold") {
    return Hold(args[2], narrow[3], std::atoi(narrow[4].c_str()));
  }
  std::fprintf(stderr, "usage: rundll-log-writer write PATH ID COUNT | hold PATH READY MS\n");
  return 64;
}
