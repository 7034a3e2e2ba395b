#include <gtest/gtest.h>

#include <string>

#include "platform/signature.h"
#include "platform/testing.h"
#include "platform/text.h"
#include "tests/verify/verify_test_support.h"
#include "verify/signature_check.h"

namespace {

using platform::trust::kCertExpired;
using platform::trust::kCertUntrustedRoot;
using platform::trust::kSuccess;
using verify_test::Fixture;
using V = SignatureVerdict;

TEST(SignatureCheckTest, AcceptsOnlyTheThreeTrustResults) {
  const struct {
    std::uint32_t result;
    bool accepted;
  } cases[] = {{kSuccess, true},           {kCertExpired, true},
               {kCertUntrustedRoot, true}, {platform::trust::kNoSignature, false},
               {platform::trust::kBadDigest, false}, {0x800B010C, false},
               {0x800B0102, false},        {1, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(IsAcceptedTrustResult(c.result), c.accepted) << std::hex << c.result;
  }
}

TEST(SignatureCheckTest, ComparesNamesOfZeroTo510Characters) {
  const struct {
    std::uint32_t count;
    bool usable;
  } cases[] = {{0, false}, {1, true}, {2, true}, {510, true}, {511, true}, {512, false},
               {0xFFFFFFFF, false}};
  for (const auto& c : cases) EXPECT_EQ(IsUsableNameCount(c.count), c.usable) << c.count;
}

struct FixtureCase {
  const char16_t* file;
  int hasMsSign;
  SignatureVerdict verdict;
};

// The real signed modules made at test time; each verification is closed exactly once.
TEST(SignatureCheckTest, JudgesSignedModules) {
  const FixtureCase cases[] = {
      {u"unsigned", 0, V::kRefusedResult},
      {u"allowed", 1, V::kAccepted},
      {u"expired", 1, V::kAccepted},
      {u"tampered", 0, V::kRefusedResult},
      {u"other", 0, V::kNotAllowed},
      {u"case", 0, V::kNotAllowed},
      {u"space", 0, V::kNotAllowed},
      {u"empty", 0, V::kNotAllowed},
      {u"n510", 0, V::kNotAllowed},
      {u"n511", 0, V::kUnusableName},
      {u"twoallowedfirst", 1, V::kAccepted},
      {u"twootherfirst", 0, V::kNotAllowed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.file));
    const std::u16string path = Fixture(c.file);
    const unsigned long closedBefore = platform::SignatureVerification::ClosedCountForTesting();
    const SignatureReport report = InspectSignature(path.c_str());
    EXPECT_EQ(platform::SignatureVerification::ClosedCountForTesting(), closedBefore + 1);
    EXPECT_EQ(report.verdict, c.verdict) << VerdictText(report.verdict) << ", result 0x"
                                         << std::hex << report.result << " "
                                         << TrustResultName(report.result) << ", name \""
                                         << platform::ToUtf8(report.name) << "\"";
    EXPECT_EQ(HasMsSign(path.c_str()), c.hasMsSign);
  }
}

// Signatures damaged or cut after signing.
TEST(SignatureCheckTest, RefusesBrokenSignatures) {
  for (const char16_t* file : {u"damaged", u"truncated"}) {
    const SignatureReport report = InspectSignature(Fixture(file).c_str());
    EXPECT_EQ(report.verdict, V::kRefusedResult)
        << platform::ToUtf8(file) << ": " << VerdictText(report.verdict) << ", result 0x"
        << std::hex << report.result << " " << TrustResultName(report.result);
    EXPECT_EQ(HasMsSign(Fixture(file).c_str()), 0) << platform::ToUtf8(file);
  }
}

TEST(SignatureCheckTest, ReportsWhatItRead) {
  const SignatureReport expired = InspectSignature(Fixture(u"expired").c_str());
  EXPECT_TRUE(IsAcceptedTrustResult(expired.result));
  EXPECT_EQ(expired.name, verify_test::ProfileRows().at(0));

  const SignatureReport empty = InspectSignature(Fixture(u"empty").c_str());
  EXPECT_EQ(empty.nameCount, 1u);
  EXPECT_EQ(empty.name, u"");

  // 510 characters are read whole and reach the list; 511 are cut and never compared.
  const SignatureReport n510 = InspectSignature(Fixture(u"n510").c_str());
  EXPECT_EQ(n510.nameCount, 511u);
  EXPECT_EQ(n510.name, std::u16string(510, u'N'));
  const SignatureReport n511 = InspectSignature(Fixture(u"n511").c_str());
  EXPECT_EQ(n511.nameCount, 512u);
  EXPECT_EQ(n511.name, std::u16string(511, u'N'));

  const SignatureReport space = InspectSignature(Fixture(u"space").c_str());
  ASSERT_FALSE(space.name.empty());
  EXPECT_EQ(space.name.back(), u' ');

  const SignatureReport second = InspectSignature(Fixture(u"twootherfirst").c_str());
  EXPECT_EQ(second.name, u"Fenwick Tarn Fixture Bureau Ltd.");
}

TEST(SignatureCheckTest, RefusesMissingFilesWithoutVerifying) {
  const std::u16string missing = Fixture(u"no-such-module");
  const std::u16string folder = platform::testing::ProgramFolder();
  const unsigned long closedBefore = platform::SignatureVerification::ClosedCountForTesting();
  EXPECT_EQ(HasMsSign(nullptr), 0);
  EXPECT_EQ(HasMsSign(u""), 0);
  EXPECT_EQ(HasMsSign(missing.c_str()), 0);
  EXPECT_EQ(InspectSignature(missing.c_str()).verdict, V::kNoFile);
  // A folder exists but carries no signature.
  EXPECT_EQ(HasMsSign(folder.c_str()), 0);
  EXPECT_EQ(platform::SignatureVerification::ClosedCountForTesting(), closedBefore + 1);
}

std::uint32_t ReportsWindowsXp() { return 5; }
std::uint32_t QueryFails() { return 0; }
std::uint32_t ReportsWindows7() { return 6; }

TEST(SignatureCheckTest, OldSystemsLoadWithoutLooking) {
  const std::u16string unsignedModule = Fixture(u"unsigned");
  const unsigned long closedBefore = platform::SignatureVerification::ClosedCountForTesting();
  platform::SetOsMajorVersionForTesting(ReportsWindowsXp);
  EXPECT_EQ(HasMsSign(unsignedModule.c_str()), 1);
  EXPECT_EQ(InspectSignature(unsignedModule.c_str()).verdict, V::kOldSystem);
  // Still no file, no load.
  EXPECT_EQ(HasMsSign(Fixture(u"no-such-module").c_str()), 0);
  platform::SetOsMajorVersionForTesting(QueryFails);
  EXPECT_EQ(HasMsSign(unsignedModule.c_str()), 1);
  EXPECT_EQ(platform::SignatureVerification::ClosedCountForTesting(), closedBefore);
  platform::SetOsMajorVersionForTesting(ReportsWindows7);
  EXPECT_EQ(HasMsSign(unsignedModule.c_str()), 0);
  platform::SetOsMajorVersionForTesting(nullptr);
  EXPECT_GE(platform::OsMajorVersion(), 6u);
}

TEST(RundllCheckTest, ExitCodeFollowsTheCheck) {
  const std::u16string tool =
      platform::testing::SiblingProgram(u"rundll-check");
  const struct {
    const char16_t* file;
    int exitCode;
  } cases[] = {{u"allowed", 0}, {u"expired", 0}, {u"tampered", 1}, {u"other", 1},
               {u"no-such-module", 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(platform::testing::RunAndWait(tool, u"rundll-check \"" + Fixture(c.file) + u"\""),
              c.exitCode)
        << platform::ToUtf8(c.file);
  }
  EXPECT_EQ(platform::testing::RunAndWait(tool, u"rundll-check"), 2);
}

}  // namespace
