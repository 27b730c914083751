// ?, lista, pomoc: the list of commands in the text viewer.
#include <algorithm>

#include "interaction/commands/registry.h"
#include "interaction/interaction_host.h"
#include "model/program_info.h"

namespace blok {
namespace {

void AddSection(std::vector<std::string>& lines, HelpSection section) {
  std::vector<const HelpRow*> rows;
  for (const CommandRow& row : Commands()) {
    if (row.help.section == section) rows.push_back(&row.help);
  }
  std::ranges::stable_sort(rows, {}, [](const HelpRow* row) { return row->rank; });
  for (const HelpRow* row : rows) lines.emplace_back(row->line);
}

}  // namespace

const std::vector<std::string>& HelpLines() {
  static const std::vector<std::string> kLines = [] {
    std::vector<std::string> lines = {
        "",
        "Lista polecen programu ver.  " + std::string(kProgramVersion) + "  " +
            std::string(kReleaseDate),
        "",
        "UWAGA! Symbolem dzisiętnym jest \" . - kropka\", \" , - przecinek\" służy odzieleniu "
        "wartości.",
        "       Wielkość liter nie ma znaczenia.",
        "",
        "\" \" (spacja)   -   powtórzenie ostatniego polecenia, pierwszego z listy.",
        "",
        "Rysowanie :",
    };
    AddSection(lines, HelpSection::kDrawing);
    lines.insert(lines.end(), {"", "edycja :"});
    AddSection(lines, HelpSection::kEditing);
    return lines;
  }();
  return kLines;
}

void ShowHelpList(InteractionHost& host) { host.ShowHelp(HelpLines()); }

}  // namespace blok
