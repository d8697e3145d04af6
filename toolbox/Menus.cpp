// The Menu Manager: the model of the menu bar lives here; the front end shows
// it and pops a menu up when MenuSelect asks for it.
#include "Menus.h"

#include <cctype>
#include <cstring>

#include "internal/Hooks.h"
#include "internal/MenuBar.h"

namespace tb {

MenuBarState& menuBar() {
  static MenuBarState state;
  return state;
}

void installMenuBar(const std::vector<MenuModel>& menus) {
  for (MenuRecord* m : menuBar().menus) delete m;
  menuBar().menus.clear();
  for (const MenuModel& model : menus) menuBar().menus.push_back(new MenuRecord{model});
  frontend().setMenuBar(menus);
}

}  // namespace tb

namespace {

tb::MenuItemModel* itemOf(MenuRef menu, short item) {
  if (menu == nullptr || item < 1 || size_t(item) > menu->model.items.size()) return nullptr;
  return &menu->model.items[size_t(item) - 1];
}

}  // namespace

MenuRef GetMenuHandle(MenuID menuID) {
  for (MenuRecord* m : tb::menuBar().menus) {
    if (m->model.id == menuID) return m;
  }
  return nullptr;
}

void CheckMenuItem(MenuRef menu, short item, Boolean checked) {
  if (tb::MenuItemModel* it = itemOf(menu, item)) it->checked = checked;
}

Boolean IsMenuItemChecked(MenuRef menu, short item) {
  tb::MenuItemModel* it = itemOf(menu, item);
  return it != nullptr && it->checked;
}

short CountMenuItems(MenuRef menu) { return menu ? short(menu->model.items.size()) : 0; }

void GetMenuItemText(MenuRef menu, short item, Str255 itemString) {
  itemString[0] = 0;
  if (tb::MenuItemModel* it = itemOf(menu, item)) {
    size_t n = std::min<size_t>(it->text.size(), 255);
    itemString[0] = static_cast<unsigned char>(n);
    std::memcpy(itemString + 1, it->text.data(), n);
  }
}

long MenuSelect(Point startPt) {
  int index = tb::frontend().menuAt(startPt);
  if (index < 0 || size_t(index) >= tb::menuBar().menus.size()) return 0;
  MenuRecord* menu = tb::menuBar().menus[size_t(index)];
  tb::frontend().highlightMenu(index);
  tb::frontend().openMenu(index, menu->model);
  while (tb::frontend().menuOpen()) tb::waitForDialog(50);
  // The press that opened the menu and anything the menu consumed are over.
  while (const tb::RawInput* in = tb::peekInput()) {
    if (in->kind != tb::InputKind::MouseUp && in->kind != tb::InputKind::MouseMove) break;
    tb::RawInput dropped;
    tb::takeInput(dropped);
  }
  // A real menu takes the release itself: the button is up now.
  tb::forgetButton();
  int item = tb::frontend().menuChoice();
  tb::MenuItemModel* chosen = itemOf(menu, short(item));
  if (chosen == nullptr || chosen->separator || !chosen->enabled) return 0;
  return (long(menu->model.id) << 16) | item;
}

long MenuKey(short ch) {
  char key = char(std::toupper(static_cast<unsigned char>(ch)));
  if (key == 0) return 0;
  for (MenuRecord* m : tb::menuBar().menus) {
    for (size_t i = 0; i < m->model.items.size(); ++i) {
      const tb::MenuItemModel& item = m->model.items[i];
      if (item.commandKey == key && item.enabled && !item.separator) {
        tb::frontend().highlightMenu(int(&m - tb::menuBar().menus.data()));
        return (long(m->model.id) << 16) | long(i + 1);
      }
    }
  }
  return 0;
}

void HiliteMenu(MenuID menuID) {
  if (menuID == 0) {
    tb::frontend().highlightMenu(-1);
    return;
  }
  auto& menus = tb::menuBar().menus;
  for (size_t i = 0; i < menus.size(); ++i) {
    if (menus[i]->model.id == menuID) tb::frontend().highlightMenu(int(i));
  }
}

void DrawMenuBar() {
  std::vector<tb::MenuModel> models;
  for (MenuRecord* m : tb::menuBar().menus) models.push_back(m->model);
  tb::frontend().setMenuBar(models);
}
