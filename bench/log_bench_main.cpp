// rundll-log-bench: writes COUNT lines into a log, either through the logger or, as the
// baseline, with one append-mode write call per line and no lock.
//   rundll-log-bench logger|baseline PATH COUNT
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "log/log_appender.h"
#include "log/log_statement.h"
#include "log/logger.h"
#include "platform/log_file.h"
#include "platform/text.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: rundll-log-bench logger|baseline PATH COUNT\n");
    return 64;
  }
  const std::string mode = argv[1];
  const std::u16string path = platform::FromNarrow(argv[2]);
  const int count = std::atoi(argv[3]);
  const std::u16string padding(80, u'x');
  if (mode == "logger") {
    LogUtils::GetLogger()->Init(path, u"", 1, 0, 0x7fffffff);
    for (int i = 0; i < count; ++i) RUNDLL_LOG_INFO << "line " << i << " " << padding;
    LogUtils::EndLog();
    return 0;
  }
  if (mode != "baseline") return 64;
  int fd = open(argv[2], O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return 1;
  for (int i = 0; i < count; ++i) {
    // The same bytes a logged line takes, stamped and converted the same way.
    const platform::LocalTime now = platform::NowLocal();
    std::string line = platform::ToNarrow(
        LogUtils::FormatLinePrefix(now.month, now.day, now.hour, now.minute, now.second,
                                   now.millisecond, platform::CurrentProcessIdForLog(),
                                   platform::CurrentThreadIdForLog(), u"") +
        u"[I][  30][log_bench_main] line " + platform::FromNarrow(std::to_string(i)) + u" " +
        padding) + "\r\n";
    if (write(fd, line.data(), line.size()) < 0) return 1;
  }
  close(fd);
  return 0;
}
