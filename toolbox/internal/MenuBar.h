// The Menu Manager's state: the installed menu bar.
#pragma once

#include <vector>

#include "../Frontend.h"
#include "../Menus.h"

struct MenuRecord {
  tb::MenuModel model;
};

namespace tb {

struct MenuBarState {
  std::vector<MenuRecord*> menus;  // left to right
};
MenuBarState& menuBar();

// Replaces the menu bar and shows it.
void installMenuBar(const std::vector<MenuModel>& menus);

}  // namespace tb
