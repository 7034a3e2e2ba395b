#include "platform/appended_signature.h"

#include <cstring>

namespace platform {

AppendedSignatureResult FindAppendedSignature(const std::uint8_t* data, std::size_t size,
                                              AppendedSignature& found) {
  found = AppendedSignature();
  if (size < kAppendedSignatureMagicSize ||
      std::memcmp(data + size - kAppendedSignatureMagicSize, kAppendedSignatureMagic,
                  kAppendedSignatureMagicSize) != 0) {
    return AppendedSignatureResult::kAbsent;
  }
  std::size_t rest = size - kAppendedSignatureMagicSize;
  if (rest < kModuleSignatureSize) return AppendedSignatureResult::kMalformed;
  rest -= kModuleSignatureSize;
  const std::uint8_t* info = data + rest;
  // algo, hash, id_type, signer_len, key_id_len, pad[3]: a CMS signature names the rest.
  static const std::uint8_t kExpected[8] = {0, 0, 2, 0, 0, 0, 0, 0};
  if (std::memcmp(info, kExpected, sizeof kExpected) != 0) {
    return AppendedSignatureResult::kMalformed;
  }
  const std::uint32_t length = std::uint32_t{info[8]} << 24 | std::uint32_t{info[9]} << 16 |
                               std::uint32_t{info[10]} << 8 | std::uint32_t{info[11]};
  if (length == 0 || length > rest) return AppendedSignatureResult::kMalformed;
  found.signatureSize = length;
  found.signatureOffset = rest - length;
  found.signedSize = found.signatureOffset;
  return AppendedSignatureResult::kFound;
}

AppendedSignatureResult FindPrimarySignature(const std::uint8_t* data, std::size_t size,
                                             AppendedSignature& found) {
  AppendedSignatureResult result = FindAppendedSignature(data, size, found);
  AppendedSignature inner;
  while (result == AppendedSignatureResult::kFound) {
    switch (FindAppendedSignature(data, found.signedSize, inner)) {
      case AppendedSignatureResult::kAbsent:
        return result;
      case AppendedSignatureResult::kMalformed:
        found = AppendedSignature();
        return AppendedSignatureResult::kMalformed;
      case AppendedSignatureResult::kFound:
        found = inner;
        break;
    }
  }
  return result;
}

}  // namespace platform
