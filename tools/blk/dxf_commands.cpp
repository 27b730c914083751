// blk's DXF commands: blocks out to a DXF drawing and DXF drawings in as blocks.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "document/block_file.h"
#include "document/dxf_export.h"
#include "document/dxf_import.h"
#include "document/library_rules.h"
#include "model/polish_plural.h"
#include "view/font_capital.h"
#include "view/stroke_font.h"

namespace blok::cli {

void AddDxfCommands(CLI::App& app, int& status) {
  // Bound to the options, so they live as long as the program.
  static blok::DxfExportRequest export_request;
  static bool verbose = false;
  static std::filesystem::path import_dxf, import_library;
  static blok::DxfImportOptions import_options;
  static std::string import_name, import_unit;
  static bool import_replace = false, import_verbose = false;

  auto* dxf = app.add_subcommand(
      "export", "blocks (all, or those named) into one DXF drawing for other CAD programs");
  dxf->add_option("FILE", export_request.library, "block file")->required();
  dxf->add_option("NAME", export_request.names, "block names; none: every block");
  dxf->add_option("-o,--output", export_request.output, "DXF file")->required();
  dxf->add_flag("-v,--verbose", verbose, "list the DXF name of each block and the lines skipped");
  dxf->callback([&] {
    const auto font = LoadPaintingFont(FontFile());
    if (!font) {
      status = Report(font.error());
      return;
    }
    const auto report = blok::ExportDxf(export_request, blok::ExportFontOf(**font));
    if (!report) {
      status = Report(report.error());
      return;
    }
    const auto comments = static_cast<size_t>(std::ranges::count_if(
        report->skipped, [](const blok::SkippedLine& s) { return s.comment; }));
    const size_t invalid = report->skipped.size() - comments;
    if (verbose) {
      for (const auto& n : report->names) std::cout << "blok " << n.block << " → " << n.dxf << "\n";
      for (const auto& s : report->skipped) {
        std::cout << "pominięta linia " << s.line << " bloku " << s.block << " ("
                  << (s.comment ? "komentarz" : "niepoprawna") << "): " << s.text << "\n";
      }
      std::cout << "zapisano " << export_request.output.string() << ": "
                << blok::Counted(report->names.size(), "blok", "bloki", "bloków") << ", "
                << blok::Counted(report->entities, "obiekt", "obiekty", "obiektów")
                << ", pominięte linie: niepoprawne " << invalid << ", komentarze " << comments
                << "\n";
    } else if (!report->skipped.empty()) {
      std::cerr << "blk: pominięte linie: niepoprawne " << invalid << ", komentarze " << comments
                << " (--verbose je wymienia)\n";
    }
  });

  auto* import = app.add_subcommand(
      "import", "a DXF drawing's model space (or its blocks) into a block file as blocks");
  import->add_option("DXF", import_dxf, "DXF file (text DXF)")->required();
  import->add_option("FILE", import_library, "block file (created when missing)")->required();
  import->add_option("--as", import_name,
                     "block name of the model space (default: the DXF's name)");
  import->add_flag("--blocks", import_options.all_blocks,
                   "every named block definition, each as a block of its name");
  import->add_option("--only", import_options.only, "these block definitions only")
      ->expected(1, -1);
  import->add_flag("--replace", import_replace, "replace blocks of the same names");
  import->add_option("--unit", import_unit,
                     "the unit of the drawing's numbers: m, cm or mm (over the file's own)");
  import->add_flag("-v,--verbose", import_verbose, "name each block and each entity skipped");
  import->callback([&] {
    if (!import_unit.empty()) import_options.unit = import_unit;
  import_options.model_name = import_name.empty() ? import_dxf.stem().string() : import_name;
  const auto font = LoadPaintingFont(FontFile());
  if (!font) {
    status = Report(font.error());
    return;
  }
  import_options.capital = blok::CapitalOf(**font);
  import_options.text_length = [&font](std::string_view text, double width) {
    return blok::TextLength(**font, text, width);
  };
  const auto report = blok::ImportDxf(import_dxf, import_options);
  if (!report) {
    status = Report(report.error());
    return;
  }
  std::vector<blok::BlockToSave> blocks;
  for (const blok::DxfBlock& b : report->blocks) {
    blok::BlockToSave block{b.name, b.unit, b.lines};
    // The record leaves out an empty or one-character last line, the editor's line end.
    block.lines.emplace_back();
    blocks.push_back(std::move(block));
  }
  const auto saved = blok::SaveBlocks(import_library, blocks, import_replace);
  if (!saved) {
    status = Report(saved.error());
    return;
  }
  if (!saved->written) {
    std::string names;
    for (const std::string& n : saved->existing) names += (names.empty() ? "" : ", ") + n;
    status = Report({"w pliku " + import_library.string() + " są już bloki: " + names +
                     " (--replace je zastąpi); nic nie zapisano"});
    return;
  }
  for (const std::string& note : report->notes) std::cerr << "blk: " << note << "\n";
  int skipped = 0;
  for (const auto& [type, count] : report->skipped) skipped += count;
  if (import_verbose) {
    for (const blok::DxfBlock& b : report->blocks) {
      std::cout << "blok " << b.name << " (" << b.unit
                << "): " << blok::Counted(b.lines.size(), "obiekt", "obiekty", "obiektów") << "\n";
    }
    for (const std::string& each : report->skipped_each) {
      std::cout << "pominięty " << each << "\n";
    }
    for (const std::string& each : report->changed_texts) std::cout << "zmieniony " << each << "\n";
  }
  if (const size_t changed = report->changed_texts.size(); changed > 0) {
    std::cerr << "blk: teksty spoza strony kodowej 1250, zapisane literami łacińskimi: " << changed
              << (import_verbose ? "\n" : " (--verbose je wymienia)\n");
  }
  if (skipped > 0) {
    std::cerr << "blk: pominięte obiekty DXF:";
    for (const auto& [type, count] : report->skipped) std::cerr << " " << type << " " << count;
    std::cerr << (import_verbose ? "\n" : " (--verbose je wymienia)\n");
  }
});
}  // namespace blok::cli

}  // namespace blok::cli
