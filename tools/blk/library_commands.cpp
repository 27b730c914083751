// blk's commands on block libraries: list, show, check, parse, save, remove, rename, copy, dups.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "document/block_file.h"
#include "document/duplicates.h"
#include "document/library_rules.h"
#include "model/cp1250.h"
#include "model/syntax_check.h"
#include "model/unit.h"
#include "parse_json.h"

namespace blok::cli {
namespace {

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

}  // namespace

void AddLibraryCommands(CLI::App& app, int& status) {
  // Bound to the options, so they live as long as the program.
  static std::string file, name, unit, new_name, target;
  static std::vector<std::string> parse_lines, copy_names;
  static bool copy_replace = false;

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
}

}  // namespace blok::cli
