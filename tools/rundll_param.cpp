// rundll-param: prints the --param value that makes the host relaunch itself with a given
// command line, for producers of blobs and for operators.
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "param/param_blob.h"
#include "param/param_blob_writer.h"
#include "platform/command_line.h"
#include "platform/text.h"

namespace {

const char kUsage[] =
    "usage: rundll-param [OPTION]... [-- PROGRAM [ARGUMENT]...]\n"
    "Prints the value of the host's --param option: a blob whose \"cmd_line\" record holds\n"
    "the command line the relaunched host runs with.\n"
    "\n"
    "  -- PROGRAM [ARGUMENT]...  the command line, built from these arguments with the\n"
    "                            quoting that the host's splitter undoes\n"
    "  --cmd-line=TEXT           the command line, exactly as written\n"
    "  --record=NAME=TEXT        a further record; TEXT is stored as UTF-16LE\n"
    "  --raw-record=NAME=HEX     a further record holding the bytes written in HEX\n"
    "  --help                    this text\n"
    "\n"
    "Record names have at most 50 bytes. The command line must stay under 4096 UTF-16\n"
    "units, or the host refuses it. Exit status: 0 when the value was printed, 2 on a\n"
    "usage error.\n";

int Usage(const char* problem) {
  std::fprintf(stderr, "rundll-param: %s\nTry 'rundll-param --help'.\n", problem);
  return 2;
}

bool StartsWith(const std::u16string& text, std::u16string_view prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool ParseHex(const std::string& hex, std::vector<std::uint8_t>& out) {
  if (hex.size() % 2 != 0) return false;
  for (char c : hex) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  }
  return true;
}

// NAME=VALUE after an option's "=".
bool SplitRecord(const std::u16string& text, std::string& name, std::u16string& value) {
  std::size_t equals = text.find(u'=');
  if (equals == std::u16string::npos) return false;
  name = platform::ToUtf8(text.substr(0, equals));
  value = text.substr(equals + 1);
  return true;
}

}  // namespace

int main() {
  std::vector<std::u16string> args;
  platform::SplitCommandLine(platform::HostCommandLine(), args);

  // Further records wait until "cmd_line" has gone first: the host takes the first record
  // whose name is a prefix of "cmd_line".
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> records;
  bool haveCommandLine = false;
  std::u16string commandLine;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::u16string& arg = args[i];
    std::string name;
    std::u16string value;
    if (arg == u"--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == u"--") {
      commandLine = platform::JoinCommandLine({args.begin() + i + 1, args.end()});
      haveCommandLine = true;
      break;
    } else if (StartsWith(arg, u"--cmd-line=")) {
      commandLine = arg.substr(11);
      haveCommandLine = true;
    } else if (StartsWith(arg, u"--record=") && SplitRecord(arg.substr(9), name, value)) {
      records.emplace_back(name, param_blob::Utf16LeBytes(value));
    } else if (StartsWith(arg, u"--raw-record=") && SplitRecord(arg.substr(13), name, value)) {
      std::vector<std::uint8_t> bytes;
      if (!ParseHex(platform::ToUtf8(value), bytes)) return Usage("HEX is not hexadecimal");
      records.emplace_back(name, bytes);
    } else {
      return Usage(("unknown argument " + platform::ToUtf8(arg)).c_str());
    }
  }
  if (!haveCommandLine) return Usage("no command line given (--cmd-line=TEXT or -- PROGRAM)");
  if (commandLine.size() >= 4096) return Usage("command line of 4096 units or more");

  ParamBlobWriter writer;
  writer.AddText("cmd_line", commandLine);
  for (const auto& [name, bytes] : records) {
    if (!writer.Add(name, bytes.data(), static_cast<std::uint32_t>(bytes.size()))) {
      return Usage("record name longer than 50 bytes");
    }
  }
  std::puts(writer.Encode().c_str());
  return 0;
}
