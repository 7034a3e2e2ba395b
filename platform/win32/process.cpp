// Windows processes: GetModuleFileNameW, CreateProcessW with a hidden window, named events,
// and the start-up calls of a windowless GUI host.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <vector>

#include "platform/process.h"

namespace platform {
namespace {

// msvcrt.dll, the runtime MinGW links against, exports _set_abort_behavior only in newer
// Windows versions, so it is looked up rather than imported.
void SetAbortBehavior(unsigned int flags, unsigned int mask) {
  using Setter = unsigned int(__cdecl*)(unsigned int, unsigned int);
  HMODULE runtime = GetModuleHandleW(L"msvcrt.dll");
  auto setter = runtime ? reinterpret_cast<Setter>(reinterpret_cast<void*>(
                              GetProcAddress(runtime, "_set_abort_behavior")))
                        : nullptr;
  if (setter) setter(flags, mask);
}

}  // namespace

std::u16string ExecutablePath() {
  std::vector<wchar_t> path(MAX_PATH);
  while (true) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::u16string();
    if (n < path.size()) return std::u16string(reinterpret_cast<const char16_t*>(path.data()), n);
    path.resize(path.size() * 2);
  }
}

bool StartHidden(const std::u16string& exe, const std::u16string& commandLine) {
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(reinterpret_cast<LPCWSTR>(exe.c_str()), buffer.data(), nullptr, nullptr,
                      TRUE, 0, nullptr, nullptr, &startup, &info)) {
    return false;
  }
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  return true;
}

void SignalNamedEvent(const std::u16string& name) {
  HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, reinterpret_cast<LPCWSTR>(name.c_str()));
  if (event == nullptr) return;
  SetEvent(event);
  CloseHandle(event);
}

void PrepareHostProcess() {
  CoInitialize(nullptr);
  DefWindowProcW(nullptr, 0, 0, 0);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  SetAbortBehavior(0, _WRITE_ABORT_MSG);
  SetErrorMode(SEM_NOGPFAULTERRORBOX);
  HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
}

void EndHostRun() { CoUninitialize(); }

}  // namespace platform
