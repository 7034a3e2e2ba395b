#include "launcher/host.h"

#include "launcher/option_map.h"
#include "param/relaunch.h"
#include "platform/command_line.h"
#include "platform/process.h"

int HostMain() {
  platform::PrepareHostProcess();
  OptionMap options;
  options.Parse(platform::HostCommandLine().c_str());
  std::u16string entry, dumpId, dll, param, sync;
  options.Get(u"--entry", entry);
  options.Get(u"--dumpid", dumpId);
  options.Get(u"--dll", dll);
  options.Get(u"--param", param);
  options.Get(u"sync", sync);

  if (!param.empty()) return Relaunch(param, sync);

  // Run mode: the hosted module is run here once the runner exists.
  platform::EndHostRun();
  return 0;
}
