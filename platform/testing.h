#pragma once
// Process control for tests: run a program and wait, start one and kill it, run one whose
// executable file is gone once it has started, test events, a file that cannot be deleted,
// the environment. Linked into tests only.
#include <string>

namespace platform::testing {

// The folder of this test's executable, with its trailing separator.
std::u16string ProgramFolder();

// The program `name` built beside this test, with this executable's suffix (".exe" on
// Windows).
std::u16string SiblingProgram(const std::u16string& name);

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

// A child started without waiting for it. The destructor kills it if it still runs.
class Child {
 public:
  // Starts `exe` with `commandLine` (program name first). Started() is false on failure.
  Child(const std::u16string& exe, const std::u16string& commandLine);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const;
  // Waits up to `milliseconds` for the child to end. True when it ended; its exit code then
  // goes to `code` (128 + signal on POSIX when it was killed).
  bool WaitFor(int milliseconds, int& code);
  // Ends the child at once, as a crash would.
  void Kill();

 private:
  long long handle_;
  bool running_;
};

// Makes deleting the file at `path` really fail while the object lives: on Windows a second
// handle that does not share deletion; on POSIX, where the file's owner may always unlink it,
// the file is moved to `path` + ".aside" and a directory holding one file takes its place,
// so unlink fails with EISDIR. The destructor undoes it (on POSIX the directory goes; the
// moved file stays aside).
class DeletionBlocker {
 public:
  explicit DeletionBlocker(const std::u16string& path);
  ~DeletionBlocker();
  DeletionBlocker(const DeletionBlocker&) = delete;
  DeletionBlocker& operator=(const DeletionBlocker&) = delete;
  bool Active() const;

 private:
  std::u16string path_;
  long long handle_;
};

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
