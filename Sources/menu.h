// The seven menus and their commands.
#pragma once

enum { kAppleMenu = 128, kFileMenu = 129, kEditMenu = 130, kMapMenu = 131, kPlotMenu = 132, kParamMenu = 133,
       kWindowMenu = 134 };

void SetupMenus();
void doCommand(long mResult);
void doApple(int theItem);
void doFile(int theItem);
void doMap(int theItem);
void doParam(int theItem);
void doWindow(int theItem);
void updateMenus();
