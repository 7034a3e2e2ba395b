// POSIX command line: argv read back from /proc/self/cmdline and joined with the Windows
// quoting, and our own splitter with the Windows rules.
#include <fstream>
#include <iterator>

#include "platform/command_line.h"
#include "platform/text.h"

namespace platform {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::u16string HostCommandLine() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::u16string> args;
  std::size_t start = 0;
  while (start < raw.size()) {
    std::size_t end = raw.find('\0', start);
    if (end == std::string::npos) end = raw.size();
    args.push_back(FromNarrow(std::string_view(raw).substr(start, end - start)));
    start = end + 1;
  }
  return JoinCommandLine(args);
}

bool SplitCommandLine(const std::u16string& text, std::vector<std::u16string>& args) {
  args.clear();
  const std::size_t n = text.size();
  std::size_t i = 0;

  // The program path: up to the next quote when quoted, else up to the first blank.
  std::u16string first;
  if (n > 0 && text[0] == u'"') {
    for (i = 1; i < n && text[i] != u'"'; ++i) first += text[i];
    if (i < n) ++i;
  } else {
    for (; i < n && !IsBlank(text[i]); ++i) first += text[i];
  }
  args.push_back(first);

  while (true) {
    while (i < n && IsBlank(text[i])) ++i;
    if (i >= n) break;
    std::u16string arg;
    std::size_t backslashes = 0;
    int quotes = 0;  // 1 while inside quotes
    while (i < n && !(IsBlank(text[i]) && quotes == 0)) {
      char16_t c = text[i++];
      if (c == u'\\') {
        arg += c;
        ++backslashes;
        continue;
      }
      if (c != u'"') {
        arg += c;
        backslashes = 0;
        continue;
      }
      // 2n backslashes and a quote: n backslashes and a quote mark that toggles quoting;
      // 2n+1 backslashes and a quote: n backslashes and a literal quote.
      arg.resize(arg.size() - backslashes / 2 - backslashes % 2);
      if (backslashes % 2 == 0) {
        ++quotes;
      } else {
        arg += u'"';
      }
      backslashes = 0;
      // A run of further quotes: every third quote counted gives a literal quote.
      for (; i < n && text[i] == u'"'; ++i) {
        if (++quotes == 3) {
          arg += u'"';
          quotes = 0;
        }
      }
      if (quotes == 2) quotes = 0;
    }
    args.push_back(arg);
  }
  return true;
}

}  // namespace platform
