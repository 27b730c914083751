#include "editor/exports.h"

#include "document/dxf_export.h"
#include "editor/editor.h"
#include "model/polish_plural.h"
#include "view/font_capital.h"

namespace blok {

std::vector<std::string> ExportedSelection(const BlockList& list) {
  std::vector<std::string> names = list.ChosenNames();
  if (names.empty() && !list.SelectedName().empty()) names.push_back(list.SelectedName());
  return names;
}

std::optional<std::filesystem::path> ChooseExportFile(Editor& editor, Ui& ui, const char* title,
                                                      const char* filter, const char* pattern,
                                                      const char* extension) {
  std::optional<std::filesystem::path> file = ui.SaveFileDialog(
      {title, {{filter, pattern}}, extension, editor.preferences().initial_directory()});
  std::error_code error;
  if (!file || !std::filesystem::exists(*file, error)) return file;
  const Answer answer =
      ui.Ask(Question{.text = "Plik " + file->filename().string() + " już istnieje. Zastąpić go?",
                      .tak = "Zastąp",
                      .nie = "",
                      .kasuj = "Anuluj"});
  if (answer != Answer::kTak) return std::nullopt;
  return file;
}

void ExportDxfFile(Editor& editor, Ui& ui, DxfChoice choice, const std::filesystem::path& file,
                   ExportProgress progress) {
  const DxfExportFont font = ExportFontOf(*editor.view().romans_font());
  Result<DxfExportReport> report;
  if (choice == DxfChoice::kEdited) {
    const EditedBlock& block = editor.block();
    const Drawing& drawing = block.drawing();
    report = ExportDxf(DxfDrawingRequest{block.block_name(), block.unit(), drawing.lines(),
                                         drawing.records(), file, std::move(progress)},
                       font);
  } else {
    DxfExportRequest request{*editor.library().open_file(), {}, file, std::move(progress)};
    if (choice == DxfChoice::kSelected) {
      request.names = ExportedSelection(editor.library().block_list());
    }
    report = ExportDxf(request, font);
  }
  const Result<void> result =
      report ? Result<void>{} : Result<void>{std::unexpected(report.error())};
  ReportExport(editor, ui, result,
               report ? "Zapisano " + file.filename().string() + ": " +
                            Counted(report->names.size(), "blok", "bloki", "bloków") + "."
                      : "");
}

void ReportExport(Editor& editor, Ui& ui, const Result<void>& result, const std::string& done) {
  if (result) return editor.messages().Komunikat(done);
  if (result.error().message == kExportCancelled) {
    return editor.messages().Komunikat(result.error().message);
  }
  ui.ShowMessage(result.error().message);
}

}  // namespace blok
