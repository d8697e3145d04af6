// Menu Manager: the menu bar, its menus and their checkmarks. The bar is a
// real Qt menu bar; a choice is tracked through the layer so that a mouse
// down in the bar first reaches the program (which updates checkmarks) and
// MenuSelect then pops the menu up and returns the choice.
//
// Implemented: menus with IDs, items with text, separators, Command-key
// equivalents (shown as Ctrl), enabled state and checkmarks; MenuSelect,
// MenuKey, HiliteMenu.
// Left out: hierarchical and pop-up menus, item icons and styles.
#pragma once

#include "MacTypes.h"

struct MenuRecord;
typedef MenuRecord* MenuRef;
typedef MenuRecord** MenuHandle;
typedef short MenuItemIndex;

MenuRef GetMenuHandle(MenuID menuID);
void CheckMenuItem(MenuRef menu, short item, Boolean checked);
Boolean IsMenuItemChecked(MenuRef menu, short item);
short CountMenuItems(MenuRef menu);
void GetMenuItemText(MenuRef menu, short item, Str255 itemString);
// Returns menu ID << 16 | item, or 0 when nothing was chosen.
long MenuSelect(Point startPt);
long MenuKey(short ch);
void HiliteMenu(MenuID menuID);
void DrawMenuBar();
