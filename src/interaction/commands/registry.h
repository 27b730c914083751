#pragma once

// The commands of the command line: one row each with its keywords, start message, pick cursor,
// help line, tool button and menu item, and how to make it. The interpreter's keyword table, the
// help list and the window's tool bars and menus are all read from here.

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "interaction/commands/command.h"

namespace blok {

class CommandContext;
class InteractionHost;

enum class ToolBar { kNone, kInsert, kEdit };
enum class Menu { kNone, kInsert, kModify };
enum class HelpSection { kNone, kDrawing, kEditing };

struct ToolButtonRow {
  ToolBar bar = ToolBar::kNone;
  std::string_view name;  // objectName
  std::string_view caption;
  std::string_view hint;
  std::string_view icon;  // :/icons/<icon>.svg
};

struct MenuItemRow {
  Menu menu = Menu::kNone;
  int rank = 0;  // its place in the menu
  std::string_view name;
  std::string_view caption;
  std::string_view shortcut;  // as QKeySequence reads it: "Ctrl+C"; empty for none
};

struct HelpRow {
  HelpSection section = HelpSection::kNone;
  int rank = 0;  // its place in the section
  std::string_view line;
};

struct CommandRow {
  std::array<std::string_view, 3> keywords;  // upper case, as typed after UpperCp1250
  std::string_view message;                  // said when it starts
  bool pick_cursor = false;
  HelpRow help;
  ToolButtonRow button;
  MenuItemRow menu;
  // Makes the running command; nothing for a command that only acts.
  std::unique_ptr<Command> (*make)(CommandContext&) = nullptr;
  // Acts as soon as the entry is read, before any other stage, open file or not.
  void (*act)(InteractionHost&) = nullptr;
};

// Every row, in the tool bars' order.
std::span<const CommandRow> Commands();
// What a row's button and menu item send: its first keyword in lower case, as a user types it.
std::string ControlText(const CommandRow& row);
// The row of an upper-case entry, or nothing.
const CommandRow* FindCommand(std::string_view upper_entry);
// The one keyword (in lower case) that begins with what was typed, case aside; nothing when
// none or several do. Tab in the command line completes with it.
std::optional<std::string> CompleteKeyword(std::string_view typed);
// The one name that begins with what was typed, case aside; with several, the longest beginning
// they share when it is longer than what was typed; else nothing.
std::optional<std::string> CompleteName(std::string_view typed, std::span<const std::string> names);
// The rows of a tool bar, in order; of a menu, by rank.
std::vector<const CommandRow*> ToolBarRows(ToolBar bar);
std::vector<const CommandRow*> MenuRows(Menu menu);
// The help list: its head, then each section's lines by rank.
const std::vector<std::string>& HelpLines();

}  // namespace blok
