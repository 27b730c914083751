// blk's DXF commands: blocks out to a DXF drawing and DXF drawings in as blocks.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "document/block_file.h"
#include "document/dxf_batch.h"
#include "document/dxf_export.h"
#include "document/dxf_import.h"
#include "document/library_rules.h"
#include "model/polish_plural.h"
#include "view/font_capital.h"
#include "view/stroke_font.h"

namespace blok::cli {

namespace {

struct ImportRequest {
  std::vector<std::filesystem::path> paths;  // the DXF files and folders, then the library
  blok::DxfImportOptions options;
  std::string name, unit;
  bool replace = false, all_or_nothing = false, verbose = false;
};

// The message when the library holds some of the names and --replace was not given.
int NamesTaken(const std::filesystem::path& library, const std::vector<std::string>& existing) {
  std::string names;
  for (const std::string& n : existing) names += (names.empty() ? "" : ", ") + n;
  return Report({"w pliku " + library.string() + " są już bloki: " + names +
                 " (--replace je zastąpi); nic nie zapisano"});
}

void ListBlocks(const std::vector<blok::BlockToSave>& blocks) {
  for (const blok::BlockToSave& b : blocks) {
    // Without the editor's line end, which is no entity.
    const size_t entities = b.lines.empty() ? 0 : b.lines.size() - 1;
    std::cout << "blok " << b.name << " (" << b.unit
              << "): " << blok::Counted(entities, "obiekt", "obiekty", "obiektów") << "\n";
  }
}

int ImportOne(const ImportRequest& request, const std::filesystem::path& dxf,
              const std::filesystem::path& library, blok::DxfImportOptions options) {
  // Named as the many-file import names a file's block: a stem too short for the editor gets
  // its folder in front.
  options.model_name =
      request.name.empty() ? blok::DxfBlockNames({{dxf, dxf}}).front() : request.name;
  const auto report = blok::ImportDxf(dxf, options);
  if (!report) return Report(report.error());
  const bool model_space = !options.all_blocks && options.only.empty();
  if (model_space && blok::BlockNameTooShort(options.model_name)) {
    return Report({"nazwa bloku „" + options.model_name +
                   "” ma mniej niż 3 znaki: edytor takiego bloku nie wczyta (--as nadaje inną)"});
  }
  std::vector<blok::BlockToSave> blocks;
  for (const blok::DxfBlock& b : report->blocks) {
    blok::BlockToSave block{b.name, b.unit, b.lines};
    // The record leaves out an empty or one-character last line, the editor's line end.
    block.lines.emplace_back();
    blocks.push_back(std::move(block));
  }
  const auto saved = blok::SaveBlocks(library, blocks, request.replace);
  if (!saved) return Report(saved.error());
  if (!saved->written) return NamesTaken(library, saved->existing);
  for (const std::string& note : report->notes) std::cerr << "blk: " << note << "\n";
  if (model_space && options.model_name != dxf.stem().string() && request.name.empty()) {
    std::cerr << "blk: blok nazwany " << options.model_name
              << ": nazwa pliku ma mniej niż 3 znaki\n";
  }
  if (request.verbose) {
    ListBlocks(blocks);
    for (const std::string& each : report->skipped_each) std::cout << "pominięty " << each << "\n";
    for (const std::string& each : report->changed_texts) std::cout << "zmieniony " << each << "\n";
  }
  if (const size_t changed = report->changed_texts.size(); changed > 0) {
    std::cerr << "blk: teksty spoza strony kodowej 1250, zapisane literami łacińskimi: " << changed
              << (request.verbose ? "\n" : " (--verbose je wymienia)\n");
  }
  if (!report->skipped.empty()) {
    std::cerr << "blk: pominięte obiekty DXF:";
    for (const auto& [type, count] : report->skipped) std::cerr << " " << type << " " << count;
    std::cerr << (request.verbose ? "\n" : " (--verbose je wymienia)\n");
  }
  return 0;
}

// Several files, or folders of them: each model space a block named after its file, all saved
// in one write of the library. Exit 1 when some files were refused and the others written.
int ImportMany(const ImportRequest& request, const std::vector<std::filesystem::path>& sources,
               const std::filesystem::path& library, const blok::DxfImportOptions& options) {
  if (!request.name.empty()) {
    return Report(
        {"--as nadaje nazwę blokowi z jednego pliku DXF; przy kilku plikach lub "
         "folderze bloki noszą nazwy swoich plików"});
  }
  if (options.all_blocks || !options.only.empty()) {
    return Report(
        {"--blocks i --only działają dla jednego pliku DXF; z kilku plików lub "
         "folderu bierze się przestrzeń modelu każdego"});
  }
  const auto inputs = blok::FindDxfFiles(sources);
  if (!inputs) return Report(inputs.error());
  if (inputs->empty()) return Report({"nie znaleziono plików DXF; nic nie zapisano"});
  const bool on_terminal = ::isatty(STDERR_FILENO) == 1;
  blok::DxfBatchProgress progress;
  if (on_terminal) {
    progress = [](size_t index, size_t count, const std::filesystem::path& shown) {
      std::fprintf(stderr, "\r\033[K[%zu/%zu] %s", index + 1, count, shown.string().c_str());
      std::fflush(stderr);
      return true;
    };
  }
  const blok::DxfBatchReport batch = blok::ImportDxfFiles(*inputs, options, progress);
  if (on_terminal) std::fputs("\r\033[K", stderr);
  const auto refusals = [&] {
    for (const auto& refused : batch.refused) std::cerr << "blk: " << refused.why << "\n";
  };
  if (request.all_or_nothing && !batch.refused.empty()) {
    refusals();
    return Report(
        {"--all-or-nothing: nie wczytano " +
         blok::Counted(static_cast<long long>(batch.refused.size()), "pliku", "plików", "plików") +
         "; nic nie zapisano"});
  }
  if (batch.blocks.empty()) {
    refusals();
    return Report({"żaden plik DXF nie dał bloku; nic nie zapisano"});
  }
  const auto saved = blok::SaveBlocks(library, batch.blocks, request.replace);
  if (!saved) return Report(saved.error());
  if (!saved->written) return NamesTaken(library, saved->existing);
  if (request.verbose) {
    ListBlocks(batch.blocks);
    for (const std::string& each : batch.changed_texts) std::cout << "zmieniony " << each << "\n";
  }
  for (const std::string& line : blok::DxfBatchSummary(batch)) {
    std::cerr << (line.starts_with(' ') ? "" : "blk: ") << line << "\n";
  }
  return batch.refused.empty() ? 0 : 1;
}

int Import(const ImportRequest& request) {
  const std::filesystem::path& library = request.paths.back();
  const std::vector<std::filesystem::path> sources(request.paths.begin(), request.paths.end() - 1);
  blok::DxfImportOptions options = request.options;
  if (!request.unit.empty()) options.unit = request.unit;
  const auto font = LoadPaintingFont(FontFile());
  if (!font) return Report(font.error());
  options.capital = blok::CapitalOf(**font);
  options.text_length = [&font](std::string_view text, double width) {
    return blok::TextLength(**font, text, width);
  };
  std::error_code error;
  if (sources.size() == 1 && !std::filesystem::is_directory(sources.front(), error)) {
    return ImportOne(request, sources.front(), library, options);
  }
  return ImportMany(request, sources, library, options);
}

}  // namespace

void AddDxfCommands(CLI::App& app, int& status) {
  // Bound to the options, so they live as long as the program.
  static blok::DxfExportRequest export_request;
  static bool verbose = false;
  static ImportRequest import_request;

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
      "import", "DXF drawings' model spaces (or one drawing's blocks) into a block file as blocks");
  import
      ->add_option("DXF", import_request.paths,
                   "DXF files or folders (searched down for *.dxf), then the block file "
                   "(created when missing)")
      ->required()
      ->expected(2, -1);
  import->add_option("--as", import_request.name,
                     "block name of the model space (default: the DXF's name); one file only");
  import->add_flag("--blocks", import_request.options.all_blocks,
                   "every named block definition, each as a block of its name; one file only");
  import
      ->add_option("--only", import_request.options.only,
                   "these block definitions only; one file only")
      ->expected(1, -1);
  import->add_flag("--replace", import_request.replace, "replace blocks of the same names");
  import->add_flag("--all-or-nothing", import_request.all_or_nothing,
                   "a file that cannot be read means nothing is written");
  import->add_option("--unit", import_request.unit,
                     "the unit of the drawing's numbers: m, cm or mm (over the file's own)");
  import->add_flag("-v,--verbose", import_request.verbose,
                   "name each block and each entity skipped");
  import->callback([&] { status = Import(import_request);
});
}  // namespace blok::cli

}  // namespace blok::cli
