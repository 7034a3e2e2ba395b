#pragma once
// The signature block appended to a signed file on POSIX, in the kernel module layout:
//   [signed bytes][DER CMS signature][12-byte module_signature][magic]
// module_signature is {algo, hash, id_type, signer_len, key_id_len, pad[3], sig_len}, all
// single bytes but the big-endian 32-bit sig_len; id_type 2 marks a PKCS#7 / CMS signature,
// whose signer and digest the CMS itself names, so the other bytes are zero.
#include <cstddef>
#include <cstdint>

namespace platform {

constexpr char kAppendedSignatureMagic[] = "~Module signature appended~\n";
constexpr std::size_t kAppendedSignatureMagicSize = sizeof kAppendedSignatureMagic - 1;
constexpr std::size_t kModuleSignatureSize = 12;

struct AppendedSignature {
  std::size_t signedSize = 0;       // bytes covered by the signature, from the file's start
  std::size_t signatureOffset = 0;  // where the DER signature starts (== signedSize)
  std::size_t signatureSize = 0;
};

enum class AppendedSignatureResult { kFound, kAbsent, kMalformed };

// Finds the block at the end of `data` (`size` bytes). kAbsent when the file does not end
// with the magic; kMalformed when the trailer is damaged or its length does not fit.
AppendedSignatureResult FindAppendedSignature(const std::uint8_t* data, std::size_t size,
                                              AppendedSignature& found);

// Finds the primary signature: a signed file may carry further signatures appended after
// it, each covering everything before it, so the primary one is the innermost block. Steps
// inward from the last block while the bytes it covers end with another block. The result
// is that of the innermost step: kMalformed when any block on the way is damaged.
AppendedSignatureResult FindPrimarySignature(const std::uint8_t* data, std::size_t size,
                                             AppendedSignature& found);

}  // namespace platform
