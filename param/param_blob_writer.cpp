#include "param/param_blob_writer.h"

#include <algorithm>

#include "param/param_blob.h"

using namespace param_blob;

bool ParamBlobWriter::Add(std::string_view name, const void* value, std::uint32_t length) {
  if (name.size() > kNameSize || name.find('\0') != std::string_view::npos) return false;
  std::vector<std::uint8_t> record(kValueOffset, 0);
  WriteU32(record.data(), kRecordMagic);
  std::copy(name.begin(), name.end(), record.begin() + kNameOffset);
  WriteU32(record.data() + kValueLengthOffset, length);
  const auto* bytes = static_cast<const std::uint8_t*>(value);
  record.insert(record.end(), bytes, bytes + length);
  records_.insert(records_.end(), record.begin(), record.end());
  ++count_;
  return true;
}

bool ParamBlobWriter::AddText(std::string_view name, std::u16string_view text) {
  std::vector<std::uint8_t> value = Utf16LeBytes(text);
  return Add(name, value.data(), static_cast<std::uint32_t>(value.size()));
}

std::vector<std::uint8_t> ParamBlobWriter::Bytes() const {
  std::vector<std::uint8_t> blob(kHeaderSize);
  WriteU32(blob.data(), kBlobMagic);
  WriteU32(blob.data() + 4, static_cast<std::uint32_t>(kHeaderSize + records_.size()));
  WriteU32(blob.data() + 8, count_);
  blob.insert(blob.end(), records_.begin(), records_.end());
  return blob;
}

std::string ParamBlobWriter::Encode() const { return param_blob::Encode(Bytes()); }
