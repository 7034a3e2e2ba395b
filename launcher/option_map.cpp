#include "launcher/option_map.h"

#include <vector>

#include "platform/command_line.h"
#include "platform/text.h"

namespace {

std::u16string Trim(const std::u16string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && platform::IsSpace(text[begin])) ++begin;
  while (end > begin && platform::IsSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// Only a to z change: the runtime's upper-casing in the default locale.
std::u16string UpperAscii(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return text;
}

}  // namespace

bool OptionMap::Parse(const char16_t* commandLine) {
  commandLine_ = commandLine != nullptr ? commandLine : u"";
  entries_.clear();
  std::vector<std::u16string> args;
  if (!platform::SplitCommandLine(commandLine_, args)) return false;
  for (const std::u16string& arg : args) {
    const std::size_t equals = arg.find(u'=');
    std::u16string name = Trim(arg.substr(0, equals));
    std::u16string value;
    if (equals != std::u16string::npos) {
      value = Trim(arg.substr(equals + 1));
      if (!value.empty() && value.front() == u'"') value.erase(0, 1);
      if (!value.empty() && value.back() == u'"') value.pop_back();
    }
    entries_[UpperAscii(name)] = value;
  }
  return true;
}

bool OptionMap::Get(const std::u16string& name, std::u16string& value) const {
  auto it = entries_.find(UpperAscii(name));
  if (it == entries_.end()) return false;
  value = it->second;
  return true;
}
