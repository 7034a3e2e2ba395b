#include "param/param_blob_reader.h"

#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "platform/base64.h"

using namespace param_blob;

namespace {

std::vector<std::uint8_t> EmptyBlob() {
  std::vector<std::uint8_t> blob(kHeaderSize);
  WriteU32(blob.data(), kBlobMagic);
  WriteU32(blob.data() + 4, kHeaderSize);
  return blob;
}

}  // namespace

ParamBlobReader::ParamBlobReader() : blob_(EmptyBlob()) { BuildKey(key_); }

int ParamBlobReader::Decode(const char* text, int length, int mode) {
  if (length <= 0 || text == nullptr) return 0;
  std::vector<std::uint8_t> decoded = platform::Base64Decode(text, length);
  const std::size_t size = decoded.size();
  std::unique_ptr<std::uint8_t[]> work(new (std::nothrow) std::uint8_t[size ? size : 1]);
  if (!work) return 0;
  std::memcpy(work.get(), decoded.data(), size);
  Scramble(work.get(), size, key_);

  const std::uint8_t* w = work.get();
  bool accepted = size >= kHeaderSize && ReadU32(w) == kBlobMagic && ReadU32(w + 8) != 0 &&
                  ReadU32(w + 4) >= kHeaderSize && ReadU32(w + 4) <= size;
  const std::uint32_t total = accepted ? ReadU32(w + 4) : 0;
  const std::uint32_t count = accepted ? ReadU32(w + 8) : 0;

  if (mode == 0) {
    recordCount_ = 0;
    if (accepted) {
      blob_.assign(w, w + total);
      recordCount_ = static_cast<std::int32_t>(count);
    } else {
      // Nothing of an earlier blob survives a refused replacement, so a later append
      // cannot bring its records back.
      blob_ = EmptyBlob();
    }
    return 1;
  }

  const std::int64_t newCount = static_cast<std::int64_t>(recordCount_) + count;
  const std::uint64_t newTotal =
      static_cast<std::uint64_t>(ReadU32(blob_.data() + 4)) + (total - kHeaderSize);
  if (!accepted || newCount > std::numeric_limits<std::int32_t>::max() ||
      newTotal > std::numeric_limits<std::uint32_t>::max()) {
    return 1;
  }
  blob_.insert(blob_.end(), w + kHeaderSize, w + total);
  recordCount_ = static_cast<std::int32_t>(newCount);
  WriteU32(blob_.data() + 4, static_cast<std::uint32_t>(newTotal));
  WriteU32(blob_.data() + 8, static_cast<std::uint32_t>(recordCount_));
  return 1;
}

const std::uint8_t* ParamBlobReader::Find(const char* name) const {
  if (name == nullptr || recordCount_ <= 0 || blob_.empty()) return nullptr;
  std::size_t offset = kHeaderSize;
  for (std::int32_t i = 0; i < recordCount_; ++i) {
    if (offset > blob_.size() || blob_.size() - offset < kValueOffset) return nullptr;
    const std::uint8_t* record = blob_.data() + offset;
    const std::uint32_t valueLength = ReadU32(record + kValueLengthOffset);
    if (blob_.size() - offset - kValueOffset < valueLength) return nullptr;
    const char* recordName = reinterpret_cast<const char*>(record + kNameOffset);
    const std::size_t n = strnlen(recordName, kNameSize);
    if (ReadU32(record) == kRecordMagic && std::strncmp(name, recordName, n) == 0) {
      return record;
    }
    offset += kValueOffset + valueLength;
  }
  return nullptr;
}
