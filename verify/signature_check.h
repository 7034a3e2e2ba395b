#pragma once
// The publisher signature check run before a DLL is loaded.
#include <cstdint>
#include <string>

// Why the check decided as it did, in the order the stages run.
enum class SignatureVerdict {
  kNoFile,         // null path, or no such file
  kOldSystem,      // operating system major version below 6: accepted unexamined
  kRefusedResult,  // the verification result is not one of the accepted three
  kNoSigner,       // no primary signer, chain or leaf certificate
  kUnusableName,   // the name count is 0 or 512: empty-or-cut names are never compared
  kNotAllowed,     // the name was compared and is not on the allow-list
  kAccepted,       // the name is on the allow-list
};

// The facts gathered for one file, as far as the check got.
struct SignatureReport {
  SignatureVerdict verdict = SignatureVerdict::kNoFile;
  std::uint32_t osMajorVersion = 0;
  std::uint32_t result = 0;     // the verification result code, once verified
  std::uint32_t nameCount = 0;  // units of the signer name with its terminator, once read
  std::u16string name;          // the signer name as read, once read
};

// True for the verification results that let the signer's name decide: success, an
// expired certificate, an untrusted root.
bool IsAcceptedTrustResult(std::uint32_t result);

// True when a name count of `count` (terminator included, out of 512) is compared at all.
bool IsUsableNameCount(std::uint32_t count);

// The published name of a verification result code ("CERT_E_EXPIRED"), or "" if unknown.
const char* TrustResultName(std::uint32_t result);

// Text for a verdict, for operators ("signer name not on the list").
const char* VerdictText(SignatureVerdict verdict);

// Runs the check's stages on `path` (may be null) and reports what it found. Verification
// state is closed exactly once before it returns or raises. May raise std::bad_alloc.
SignatureReport InspectSignature(const char16_t* path);

// 1 when the file at `path` (may be null) may be loaded, else 0. Never raises: anything
// raised inside refuses the file.
int HasMsSign(const char16_t* path);
