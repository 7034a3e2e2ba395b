// Any bytes as a signed file: finding the last and the primary signature block must never
// read outside the file, and a found block must lie wholly inside it, after what it signs.
// The input is copied to a buffer of its exact size so that ASan sees every overread.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/appended_signature.h"

namespace {

void Check(platform::AppendedSignatureResult result, const platform::AppendedSignature& found,
           std::size_t size) {
  if (result != platform::AppendedSignatureResult::kFound) {
    if (found.signedSize != 0 || found.signatureSize != 0) std::abort();
    return;
  }
  if (found.signatureOffset != found.signedSize || found.signatureSize == 0 ||
      found.signatureOffset + found.signatureSize + platform::kModuleSignatureSize +
              platform::kAppendedSignatureMagicSize > size) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> file(data, data + size);
  platform::AppendedSignature found;
  Check(platform::FindAppendedSignature(file.data(), file.size(), found), found, file.size());
  const platform::AppendedSignature last = found;
  const auto result = platform::FindPrimarySignature(file.data(), file.size(), found);
  Check(result, found, file.size());
  // The primary block is the last one or lies before it.
  if (result == platform::AppendedSignatureResult::kFound && found.signedSize > last.signedSize) {
    std::abort();
  }
  return 0;
}
