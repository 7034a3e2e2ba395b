// POSIX log file services: open/write/unlink, localtime_r with clock_gettime milliseconds,
// getpid and gettid, errno with strerror, standard error as the debugger channel.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/log_file.h"
#include "platform/text.h"

namespace platform {

LocalTime NowLocal() {
  timespec now = {};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm parts = {};
  localtime_r(&now.tv_sec, &parts);
  return {parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
          static_cast<int>(now.tv_nsec / 1000000)};
}

unsigned long CurrentProcessIdForLog() { return static_cast<unsigned long>(getpid()); }
unsigned long CurrentThreadIdForLog() {
  return static_cast<unsigned long>(syscall(SYS_gettid));
}

int OpenForAppend(const std::u16string& path, int& error) {
  int fd = open(ToNarrow(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  error = fd < 0 ? errno : 0;
  return fd;
}

long long FileLength(int fd) { return lseek(fd, 0, SEEK_END); }

long WriteBytes(int fd, const char* data, std::size_t size) {
  ssize_t n;
  do {
    n = write(fd, data, size);
  } while (n < 0 && errno == EINTR);
  return static_cast<long>(n);
}

void CloseFile(int fd) { close(fd); }

bool RemoveFile(const std::u16string& path) { return unlink(ToNarrow(path).c_str()) == 0; }

int LastSystemError() { return errno; }

std::u16string SystemErrorText(int code) {
  char buffer[256] = {};
  // The GNU strerror_r returns the text, which may not be in the buffer.
  const char* text = strerror_r(code, buffer, sizeof buffer);
  return text != nullptr ? FromNarrow(text) : std::u16string();
}

void DebuggerOutput(const std::u16string& text) {
  std::string narrow = ToNarrow(text);
  ssize_t ignored = write(STDERR_FILENO, narrow.data(), narrow.size());
  (void)ignored;
}

bool FileExists(const std::u16string& path) {
  struct stat info;
  return stat(ToNarrow(path).c_str(), &info) == 0;
}

bool ContainsIgnoreCase(std::u16string_view text, std::u16string_view what) {
  auto fold = [](char16_t c) -> char16_t { return c >= u'A' && c <= u'Z' ? c + 32 : c; };
  if (what.size() > text.size()) return false;
  for (std::size_t i = 0; i + what.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < what.size() && fold(text[i + k]) == fold(what[k])) ++k;
    if (k == what.size()) return true;
  }
  return false;
}

}  // namespace platform
