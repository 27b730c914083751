// A DXF drawing from another CAD program brought into the block being edited.

#include <algorithm>

#include "document/dxf_batch.h"
#include "document/dxf_import.h"
#include "document/export_progress.h"
#include "editing/transform.h"
#include "editor/library.h"
#include "model/unit.h"
#include "view/font_capital.h"
#include "view/renderer.h"
#include "view/stroke_font.h"

namespace blok {
namespace {

const std::vector<FileFilter> kDxfFilters = {{"Pliki DXF", "*.dxf"}, {"Wszystkie pliki", "*.*"}};

// The blocks a DXF drawing offers: its model space first, then its block definitions; empty
// ones offer nothing.
Result<DxfImportReport> ReadOffer(const std::filesystem::path& file, DxfImportOptions options) {
  options.all_blocks = true;
  options.with_model = true;
  return ImportDxf(file, options);
}

// Names for a question: the first ten, and how many more.
std::string ShortList(const std::vector<std::string>& names) {
  constexpr size_t kShown = 10;
  std::string list;
  for (size_t i = 0; i < names.size() && i < kShown; ++i) list += (i ? ", " : "") + names[i];
  if (names.size() > kShown) list += " i " + std::to_string(names.size() - kShown) + " innych";
  return list;
}

}  // namespace

std::optional<DxfImportOptions> Library::InsertedPart(const std::filesystem::path& file) {
  DxfImportOptions options = DxfOptions(file);
  const auto offered = ReadOffer(file, options);
  if (!offered || std::ranges::all_of(offered->blocks, &DxfBlock::model_space)) return options;
  std::vector<Ui::OfferedBlock> offer;
  for (const DxfBlock& block : offered->blocks) {
    offer.push_back({.name = block.name, .lines = block.lines, .exists = false, .take = false});
  }
  const auto row = ui_.ChooseBlockToInsert(offer);
  if (!row || *row >= offered->blocks.size()) return std::nullopt;
  const DxfBlock& chosen = offered->blocks[*row];
  if (!chosen.model_space) options.only = {chosen.name};
  return options;
}

void Library::WstawZDxf() {
  cancel_command_();
  const auto file =
      ui_.OpenFileDialog({"Wstaw z DXF", kDxfFilters, "dxf", preferences_.initial_directory()});
  if (!file) return view_.Redraw();
  const auto options = InsertedPart(*file);
  if (!options) return view_.Redraw();
  auto report = ImportDxf(*file, *options);
  if (!report) {
    ShowError(report.error());
    return view_.Redraw();
  }
  if (report->blocks.empty() || report->blocks.front().lines.empty()) {
    ui_.ShowMessage("Rysunek " + file->string() + " nie zawiera obiektów do wstawienia.");
    return view_.Redraw();
  }
  DxfBlock& block = report->blocks.front();
  std::vector<std::string> lines = std::move(block.lines);
  // The drawing's numbers are in the block's unit: a drawing in metres goes into a block in
  // centimetres a hundred times larger.
  if (const double factor = MetresIn(block.unit) / MetresIn(block_.unit()); factor != 1) {
    const std::vector<ParsedEntity> records = ParseLines(lines);
    Selection all{
        .flags = std::vector<std::uint8_t>(lines.size(), 1), .count = lines.size(), .window = {}};
    const EditChanges scaled = ScaleSelection(records, all, 0, 0, static_cast<float>(factor));
    if (scaled.unwritable > 0) {
      ui_.ShowMessage("Nie wstawiono rysunku: po zmianie jednostki nie da się zapisać obiektów: " +
                      std::to_string(scaled.unwritable) + ".");
      return view_.Redraw();
    }
    for (const EditChange& change : scaled) lines[static_cast<size_t>(change.index)] = change.line;
  }
  // Each add goes to line 0: the last line first, so that the lines stand as a loaded block's.
  EditChanges changes;
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    changes.push_back({.kind = EditChange::Kind::kAdd, .line = std::move(*line)});
  }
  const size_t count = changes.size();
  if (!block_.ApplyChanges(std::move(changes))) return view_.Redraw();
  messages_.Komunikat("Wstawiono z pliku " + file->string() +
                      " obiektów: " + std::to_string(count));
  for (const std::string& note : report->notes) messages_.Komunikat(note);
  int skipped = 0;
  for (const auto& [type, n] : report->skipped) skipped += n;
  if (skipped > 0)
    messages_.Komunikat("Pominięto obiektów DXF bez odpowiednika: " + std::to_string(skipped));
  if (!report->changed_texts.empty())
    messages_.Komunikat("Teksty spoza strony kodowej 1250 zapisano literami łacińskimi: " +
                        std::to_string(report->changed_texts.size()));
  view_.ZoomAll();
}

DxfImportOptions Library::DxfOptions(const std::filesystem::path& file) const {
  DxfImportOptions options;
  options.model_name = file.stem().string();
  // Texts are sized and placed by the stroke font, as the export sizes them.
  options.capital = CapitalOf(*view_.romans_font());
  options.text_length = [font = view_.romans_font()](std::string_view text, double width) {
    return TextLength(*font, text, width);
  };
  return options;
}

