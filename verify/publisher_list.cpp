#include "verify/publisher_list.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace {

using RowAccessor = const char16_t* (*)();

std::atomic<void (*)(std::size_t) noexcept> rowBuiltHook{nullptr};
std::atomic<void (*)(std::size_t)> rowReachedHook{nullptr};

// Writes at most `capacity` units to `dest`, always NUL-terminated.
void CopyBounded(char16_t* dest, std::size_t capacity, const char16_t* src, std::size_t count) {
  if (capacity == 0) return;
  std::size_t n = count < capacity - 1 ? count : capacity - 1;
  for (std::size_t i = 0; i < n; ++i) dest[i] = src[i];
  dest[n] = u'\0';
}

template <std::size_t N>
void BuildRow(std::size_t index, const std::uint16_t (&masked)[N], char16_t (&row)[N + 1]) noexcept;

#include "profile/publishers.inc"

// Read at run time so that the unmasking cannot be folded into plain constants.
volatile std::uint16_t maskSeed = kRowMaskSeed;

template <std::size_t N>
void BuildRow(std::size_t index, const std::uint16_t (&masked)[N], char16_t (&row)[N + 1]) noexcept {
  if (auto hook = rowBuiltHook.load()) hook(index);
  const std::uint16_t seed = maskSeed;
  char16_t local[N];
  for (std::size_t i = 0; i < N; ++i) {
    auto mask = static_cast<std::uint16_t>((index * 31 + i) * 0x9E37u + seed);
    local[i] = static_cast<char16_t>(masked[i] ^ mask);
  }
  CopyBounded(row, N + 1, local, N);
}

}  // namespace

bool IsAllowedPublisher(const char16_t* name) {
  const std::u16string tested(name);
  for (std::size_t index = 0; index < kPublisherRowCount; ++index) {
    if (auto hook = rowReachedHook.load()) hook(index);
    const char16_t* row = kPublisherRows[index]();
    std::size_t length = 0;
    while (row[length] != u'\0') ++length;
    if (length == tested.size() && tested.compare(0, length, row, length) == 0) return true;
  }
  return false;
}

namespace publisher_list {

std::size_t RowCount() { return kPublisherRowCount; }

void SetRowBuiltHookForTesting(void (*hook)(std::size_t row) noexcept) { rowBuiltHook = hook; }

void SetRowReachedHookForTesting(void (*hook)(std::size_t row)) { rowReachedHook = hook; }

}  // namespace publisher_list
