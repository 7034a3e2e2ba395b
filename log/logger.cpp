#include "log/logger.h"

#include <atomic>

#include "log/log_statement.h"
#include "platform/log_file.h"

namespace LogUtils {
namespace {

constexpr int kDefaultSizeLimit = 104857600;

std::u16string Decimal(int value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// "code" or "code:message", with every CR LF pair removed.
std::u16string ErrorText(int code) {
  std::u16string text = Decimal(code);
  std::u16string message = platform::SystemErrorText(code);
  if (!message.empty()) text += u":" + message;
  for (std::size_t at; (at = text.find(u"\r\n")) != std::u16string::npos;) text.erase(at, 2);
  return text;
}

std::mutex creationLock;
std::atomic<Logger*> instance{nullptr};

}  // namespace

bool LoggerImpl::IsEnabled(int level) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return level >= threshold_;
}

void LoggerImpl::Init(const std::u16string& path, const std::u16string& tag, int enable,
                      int stopWhenFull, int sizeLimit) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  logPath_ = path;
  sizeLimit_ = sizeLimit;
  stopWhenFull_ = stopWhenFull;
  if (!appender_) appender_ = std::make_unique<LogAppender>(path, tag, stopWhenFull);
  threshold_ = enable ? 1 : 3;
  if (platform::FileExists(logPath_ + u".on")) {
    threshold_ = 0;
    levelLocked_ = enable;
  }
  if (appender_ && IsEnabled(1)) appender_->Enqueue(u"-------log start");
}

void LoggerImpl::Write(const LogStatement& statement) { WriteText(statement.Text()); }

void LoggerImpl::WriteText(const std::u16string& text) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (!appender_) return;
  const int size = appender_->Write(text, 0);
  if (size <= sizeLimit_) return;
  if (stopWhenFull_) {
    appender_->Write(u"-------log full", 1);
    threshold_ = 3;
    return;
  }
  if (appender_->Clear()) {
    appender_->Enqueue(u"-------log full reset");
    return;
  }
  appender_->Enqueue(u"-------log full reset failed. " + ErrorText(appender_->ClearError()));
  threshold_ = 3;
}

void LoggerImpl::SetLevel(int level) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (levelLocked_) return;
  if (appender_) {
    if (threshold_ <= 1) {
      if (level == 3) {
        appender_->Write(u"-------log off", 1);
      } else {
        appender_->Write(u"-------log lev change", 0);
      }
    } else if (level <= 1) {
      appender_->Write(u"-------log lev change", 0);
    }
  }
  threshold_ = level;
}

void LoggerImpl::Reset() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (!appender_) return;
  appender_->Clear();
  if (IsEnabled(1)) appender_->Enqueue(u"-------log reset");
}

void LoggerImpl::End() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (!appender_) return;
  if (IsEnabled(1)) appender_->Write(u"-------log end", 1);
  threshold_ = 3;
}

void LoggerImpl::HandleCommand(const char16_t* text) {
  if (text == nullptr) return;
  static const struct {
    const char16_t* text;
    int level;
  } switches[] = {{u"--set_log_lev=0", 0}, {u"--set_log_lev=1", 1}, {u"--set_log_lev=2", 2},
                  {u"--set_log_lev=3", 3}, {u"--reload_log_switch", -1}};
  for (const auto& entry : switches) {
    if (!platform::ContainsIgnoreCase(text, entry.text)) continue;
    if (entry.level >= 0) {
      SetLevel(entry.level);
    } else {
      Reload();
    }
    return;
  }
}

void LoggerImpl::Reload() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  threshold_ = 3;
  if (platform::FileExists(logPath_ + u".on")) threshold_ = 0;
  if (appender_ && IsEnabled(1)) appender_->Enqueue(u"-------log reload switch");
}

Logger* GetLogger() {
  Logger* logger = instance.load(std::memory_order_acquire);
  if (logger != nullptr) return logger;
  std::lock_guard<std::mutex> guard(creationLock);
  logger = instance.load(std::memory_order_relaxed);
  if (logger == nullptr) {
    logger = new LoggerImpl();  // lives until the process ends
    instance.store(logger, std::memory_order_release);
  }
  return logger;
}

void InitLog(const std::u16string& path) {
  if (Logger* logger = GetLogger()) logger->Init(path, u"", 0, 0, kDefaultSizeLimit);
}

void EndLog() {
  if (Logger* logger = GetLogger()) logger->End();
}

}  // namespace LogUtils
