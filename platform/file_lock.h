#pragma once
// A named lock shared by the processes of one user: a named mutex on Windows, flock lock
// files on POSIX. The log uses one per log path so that only one process writes at a time.
#include <string>

namespace platform {

class NamedLock {
 public:
  // Creates the lock `name`, or opens it when another live process already has it open.
  // The creator owns the lock on return and must Release it; an opener does not own it.
  explicit NamedLock(const std::u16string& name);
  ~NamedLock();
  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;

  // False when the lock could neither be created nor opened; the other calls then fail.
  bool Valid() const;
  // True when another live process had the lock open before this one (so it is not owned).
  bool ExistedBefore() const;
  // Takes the lock if it is free right now. A lock left by a process that died while
  // holding it counts as free.
  bool TryAcquire();
  // Waits without limit for the lock. False only when the lock is not valid.
  bool Acquire();
  void Release();

 private:
  struct State;
  State* state_;
  bool existed_ = false;
};

}  // namespace platform
