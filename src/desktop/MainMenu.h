#pragma once

#include <span>
#include <string>

namespace trelvox {

// What a menu item does; each front end binds these to its own handlers.
enum class MenuCommand { None, ParseOneSubject, ParseAll, SaveOptions, Exit, About, Analyze };

struct MenuItemDescription {
  const char* name;
  const char* caption;  // "&" marks the access key; "-" is a separator line
  char ctrlKey;         // the letter of the Ctrl shortcut; 0 for none
  MenuCommand command;
  bool IsSeparator() const { return caption[0] == '-' && caption[1] == '\0'; }
};

struct MenuDescription {
  const char* name;
  const char* caption;
  std::span<const MenuItemDescription> items;
};

// The main window's menu bar, menus and items in the order they stand.
std::span<const MenuDescription> MainMenuBar();

// "Ctrl+O" for an item with a shortcut, empty text for one without.
std::string ShortcutText(const MenuItemDescription& item);

}  // namespace trelvox
