// The POSIX verifier of appended signatures. On Windows the system's trust provider judges
// chains and usages, so these cases belong to this build only.
#include <gtest/gtest.h>

#include "platform/signature.h"
#include "platform/text.h"
#include "tests/verify/verify_test_support.h"
#include "verify/signature_check.h"

namespace {

using verify_test::Fixture;

TEST(AppendedSignatureVerifyTest, MapsFindingsToTrustResults) {
  const struct {
    const char16_t* file;
    std::uint32_t result;
  } cases[] = {
      {u"unsigned", platform::trust::kNoSignature},
      {u"truncated", platform::trust::kNoSignature},
      {u"allowed", platform::trust::kCertUntrustedRoot},
      {u"expired", platform::trust::kCertExpired},
      {u"tampered", platform::trust::kBadDigest},
      {u"damaged", platform::trust::kBadMessage},
      {u"nochain", platform::trust::kCertChaining},
      {u"noeku", platform::trust::kCertWrongUsage},
  };
  for (const auto& c : cases) {
    platform::SignatureVerification verification(Fixture(c.file).c_str());
    EXPECT_EQ(verification.Status(), c.result)
        << platform::ToUtf8(c.file) << ": " << TrustResultName(verification.Status());
  }
}

TEST(AppendedSignatureVerifyTest, RefusesBrokenChainsAndOtherUsages) {
  for (const char16_t* file : {u"nochain", u"noeku"}) {
    EXPECT_EQ(InspectSignature(Fixture(file).c_str()).verdict, SignatureVerdict::kRefusedResult)
        << platform::ToUtf8(file);
    EXPECT_EQ(HasMsSign(Fixture(file).c_str()), 0) << platform::ToUtf8(file);
  }
}

}  // namespace
