#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "document/export_progress.h"
#include "model/error.h"
#include "view/stroke_font.h"

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
  ExportProgress progress = {};      // told of the pages as they go out
};

// Every block of the library, in the order of the editor's list, drawn plain in a tile with its
// name and unit on A4 pages of a PDF file, with a title, the library's file name and date, and
// page numbers. A name saved more than once gets one tile, with the record that opening it
// loads (the last). The output is replaced only when the whole catalogue is written; on any
// failure, or when the progress stops it, it stays as it was. Paints with Qt Gui: an
// application object must exist.
Result<void> MakeCatalogue(const CatalogueRequest& request, const StrokeFont& font);

}  // namespace blok
