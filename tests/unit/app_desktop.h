// A fixture with the application's menu bar, its text window and plot
// windows made by createPlot; every plot window is closed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "Sources/events.h"
#include "Sources/menu.h"
#include "Sources/text.h"
#include "Sources/windows.h"
#include "maps.h"
#include "toolbox/internal/WindowRecord.h"

class AppDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetMenuHandle(kMapMenu) == nullptr) SetupMenus();
    if (output == nullptr) createOutput();
    closeAllPlots();
    show(output);
    FlushEvents(everyEvent, 0);
    gScaleOn = 0;
    gDelta = 0.1;
  }
  void TearDown() override {
    closeAllPlots();
    gScaleOn = 0;
    gDelta = 0.1;
    FlushEvents(everyEvent, 0);
  }

  // A new plot window, shown in front, as File > New makes it.
  static WindowPtr newPlot() {
    WindowPtr w = createPlot();
    show(w);
    return w;
  }
  static long command(int menu, int item) { return (long(menu) << 16) | item; }
  static int plotWindowCount() {
    int count = 0;
    for (WindowRecord* w : tb::windowManager().windows) count += isPlot(w) ? 1 : 0;
    return count;
  }
  static Point centreOf(const Rect& r) {
    return Point{short((r.top + r.bottom) / 2), short((r.left + r.right) / 2)};
  }

 private:
  static void closeAllPlots() {
    std::vector<WindowRecord*> plots;
    for (WindowRecord* w : tb::windowManager().windows) {
      if (isPlot(w)) plots.push_back(w);
    }
    for (WindowRecord* w : plots) {
      HideWindow(w);
      disposePlot(w);
    }
  }
};
