#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "model/error.h"

namespace blok {

inline constexpr int kMaxCatalogueColumns = 12;
inline constexpr int kMaxCatalogueRows = 16;

struct CatalogueRequest {
  std::filesystem::path library;
  std::filesystem::path output;  // a .pdf file
  // Tiles across and down a page, as typed: checked before anything is read or written.
  std::string columns = "4";
  std::string rows = "6";
  std::optional<std::string> title;  // the library's file name when not given
  bool progress = false;             // "\rblk: strona 3 z 42" on standard error as pages go out
};

// Every block of the library, in the order of the editor's list, drawn plain in a tile with its
// name and unit on A4 pages of a PDF file, with a title, the library's file name and date, and
// page numbers. A name saved more than once gets one tile, with the record that opening it
// loads (the last). The output is replaced only when the whole catalogue is written; on any
// failure it stays as it was.
Result<void> MakeCatalogue(const CatalogueRequest& request, const std::filesystem::path& font_file);

}  // namespace blok
