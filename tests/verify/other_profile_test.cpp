// The list code built from tests/verify/profile instead of the build's profile.
#include <gtest/gtest.h>

#include "tests/verify/verify_test_support.h"
#include "verify/publisher_list.h"

namespace {

TEST(OtherProfileTest, AcceptsOnlyThatProfilesNames) {
  EXPECT_EQ(publisher_list::RowCount(), 2u);
  EXPECT_TRUE(IsAllowedPublisher(u"Marrowby Test Signing Office"));
  EXPECT_TRUE(IsAllowedPublisher(u"\u6d4b\u8bd5\u7b7e\u540d\u4e13\u7528\u7684\u793a\u4f8b\u5355\u4f4d"));
  EXPECT_FALSE(IsAllowedPublisher(u"Marrowby Test Signing Office "));
  // The build's own profile rows are not in this list.
  for (const auto& row : verify_test::ProfileRows()) EXPECT_FALSE(IsAllowedPublisher(row.c_str()));
}

}  // namespace
