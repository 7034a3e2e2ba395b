#pragma once
// LogUtils: the process-wide logger. It decides which statements pass (threshold, switch file
// beside the log, level lock), frames each run with marker lines and keeps the file under a
// size limit, handing lines to its LogAppender.
#include <memory>
#include <mutex>
#include <string>

#include "log/log_appender.h"

namespace LogUtils {

class LogStatement;

class Logger {
 public:
  virtual ~Logger() = default;
  // Sets the threshold unless it is locked, writing "-------log off" or "-------log lev change".
  virtual void SetLevel(int level) = 0;
  // True when `level` is at least the threshold.
  virtual bool IsEnabled(int level) = 0;
  // Binds the log file (the first call only creates the appender), the limit and the full
  // policy, and chooses the threshold: 0 when `path` + ".on" exists, else 1 with `enable`,
  // else 3. Queues "-------log start" when level 1 passes.
  virtual void Init(const std::u16string& path, const std::u16string& tag, int enable,
                    int stopWhenFull, int sizeLimit) = 0;
  // Empties the log file; queues "-------log reset" when level 1 passes.
  virtual void Reset() = 0;
  // Writes "-------log end" (flushing the queue) when level 1 passes; then logging is off.
  virtual void End() = 0;
  // Acts on the first of "--set_log_lev=0".."3" and "--reload_log_switch" found in `text`.
  virtual void HandleCommand(const char16_t* text) = 0;
  // Writes the statement's text as one line without consulting the threshold, then applies
  // the size limit.
  virtual void Write(const LogStatement& statement) = 0;
};

class LoggerImpl : public Logger {
 public:
  LoggerImpl() = default;
  void SetLevel(int level) override;
  bool IsEnabled(int level) override;
  void Init(const std::u16string& path, const std::u16string& tag, int enable,
            int stopWhenFull, int sizeLimit) override;
  void Reset() override;
  void End() override;
  void HandleCommand(const char16_t* text) override;
  void Write(const LogStatement& statement) override;
  // Write with a plain text, as the statement's text would be.
  void WriteText(const std::u16string& text);

 private:
  void Reload();

  std::recursive_mutex lock_;
  int threshold_ = 3;
  int levelLocked_ = 0;
  int stopWhenFull_ = 0;
  std::unique_ptr<LogAppender> appender_;
  std::u16string logPath_;
  int sizeLimit_ = 104857600;
};

// The process-wide logger, created on first use and never destroyed.
Logger* GetLogger();
// Init on the process-wide logger with an empty tag, enable 0, restart when full, 100 MiB.
void InitLog(const std::u16string& path);
// End on the process-wide logger.
void EndLog();

}  // namespace LogUtils
