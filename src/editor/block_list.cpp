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
}

void BlockList::Add(std::string name) {
  const auto at = std::ranges::upper_bound(names_, name, BlockNameLess);
  const size_t index = static_cast<size_t>(at - names_.begin());
  names_.insert(at, std::move(name));
  if (selected_ && *selected_ >= index) ++*selected_;
}

bool BlockList::Contains(std::string_view name) const {
  return std::ranges::find(names_, name) != names_.end();
}

void BlockList::Select(std::optional<size_t> index) {
  selected_ = index && *index < names_.size() ? index : std::nullopt;
}

}  // namespace blok
