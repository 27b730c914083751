// The recovery file's reader on arbitrary bytes: it never crashes, and what it accepts, written
// again, reads back to the same snapshot.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/recovery_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto snapshot = blok::ParseRecovery(bytes);
  if (!snapshot) return 0;
  const std::string written = blok::FormatRecovery(*snapshot);
  auto again = blok::ParseRecovery(written);
  if (!again || blok::FormatRecovery(*again) != written) std::abort();
  return 0;
}
