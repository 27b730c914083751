#pragma once

#include <functional>
#include <string_view>

namespace blok {

// Told after each block or page written, of how many; false stops the work with nothing
// written. Empty: nobody is told.
using ExportProgress = std::function<bool(int done, int total)>;

// What a stopped export or catalogue answers: the output stays as it was.
inline constexpr std::string_view kExportCancelled = "Przerwano: nic nie zapisano.";

}  // namespace blok
