#pragma once

// Inside the document layer: the check that every save makes of a block's fields before its
// record is written.

#include <filesystem>

#include "document/block_file.h"
#include "model/error.h"

namespace blok::records {

// Refuses, naming the file, a block whose record would not read back as written: a name that
// is none a save takes, a line break in any field, or a field that reads as a record marker.
Result<void> CheckFields(const std::filesystem::path& file, const BlockToSave& block);

}  // namespace blok::records
