#pragma once
// Relaunch mode: start a fresh, hidden copy of the host with the command line stored in a
// --param blob.
#include <optional>
#include <string>

class ParamBlobReader;

// The command line stored under "cmd_line": the value's UTF-16LE units up to the first zero
// unit (an odd last byte is a unit of its own). Empty when there is no such record;
// nothing when it does not fit a 4096-unit buffer together with its terminator, because a
// cut command line would run a different command.
std::optional<std::u16string> StoredCommandLine(const ParamBlobReader& reader);

// Decodes `blobValue` and starts this executable, hidden, with the stored command line.
// Returns 0 when the process was created. Otherwise signals the existing event named
// `syncName` (when not empty) and returns 1.
int Relaunch(const std::u16string& blobValue, const std::u16string& syncName);
