#pragma once
// The process command line as one UTF-16 text, and its split into arguments.
#include <string>
#include <vector>

namespace platform {

// This process's whole command line, program path first. On POSIX it is argv joined by
// JoinCommandLine, which SplitCommandLine undoes exactly.
std::u16string HostCommandLine();

// Splits a command line with the Windows rules: the first argument ends at the next quote
// when it starts with one, else at the first blank or tab; later arguments honour quotes,
// backslashes before quotes and doubled quotes. False when the system refuses to split.
bool SplitCommandLine(const std::u16string& commandLine, std::vector<std::u16string>& args);

// Quotes each argument so that SplitCommandLine gives back exactly `args`. A first argument
// holding a quote together with a blank cannot be written under the first-argument rule;
// its quotes are dropped. A lone empty argument joins to the empty text.
std::u16string JoinCommandLine(const std::vector<std::u16string>& args);

}  // namespace platform
