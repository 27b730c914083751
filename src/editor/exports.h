#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "document/export_progress.h"
#include "model/error.h"

// What the window's export items do with the user's answers: which blocks go out, the file they
// go to, and what is said after. The window asks; these decide.

namespace blok {

class BlockList;
class Editor;
class Ui;

// What "Eksportuj DXF…" writes.
enum class DxfChoice { kSelected, kEdited, kLibrary };

// The names the list has chosen, else its selected name, else none: "Zaznaczone bloki".
std::vector<std::string> ExportedSelection(const BlockList& list);

// The save dialog for an export. The dialog leaves an existing file to its caller (a library
// is opened, not replaced): an export asks before it replaces one. Nothing when not chosen.
std::optional<std::filesystem::path> ChooseExportFile(Editor& editor, Ui& ui, const char* title,
                                                      const char* filter, const char* pattern,
                                                      const char* extension);

// The chosen blocks written to the file as blk export writes them, the edited one as it stands;
// the message pane says how many, a failure its box.
void ExportDxfFile(Editor& editor, Ui& ui, DxfChoice choice, const std::filesystem::path& file,
                   ExportProgress progress);

// How an export ended: `done` said in the pane; a stop the user asked for too, a failure in a
// message box.
void ReportExport(Editor& editor, Ui& ui, const Result<void>& result, const std::string& done);

}  // namespace blok
