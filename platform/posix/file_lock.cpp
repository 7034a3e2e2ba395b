// POSIX named lock: three flock lock files per name in $XDG_RUNTIME_DIR (else /tmp, with the
// uid in the name). "NAME.lock" is the mutex itself. Every user keeps a shared flock on
// "NAME.users" for as long as it has the lock open, so a non-blocking exclusive flock on it
// tells whether any other live user exists; "NAME.open" serialises that test. The kernel drops
// every flock of a process that dies, so a lock left by a crashed owner is simply free.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/file_lock.h"
#include "platform/text.h"

namespace platform {
namespace {

std::string LockBase(const std::u16string& name) {
  std::string narrow = ToNarrow(name);
  // Keep file names under NAME_MAX: a long name keeps its start and gets a hash of the whole.
  if (narrow.size() > 160) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : narrow) hash = (hash ^ c) * 1099511628211ull;
    narrow = narrow.substr(0, 140) + "-" + std::to_string(hash);
  }
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string dir = runtime != nullptr && *runtime != '\0' ? runtime : "/tmp";
  return dir + "/rundll-" + std::to_string(getuid()) + "-" + narrow;
}

int OpenLockFile(const std::string& path) {
  int fd;
  do {
    fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool Flock(int fd, int operation) {
  while (flock(fd, operation) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

}  // namespace

struct NamedLock::State {
  int mutex = -1;
  int users = -1;
};

NamedLock::NamedLock(const std::u16string& name) : state_(nullptr) {
  const std::string base = LockBase(name);
  int guard = OpenLockFile(base + ".open");
  int mutex = OpenLockFile(base + ".lock");
  int users = OpenLockFile(base + ".users");
  if (guard < 0 || mutex < 0 || users < 0 || !Flock(guard, LOCK_EX)) {
    if (guard >= 0) close(guard);
    if (mutex >= 0) close(mutex);
    if (users >= 0) close(users);
    return;
  }
  // Under the guard nobody else runs this test, so turning the exclusive flock into a shared
  // one (not atomic) cannot let a second process believe it is first.
  existed_ = !Flock(users, LOCK_EX | LOCK_NB);
  bool ok = true;
  if (!existed_) ok = Flock(mutex, LOCK_EX);  // the creator owns the lock, as on Windows
  ok = ok && Flock(users, LOCK_SH);
  close(guard);
  if (!ok) {
    close(mutex);
    close(users);
    existed_ = false;
    return;
  }
  state_ = new State{mutex, users};
}

NamedLock::~NamedLock() {
  if (state_ == nullptr) return;
  close(state_->mutex);
  close(state_->users);
  delete state_;
}

bool NamedLock::Valid() const { return state_ != nullptr; }
bool NamedLock::ExistedBefore() const { return existed_; }

bool NamedLock::TryAcquire() {
  return state_ != nullptr && Flock(state_->mutex, LOCK_EX | LOCK_NB);
}

bool NamedLock::Acquire() { return state_ != nullptr && Flock(state_->mutex, LOCK_EX); }

void NamedLock::Release() {
  if (state_ != nullptr) Flock(state_->mutex, LOCK_UN);
}

}  // namespace platform
