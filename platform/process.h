#pragma once
// Processes: this executable, starting a hidden copy, named events, host start-up.
#include <string>

namespace platform {

// Full path of this process's executable, never cut short; empty when the system cannot say.
std::u16string ExecutablePath();

// Starts `exe` with `commandLine` as its whole command line (program name first, as a child
// reads it), inheriting handles, environment and current folder, with its window hidden.
// Does not wait for it. False when no process was created.
bool StartHidden(const std::u16string& exe, const std::u16string& commandLine);

// Opens the existing named event `name` (it is never created here) and signals it. A name
// with no such event is ignored.
void SignalNamedEvent(const std::u16string& name);

// Start-up calls of a windowless GUI host (COM, common controls, no fault dialogs, heap
// termination on corruption), and the matching end of a run. Results are not needed.
void PrepareHostProcess();
void EndHostRun();

}  // namespace platform
