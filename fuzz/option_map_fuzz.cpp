// Any UTF-16 command line: the split and the map must neither crash nor read out of bounds,
// and every option found must read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "launcher/option_map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    char16_t c = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    if (c != 0) text += c;
  }
  OptionMap map;
  if (!map.Parse(text.c_str())) std::abort();
  std::u16string value;
  map.Get(u"--dll", value);
  map.Get(text.substr(0, text.find(u'=')), value);
  return 0;
}
