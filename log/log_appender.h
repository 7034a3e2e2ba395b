#pragma once
// LogUtils::LogAppender: turns texts into stamped lines of the log file and flushes them
// while holding a cross-process lock named after the file's path, so that several processes
// can append to one log.
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "platform/file_lock.h"

namespace LogUtils {

// The cross-process lock name of a log path: ASCII digits, ASCII letters upper-cased, every
// other character dropped.
std::u16string LockNameFromPath(const std::u16string& path);

// The line prefix "MM-DD hh:mm:ss.mmm [pid][tid]", ids right-aligned in five columns, then
// "[tag]" when `tag` is not empty. Cut at 99 units.
std::u16string FormatLinePrefix(int month, int day, int hour, int minute, int second,
                                int millisecond, unsigned long pid, unsigned long tid,
                                const std::u16string& tag);

// Replaces the debugger channel that reports an open failure; null restores it.
void SetDebugOutputForTesting(void (*output)(const std::u16string& text));

class LogAppender final {
 public:
  // Creates or opens the lock of `path`. The first user of the lock deletes the file when
  // `deleteIfFirst` is set.
  LogAppender(const std::u16string& path, const std::u16string& tag, int deleteIfFirst);
  // The host never destroys its appender; other owners get the file closed.
  ~LogAppender();

  // Formats one line (prefix, text, CR LF) and queues it; nothing reaches the file.
  virtual void Enqueue(const std::u16string& text);
  // Queues `text`, opens the file when due, and flushes the whole queue if the lock is free
  // (with `wait` non-zero, once it is). Returns the file size as this process knows it: the
  // length at open plus the bytes written since, -1 after a failed open.
  virtual int Write(const std::u16string& text, int wait);
  // Closes the file, drops the queue and deletes the file; true when the deletion worked.
  virtual bool Clear();
  // The system error code of the last failed deletion in Clear.
  int ClearError() const { return clearError_; }

 private:
  std::unique_ptr<platform::NamedLock> fileLock_;
  int fileSize_ = 0;
  bool needOpen_ = true;
  int deleteIfFirst_;
  std::u16string path_;
  std::u16string lockName_;
  std::u16string tag_;
  int fd_ = -1;
  std::mutex queueLock_;
  std::deque<std::string> queue_;
  int clearError_ = 0;
};

}  // namespace LogUtils