void Library::ImportujDxf() {
  cancel_command_();
  if (!open_file_) return ui_.ShowMessage("Nie otwarto pliku z blokami.");
  const std::vector<std::filesystem::path> files =
      ui_.OpenFilesDialog({"Importuj DXF", kDxfFilters, "dxf", preferences_.initial_directory()});
  if (files.empty()) return view_.Redraw();
  if (files.size() > 1) return ImportDxfBatch(files);
  // One drawing: its blocks offered to tick.
  const std::filesystem::path& file = files.front();
  auto offered = ReadOffer(file, DxfOptions(file));
  if (!offered) {
    ShowError(offered.error());
    return view_.Redraw();
  }
  const std::vector<DxfBlock>& found = offered->blocks;
  std::vector<Ui::OfferedBlock> offer;
  for (const DxfBlock& block : found) {
    const bool exists = block_list_.Contains(block.name);
    offer.push_back({block.name, block.lines, exists, !exists});
  }
  bool replace = false;
  if (!ui_.ChooseBlocks(offer, replace)) return view_.Redraw();
  std::vector<BlockToSave> chosen;
  for (size_t i = 0; i < found.size(); ++i) {
    if (!offer[i].take || (offer[i].exists && !replace)) continue;
    chosen.push_back({.name = found[i].name, .unit = found[i].unit, .lines = found[i].lines});
  }
  if (chosen.empty()) return view_.Redraw();
  const auto saved = SaveBlocks(*open_file_, chosen, replace);
  if (!saved) {
    ShowError(saved.error());
    return view_.Redraw();
  }
  if (!saved->written) {
    std::string names;
    for (const std::string& name : saved->existing) names += (names.empty() ? "" : ", ") + name;
    ui_.ShowMessage("Nic nie zaimportowano: w bibliotece są już bloki " + names + ".");
    return view_.Redraw();
  }
  messages_.Komunikat("Zaimportowano z pliku " + file.string() +
                      " bloków: " + std::to_string(chosen.size()));
  LibraryChanged(chosen.front().name);
  view_.Redraw();
}

void Library::ImportujFolderDxf() {
  cancel_command_();
  if (!open_file_) return ui_.ShowMessage("Nie otwarto pliku z blokami.");
  const auto folder =
      ui_.ChooseFolder({"Importuj folder DXF", {}, "", preferences_.initial_directory()});
  if (!folder) return view_.Redraw();
  ImportDxfBatch({*folder});
}

void Library::ImportDxfBatch(const std::vector<std::filesystem::path>& inputs) {
  const auto found = FindDxfFiles(inputs);
  if (!found) {
    ShowError(found.error());
    return view_.Redraw();
  }
  if (found->empty()) {
    ui_.ShowMessage("Nie znaleziono plików DXF.");
    return view_.Redraw();
  }
  DxfBatchReport batch;
  {
    const auto progress = ui_.ShowProgress("Importowanie plików DXF…");
    batch = ImportDxfFiles(*found, DxfOptions({}),
                           [&](size_t index, size_t count, const std::filesystem::path& shown) {
                             return !progress || progress->Step(index, count, shown.string());
                           });
  }
  if (batch.cancelled) {
    messages_.Komunikat(std::string(kExportCancelled));
    return view_.Redraw();
  }
  const auto summary = [&batch] {
    std::string text;
    for (const std::string& line : DxfBatchSummary(batch)) text += line + "\n";
    return text;
  };
  if (batch.blocks.empty()) {
    ui_.ShowMessage("Nic nie zaimportowano.\n" + summary());
    return view_.Redraw();
  }
  auto saved = SaveBlocks(*open_file_, batch.blocks, false);
  if (saved && !saved->written) {
    // Blocks of those names replaced, or left as they are and the others imported.
    const Answer answer =
        preferences_.settings().overwrite_without_asking
            ? Answer::kTak
            : ui_.Ask(Question{.text = "W bibliotece są już bloki: " + ShortList(saved->existing) +
                                       ". Zastąpić je?",
                               .tak = "Zastąp",
                               .nie = "Pomiń",
                               .kasuj = "Anuluj"});
    if (answer == Answer::kKasuj) return view_.Redraw();
    if (answer == Answer::kNie) {
      std::erase_if(batch.blocks, [&](const BlockToSave& block) {
        return std::ranges::find(saved->existing, block.name) != saved->existing.end();
      });
      if (batch.blocks.empty()) return view_.Redraw();
    }
    saved = SaveBlocks(*open_file_, batch.blocks, true);
  }
  if (!saved) {
    ShowError(saved.error());
    return view_.Redraw();
  }
  messages_.Komunikat("Zaimportowano bloków: " + std::to_string(batch.blocks.size()));
  LibraryChanged(batch.blocks.front().name);
  view_.Redraw();
  ui_.ShowMessage(summary());
}

}  // namespace blok
