#include "verify/signature_check.h"

#include "platform/signature.h"
#include "verify/publisher_list.h"

bool IsAcceptedTrustResult(std::uint32_t result) {
  return result == platform::trust::kSuccess || result == platform::trust::kCertExpired ||
         result == platform::trust::kCertUntrustedRoot;
}

bool IsUsableNameCount(std::uint32_t count) { return count - 1u <= 510u; }

const char* TrustResultName(std::uint32_t result) {
  switch (result) {
    case platform::trust::kSuccess: return "ERROR_SUCCESS";
    case platform::trust::kCertExpired: return "CERT_E_EXPIRED";
    case platform::trust::kCertUntrustedRoot: return "CERT_E_UNTRUSTEDROOT";
    case platform::trust::kNoSignature: return "TRUST_E_NOSIGNATURE";
    case platform::trust::kBadDigest: return "TRUST_E_BAD_DIGEST";
    case platform::trust::kCertChaining: return "CERT_E_CHAINING";
    case platform::trust::kCertWrongUsage: return "CERT_E_WRONG_USAGE";
    case platform::trust::kBadMessage: return "CRYPT_E_MSG_ERROR";
    case 0x80092009: return "CRYPT_E_NO_MATCH";
    case 0x800B0004: return "TRUST_E_SUBJECT_NOT_TRUSTED";
    case 0x800B0003: return "TRUST_E_SUBJECT_FORM_UNKNOWN";
    case 0x80096004: return "TRUST_E_CERT_SIGNATURE";
    case 0x800B010C: return "CERT_E_REVOKED";
    case 0x800B0111: return "CERT_E_UNTRUSTEDTESTROOT";
    case 0x800B010F: return "CERT_E_CN_NO_MATCH";
    case 0x80092003: return "CRYPT_E_FILE_ERROR";
    case 0x7A: return "ERROR_INSUFFICIENT_BUFFER";
    default: return "";
  }
}

const char* VerdictText(SignatureVerdict verdict) {
  switch (verdict) {
    case SignatureVerdict::kNoFile: return "no such file";
    case SignatureVerdict::kOldSystem: return "system older than major version 6, not examined";
    case SignatureVerdict::kRefusedResult: return "verification result refused";
    case SignatureVerdict::kNoSigner: return "no signer";
    case SignatureVerdict::kUnusableName: return "signer name unusable";
    case SignatureVerdict::kNotAllowed: return "signer name not on the list";
    case SignatureVerdict::kAccepted: return "signer name on the list";
  }
  return "";
}

SignatureReport InspectSignature(const char16_t* path) {
  SignatureReport report;
  if (path == nullptr || !platform::FileExists(path)) return report;
  report.osMajorVersion = platform::OsMajorVersion();
  if (report.osMajorVersion < 6) {
    report.verdict = SignatureVerdict::kOldSystem;
    return report;
  }
  platform::SignatureVerification verification(path);
  report.result = verification.Status();
  if (!IsAcceptedTrustResult(report.result)) {
    report.verdict = SignatureVerdict::kRefusedResult;
    return report;
  }
  char16_t name[platform::kSignerNameCapacity];
  if (!verification.SignerName(name, report.nameCount)) {
    report.verdict = SignatureVerdict::kNoSigner;
    return report;
  }
  report.name.assign(name, report.nameCount == 0 ? 0 : report.nameCount - 1);
  if (!IsUsableNameCount(report.nameCount)) {
    report.verdict = SignatureVerdict::kUnusableName;
    return report;
  }
  report.verdict =
      IsAllowedPublisher(name) ? SignatureVerdict::kAccepted : SignatureVerdict::kNotAllowed;
  return report;
}

int HasMsSign(const char16_t* path) {
  try {
    const SignatureVerdict verdict = InspectSignature(path).verdict;
    return verdict == SignatureVerdict::kOldSystem || verdict == SignatureVerdict::kAccepted
               ? 1
               : 0;
  } catch (...) {
    return 0;
  }
}
