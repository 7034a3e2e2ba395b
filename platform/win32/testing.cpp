// Windows test support: CreateProcessW and waiting, TerminateProcess, a suspended start whose
// executable is renamed before it runs, named events, a handle that refuses deletion.
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "platform/testing.h"

namespace platform::testing {
namespace {

// Standard output goes to `output` when it is given (the handle must be inheritable).
int Start(const std::u16string& exe, const std::u16string& commandLine, DWORD flags,
          PROCESS_INFORMATION& info, HANDLE output = nullptr) {
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (output != nullptr) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  return CreateProcessW(reinterpret_cast<LPCWSTR>(exe.c_str()), buffer.data(), nullptr,
                        nullptr, output != nullptr, flags, nullptr, nullptr, &startup, &info);
}

int Finish(PROCESS_INFORMATION& info) {
  WaitForSingleObject(info.hProcess, INFINITE);
  DWORD code = static_cast<DWORD>(-1);
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return static_cast<int>(code);
}

}  // namespace

int RunAndWait(const std::u16string& exe, const std::u16string& commandLine) {
  PROCESS_INFORMATION info = {};
  if (!Start(exe, commandLine, 0, info)) return -1;
  return Finish(info);
}

int RunWithOutput(const std::u16string& exe, const std::u16string& commandLine,
                  const std::u16string& outputFile) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE output = CreateFileW(reinterpret_cast<LPCWSTR>(outputFile.c_str()), GENERIC_WRITE,
                              FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  if (output == INVALID_HANDLE_VALUE) return -1;
  PROCESS_INFORMATION info = {};
  const bool started = Start(exe, commandLine, 0, info, output);
  CloseHandle(output);
  return started ? Finish(info) : -1;
}

int RunWithExecutableMovedAway(const std::u16string& exe, const std::u16string& commandLine) {
  PROCESS_INFORMATION info = {};
  if (!Start(exe, commandLine, CREATE_SUSPENDED, info)) return -1;
  std::u16string moved = exe + u".moved";
  MoveFileExW(reinterpret_cast<LPCWSTR>(exe.c_str()), reinterpret_cast<LPCWSTR>(moved.c_str()),
              MOVEFILE_REPLACE_EXISTING);
  ResumeThread(info.hThread);
  return Finish(info);
}

Child::Child(const std::u16string& exe, const std::u16string& commandLine)
    : handle_(0), running_(false) {
  PROCESS_INFORMATION info = {};
  if (!Start(exe, commandLine, 0, info)) return;
  CloseHandle(info.hThread);
  handle_ = reinterpret_cast<long long>(info.hProcess);
  running_ = true;
}

Child::~Child() {
  if (handle_ == 0) return;
  if (running_) {
    Kill();
    WaitForSingleObject(reinterpret_cast<HANDLE>(handle_), INFINITE);
  }
  CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool Child::Started() const { return handle_ != 0; }

bool Child::WaitFor(int milliseconds, int& code) {
  if (!running_) return false;
  HANDLE process = reinterpret_cast<HANDLE>(handle_);
  DWORD wait = milliseconds < 0 ? INFINITE : static_cast<DWORD>(milliseconds);
  if (WaitForSingleObject(process, wait) != WAIT_OBJECT_0) return false;
  DWORD exitCode = static_cast<DWORD>(-1);
  GetExitCodeProcess(process, &exitCode);
  code = static_cast<int>(exitCode);
  running_ = false;
  return true;
}

void Child::Kill() {
  if (running_) TerminateProcess(reinterpret_cast<HANDLE>(handle_), 137);
}

DeletionBlocker::DeletionBlocker(const std::u16string& path) : path_(path), handle_(0) {
  HANDLE file = CreateFileW(reinterpret_cast<LPCWSTR>(path.c_str()), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) handle_ = reinterpret_cast<long long>(file);
}

DeletionBlocker::~DeletionBlocker() {
  if (handle_ != 0) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool DeletionBlocker::Active() const { return handle_ != 0; }

void SetEnvironment(const char* name, const char* value) {
  SetEnvironmentVariableA(name, value);
  _putenv_s(name, value);
}

bool StartedHidden() {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 && startup.wShowWindow == SW_HIDE;
}

long CurrentProcessId() { return static_cast<long>(GetCurrentProcessId()); }

NamedEvent::NamedEvent(const std::u16string& name)
    : handle_(CreateEventW(nullptr, TRUE, FALSE, reinterpret_cast<LPCWSTR>(name.c_str()))) {}

NamedEvent::~NamedEvent() {
  if (handle_ != nullptr) CloseHandle(handle_);
}

bool NamedEvent::Created() const { return handle_ != nullptr; }

bool NamedEvent::Signalled() {
  return handle_ != nullptr && WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0;
}

}  // namespace platform::testing
