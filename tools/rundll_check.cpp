// rundll-check: tells an operator whether the host would load a DLL, and why, through the
// very check the host runs.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/command_line.h"
#include "platform/text.h"
#include "verify/signature_check.h"

namespace {

const char kUsage[] =
    "usage: rundll-check FILE\n"
    "Runs the host's publisher signature check on FILE and prints the verdict, the\n"
    "verification result code and the signer name it read.\n"
    "Exit status: 0 when the host would load FILE, 1 when it would refuse it, 2 on a usage\n"
    "error.\n";

}  // namespace

int main() {
  std::vector<std::u16string> args;
  platform::SplitCommandLine(platform::HostCommandLine(), args);
  if (args.size() != 2 || args[1] == u"--help") {
    std::fputs(kUsage, args.size() == 2 ? stdout : stderr);
    return args.size() == 2 ? 0 : 2;
  }
  const std::u16string& path = args[1];
  SignatureReport report;
  try {
    report = InspectSignature(path.c_str());
  } catch (...) {
    // The host refuses a file whose check raised.
    std::printf("%s: refused: the check failed\n", platform::ToUtf8(path).c_str());
    return 1;
  }
  const bool accepted = report.verdict == SignatureVerdict::kAccepted ||
                        report.verdict == SignatureVerdict::kOldSystem;
  std::printf("%s: %s: %s\n", platform::ToUtf8(path).c_str(), accepted ? "accepted" : "refused",
              VerdictText(report.verdict));
  if (report.verdict >= SignatureVerdict::kRefusedResult) {
    const char* name = TrustResultName(report.result);
    std::printf("result: 0x%08lX %s\n", static_cast<unsigned long>(report.result),
                *name != '\0' ? name : "(unknown code)");
  }
  if (report.verdict >= SignatureVerdict::kUnusableName) {
    std::printf("signer: \"%s\" (name count %lu)\n", platform::ToUtf8(report.name).c_str(),
                static_cast<unsigned long>(report.nameCount));
  }
  // The host itself decides through HasMsSign; the report must agree with it.
  return HasMsSign(path.c_str()) == 1 && accepted ? 0 : 1;
}
