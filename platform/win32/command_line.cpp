// Windows command line: GetCommandLineW and the shell's CommandLineToArgvW.
#include <windows.h>
#include <shellapi.h>

#include "platform/command_line.h"

namespace platform {

std::u16string HostCommandLine() {
  return reinterpret_cast<const char16_t*>(GetCommandLineW());
}

bool SplitCommandLine(const std::u16string& commandLine, std::vector<std::u16string>& args) {
  args.clear();
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(reinterpret_cast<LPCWSTR>(commandLine.c_str()), &count);
  if (argv == nullptr) return false;
  for (int i = 0; i < count; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  LocalFree(argv);
  return true;
}

}  // namespace platform
