// Windows log file services: the runtime library's wide-path low-level file calls and
// _ftime64, process and thread ids, FormatMessageW, OutputDebugStringW, PathFileExistsW and
// StrStrIW.
#include <windows.h>
#include <shlwapi.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/timeb.h>

#include <cerrno>
#include <ctime>

#include "platform/log_file.h"

namespace platform {
namespace {

LPCWSTR Wide(const std::u16string& text) { return reinterpret_cast<LPCWSTR>(text.c_str()); }

}  // namespace

LocalTime NowLocal() {
  __timeb64 now = {};
  _ftime64(&now);
  std::tm parts = {};
  _localtime64_s(&parts, &now.time);
  return {parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
          now.millitm};
}

unsigned long CurrentProcessIdForLog() { return GetCurrentProcessId(); }
unsigned long CurrentThreadIdForLog() { return GetCurrentThreadId(); }

int OpenForAppend(const std::u16string& path, int& error) {
  int fd = _wopen(Wide(path), _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY,
                  _S_IREAD | _S_IWRITE);
  error = fd < 0 ? errno : 0;
  return fd;
}

long long FileLength(int fd) { return _lseeki64(fd, 0, SEEK_END); }

long WriteBytes(int fd, const char* data, std::size_t size) {
  return _write(fd, data, static_cast<unsigned>(size));
}

void CloseFile(int fd) { _close(fd); }

bool RemoveFile(const std::u16string& path) { return _wunlink(Wide(path)) == 0; }

int LastSystemError() { return static_cast<int>(GetLastError()); }

std::u16string SystemErrorText(int code) {
  LPWSTR buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                               FORMAT_MESSAGE_ALLOCATE_BUFFER,
                           nullptr, static_cast<DWORD>(code), 0,
                           reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::u16string text;
  if (n > 0 && buffer != nullptr) text.assign(reinterpret_cast<char16_t*>(buffer), n);
  if (buffer != nullptr) LocalFree(buffer);
  return text;
}

void DebuggerOutput(const std::u16string& text) { OutputDebugStringW(Wide(text)); }

bool FileExists(const std::u16string& path) { return PathFileExistsW(Wide(path)) != FALSE; }

bool ContainsIgnoreCase(std::u16string_view text, std::u16string_view what) {
  std::u16string t(text), w(what);
  return StrStrIW(Wide(t), Wide(w)) != nullptr;
}

}  // namespace platform
