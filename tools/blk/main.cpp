// blk: block libraries from the shell. Lists, shows, checks, parses, saves and removes blocks.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "catalogue.h"
#include "document/block_file.h"
#include "document/data_dir.h"
#include "document/duplicates.h"
#include "document/dxf_export.h"
#include "document/dxf_import.h"
#include "document/library_rules.h"
#include "document/text_file.h"
#include "model/cp1250.h"
#include "model/entity_reader.h"
#include "model/numbers.h"
#include "model/polish_plural.h"
#include "model/syntax_check.h"
#include "model/unit.h"
#include "parse_json.h"
#include "render.h"
#include "view/font_capital.h"
#include "view/stroke_font.h"

namespace {

constexpr int kFailure = 2;

// Where Dane/ with the stroke fonts lies: beside this program or in its share folder.
std::filesystem::path ProgramDir() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return blok::FindDataDir(ec ? std::filesystem::current_path() : exe.parent_path());
}

int Report(const blok::Error& error) {
  std::cerr << "blk: " << error.message << "\n";
  return kFailure;
}

// Standard input larger than the program takes ends blk with a message, not with its memory.
std::vector<std::string> ReadStdinLines() {
  auto lines = blok::ReadInputLines(STDIN_FILENO, "standardowego wejścia");
  if (!lines) std::exit(Report(lines.error()));
  return std::move(*lines);
}

blok::Result<blok::LoadedBlock> LoadBlock(const std::string& file, const std::string& name) {
  auto block = blok::WczytajBlok(file, name);
  if (!block) return std::unexpected(block.error());
  if (!*block) return blok::Fail("w pliku " + file + " nie ma bloku " + name);
  return std::move(**block);
}

const char* StatusName(blok::LineStatus status) {
  switch (status) {
    case blok::LineStatus::kEntity:
      return "ok";
    case blok::LineStatus::kComment:
      return "comment";
    case blok::LineStatus::kInvalid:
      break;
  }
  return "invalid";
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(' ') == line.npos; }

// Why blk save refuses the block, or nothing; the file is not touched when it refuses. Lines
// that would read as record markers are refused where every save is, with the file's name.
std::optional<std::string> SaveRefusal(const blok::BlockToSave& block) {
  if (block.name.empty()) return "pusta nazwa bloku";
  if (auto problem = blok::BlockNameProblem(block.name)) return problem;
  if (!blok::IsUnit(block.unit)) {
    return "nieznana jednostka „" + block.unit + "”: dozwolone są " + blok::AllowedUnits();
  }
  if (std::ranges::all_of(block.lines, IsBlank)) {
    return "blok nie zawiera obiektów: na wejściu nie ma linii";
  }
  for (size_t i = 0; i < block.lines.size(); ++i) {
    const std::string where = "linia " + std::to_string(i + 1);
    if (const auto bad = blok::NotInCodePage(block.lines[i])) return where + " zawiera " + *bad;
  }
  return std::nullopt;
}

// The commands with what each does, one a line, for a command line without a known one.
std::string CommandList(const CLI::App& app) {
  const auto commands = app.get_subcommands([](const CLI::App*) { return true; });
  // The descriptions in one column, clear of the longest name.
  size_t width = 8;
  for (const CLI::App* command : commands) width = std::max(width, command->get_name().size() + 2);
  std::string list = "commands:\n";
  for (const CLI::App* command : commands) {
    std::string name = command->get_name();
    name.resize(width, ' ');
    list += "  " + name + command->get_description() + "\n";
  }
  return list + "blk COMMAND --help tells more of each.\n";
}

bool IsCommand(const CLI::App& app, const std::string& word) {
  return !app.get_subcommands([&](const CLI::App* command) { return command->check_name(word); })
              .empty();
}

