#pragma once
// Process control for tests: run a program and wait, run one whose executable file is gone
// once it has started, test events, the environment. Linked into tests only.
#include <string>

namespace platform::testing {

// Runs `exe` with `commandLine` (program name first) and waits for it. Returns its exit
// code, or -1 when it could not be started.
int RunAndWait(const std::u16string& exe, const std::u16string& commandLine);

// Like RunAndWait, with the program's standard output written to the file `outputFile`.
int RunWithOutput(const std::u16string& exe, const std::u16string& commandLine,
                  const std::u16string& outputFile);

// Like RunAndWait, but the file `exe` is moved away (renamed to `exe` + ".moved" on
// Windows, unlinked on POSIX) after the process has been created and before it runs, so
// the process cannot find its own executable at the path it was started from.
int RunWithExecutableMovedAway(const std::u16string& exe, const std::u16string& commandLine);

// Sets an environment variable of this process; children inherit it.
void SetEnvironment(const char* name, const char* value);

// True when this process was started with its window hidden. Always true on systems without
// windows.
bool StartedHidden();

// The id of this process.
long CurrentProcessId();

// A named event created for a test: the counterpart that a host opens and signals.
class NamedEvent {
 public:
  explicit NamedEvent(const std::u16string& name);
  ~NamedEvent();
  NamedEvent(const NamedEvent&) = delete;
  NamedEvent& operator=(const NamedEvent&) = delete;

  bool Created() const;
  // True when the event was signalled since it was created (or last seen signalled).
  bool Signalled();

 private:
  void* handle_;
  std::string name_;
};

}  // namespace platform::testing
