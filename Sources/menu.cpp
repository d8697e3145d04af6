// The menu bar and the commands of its seven menus. Almost every command acts
// on the frontmost plot window, whichever window is in front.
#include "menu.h"

#include "../common/setValues.h"
#include "../common/utilities.h"
#include "../maps.h"
#include "color.h"
#include "copy.h"
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
      doEdit(short(theItem));
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
  if (theItem == 1) DoAboutBox();
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
      data->map()->setParameter();
      break;
    case 2:
      data->map()->eraseTransients();
      break;
    case 3:
      data->map()->setTime();
      requestUpdate(FrontPlotWindow());  // also when the dialog was cancelled
      break;
    case 4:
      data->map()->setTime(0);
      requestUpdate(FrontPlotWindow());
      break;
    case 5: {
      double x = data->map()->getInitial();
      Str255 desc;
      CopyCStringToPascal("Initial Condition", desc);
      if (GetParams(desc, "x=%lf", &x) == 1) {
        data->map()->setInitial(x);
        requestUpdate(data->window());
      }
      break;
    }
    case 6: {
      // The dialog stores into gDelta only when the user confirms.
      Str255 desc;
      CopyCStringToPascal("Choose Parameter Increment", desc);
      GetParams(desc, "dx=%lf", &gDelta);
      break;
    }
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
    case 7:
      if (PlotData* data = GetPlotData()) data->chooseCoordinates();
      break;
    case 8:
    case 9:
      gScaleOn = theItem == 8 ? 1 : 2;
      SetCCursor(GetCCursor(theItem == 8 ? 128 : 129));
      break;
    case 11:
      if (PlotData* data = GetPlotData()) {
        data->map()->chooseColor();
        requestUpdate(data->window());
      }
      break;
    case 12:
    case 13:
    case 14:
      setBackground(theItem - 12);
      // The plot whose background changed, also when the text window is in front.
      requestUpdate(FrontPlotWindow());
      break;
    default:
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
