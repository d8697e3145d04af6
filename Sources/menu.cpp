// The menu bar and the commands of its seven menus. Almost every command acts
// on the frontmost plot window, whichever window is in front.
#include "menu.h"

#include "../maps.h"
#include "events.h"
#include "main.h"
#include "text.h"
#include "windows.h"

void SetupMenus() {
  IBNibRef nib = nullptr;
  OSStatus err = CreateNibReference(CFSTR(AppName), &nib);
  if (err == noErr) {
    err = SetMenuBarFromNib(nib, CFSTR("MenuBar"));
    DisposeNibReference(nib);
  }
  if (err != noErr) ExitToShell();
}

void doCommand(long mResult) {
  int theItem = int(mResult & 0xFFFF);
  short theMenu = short((mResult >> 16) & 0xFFFF);
  switch (theMenu) {
    case kAppleMenu:
      doApple(theItem);
      break;
    case kFileMenu:
      doFile(theItem);
      break;
    case kEditMenu:
      // The edit commands come with the clipboard.
      break;
    case kMapMenu:
      doMap(theItem);
      break;
    case kPlotMenu:
      if (PlotData* data = GetPlotData()) data->toggleShow(plotEnum(theItem & 0xFF));
      break;
    case kParamMenu:
      doParam(theItem);
      break;
    case kWindowMenu:
      doWindow(theItem);
      break;
    default:
      break;
  }
  HiliteMenu(0);
}

void doApple(int theItem) {
  // Item 1, the about box, comes with the toolkit's about window.
  (void)theItem;
}

void doFile(int theItem) {
  switch (theItem) {
    case 1:
      show(createPlot());
      break;
    case 2:
      if (WindowPtr front = FrontWindow()) {
        // The text window is only hidden; a plot window goes with its plot.
        HideWindow(front);
        if (isPlot(front)) disposePlot(front);
      }
      break;
    case 7:
      ExitToShell();
    default:
      break;
  }
}

void doMap(int theItem) {
  if (PlotData* data = GetPlotData()) data->setMap(theItem);
}

void doParam(int theItem) {
  PlotData* data = GetPlotData();
  if (data == nullptr) return;
  switch (theItem) {
    case 1:
      // The map's parameter dialog comes with the parameter dialog.
      break;
    case 2:
      data->map()->eraseTransients();
      break;
    case 3:
      // The iterations dialog comes with the parameter dialog.
      break;
    case 4:
      data->map()->setTime(0);
      requestUpdate(FrontPlotWindow());
      break;
    case 5:
      // The initial-condition dialog comes with the parameter dialog.
      break;
    case 6:
      // The increment dialog comes with the parameter dialog.
      break;
    default:
      break;
  }
}

void doWindow(int theItem) {
  switch (theItem) {
    case 1:
      if (WindowPtr next = NextPlotWindow()) show(next);
      break;
    case 2:
      show(output);
      break;
    case 4:
      eraseWindow(FrontWindow());
      break;
    case 6:
      if (PlotData* data = GetPlotData()) data->setStdScale();
      break;
    default:
      // 7 (bounds dialog), 8 and 9 (zoom modes) and 11-14 (colours) come
      // with the dialog, the rubber band and the colour picker.
      break;
  }
}

void updateMenus() {
  PlotData* data = GetPlotData();
  MenuRef mapMenu = GetMenuHandle(kMapMenu);
  MenuRef plotMenu = GetMenuHandle(kPlotMenu);
  for (short item = 1; item <= 7; ++item) CheckMenuItem(mapMenu, item, false);
  for (short item = cobWebPlot; item <= exitTimePlot; ++item) CheckMenuItem(plotMenu, item, false);
  if (data == nullptr) return;
  CheckMenuItem(plotMenu, data->getPlotType(), true);
  for (plotEnum flag : {showAxes, showSquare, showCritical}) CheckMenuItem(plotMenu, flag, data->getShow(flag));
  CheckMenuItem(mapMenu, short(data->mapNumber()), true);
}
