#pragma once

#include <filesystem>

#include "model/error.h"
#include "ui/library_catalogue.h"

namespace blok {

// blk catalogue: the catalogue painted without a display, with "\rblk: strona 3 z 42" on
// standard error as pages go out when it is a terminal, the line wiped when the work ends.
Result<void> RunCatalogue(CatalogueRequest request, const std::filesystem::path& font_file,
                          bool on_terminal);

}  // namespace blok
