#pragma once
// The host's command line as a map from option name to value.
#include <map>
#include <string>

class OptionMap {
 public:
  // Stores a copy of `commandLine` (null counts as empty) and rebuilds the map from it. Each
  // argument, the program path included, is name=value split at the first "=", or a bare
  // name with an empty value. Names and values are trimmed of white space; then one leading
  // and one trailing double quote are removed from the value, each on its own. The key is
  // the name with a to z upper-cased; a later argument replaces an earlier one's value.
  // False, with the map left empty, when the command line cannot be split.
  bool Parse(const char16_t* commandLine);

  // Looks `name` up with a to z upper-cased. When found, assigns its value to `value` and
  // returns true; otherwise leaves `value` as it was.
  bool Get(const std::u16string& name, std::u16string& value) const;

 private:
  std::u16string commandLine_;
  std::map<std::u16string, std::u16string> entries_;
};
