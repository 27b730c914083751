// blk-draw: the blk commands that draw (render, catalogue, diff with pictures), a program of its
// own so that the commands that draw nothing start without the drawing libraries. blk runs it with
// its own command line.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue.h"
#include "cli.h"
#include "commands.h"
#include "diff_pictures.h"
#include "render.h"

namespace blok::cli {
namespace {

void AddDrawingCommands(CLI::App& app, int& status) {
  static std::string file, name;

  static blok::RenderRequest render_request;
  static std::string size_text = "800x600";
  auto* render =
      app.add_subcommand("render", "draw a block into an image file (PNG, JPEG, SVG...)");
  render->add_option("FILE", file, "block file")->required();
  render->add_option("NAME", name, "block name")->required();
  render
      ->add_option("-o,--output", render_request.output,
                   "image file; the extension names the format: .png, .jpg, .bmp, .svg...")
      ->required();
  render->add_option("--size", size_text, "paint box size WxH")->capture_default_str();
  render->add_flag("--plain", render_request.plain, "the entities alone on white");
  render->callback([&] {
    int width = 0, height = 0;
    char x = 0, rest = 0;
    if (std::sscanf(size_text.c_str(), "%d%c%d%c", &width, &x, &height, &rest) != 3 ||
        (x != 'x' && x != 'X')) {
      status = Report({"--size: oczekiwano WxH, na przykład 800x600, a nie " + size_text});
      return;
    }
    auto block = LoadBlock(file, name);
    if (!block) {
      status = Report(block.error());
      return;
    }
    render_request.lines = std::move(block->lines);
    render_request.width = width;
    render_request.height = height;
    const auto rendered = blok::RenderBlock(render_request, FontFile());
    if (!rendered) status = Report(rendered.error());
  });

  static blok::CatalogueRequest catalogue_request;
  static std::string catalogue_title;
  auto* catalogue =
      app.add_subcommand("catalogue", "every block of a file, drawn on A4 pages (PDF)");
  catalogue->add_option("FILE", catalogue_request.library, "block file")->required();
  catalogue->add_option("-o,--output", catalogue_request.output, "PDF file")->required();
  catalogue
      ->add_option("--columns", catalogue_request.columns,
                   "tiles across a page, at most " + std::to_string(blok::kMaxCatalogueColumns))
      ->type_name("N")
      ->capture_default_str();
  catalogue
      ->add_option("--rows", catalogue_request.rows,
                   "tiles down a page, at most " + std::to_string(blok::kMaxCatalogueRows))
      ->type_name("N")
      ->capture_default_str();
  auto* title_option =
      catalogue->add_option("--title", catalogue_title, "page title (default: the file's name)");
  // The option by value: the callback runs after this function has returned.
  catalogue->callback([&status, title_option] {
    if (title_option->count() > 0) catalogue_request.title = catalogue_title;
    const auto made =
        blok::RunCatalogue(catalogue_request, FontFile(), ::isatty(STDERR_FILENO) == 1);
    if (!made) status = Report(made.error());
  });
}

}  // namespace
}  // namespace blok::cli

int main(int argc, char** argv) {
  CLI::App app{"blk: draws blocks into image files and block files into PDF catalogues"};
  app.require_subcommand(1);
  blok::cli::RequireCodePage(app);
  int status = 0;
  blok::cli::AddDrawingCommands(app, status);
  blok::cli::AddDiffCommand(app, status, blok::DiffPictures(blok::cli::FontFile()));
  return blok::cli::Run(app, argc, argv, status);
}
