#pragma once
// Where the verify tests find what the build and the fixture script made.
#include <string>
#include <vector>

namespace verify_test {

// A module made by make_fixtures.sh, e.g. Fixture(u"allowed").
std::u16string Fixture(const std::u16string& name);

// The rows of the profile's publishers.txt that this build was generated from, as UTF-16.
std::vector<std::u16string> ProfileRows();

}  // namespace verify_test
