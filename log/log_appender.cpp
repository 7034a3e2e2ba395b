#include "log/log_appender.h"

#include <cstdio>
#include <utility>

#include "platform/log_file.h"
#include "platform/text.h"

namespace LogUtils {
namespace {

void (*debugOutput)(const std::u16string&) = platform::DebuggerOutput;

std::u16string Widen(const char* ascii) {
  std::u16string out;
  for (; *ascii != '\0'; ++ascii) out += static_cast<char16_t>(static_cast<unsigned char>(*ascii));
  return out;
}

}  // namespace

void SetDebugOutputForTesting(void (*output)(const std::u16string& text)) {
  debugOutput = output != nullptr ? output : platform::DebuggerOutput;
}

std::u16string LockNameFromPath(const std::u16string& path) {
  std::u16string name;
  for (char16_t c : path) {
    if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z')) {
      name += c;
    } else if (c >= u'a' && c <= u'z') {
      name += static_cast<char16_t>(c - u'a' + u'A');
    }
  }
  return name;
}

std::u16string FormatLinePrefix(int month, int day, int hour, int minute, int second,
                                int millisecond, unsigned long pid, unsigned long tid,
                                const std::u16string& tag) {
  char buffer[64] = {};
  std::snprintf(buffer, sizeof buffer, "%02d-%02d %02d:%02d:%02d.%03d [%5lu][%5lu]", month, day,
                hour, minute, second, millisecond, pid, tid);
  std::u16string prefix = Widen(buffer);
  if (!tag.empty()) prefix += u"[" + tag + u"]";
  if (prefix.size() > 99) prefix.resize(99);
  return prefix;
}

LogAppender::LogAppender(const std::u16string& path, const std::u16string& tag,
                         int deleteIfFirst)
    : deleteIfFirst_(deleteIfFirst), path_(path), lockName_(LockNameFromPath(path)), tag_(tag) {
  auto lock = std::make_unique<platform::NamedLock>(lockName_);
  if (!lock->Valid()) return;
  if (!lock->ExistedBefore()) {
    // First user of this log path: it owns the lock until it lets go here.
    if (deleteIfFirst_) platform::RemoveFile(path_);
    lock->Release();
  }
  fileLock_ = std::move(lock);
}

LogAppender::~LogAppender() {
  if (fd_ >= 0) platform::CloseFile(fd_);
}

void LogAppender::Enqueue(const std::u16string& text) {
  const platform::LocalTime now = platform::NowLocal();
  std::u16string line =
      FormatLinePrefix(now.month, now.day, now.hour, now.minute, now.second, now.millisecond,
                       platform::CurrentProcessIdForLog(), platform::CurrentThreadIdForLog(),
                       tag_) +
      text;
  // Sized by the conversion itself: a UTF-8 character may take three bytes per unit.
  std::string bytes = platform::ToNarrow(line);
  bytes += "\r\n";
  std::lock_guard<std::mutex> guard(queueLock_);
  queue_.push_back(std::move(bytes));
}

int LogAppender::Write(const std::u16string& text, int wait) {
  Enqueue(text);
  if (needOpen_) {
    int error = 0;
    fd_ = platform::OpenForAppend(path_, error);
    if (fd_ < 0) {
      debugOutput(u"open " + path_ + u" error. [" + Widen(std::to_string(error).c_str()) +
                  u"]\r\n");
    }
    fileSize_ = fd_ >= 0 ? static_cast<int>(platform::FileLength(fd_)) : -1;
    needOpen_ = false;
  }
  if (!fileLock_) return fileSize_;
  if (!fileLock_->TryAcquire()) {
    if (!wait || !fileLock_->Acquire()) return fileSize_;
  }
  std::deque<std::string> lines;
  {
    std::lock_guard<std::mutex> guard(queueLock_);
    lines.swap(queue_);
  }
  for (const std::string& line : lines) {
    if (fd_ < 0) continue;
    long written = platform::WriteBytes(fd_, line.data(), line.size());
    if (written > 0) fileSize_ += static_cast<int>(written);
  }
  fileLock_->Release();
  return fileSize_;
}

bool LogAppender::Clear() {
  if (!needOpen_) {
    if (fd_ >= 0) platform::CloseFile(fd_);
    fd_ = -1;
    needOpen_ = true;
  }
  std::lock_guard<std::mutex> guard(queueLock_);
  fileSize_ = 0;
  queue_.clear();
  // Taken at once: releasing the queue lock may touch the thread's last error.
  const bool removed = platform::RemoveFile(path_);
  clearError_ = removed ? 0 : platform::LastSystemError();
  return removed;
}

}  // namespace LogUtils
