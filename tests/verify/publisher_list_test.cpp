#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/verify/verify_test_support.h"
#include "verify/publisher_list.h"

namespace {

// Rows come from the profile file, not from the list itself, so a generator fault shows.
class PublisherListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rows_ = verify_test::ProfileRows();
    ASSERT_FALSE(rows_.empty()) << "verify_publishers.txt missing beside the test";
  }
  std::vector<std::u16string> rows_;
};

TEST_F(PublisherListTest, HoldsExactlyTheProfileRows) {
  EXPECT_EQ(publisher_list::RowCount(), rows_.size());
  for (const auto& row : rows_) {
    EXPECT_TRUE(IsAllowedPublisher(row.c_str())) << "row " << &row - rows_.data();
    // The second call builds nothing new and answers the same.
    EXPECT_TRUE(IsAllowedPublisher(row.c_str()));
  }
}

TEST_F(PublisherListTest, RefusesEmptyName) { EXPECT_FALSE(IsAllowedPublisher(u"")); }

std::u16string SwapLatinCase(std::u16string text) {
  for (auto& c : text) {
    if (c >= u'a' && c <= u'z') {
      c = static_cast<char16_t>(c - u'a' + u'A');
    } else if (c >= u'A' && c <= u'Z') {
      c = static_cast<char16_t>(c - u'A' + u'a');
    }
  }
  return text;
}

TEST_F(PublisherListTest, RefusesNearMissesOfEveryRow) {
  for (const auto& row : rows_) {
    const std::vector<std::pair<const char*, std::u16string>> misses = {
        {"trailing space", row + u" "},
        {"leading space", u" " + row},
        {"extra character", row + u"X"},
        {"missing last character", row.substr(0, row.size() - 1)},
        {"missing first character", row.substr(1)},
        {"row as prefix", row + row},
        {"row as substring", u"A" + row + u"B"},
        {"first half", row.substr(0, row.size() / 2)},
        {"last unit changed", row.substr(0, row.size() - 1) + char16_t(row.back() + 1)},
    };
    for (const auto& [what, name] : misses) {
      EXPECT_FALSE(IsAllowedPublisher(name.c_str())) << what << " of row " << &row - rows_.data();
    }
    const std::u16string swapped = SwapLatinCase(row);
    if (swapped != row) {
      EXPECT_FALSE(IsAllowedPublisher(swapped.c_str())) << "case of row " << &row - rows_.data();
    }
  }
}

TEST_F(PublisherListTest, NameStopsAtItsTerminator) {
  std::u16string withNul = rows_[0] + u'\0' + u"tail";
  EXPECT_TRUE(IsAllowedPublisher(withNul.c_str()));
  const std::u16string cut = rows_[0].substr(0, 3) + u'\0' + rows_[0].substr(4);
  EXPECT_FALSE(IsAllowedPublisher(cut.c_str()));
}

}  // namespace