// Thrown once the command line is read when the code page cannot be converted.
struct NoCodePage {
  blok::Error error;
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "blk: lists, shows, checks, parses, saves, removes, renames, copies, renders, exports, "
      "imports and catalogues the blocks of block files (*.blk), and finds blocks saved twice"};
  app.require_subcommand(1);
  // Every command reads or writes block files, whose letters need the code page: without its
  // converter none runs, before any file is touched. Help and usage errors still answer.
  app.parse_complete_callback([] {
    if (auto problem = blok::CodePageProblem()) throw NoCodePage{std::move(*problem)};
  });
  std::string file, name, unit;
  std::vector<std::string> parse_lines;
  int status = 0;

  auto* list = app.add_subcommand("list", "block names in file order, one a line");
  list->add_option("FILE", file, "block file")->required();
  list->callback([&] {
    auto names = blok::CzytajListeBlokow(file);
    if (!names) {
      status = Report(names.error());
      return;
    }
    for (const auto& n : *names) std::cout << n << "\n";
  });

  auto* show = app.add_subcommand("show", "the unit and the entity lines of a block");
  show->add_option("FILE", file, "block file")->required();
  show->add_option("NAME", name, "block name")->required();
  show->callback([&] {
    auto block = LoadBlock(file, name);
    if (!block) {
      status = Report(block.error());
      return;
    }
    std::cout << "unit: " << block->unit << "\n";
    for (const auto& line : block->lines) std::cout << line << "\n";
  });

  auto* check = app.add_subcommand("check", "syntax check of a block: INDEX STATUS TEXT a line");
  check->add_option("FILE", file, "block file")->required();
  check->add_option("NAME", name, "block name")->required();
  check->callback([&] {
    auto block = LoadBlock(file, name);
    if (!block) {
      status = Report(block.error());
      return;
    }
    const auto checked = blok::CheckSyntax(block->lines);
    for (size_t i = 0; i < checked.size(); ++i) {
      std::cout << i << " " << StatusName(checked[i].status) << " " << checked[i].text << "\n";
      if (checked[i].status == blok::LineStatus::kInvalid) status = 1;
    }
  });

  auto* parse = app.add_subcommand("parse", "entity lines (arguments or standard input) as JSON");
  parse->add_option("LINE", parse_lines, "entity command lines");
  parse->callback([&] {
    if (parse_lines.empty()) parse_lines = ReadStdinLines();
    for (const auto& line : parse_lines) std::cout << blok::ParseJson(line).dump() << "\n";
  });

  auto* save = app.add_subcommand(
      "save", "save the entity lines of standard input as block NAME, replacing one of that name");
  save->add_option("FILE", file, "block file (created when missing)")->required();
  save->add_option("NAME", name, "block name")->required();
  save->add_option("UNIT", unit, "drawing unit: m, cm or mm")->required();
  save->callback([&] {
    blok::BlockToSave block{name, unit, ReadStdinLines()};
    if (const auto refusal = SaveRefusal(block)) {
      status = Report({*refusal});
      return;
    }
    // The block record leaves out an empty or one-character last line, the editor's trailing
    // line end. Every line read here is the user's, so an empty line goes last to take that
    // place.
    block.lines.emplace_back();
    std::error_code ec;
    const auto saved = std::filesystem::exists(file, ec) ? blok::ZastapBlok(file, block)
                                                         : blok::DopiszBlok(file, block);
    if (!saved) status = Report(saved.error());
  });

  auto* remove = app.add_subcommand("remove", "remove every block of that name");
  remove->add_option("FILE", file, "block file")->required();
  remove->add_option("NAME", name, "block name")->required();
  remove->callback([&] {
    const auto removed = blok::UsunBlokZPliku(file, name);
    if (!removed) {
      status = Report(removed.error());
    } else if (*removed == 0) {
      Report({"w pliku " + file + " nie ma bloku " + name});
      status = 1;
    }
  });

  std::string new_name;
  auto* rename = app.add_subcommand("rename", "give every block of a name another name");
  rename->add_option("FILE", file, "block file")->required();
  rename->add_option("OLD", name, "block name")->required();
  rename->add_option("NEW", new_name, "new block name")->required();
  rename->callback([&] {
    const auto renamed = blok::RenameBlock(file, name, new_name);
    if (!renamed) {
      status = Report(renamed.error());
    } else if (*renamed == 0) {
      Report({"w pliku " + file + " nie ma bloku " + name});
      status = 1;
    }
  });

  std::string target;
  std::vector<std::string> copy_names;
  bool copy_replace = false;
  auto* copy = app.add_subcommand(
      "copy",
      "append blocks of one library to another, all or none; a name it has is refused unless "
      "--replace");
  copy->add_option("FROM", file, "block file to copy from")->required();
  copy->add_option("TO", target, "block file to copy into (made when missing)")->required();
  copy->add_option("NAME", copy_names, "block names")->required();
  copy->add_flag("--replace", copy_replace, "replace blocks of the same name in TO");
  copy->callback([&] {
    // All the blocks in one write of the target, or none of them.
    std::string held;
    const auto copied = blok::KopiujBloki(file, copy_names, target,
                                          [&](std::string_view block) -> std::optional<bool> {
                                            if (copy_replace) return true;
                                            held = block;
                                            return std::nullopt;
                                          });
    if (!copied) {
      status = Report(copied.error());
    } else if (copied->called_off) {
      status =
          Report({"w pliku " + target + " jest już blok " + held + " (--replace zastępuje go)"});
    }
  });

  auto* dups = app.add_subcommand(
      "dups", "blocks that draw the same, and names saved more than once; exit 1 when any");
  dups->add_option("FILE", file, "block file")->required();
  dups->callback([&] {
    const auto report = blok::FindDuplicatesInFile(file);
    if (!report) {
      status = Report(report.error());
      return;
    }
    for (const std::string& line : blok::DuplicateReportLines(*report)) std::cout << line << "\n";
    if (!report->empty()) status = 1;
  });

  blok::RenderRequest render_request;
  std::string size_text = "800x600";
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
    const auto rendered =
        blok::RenderBlock(render_request, ProgramDir() / "Dane" / "Romans100.Lzs");
    if (!rendered) status = Report(rendered.error());
  });

  blok::DxfExportRequest export_request;
  bool verbose = false;
  auto* dxf = app.add_subcommand(
      "export", "blocks (all, or those named) into one DXF drawing for other CAD programs");
  dxf->add_option("FILE", export_request.library, "block file")->required();
  dxf->add_option("NAME", export_request.names, "block names; none: every block");
  dxf->add_option("-o,--output", export_request.output, "DXF file")->required();
  dxf->add_flag("-v,--verbose", verbose, "list the DXF name of each block and the lines skipped");
  dxf->callback([&] {
    const auto font = blok::LoadPaintingFont(ProgramDir() / "Dane" / "Romans100.Lzs");
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

  std::filesystem::path import_dxf, import_library;
  blok::DxfImportOptions import_options;
  std::string import_name, import_unit;
  bool import_replace = false, import_verbose = false;
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
  const auto font = blok::LoadPaintingFont(ProgramDir() / "Dane" / "Romans100.Lzs");
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

blok::CatalogueRequest catalogue_request;
std::string catalogue_title;
auto* catalogue = app.add_subcommand("catalogue", "every block of a file, drawn on A4 pages (PDF)");
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
catalogue->callback([&] {
  if (title_option->count() > 0) catalogue_request.title = catalogue_title;
  const auto made = blok::RunCatalogue(catalogue_request, ProgramDir() / "Dane" / "Romans100.Lzs",
                                       ::isatty(STDERR_FILENO) == 1);
  if (!made) status = Report(made.error());
});

// The first word names the command; CLI11 would only say that one is required.
if (argc < 2 || (argv[1][0] != '-' && !IsCommand(app, argv[1]))) {
  std::cerr << (argc < 2 ? std::string("blk: no command given\n")
                         : "blk: unknown command '" + std::string(argv[1]) + "'\n")
            << CommandList(app);
  return kFailure;
}
try {
  app.parse(argc, argv);
} catch (const CLI::ParseError& e) {
  if (e.get_exit_code() == 0) return app.exit(e);  // --help
  std::cerr << "blk: " << e.what() << " (blk --help lists the commands)\n";
  return kFailure;
} catch (const NoCodePage& refused) {
  return Report(refused.error);
} catch (const std::bad_alloc&) {
  // The library code answers a lack of memory itself; this is for anything else that runs out.
  std::cerr << "blk: za mało pamięci\n";
  return kFailure;
}
return status;
}
