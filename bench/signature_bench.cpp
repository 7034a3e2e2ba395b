// Times HasMsSign on each file given: prints "FILE RESULT SECONDS" with the median seconds
// of one check over the runs, inside one process so that process start is not counted.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/text.h"
#include "verify/signature_check.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: signature_bench RUNS FILE...\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  for (int i = 2; i < argc; ++i) {
    const std::u16string path = platform::FromUtf8(argv[i]);
    std::vector<double> seconds;
    int result = -1;
    for (int run = 0; run < runs; ++run) {
      const auto start = std::chrono::steady_clock::now();
      result = HasMsSign(path.c_str());
      seconds.push_back(
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(seconds.begin(), seconds.begin() + runs / 2, seconds.end());
    std::printf("%s %d %.6f\n", argv[i], result, seconds[runs / 2]);
  }
  return 0;
}
