// Any bytes as a blob: scrambled and Base64-encoded so that the fuzzer's bytes are what the
// reader sees after decoding; then any text as Base64. Decode in both modes and Find must
// never read outside the blob, and a found record must lie wholly inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "param/param_blob.h"
#include "param/param_blob_reader.h"

namespace {

volatile std::uint8_t g_sink;

void Probe(const ParamBlobReader& reader) {
  for (const char* name : {"cmd_line", "", "a", "cmd"}) {
    if (const std::uint8_t* record = reader.Find(name)) {
      const std::uint32_t length = param_blob::ReadU32(record + param_blob::kValueLengthOffset);
      for (std::uint32_t i = 0; i < length; ++i) g_sink = g_sink ^ record[param_blob::kValueOffset + i];
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = param_blob::Encode(std::vector<std::uint8_t>(data, data + size));
  ParamBlobReader reader;
  reader.Decode(text.data(), static_cast<int>(text.size()), 0);
  Probe(reader);
  reader.Decode(text.data(), static_cast<int>(text.size()), 1);
  Probe(reader);
  const std::string raw(reinterpret_cast<const char*>(data), size);
  reader.Decode(raw.data(), static_cast<int>(raw.size()), 1);
  Probe(reader);
  return 0;
}
