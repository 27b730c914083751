#include "catalogue.h"

#include <cstdio>

#include "cli.h"
#include "render.h"

namespace blok {

Result<void> RunCatalogue(CatalogueRequest request, const std::filesystem::path& font_file,
                          bool on_terminal) {
  const OffscreenPainting painting;
  const auto font = cli::LoadPaintingFont(font_file);
  if (!font) return std::unexpected(font.error());
  if (on_terminal) {
    request.progress = [](int page, int pages) {
      std::fprintf(stderr, "\rblk: strona %d z %d", page, pages);
      std::fflush(stderr);
      return true;
    };
  }
  auto made = MakeCatalogue(request, **font);
  if (on_terminal) std::fputs("\r\033[K", stderr);
  return made;
}

}  // namespace blok
