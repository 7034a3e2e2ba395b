#pragma once
// Decodes --param blobs and finds their records by name.
#include <cstdint>
#include <vector>

#include "param/param_blob.h"

class ParamBlobReader {
 public:
  ParamBlobReader();

  // Base64-decodes `length` characters of `text` (no terminator needed), unscrambles them and
  // stores the blob: mode 0 replaces the stored blob, any other mode appends its records.
  // A blob is taken only when its header is "dhms" with non-zero recordCount and totalSize,
  // and totalSize lies between the header's 12 bytes and the decoded length; otherwise
  // replace mode leaves no record to find and append mode changes nothing. Returns 0 for a
  // null or empty text or a failed allocation, else 1 (a refused blob included).
  int Decode(const char* text, int length, int mode);

  // The first record, in blob order, whose magic is "dmms" and whose name (up to its NUL,
  // at most 50 bytes) equals as many leading bytes of `name` (strncmp), or null. A record
  // that does not lie wholly inside the stored blob ends the search with null. The record
  // stays valid until the next Decode; its valueLength is at offset 54, its value at 58.
  const std::uint8_t* Find(const char* name) const;

 private:
  std::uint8_t key_[param_blob::kKeySize];
  std::int32_t recordCount_ = 0;
  std::vector<std::uint8_t> blob_;
};
