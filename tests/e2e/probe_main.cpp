// rundll-probe: the host with a recorder in front. When RUNDLL_PROBE_DIR names a folder, it
// writes PID.txt there: "hidden=1" or "hidden=0", a line break, then its command line in
// UTF-8 exactly as received. Then it runs as the host.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "launcher/host.h"
#include "platform/command_line.h"
#include "platform/testing.h"
#include "platform/text.h"

int main() {
  if (const char* dir = std::getenv("RUNDLL_PROBE_DIR")) {
    // Written under another name first, so a reader never sees half a record.
    std::string path =
        std::string(dir) + "/" + std::to_string(platform::testing::CurrentProcessId());
    {
      std::ofstream out(path + ".part", std::ios::binary);
      out << "hidden=" << (platform::testing::StartedHidden() ? 1 : 0) << "\n"
          << platform::ToUtf8(platform::HostCommandLine());
    }
    std::rename((path + ".part").c_str(), (path + ".txt").c_str());
  }
  return HostMain();
}
