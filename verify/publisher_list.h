#pragma once
// The publisher allow-list: the subject names whose signatures the host accepts, compiled
// in from the deployment profile's publishers.txt.
#include <cstddef>

// True when `name` (NUL-terminated, never null) equals a row of the list code unit for code
// unit: no case folding, trimming or normalisation. Rows are built on first use, each once
// per process, safely under concurrent first calls. Raises std::bad_alloc when the copy of
// `name` cannot be made.
bool IsAllowedPublisher(const char16_t* name);

namespace publisher_list {

// Number of rows in the compiled-in list.
std::size_t RowCount();

// Tests: `hook` is called with a row's index each time that row is built (nullptr for none).
// It must not raise: an exception leaving a once-only initialiser deadlocks the next call
// on the Windows runtime.
void SetRowBuiltHookForTesting(void (*hook)(std::size_t row) noexcept);

// Tests: `hook` is called with a row's index before the matcher reaches that row (nullptr
// for none). It may raise, as a failed allocation in the matcher would.
void SetRowReachedHookForTesting(void (*hook)(std::size_t row));

}  // namespace publisher_list
