#include "tests/verify/verify_test_support.h"

#include <fstream>
#include <sstream>

#include "platform/testing.h"
#include "platform/text.h"

namespace verify_test {

std::u16string Fixture(const std::u16string& name) {
  return platform::testing::ProgramFolder() + u"verify_fixtures" + platform::testing::ProgramFolder().back() + name +
         platform::FromUtf8(VERIFY_MODULE_SUFFIX);
}

std::vector<std::u16string> ProfileRows() {
  std::ifstream file(platform::ToNarrow(platform::testing::ProgramFolder() + u"verify_publishers.txt"),
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
