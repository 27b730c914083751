#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace blok {

// The sorted list of the open file's block names (LB_NazwaBlokuCzytaj) with its selection.
// Two blocks of one name are two entries; the order is the library's (BlockNameLess).
class BlockList {
 public:
  const std::vector<std::string>& names() const { return names_; }
  std::optional<size_t> selected() const { return selected_; }
  // The selected name, or empty when nothing is selected.
  std::string SelectedName() const;

  // Replaces the names; nothing is selected.
  void Assign(std::vector<std::string> names);
  void Clear() { Assign({}); }
  // Inserts in order; the selected entry stays selected.
  void Add(std::string name);
  bool Contains(std::string_view name) const;
  // An index outside the list selects nothing.
  void Select(std::optional<size_t> index);
  // The entries the user has chosen together (several rows selected in the list), which
  // copying takes as one; indices outside the list are left out.
  void Choose(std::vector<size_t> entries);
  // Their names in the list's order, each once; empty when fewer than two are chosen.
  std::vector<std::string> ChosenNames() const;

 private:
  std::vector<std::string> names_;
  std::optional<size_t> selected_;
  std::vector<size_t> chosen_;  // sorted
};

}  // namespace blok
