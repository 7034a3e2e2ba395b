#include "log/log_statement.h"

#include <cstdio>
#include <cstring>

#include "platform/text.h"

namespace LogUtils {

std::string PositionPrefix(const char* sourcePath, int line) {
  char buffer[100] = {};
  const char* slash = std::strrchr(sourcePath, '\\');
  const char* dot = std::strrchr(sourcePath, '.');
  if (slash == nullptr || dot == nullptr || slash >= dot - 1) {
    std::snprintf(buffer, sizeof buffer, "[%4d] ", line);
  } else {
    const std::string name(slash + 1, dot);
    std::snprintf(buffer, sizeof buffer, "[%4d][%s] ", line, name.c_str());
  }
  return buffer;
}

LogStatement::LogStatement(const char* tag, const char* sourcePath, int line) {
  *this << tag << PositionPrefix(sourcePath, line);
}

LogStatement& LogStatement::operator<<(const char* text) {
  if (text == nullptr) {
    text_ += u"(null)";
  } else {
    text_ += platform::FromNarrow(text);
  }
  return *this;
}

LogStatement& LogStatement::operator<<(const std::string& text) {
  text_ += platform::FromNarrow(text);
  return *this;
}

LogStatement& LogStatement::operator<<(const char16_t* text) {
  if (text != nullptr) text_ += text;
  return *this;
}

LogStatement& LogStatement::operator<<(std::u16string_view text) {
  text_ += text;
  return *this;
}

LogStatement& LogStatement::operator<<(char16_t c) {
  text_ += c;
  return *this;
}

}  // namespace LogUtils
