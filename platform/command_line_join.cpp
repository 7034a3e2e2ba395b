// The quoting that turns an argument list into one command line under the Windows rules;
// shared by both backends (POSIX builds its command line with it, tools build child
// command lines with it).
#include "platform/command_line.h"

namespace platform {
namespace {

bool NeedsQuotes(const std::u16string& arg) {
  return arg.empty() || arg.find_first_of(u" \t\"") != std::u16string::npos;
}

// The first argument takes no escapes: it is quoted as a whole when it holds a blank.
std::u16string QuoteFirst(const std::u16string& arg) {
  bool blank = arg.empty() || arg.find_first_of(u" \t") != std::u16string::npos;
  bool leadingQuote = !arg.empty() && arg[0] == u'"';
  if (!blank && !leadingQuote) return arg;
  std::u16string out = u"\"";
  for (char16_t c : arg) {
    if (c != u'"') out += c;
  }
  return out + u"\"";
}

// Later arguments: backslashes are literal except before a quote, where they are doubled
// and the quote escaped; backslashes before the closing quote are doubled.
std::u16string QuoteLater(const std::u16string& arg) {
  if (!NeedsQuotes(arg)) return arg;
  std::u16string out = u"\"";
  std::size_t backslashes = 0;
  for (char16_t c : arg) {
    if (c == u'\\') {
      ++backslashes;
    } else if (c == u'"') {
      out.append(backslashes + 1, u'\\');
      backslashes = 0;
    } else {
      backslashes = 0;
    }
    out += c;
  }
  out.append(backslashes, u'\\');
  return out + u"\"";
}

}  // namespace

std::u16string JoinCommandLine(const std::vector<std::u16string>& args) {
  if (args.empty() || (args.size() == 1 && args[0].empty())) return std::u16string();
  std::u16string out = QuoteFirst(args[0]);
  for (std::size_t i = 1; i < args.size(); ++i) {
    out += u' ';
    out += QuoteLater(args[i]);
  }
  return out;
}

}  // namespace platform
