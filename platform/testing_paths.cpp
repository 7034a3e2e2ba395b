// Where a test finds the programs built beside it; the same on every system.
#include "platform/process.h"
#include "platform/testing.h"

namespace platform::testing {

std::u16string ProgramFolder() {
  const std::u16string self = ExecutablePath();
  return self.substr(0, self.find_last_of(u"\\/") + 1);
}

std::u16string SiblingProgram(const std::u16string& name) {
  const std::u16string self = ExecutablePath();
  const bool exe = self.size() > 4 && self.compare(self.size() - 4, 4, u".exe") == 0;
  return ProgramFolder() + name + (exe ? u".exe" : u"");
}

}  // namespace platform::testing
