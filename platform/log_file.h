#pragma once
// What the log needs of the system: an append-mode file shared between processes, local
// time with milliseconds, process and thread ids, system error texts, the debugger channel
// (standard error on POSIX), file existence and a case-insensitive search.
#include <string>
#include <string_view>

namespace platform {

struct LocalTime {
  int month, day, hour, minute, second, millisecond;
};

// One reading of the local clock.
LocalTime NowLocal();

unsigned long CurrentProcessIdForLog();
unsigned long CurrentThreadIdForLog();

// Opens `path` write-only for appending, creating it (read and write permission) when
// absent, binary, with no sharing restriction. Returns a descriptor, or -1 with the runtime
// library's error number in `error`.
int OpenForAppend(const std::u16string& path, int& error);
// Length of the open file in bytes, -1 on failure.
long long FileLength(int fd);
// One write call; the number of bytes written, or -1.
long WriteBytes(int fd, const char* data, std::size_t size);
void CloseFile(int fd);
// Deletes the file; false on failure, with the cause left for LastSystemError.
bool RemoveFile(const std::u16string& path);

// The calling thread's last system error code (GetLastError on Windows, errno on POSIX).
int LastSystemError();
// The system's message for `code`, empty when it has none. Line breaks are kept.
std::u16string SystemErrorText(int code);

// Sends `text` to the debugger output (standard error on POSIX).
void DebuggerOutput(const std::u16string& text);

bool FileExists(const std::u16string& path);

// True when `what` occurs in `text`, ignoring case.
bool ContainsIgnoreCase(std::u16string_view text, std::u16string_view what);

}  // namespace platform
