// POSIX processes: /proc/self/exe, posix_spawn of a command line split into argv, named
// semaphores in place of named events; the Windows start-up calls have no counterpart.
#include <fcntl.h>
#include <semaphore.h>
#include <spawn.h>
#include <unistd.h>

#include <vector>

#include "platform/command_line.h"
#include "platform/process.h"
#include "platform/text.h"

extern char** environ;

namespace platform {

std::u16string ExecutablePath() {
  std::string path(256, '\0');
  while (true) {
    ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    if (n < 0) return std::u16string();
    if (static_cast<std::size_t>(n) < path.size()) {
      path.resize(n);
      return FromNarrow(path);
    }
    path.resize(path.size() * 2);
  }
}

bool StartHidden(const std::u16string& exe, const std::u16string& commandLine) {
  std::vector<std::u16string> args;
  SplitCommandLine(commandLine, args);
  std::vector<std::string> narrow;
  for (const auto& arg : args) narrow.push_back(ToNarrow(arg));
  std::vector<char*> argv;
  for (auto& arg : narrow) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  return posix_spawn(&pid, ToNarrow(exe).c_str(), nullptr, nullptr, argv.data(), environ) == 0;
}

void SignalNamedEvent(const std::u16string& name) {
  sem_t* event = sem_open(("/" + ToNarrow(name)).c_str(), 0);
  if (event == SEM_FAILED) return;
  sem_post(event);
  sem_close(event);
}

void PrepareHostProcess() {}
void EndHostRun() {}

}  // namespace platform
