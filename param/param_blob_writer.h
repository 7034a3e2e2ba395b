#pragma once
// Builds --param blobs, as producers of blobs for the host do.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ParamBlobWriter {
 public:
  // Adds a record. False, and nothing added, when the name is longer than the 50-byte name
  // field or holds a NUL.
  bool Add(std::string_view name, const void* value, std::uint32_t length);

  // Adds a record whose value is `text` as UTF-16LE without a terminator, the form the host
  // reads from "cmd_line".
  bool AddText(std::string_view name, std::u16string_view text);

  // The plain blob: header and records.
  std::vector<std::uint8_t> Bytes() const;

  // The --param value: the blob scrambled and Base64-encoded.
  std::string Encode() const;

 private:
  std::vector<std::uint8_t> records_;
  std::uint32_t count_ = 0;
};
