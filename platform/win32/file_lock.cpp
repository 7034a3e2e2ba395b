// Windows named lock: a named mutex in the logon session. A wait that reports the mutex
// abandoned by a process that ended while holding it counts as acquired: this thread then
// owns it and releases it like any other.
#include <windows.h>

#include "platform/file_lock.h"

namespace platform {

struct NamedLock::State {
  HANDLE mutex;
};

NamedLock::NamedLock(const std::u16string& name) : state_(nullptr) {
  HANDLE mutex = CreateMutexW(nullptr, TRUE, reinterpret_cast<LPCWSTR>(name.c_str()));
  if (mutex == nullptr) return;
  existed_ = GetLastError() == ERROR_ALREADY_EXISTS;
  state_ = new State{mutex};
}

NamedLock::~NamedLock() {
  if (state_ == nullptr) return;
  CloseHandle(state_->mutex);
  delete state_;
}

bool NamedLock::Valid() const { return state_ != nullptr; }
bool NamedLock::ExistedBefore() const { return existed_; }

bool NamedLock::TryAcquire() {
  if (state_ == nullptr) return false;
  DWORD rc = WaitForSingleObject(state_->mutex, 0);
  return rc == WAIT_OBJECT_0 || rc == WAIT_ABANDONED;
}

bool NamedLock::Acquire() {
  if (state_ == nullptr) return false;
  DWORD rc = WaitForSingleObject(state_->mutex, INFINITE);
  return rc == WAIT_OBJECT_0 || rc == WAIT_ABANDONED;
}

void NamedLock::Release() {
  if (state_ != nullptr) ReleaseMutex(state_->mutex);
}

}  // namespace platform
