#include "document/dxf_batch.h"

#include <algorithm>
#include <set>
#include <system_error>
#include <unordered_map>

#include "document/library_rules.h"
#include "model/polish_plural.h"

namespace blok {
namespace {

namespace fs = std::filesystem;

bool IsDxf(const fs::path& file) {
  std::string extension = file.extension().string();
  std::ranges::transform(extension, extension.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".dxf";
}

Result<std::vector<DxfInput>> FilesUnder(const fs::path& folder) {
  std::vector<DxfInput> found;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    std::error_code kind;
    if (it->is_regular_file(kind) && IsDxf(it->path())) {
      found.push_back({it->path(), it->path().lexically_relative(folder)});
    }
  }
  if (error)
    return Fail("nie można przeszukać folderu " + folder.string() + ": " + error.message());
  std::ranges::sort(found, {}, &DxfInput::shown);
  return found;
}

// The folders a file lies in, nearest first, as the names that go in front of its stem.
std::vector<std::string> FoldersAbove(const fs::path& file) {
  std::vector<std::string> folders;
  for (const fs::path& part : fs::absolute(file).parent_path().relative_path()) {
    if (!part.empty()) folders.push_back(part.string());
  }
  std::ranges::reverse(folders);
  return folders;
}

}  // namespace

Result<std::vector<DxfInput>> FindDxfFiles(const std::vector<fs::path>& inputs) {
  std::vector<DxfInput> files;
  std::set<fs::path> met;
  const auto take = [&](DxfInput input) {
    std::error_code error;
    fs::path same = fs::weakly_canonical(input.file, error);
    if (error) same = fs::absolute(input.file);
    if (met.insert(same).second) files.push_back(std::move(input));
  };
  for (const fs::path& input : inputs) {
    std::error_code error;
    if (!fs::is_directory(input, error)) {
      take({input, input});  // a file that is not there is refused when it is read
      continue;
    }
    auto under = FilesUnder(input);
    if (!under) return std::unexpected(under.error());
    for (DxfInput& each : *under) take(std::move(each));
  }
  return files;
}

std::vector<std::string> DxfBlockNames(const std::vector<DxfInput>& inputs) {
  struct Naming {
    std::string stem;
    std::vector<std::string> folders;
    size_t depth = 0;  // how many folders stand in front
    int number = 1;    // after the name when the folders ran out
    std::string Name() const {
      std::string name = stem;
      for (size_t i = 0; i < depth; ++i) name = folders[i] + "_" + name;
      return number > 1 ? name + "_" + std::to_string(number) : name;
    }
  };
  std::vector<Naming> namings;
  for (const DxfInput& input : inputs) {
    namings.push_back({input.file.stem().string(), FoldersAbove(input.file)});
  }
  // The editor loads no block of a name shorter than three characters: a short stem takes the
  // folders above it in front, as a clash does.
  for (Naming& naming : namings) {
    while (BlockNameTooShort(naming.Name()) && naming.depth < naming.folders.size()) {
      ++naming.depth;
    }
  }
  for (bool clashed = true; clashed;) {
    clashed = false;
    std::unordered_map<std::string, std::vector<size_t>> holders;
    for (size_t i = 0; i < namings.size(); ++i) holders[namings[i].Name()].push_back(i);
    for (const auto& [name, group] : holders) {
      if (group.size() < 2) continue;
      clashed = true;
      const auto same_folder = [&](size_t i) {
        return namings[i].folders == namings[group.front()].folders;
      };
      bool deeper = false;
      if (!std::ranges::all_of(group, same_folder)) {
        for (size_t i : group) {
          if (namings[i].depth == namings[i].folders.size()) continue;
          ++namings[i].depth;
          deeper = true;
        }
      }
      // Files of one stem in one folder (x.dxf, x.DXF), or names no folder tells apart: they
      // are numbered in their order.
      if (!deeper) {
        for (size_t k = 1; k < group.size(); ++k) namings[group[k]].number += static_cast<int>(k);
      }
    }
  }
  std::vector<std::string> names;
  for (const Naming& naming : namings) names.push_back(naming.Name());
  return names;
}

DxfBatchReport ImportDxfFiles(const std::vector<DxfInput>& inputs, const DxfImportOptions& options,
                              const DxfBatchProgress& progress) {
  DxfBatchReport batch;
  batch.files = inputs.size();
  const std::vector<std::string> names = DxfBlockNames(inputs);
  DxfImportOptions each = options;
  for (size_t i = 0; i < inputs.size(); ++i) {
    if (progress && !progress(i, inputs.size(), inputs[i].shown)) {
      batch.cancelled = true;
      return batch;
    }
    // The import asks BlockNameProblem of the name, so a name the library cannot take refuses
    // its file with the reason.
    each.model_name = names[i];
    auto report = ImportDxf(inputs[i].file, each);
    if (!report) {
      batch.refused.push_back({inputs[i].shown, report.error().message});
      continue;
    }
    if (names[i] != inputs[i].file.stem().string())
      batch.renamed.push_back({inputs[i].shown, names[i]});
    for (const auto& [type, count] : report->skipped) batch.skipped[type] += count;
    for (const std::string& note : report->notes) ++batch.notes[note];
    for (std::string& text : report->changed_texts) batch.changed_texts.push_back(std::move(text));
    for (DxfBlock& block : report->blocks) {
      BlockToSave saved{std::move(block.name), std::move(block.unit), std::move(block.lines)};
      // The record leaves out an empty or one-character last line, the editor's line end.
      saved.lines.emplace_back();
      batch.blocks.push_back(std::move(saved));
    }
  }
  return batch;
}

std::vector<std::string> DxfBatchSummary(const DxfBatchReport& report) {
  std::vector<std::string> lines;
  lines.push_back(
      "zapisano " +
      Counted(static_cast<long long>(report.blocks.size()), "blok", "bloki", "bloków") + " z " +
      Counted(static_cast<long long>(report.files), "pliku", "plików", "plików") + " DXF");
  if (!report.refused.empty()) {
    lines.push_back(
        "pominięto " +
        Counted(static_cast<long long>(report.refused.size()), "plik", "pliki", "plików") + ":");
    for (const auto& refused : report.refused) lines.push_back("  " + refused.why);
  }
  if (!report.skipped.empty()) {
    std::string skipped = "pominięte obiekty DXF:";
    for (const auto& [type, count] : report.skipped)
      skipped += " " + type + " " + std::to_string(count);
    lines.push_back(skipped);
  }
  if (!report.renamed.empty()) {
    lines.push_back("zmienione nazwy (" + std::to_string(report.renamed.size()) + "):");
    for (const auto& renamed : report.renamed) {
      lines.push_back("  " + renamed.shown.string() + " → " + renamed.name);
    }
  }
  if (!report.changed_texts.empty()) {
    lines.push_back("teksty spoza strony kodowej 1250, zapisane literami łacińskimi: " +
                    std::to_string(report.changed_texts.size()));
  }
  for (const auto& [note, files] : report.notes) {
    lines.push_back(note + " (" + Counted(files, "plik", "pliki", "plików") + ")");
  }
  return lines;
}

}  // namespace blok
