#pragma once
// LogUtils::LogStatement: one log line under construction, a wide text stream that starts
// with a level tag and the call site's position. RUNDLL_LOG builds it only when the level
// passes the logger's threshold.
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>

#include "log/logger.h"

namespace LogUtils {

// "[%4d][name] " where name lies strictly between the last backslash and the last dot of
// `sourcePath`; "[%4d] " when there is no dot, no backslash, or no room for a name.
std::string PositionPrefix(const char* sourcePath, int line);

class LogStatement {
 public:
  // Opens the statement with `tag` and the position prefix of `sourcePath` (backslash
  // separated) and `line`.
  LogStatement(const char* tag, const char* sourcePath, int line);

  // Narrow text is the system's 8-bit text; a null pointer inserts "(null)".
  LogStatement& operator<<(const char* text);
  LogStatement& operator<<(const std::string& text);
  LogStatement& operator<<(const char16_t* text);
  LogStatement& operator<<(std::u16string_view text);
  LogStatement& operator<<(char16_t c);
  template <typename Integer,
            typename = std::enable_if_t<std::is_integral_v<Integer> &&
                                        !std::is_same_v<Integer, char> &&
                                        !std::is_same_v<Integer, bool>>>
  LogStatement& operator<<(Integer value) {
    return *this << std::to_string(value);
  }

  // The accumulated text, which the logger writes as one line.
  const std::u16string& Text() const { return text_; }

 private:
  std::u16string text_;
};

// A source path with every slash turned into a backslash, made at compile time, so that
// the position rule sees the same kind of path on every build.
template <std::size_t N>
struct BackslashPath {
  char text[N] = {};
  constexpr explicit BackslashPath(const char (&path)[N]) {
    for (std::size_t i = 0; i < N; ++i) text[i] = path[i] == '/' ? '\\' : path[i];
  }
};

// Hands a finished statement to the shared logger. `&` binds after every `<<`.
struct StatementSink {
  void operator&(const LogStatement& statement) const { GetLogger()->Write(statement); }
};

}  // namespace LogUtils

// RUNDLL_LOG(level, "[I]") << piece << piece; builds and writes the statement only when
// `level` passes; otherwise no piece is evaluated.
#define RUNDLL_LOG(level, tag)                                                          \
  if (!::LogUtils::GetLogger()->IsEnabled(level)) {                                     \
  } else                                                                                \
    ::LogUtils::StatementSink() & ::LogUtils::LogStatement(                             \
                                      tag,                                              \
                                      [] {                                              \
                                        static constexpr ::LogUtils::BackslashPath<     \
                                            sizeof(__FILE__)>                           \
                                            path(__FILE__);                             \
                                        return path.text;                               \
                                      }(),                                              \
                                      __LINE__)

// The host's level: level 1, tag "[I]".
#define RUNDLL_LOG_INFO RUNDLL_LOG(1, "[I]")
