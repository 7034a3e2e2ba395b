// POSIX test support: posix_spawn and waitpid, children killed with SIGKILL, fexecve of an
// unlinked executable, named semaphores as test events, a directory in a file's place.
#include <fcntl.h>
#include <semaphore.h>
#include <spawn.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "platform/command_line.h"
#include "platform/testing.h"
#include "platform/text.h"

extern char** environ;

namespace platform::testing {
namespace {

struct Argv {
  explicit Argv(const std::u16string& commandLine) {
    std::vector<std::u16string> args;
    SplitCommandLine(commandLine, args);
    for (const auto& arg : args) strings.push_back(ToNarrow(arg));
    for (auto& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
  }
  std::vector<std::string> strings;
  std::vector<char*> pointers;
};

int Wait(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + WTERMSIG(status);
}

}  // namespace

int RunAndWait(const std::u16string& exe, const std::u16string& commandLine) {
  Argv argv(commandLine);
  pid_t pid = 0;
  if (posix_spawn(&pid, ToNarrow(exe).c_str(), nullptr, nullptr, argv.pointers.data(),
                  environ) != 0) {
    return -1;
  }
  return Wait(pid);
}

int RunWithOutput(const std::u16string& exe, const std::u16string& commandLine,
                  const std::u16string& outputFile) {
  Argv argv(commandLine);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, ToNarrow(outputFile).c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  int rc = posix_spawn(&pid, ToNarrow(exe).c_str(), &actions, nullptr, argv.pointers.data(),
                       environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? Wait(pid) : -1;
}

int RunWithExecutableMovedAway(const std::u16string& exe, const std::u16string& commandLine) {
  Argv argv(commandLine);
  std::string path = ToNarrow(exe);
  int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return -1;
  // Gone before the program starts; it still runs from the open descriptor.
  unlink(path.c_str());
  pid_t pid = fork();
  if (pid == 0) {
    fexecve(fd, argv.pointers.data(), environ);
    _exit(127);
  }
  close(fd);
  return pid < 0 ? -1 : Wait(pid);
}

Child::Child(const std::u16string& exe, const std::u16string& commandLine)
    : handle_(-1), running_(false) {
  Argv argv(commandLine);
  pid_t pid = 0;
  if (posix_spawn(&pid, ToNarrow(exe).c_str(), nullptr, nullptr, argv.pointers.data(),
                  environ) == 0) {
    handle_ = pid;
    running_ = true;
  }
}

Child::~Child() {
  if (!running_) return;
  Kill();
  int code = 0;
  WaitFor(-1, code);
}

bool Child::Started() const { return handle_ > 0; }

bool Child::WaitFor(int milliseconds, int& code) {
  if (!running_) return false;
  for (int waited = 0;; waited += 10) {
    int status = 0;
    pid_t rc = waitpid(static_cast<pid_t>(handle_), &status, WNOHANG);
    if (rc == static_cast<pid_t>(handle_)) {
      running_ = false;
      code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return true;
    }
    if (rc < 0 && errno != EINTR) return false;
    if (milliseconds >= 0 && waited >= milliseconds) return false;
    timespec pause = {0, 10 * 1000000};
    nanosleep(&pause, nullptr);
  }
}

void Child::Kill() {
  if (running_) kill(static_cast<pid_t>(handle_), SIGKILL);
}

DeletionBlocker::DeletionBlocker(const std::u16string& path) : path_(path), handle_(0) {
  std::string narrow = ToNarrow(path);
  if (std::rename(narrow.c_str(), (narrow + ".aside").c_str()) != 0) return;
  if (mkdir(narrow.c_str(), 0700) != 0) return;
  int fd = open((narrow + "/keep").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return;
  close(fd);
  handle_ = 1;
}

DeletionBlocker::~DeletionBlocker() {
  std::string narrow = ToNarrow(path_);
  unlink((narrow + "/keep").c_str());
  rmdir(narrow.c_str());
}

bool DeletionBlocker::Active() const { return handle_ != 0; }

void SetEnvironment(const char* name, const char* value) { setenv(name, value, 1); }

bool StartedHidden() { return true; }

long CurrentProcessId() { return static_cast<long>(getpid()); }

NamedEvent::NamedEvent(const std::u16string& name) : name_("/" + ToNarrow(name)) {
  sem_unlink(name_.c_str());
  sem_t* sem = sem_open(name_.c_str(), O_CREAT | O_EXCL, 0600, 0);
  handle_ = sem == SEM_FAILED ? nullptr : sem;
}

NamedEvent::~NamedEvent() {
  if (handle_ == nullptr) return;
  sem_close(static_cast<sem_t*>(handle_));
  sem_unlink(name_.c_str());
}

bool NamedEvent::Created() const { return handle_ != nullptr; }

bool NamedEvent::Signalled() {
  return handle_ != nullptr && sem_trywait(static_cast<sem_t*>(handle_)) == 0;
}

}  // namespace platform::testing
