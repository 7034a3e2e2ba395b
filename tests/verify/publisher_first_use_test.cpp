// Behaviour of the list's first use; each case needs rows that nothing has built yet, so
// CTest runs each case in a process of its own.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "platform/signature.h"
#include "tests/verify/verify_test_support.h"
#include "verify/publisher_list.h"
#include "verify/signature_check.h"

namespace {

std::atomic<int> builds[64];

void CountBuild(std::size_t row) noexcept { ++builds[row]; }

TEST(PublisherFirstUseTest, RacingFirstCallsBuildEachRowOnce) {
  const auto rows = verify_test::ProfileRows();
  ASSERT_EQ(rows.size(), publisher_list::RowCount());
  ASSERT_LE(rows.size(), 64u);
  publisher_list::SetRowBuiltHookForTesting(CountBuild);
  std::atomic<bool> go{false};
  bool missResult = true;
  bool lastRowResult = false;
  // One thread walks every row without a match, the other matches the last row.
  std::thread miss([&] {
    while (!go) {}
    missResult = IsAllowedPublisher(u"No Such Publisher Ltd.");
  });
  std::thread hit([&] {
    while (!go) {}
    lastRowResult = IsAllowedPublisher(rows.back().c_str());
  });
  go = true;
  miss.join();
  hit.join();
  EXPECT_FALSE(missResult);
  EXPECT_TRUE(lastRowResult);
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(builds[i], 1) << "row " << i;
  for (const auto& row : rows) EXPECT_TRUE(IsAllowedPublisher(row.c_str()));
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(builds[i], 1) << "row " << i;
  publisher_list::SetRowBuiltHookForTesting(nullptr);
}

TEST(PublisherFirstUseTest, RowsAreBuiltOnlyAsFarAsTheMatch) {
  const auto rows = verify_test::ProfileRows();
  publisher_list::SetRowBuiltHookForTesting(CountBuild);
  EXPECT_TRUE(IsAllowedPublisher(rows.at(2).c_str()));
  EXPECT_EQ(builds[0] + builds[1] + builds[2], 3);
  for (std::size_t i = 3; i < rows.size(); ++i) EXPECT_EQ(builds[i], 0) << "row " << i;
  publisher_list::SetRowBuiltHookForTesting(nullptr);
}

void FailReach(std::size_t) { throw std::runtime_error("matcher failed"); }

// Anything raised inside the check refuses the file, and the verification is still closed.
TEST(PublisherFirstUseTest, RaisedErrorsRefuseTheFile) {
  const std::u16string allowed = verify_test::Fixture(u"allowed");
  publisher_list::SetRowReachedHookForTesting(FailReach);
  EXPECT_THROW(IsAllowedPublisher(u"anything"), std::runtime_error);
  const unsigned long closedBefore = platform::SignatureVerification::ClosedCountForTesting();
  EXPECT_EQ(HasMsSign(allowed.c_str()), 0);
  EXPECT_EQ(platform::SignatureVerification::ClosedCountForTesting(), closedBefore + 1);
  publisher_list::SetRowReachedHookForTesting(nullptr);
  EXPECT_EQ(HasMsSign(allowed.c_str()), 1);
}

}  // namespace
