#include "tests/verify/verify_test_support.h"

#include <fstream>
#include <sstream>

#include "platform/process.h"
#include "platform/text.h"

namespace verify_test {

std::u16string BuildFolder() {
  std::u16string exe = platform::ExecutablePath();
  return exe.substr(0, exe.find_last_of(u"/\\") + 1);
}

std::u16string Fixture(const std::u16string& name) {
  return BuildFolder() + u"verify_fixtures" + BuildFolder().back() + name +
         platform::FromUtf8(VERIFY_MODULE_SUFFIX);
}

std::vector<std::u16string> ProfileRows() {
  std::ifstream file(platform::ToNarrow(BuildFolder() + u"verify_publishers.txt"),
                     std::ios::binary);
  std::vector<std::u16string> rows;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#' || line.find_first_not_of(" \t") == std::string::npos) {
      continue;
    }
    rows.push_back(platform::FromUtf8(line));
  }
  return rows;
}

}  // namespace verify_test
