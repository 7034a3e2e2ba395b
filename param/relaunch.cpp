#include "param/relaunch.h"

#include <cstring>

#include "param/param_blob_reader.h"
#include "platform/process.h"
#include "platform/text.h"

namespace {

// 8192 bytes: the longest command line is one unit shorter, for the terminator.
constexpr std::size_t kCommandLineUnits = 4096;

}  // namespace

std::optional<std::u16string> StoredCommandLine(const ParamBlobReader& reader) {
  const std::uint8_t* record = reader.Find("cmd_line");
  if (record == nullptr) return std::u16string();
  const std::uint32_t length = param_blob::ReadU32(record + param_blob::kValueLengthOffset);
  const std::uint8_t* value = record + param_blob::kValueOffset;
  std::u16string text;
  for (std::uint32_t i = 0; i < length; i += 2) {
    const char16_t unit = static_cast<char16_t>(value[i] | (i + 1 < length ? value[i + 1] << 8 : 0));
    if (unit == 0) break;
    if (text.size() == kCommandLineUnits - 1) return std::nullopt;
    text += unit;
  }
  return text;
}

int Relaunch(const std::u16string& blobValue, const std::u16string& syncName) {
  const std::string text = platform::ToNarrow(blobValue);
  ParamBlobReader reader;
  reader.Decode(text.c_str(), static_cast<int>(std::strlen(text.c_str())), 0);
  const std::optional<std::u16string> commandLine = StoredCommandLine(reader);
  if (commandLine && platform::StartHidden(platform::ExecutablePath(), *commandLine)) return 0;
  if (!syncName.empty()) platform::SignalNamedEvent(syncName);
  return 1;
}
