#include "editor/block_list.h"

#include <algorithm>
#include <utility>

#include "document/library_rules.h"

namespace blok {

std::string BlockList::SelectedName() const { return selected_ ? names_[*selected_] : ""; }

void BlockList::Assign(std::vector<std::string> names) {
  names_ = std::move(names);
  std::ranges::stable_sort(names_, BlockNameLess);
  selected_.reset();
  chosen_.clear();
}

void BlockList::Add(std::string name) {
  const auto at = std::ranges::upper_bound(names_, name, BlockNameLess);
  const size_t index = static_cast<size_t>(at - names_.begin());
  names_.insert(at, std::move(name));
  if (selected_ && *selected_ >= index) ++*selected_;
  for (size_t& entry : chosen_) entry += entry >= index;
}

bool BlockList::Contains(std::string_view name) const {
  return std::ranges::find(names_, name) != names_.end();
}

void BlockList::Select(std::optional<size_t> index) {
  selected_ = index && *index < names_.size() ? index : std::nullopt;
}

void BlockList::Choose(std::vector<size_t> entries) {
  std::erase_if(entries, [&](size_t entry) { return entry >= names_.size(); });
  std::ranges::sort(entries);
  const auto [first, last] = std::ranges::unique(entries);
  entries.erase(first, last);
  chosen_ = std::move(entries);
}

std::vector<std::string> BlockList::ChosenNames() const {
  std::vector<std::string> names;
  for (const size_t entry : chosen_) {
    // Two entries of one name are one block.
    if (std::ranges::find(names, names_[entry]) == names.end()) names.push_back(names_[entry]);
  }
  if (names.size() < 2) names.clear();
  return names;
}

}  // namespace blok
