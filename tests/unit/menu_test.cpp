// The menu commands and their checkmarks, on real plot windows and the text
// window.
#include "Sources/menu.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "toolbox/Frontend.h"
#include "unit/app_desktop.h"

namespace {

std::string describe(const Rect& r) {
  return "{top " + std::to_string(r.top) + ", left " + std::to_string(r.left) + ", bottom " +
         std::to_string(r.bottom) + ", right " + std::to_string(r.right) + "}";
}

struct CheckCase {
  const char* name;
  std::vector<long> commands;
  int checkedMap;                 // Map menu item, 1-7
  int checkedPlotType;            // Plot menu item, 1-5
  std::array<bool, 3> overlays;   // Plot menu items 7, 8, 9
};

using MenuCommands = AppDesktop;

TEST_F(MenuCommands, CheckmarksFollowTheFrontPlot) {
  const long tent = command(kMapMenu, 6), logistic = command(kMapMenu, 1), cubic = command(kMapMenu, 3);
  const long density = command(kPlotMenu, 3), axes = command(kPlotMenu, 7), square = command(kPlotMenu, 8),
             critical = command(kPlotMenu, 9);
  const std::vector<CheckCase> cases = {
      {"a new plot", {}, 1, 1, {true, false, false}},
      {"tent, then logistic", {tent, logistic}, 1, 1, {true, false, false}},
      {"cubic", {cubic}, 3, 1, {true, false, false}},
      {"density with the unit square", {density, square}, 1, 3, {true, true, false}},
      {"axes off, critical point on", {axes, critical}, 1, 1, {false, false, true}},
      {"Plot items 6 and 10 name nothing", {command(kPlotMenu, 6), command(kPlotMenu, 10)}, 1, 1,
       {true, false, false}},
  };
  for (const CheckCase& c : cases) {
    WindowPtr plot = newPlot();
    for (long cmd : c.commands) doCommand(cmd);
    updateMenus();
    MenuRef mapMenu = GetMenuHandle(kMapMenu), plotMenu = GetMenuHandle(kPlotMenu);
    for (short item = 1; item <= 7; ++item) {
      EXPECT_EQ(item == c.checkedMap, bool(IsMenuItemChecked(mapMenu, item))) << c.name << ": Map item " << item;
    }
    for (short item = 1; item <= 5; ++item) {
      EXPECT_EQ(item == c.checkedPlotType, bool(IsMenuItemChecked(plotMenu, item)))
          << c.name << ": Plot item " << item;
    }
    for (short item = 7; item <= 9; ++item) {
      EXPECT_EQ(c.overlays[size_t(item - 7)], bool(IsMenuItemChecked(plotMenu, item)))
          << c.name << ": Plot item " << item;
    }
    HideWindow(plot);
    disposePlot(plot);
  }
}

TEST_F(MenuCommands, CheckmarksShowThePlotBehindTheTextWindow) {
  newPlot();
  doCommand(command(kMapMenu, 5));
  show(output);
  ASSERT_EQ(output, FrontWindow()) << "the text window is in front";
  updateMenus();
  EXPECT_TRUE(IsMenuItemChecked(GetMenuHandle(kMapMenu), 5)) << "Map item 5 (tangent) of the plot behind";
  EXPECT_FALSE(IsMenuItemChecked(GetMenuHandle(kMapMenu), 1)) << "Map item 1 after choosing tangent";
}

TEST_F(MenuCommands, WithoutAPlotOnlyMapAndTypeMarksAreCleared) {
  WindowPtr plot = newPlot();
  doCommand(command(kPlotMenu, 8));  // unit square on
  updateMenus();
  HideWindow(plot);
  disposePlot(plot);
  updateMenus();
  MenuRef mapMenu = GetMenuHandle(kMapMenu), plotMenu = GetMenuHandle(kPlotMenu);
  for (short item = 1; item <= 7; ++item) {
    EXPECT_FALSE(IsMenuItemChecked(mapMenu, item)) << "Map item " << item << " with no plot window";
  }
  for (short item = 1; item <= 5; ++item) {
    EXPECT_FALSE(IsMenuItemChecked(plotMenu, item)) << "Plot item " << item << " with no plot window";
  }
  EXPECT_TRUE(IsMenuItemChecked(plotMenu, 7)) << "Plot item 7 keeps its mark with no plot window";
  EXPECT_TRUE(IsMenuItemChecked(plotMenu, 8)) << "Plot item 8 keeps its mark with no plot window";
}

TEST_F(MenuCommands, MenusActOnThePlotBehindTheTextWindow) {
  WindowPtr plot = newPlot();
  show(output);
  ASSERT_EQ(output, FrontWindow()) << "the text window is in front";
  doCommand(command(kMapMenu, 6));
  doCommand(command(kPlotMenu, 2));
  doCommand(command(kParamMenu, 4));
  PlotData* data = GetPlotData(plot);
  EXPECT_EQ(6, data->mapNumber()) << "family of the plot behind the text window";
  EXPECT_EQ(bifurcationPlot, data->getPlotType()) << "plot type of the plot behind the text window";
  EXPECT_EQ(0, data->map()->t) << "iterations after Reset Orbit";
  EXPECT_EQ(output, FrontWindow()) << "the text window stays in front";
}

TEST_F(MenuCommands, NewPlotWindowsStepDownAndRight) {
  doFile(1);
  WindowPtr first = FrontWindow();
  ASSERT_TRUE(isPlot(first)) << "File > New puts a plot window in front";
  doFile(1);
  WindowPtr second = FrontWindow();
  ASSERT_TRUE(isPlot(second) && second != first) << "a second File > New puts another plot window in front";

  const Rect firstExpected{64, 2, 758, 696}, secondExpected{104, 42, 763, 736};
  EXPECT_TRUE(EqualRect(&firstExpected, &first->content))
      << "first plot: expected " << describe(firstExpected) << ", found " << describe(first->content);
  EXPECT_TRUE(EqualRect(&secondExpected, &second->content))
      << "second plot: expected " << describe(secondExpected) << ", found " << describe(second->content);
}

TEST_F(MenuCommands, CloseDisposesAPlotAndOnlyHidesTheTextWindow) {
  WindowPtr plot = newPlot();
  doFile(2);
  EXPECT_FALSE(tb::isAlive(plot)) << "a plot window closed with File > Close is gone";
  EXPECT_EQ(0, plotWindowCount()) << "plot windows after closing the only one";

  printToText("kept");
  const short textLength = (*hTE)->teLength;
  ASSERT_EQ(output, FrontWindow()) << "the text window comes to the front";
  doFile(2);
  EXPECT_FALSE(IsWindowVisible(output)) << "the text window after File > Close";
  EXPECT_TRUE(tb::isAlive(output)) << "the text window is only hidden";

  doFile(2);  // no window in front: nothing happens
  doWindow(2);
  EXPECT_EQ(output, FrontWindow()) << "Window > Text Window brings the hidden text window back in front";
  EXPECT_EQ(textLength, (*hTE)->teLength) << "the text window keeps its text";
}

TEST_F(MenuCommands, NextPlotBringsAnotherPlotForward) {
  WindowPtr a = newPlot();
  doWindow(1);
  EXPECT_EQ(a, FrontWindow()) << "Window > Next Plot with a single plot window";
  WindowPtr b = newPlot();
  doWindow(1);
  EXPECT_EQ(a, FrontWindow()) << "Window > Next Plot from the second plot";
  doWindow(1);
  EXPECT_EQ(b, FrontWindow()) << "Window > Next Plot again";
}

TEST_F(MenuCommands, OrbitCommands) {
  WindowPtr plot = newPlot();
  Map* map = GetPlotData(plot)->map();
  map->setTime(10);
  const double end = map->xt;
  doParam(2);
  EXPECT_EQ(end, map->x0) << "Erase Transients starts the orbit at its former end";
  EXPECT_EQ(10, map->t) << "Erase Transients keeps the iteration count";

  plot->updateRgn = QRegion();
  doParam(4);
  EXPECT_EQ(0, map->t) << "iterations after Reset Orbit";
  EXPECT_EQ(map->x0, map->xt) << "the orbit point after Reset Orbit";
  EXPECT_FALSE(plot->updateRgn.isEmpty()) << "Reset Orbit requests a redraw";
}

TEST_F(MenuCommands, StandardViewRestoresTheBounds) {
  WindowPtr plot = newPlot();
  PlotData* data = GetPlotData(plot);
  std::array<double, 4> standard, found;
  data->getCoordinates(&standard[0], &standard[1], &standard[2], &standard[3]);
  data->setCoordinates(0.25, 0.5, 0.25, 0.5);
  doWindow(6);
  data->getCoordinates(&found[0], &found[1], &found[2], &found[3]);
  EXPECT_EQ(standard, found) << "bounds after Window > Standard View";
}

TEST_F(MenuCommands, EraseWindowClearsTheFrontTextWindow) {
  newPlot();
  printToText("a line to erase");
  show(output);
  doWindow(4);
  EXPECT_EQ(0, (*hTE)->teLength) << "characters in the text window after Window > Erase";
}

struct Snapshot {
  int plots;
  WindowPtr front;
  int mapNumber;
  int plotType;
  int t;
  bool textVisible;
  bool operator==(const Snapshot&) const = default;
};

TEST_F(MenuCommands, UnlistedMenusAndItemsDoNothing) {
  newPlot();
  auto snapshot = [] {
    PlotData* data = GetPlotData();
    return Snapshot{plotWindowCount(), FrontWindow(), data->mapNumber(), data->getPlotType(), data->map()->t,
                    bool(IsWindowVisible(output))};
  };
  const Snapshot before = snapshot();
  const std::vector<std::pair<const char*, long>> commands = {
      {"no choice", 0},
      {"menu 127", command(127, 1)},
      {"menu 135", command(135, 1)},
      {"Apple item 2", command(kAppleMenu, 2)},
      {"File item 3", command(kFileMenu, 3)},
      {"Edit item 4", command(kEditMenu, 4)},
      {"Parameters item 7", command(kParamMenu, 7)},
      {"Window item 3", command(kWindowMenu, 3)},
      {"Window item 15", command(kWindowMenu, 15)},
  };
  for (const auto& [name, cmd] : commands) {
    doCommand(cmd);
    EXPECT_TRUE(before == snapshot()) << name << " changed the windows or the front plot";
  }
}

TEST_F(MenuCommands, ZoomModesSetTheModeAndTheCursor) {
  newPlot();
  struct Case {
    int item;
    int mode;
    tb::CursorShape cursor;
  };
  for (const Case& c : {Case{8, 1, tb::CursorShape::ZoomIn}, Case{9, 2, tb::CursorShape::ZoomOut}}) {
    gScaleOn = 0;
    SetThemeCursor(kThemeArrowCursor);
    doCommand(command(kWindowMenu, c.item));
    EXPECT_EQ(c.mode, gScaleOn) << "Window item " << c.item << ": expected zoom mode " << c.mode << ", found "
                                << gScaleOn;
    EXPECT_TRUE(tb::frontend().cursor() == c.cursor) << "Window item " << c.item << ": the colour cursor shows";
  }
}

TEST_F(MenuCommands, BackgroundCommandsRedrawThePlotBehindTheTextWindow) {
  WindowPtr plot = newPlot();
  show(output);
  for (int item : {13, 14}) {
    plot->updateRgn = QRegion();
    doCommand(command(kWindowMenu, item));
    EXPECT_FALSE(plot->updateRgn.isEmpty())
        << "Window item " << item << ": expected a redraw of the plot whose background changed, found none";
  }
}

}  // namespace
