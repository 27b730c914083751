#include "document/library_diff.h"

#include <algorithm>
#include <deque>
#include <dtl/dtl.hpp>
#include <optional>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

#include "document/duplicates.h"
#include "document/library_rules.h"
#include "document/text_file.h"

namespace blok {
namespace {

using LineDiff = dtl::Diff<std::string, std::vector<std::string>>;

// The lines a changed block is compared by: its entity lines, and its unit in front when that
// changed, so that the hunk shows it.
std::vector<std::string> ComparedLines(const LoadedBlock& block, bool unit_changed) {
  std::vector<std::string> lines;
  if (unit_changed) lines.push_back(std::string(kUnitLabel) + " " + block.unit);
  lines.insert(lines.end(), block.lines.begin(), block.lines.end());
  return lines;
}

std::vector<std::string> UnifiedHunks(const BlockChange& change) {
  const bool unit_changed = change.before.unit != change.after.unit;
  LineDiff diff(ComparedLines(change.before, unit_changed),
                ComparedLines(change.after, unit_changed));
  diff.compose();
  diff.composeUnifiedHunks();
  std::ostringstream text;
  diff.printUnifiedFormat(text);
  std::vector<std::string> lines;
  std::istringstream in(text.str());
  for (std::string line; std::getline(in, line);) lines.push_back(std::move(line));
  return lines;
}

// What SameDrawing compares: the unit and the canonical drawing; empty when nothing is drawn.
std::string DrawingKey(const LoadedBlock& block) {
  std::string drawing = CanonicalDrawing(block.lines);
  return drawing.empty() ? drawing : block.unit + '\n' + drawing;
}

const std::string& OrderingName(const BlockChange& change) {
  return change.kind == BlockChangeKind::kAdded ? change.after.name : change.before.name;
}

}  // namespace

std::vector<LoadedBlock> BlocksByName(std::vector<LoadedBlock> records) {
  std::vector<const LoadedBlock*> last;
  for (const ListedBlock& listed : BlocksAsListed(records)) last.push_back(listed.block);
  // The records lie in file order: so do their addresses.
  std::ranges::sort(last);
  std::vector<LoadedBlock> blocks;
  blocks.reserve(last.size());
  for (const LoadedBlock* block : last) {
    blocks.push_back(std::move(records[static_cast<size_t>(block - records.data())]));
  }
  return blocks;
}

Result<std::vector<LoadedBlock>> ReadBlocksByName(const std::filesystem::path& file) {
  auto records = WczytajWszystkieBloki(file);
  if (!records) return std::unexpected(records.error());
  if (records->empty()) {
    // An empty file is an empty library; text without a single record is none, and taking it
    // for one would have a merge write over it.
    auto lines = ReadTextLines(file);
    if (!lines) return std::unexpected(lines.error());
    if (std::ranges::any_of(*lines, [](const std::string& line) {
          return line.find_first_not_of(" \t") != std::string::npos;
        })) {
      return Fail("Plik " + file.string() + " nie jest biblioteką bloków: nie ma w nim bloku");
    }
  }
  return BlocksByName(std::move(*records));
}

bool SameContent(const LoadedBlock& a, const LoadedBlock& b) {
  return a.unit == b.unit && a.lines == b.lines;
}

bool SameDrawing(const LoadedBlock& a, const LoadedBlock& b) {
  const std::string key = DrawingKey(a);
  return !key.empty() && key == DrawingKey(b);
}

std::vector<BlockChange> DiffLibraries(std::span<const LoadedBlock> a,
                                       std::span<const LoadedBlock> b,
                                       std::span<const std::string> names) {
  std::unordered_map<std::string_view, const LoadedBlock*> in_a, in_b;
  for (const LoadedBlock& block : a) in_a[block.name] = &block;
  for (const LoadedBlock& block : b) in_b[block.name] = &block;
  std::vector<BlockChange> changes;
  std::vector<const LoadedBlock*> added;
  // The added blocks by drawing, each drawing made once: a rename takes the first one left.
  std::unordered_map<std::string, std::deque<const LoadedBlock*>> added_by_drawing;
  for (const LoadedBlock& block : b) {
    if (in_a.contains(block.name)) continue;
    added.push_back(&block);
    if (std::string key = DrawingKey(block); !key.empty()) {
      added_by_drawing[std::move(key)].push_back(&block);
    }
  }
  std::unordered_set<const LoadedBlock*> paired;
  for (const LoadedBlock& block : a) {
    const auto other = in_b.find(block.name);
    if (other != in_b.end()) {
      if (!SameContent(block, *other->second)) {
        changes.push_back({BlockChangeKind::kChanged, block, *other->second});
      }
      continue;
    }
    const auto twins = added_by_drawing.find(DrawingKey(block));
    if (twins != added_by_drawing.end() && !twins->second.empty()) {
      const LoadedBlock* twin = twins->second.front();
      twins->second.pop_front();
      paired.insert(twin);
      changes.push_back({BlockChangeKind::kRenamed, block, *twin});
    } else {
      changes.push_back({BlockChangeKind::kRemoved, block, {}});
    }
  }
  for (const LoadedBlock* block : added) {
    if (!paired.contains(block)) changes.push_back({BlockChangeKind::kAdded, {}, *block});
  }
  if (!names.empty()) {
    const auto named = [&](const std::string& name) {
      return !name.empty() && std::ranges::find(names, name) != names.end();
    };
    std::erase_if(changes, [&](const BlockChange& change) {
      return !named(change.before.name) && !named(change.after.name);
    });
  }
  std::ranges::stable_sort(changes, [](const BlockChange& x, const BlockChange& y) {
    return BlockNameLess(OrderingName(x), OrderingName(y));
  });
  return changes;
}

std::vector<DrawingLine> CompareDrawings(std::span<const std::string> before,
                                         std::span<const std::string> after) {
  LineDiff diff(std::vector<std::string>(before.begin(), before.end()),
                std::vector<std::string>(after.begin(), after.end()));
  diff.compose();
  std::vector<DrawingLine> lines;
  for (const auto& [text, info] : diff.getSes().getSequence()) {
    const LineFate fate = info.type == dtl::SES_ADD      ? LineFate::kAdded
                          : info.type == dtl::SES_DELETE ? LineFate::kRemoved
                                                         : LineFate::kKept;
    lines.push_back({fate, text});
  }
  return lines;
}

std::vector<std::string> DiffReportLines(std::span<const BlockChange> changes,
                                         std::string_view a_label, std::string_view b_label) {
  std::vector<std::string> lines;
  for (const BlockChange& change : changes) {
    switch (change.kind) {
      case BlockChangeKind::kAdded:
        lines.push_back("dodany: " + change.after.name);
        break;
      case BlockChangeKind::kRemoved:
        lines.push_back("usunięty: " + change.before.name);
        break;
      case BlockChangeKind::kRenamed:
        lines.push_back("przemianowany: " + change.before.name + " → " + change.after.name);
        break;
      case BlockChangeKind::kChanged: {
        const std::string& name = change.before.name;
        lines.push_back("zmieniony: " + name);
        lines.push_back("--- " + std::string(a_label) + "/" + name);
        lines.push_back("+++ " + std::string(b_label) + "/" + name);
        std::ranges::move(UnifiedHunks(change), std::back_inserter(lines));
        break;
      }
    }
  }
  return lines;
}

std::vector<std::string> LibraryText(std::span<const LoadedBlock> blocks) {
  std::vector<const LoadedBlock*> ordered;
  for (const LoadedBlock& block : blocks) ordered.push_back(&block);
  std::ranges::stable_sort(ordered, [](const LoadedBlock* x, const LoadedBlock* y) {
    return BlockNameLess(x->name, y->name);
  });
  std::vector<std::string> lines;
  for (const LoadedBlock* block : ordered) {
    if (!lines.empty()) lines.emplace_back();
    lines.push_back("=== " + block->name + " (" + block->unit + ")");
    lines.insert(lines.end(), block->lines.begin(), block->lines.end());
  }
  return lines;
}

}  // namespace blok
