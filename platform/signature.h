#pragma once
// The facts the publisher check needs from the system: whether a file exists, the operating
// system's major version, the verdict on the file's signature and the subject name of its
// primary signer. Windows asks its trust provider; POSIX reads a signature appended to the
// file (see platform/appended_signature.h) and verifies it with OpenSSL.
#include <cstddef>
#include <cstdint>

namespace platform {

// Verification results, with the values of the Windows trust provider's result codes.
namespace trust {
constexpr std::uint32_t kSuccess = 0;
constexpr std::uint32_t kCertExpired = 0x800B0101;
constexpr std::uint32_t kCertUntrustedRoot = 0x800B0109;
constexpr std::uint32_t kNoSignature = 0x800B0100;
constexpr std::uint32_t kBadDigest = 0x80096010;
constexpr std::uint32_t kCertChaining = 0x800B010A;
constexpr std::uint32_t kCertWrongUsage = 0x800B0110;
constexpr std::uint32_t kBadMessage = 0x80091001;
}  // namespace trust

// Capacity of the signer-name buffer, terminator included.
constexpr std::size_t kSignerNameCapacity = 512;

// True when `path` (non-null, NUL-terminated) names an existing file or folder.
bool FileExists(const char16_t* path);

// The operating system's major version; 0 when the system cannot say. Always 6 or more on
// POSIX.
std::uint32_t OsMajorVersion();

// Tests: replaces the version query (nullptr restores the system's).
void SetOsMajorVersionForTesting(std::uint32_t (*query)());

// One verification of a file's signature, open from construction to destruction; the
// destructor closes it exactly once, whatever the result.
class SignatureVerification {
 public:
  // Verifies the signature of `path` (non-null, NUL-terminated). No revocation checks, no
  // network, no user interface.
  explicit SignatureVerification(const char16_t* path);
  ~SignatureVerification();
  SignatureVerification(const SignatureVerification&) = delete;
  SignatureVerification& operator=(const SignatureVerification&) = delete;

  // The verification result: one of the trust:: codes or another system result code.
  std::uint32_t Status() const;

  // Zeroes `name` and writes the simple display name of the subject of the primary signer's
  // leaf certificate, cut to fit and NUL-terminated. Sets `count` to the units written
  // including the terminator: 1 for no name, kSignerNameCapacity when the name may have been
  // cut. False, leaving `count` 0, when there is no signer, chain or certificate.
  bool SignerName(char16_t (&name)[kSignerNameCapacity], std::uint32_t& count) const;

  // Tests: how many verifications this process has closed.
  static unsigned long ClosedCountForTesting();

 private:
  void* state_;
};

}  // namespace platform
