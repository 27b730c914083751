// A DXF drawing from another CAD program brought into the block being edited.

#include "document/dxf_import.h"
#include "editing/transform.h"
#include "editor/editor.h"
#include "view/font_capital.h"
#include "view/renderer.h"
#include "view/stroke_font.h"

namespace blok {
namespace {

double MetresIn(std::string_view unit) {
  if (unit == "cm") return 0.01;
  if (unit == "mm") return 0.001;
  return 1;
}

}  // namespace

void Editor::WstawZDxf() {
  AnulujPolecenie();
  const auto file = ui_.OpenFileDialog({"Wstaw z DXF",
                                        {{"Pliki DXF", "*.dxf"}, {"Wszystkie pliki", "*.*"}},
                                        "dxf",
                                        initial_directory_});
  if (!file) return Redraw();
  DxfImportOptions options;
  options.model_name = file->stem().string();
  options.capital = CapitalOf(*romans_font_);
  options.text_length = [this](std::string_view text, double width) {
    return TextLength(*romans_font_, text, width);
  };
  auto report = ImportDxf(*file, options);
  if (!report) {
    ShowError(report.error());
    return Redraw();
  }
  if (report->blocks.empty() || report->blocks.front().lines.empty()) {
    ui_.ShowMessage("Rysunek " + file->string() + " nie zawiera obiektów do wstawienia.");
    return Redraw();
  }
  DxfBlock& block = report->blocks.front();
  std::vector<std::string> lines = std::move(block.lines);
  // The drawing's numbers are in the block's unit: a drawing in metres goes into a block in
  // centimetres a hundred times larger.
  if (const double factor = MetresIn(block.unit) / MetresIn(unit_); factor != 1) {
    const std::vector<ParsedEntity> records = ParseLines(lines);
    Selection all{
        .flags = std::vector<std::uint8_t>(lines.size(), 1), .lines = lines, .window = {}};
    const EditChanges scaled = ScaleSelection(records, all, 0, 0, static_cast<float>(factor));
    if (scaled.unwritable > 0) {
      ui_.ShowMessage("Nie wstawiono rysunku: po zmianie jednostki nie da się zapisać obiektów: " +
                      std::to_string(scaled.unwritable) + ".");
      return Redraw();
    }
    for (const EditChange& change : scaled) lines[static_cast<size_t>(change.index)] = change.line;
  }
  // Each add goes to line 0: the last line first, so that the lines stand as a loaded block's.
  EditChanges changes;
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    changes.push_back({.kind = EditChange::Kind::kAdd, .line = std::move(*line)});
  }
  const size_t count = changes.size();
  if (!ApplyChanges(std::move(changes))) return Redraw();
  Komunikat("Wstawiono z pliku " + file->string() + " obiektów: " + std::to_string(count));
  for (const std::string& note : report->notes) Komunikat(note);
  int skipped = 0;
  for (const auto& [type, n] : report->skipped) skipped += n;
  if (skipped > 0) Komunikat("Pominięto obiektów DXF bez odpowiednika: " + std::to_string(skipped));
  ZoomAll();
}

}  // namespace blok
