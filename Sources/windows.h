// Plot window management and the small window utilities shared by the
// application: placement, creation, grow, zoom, erase, redraw requests.
#pragma once

#include "../toolbox/Carbon.h"

WindowPtr createPlot();
Rect GetIdealWindowRect(int code);
void disposePlot(WindowPtr theW);
void zoomTheWindow(WindowPtr whichWindow, Point where, short zoomcode);
void growTheWindow(WindowPtr whichWindow, Point where);
void eraseWindow(WindowPtr theW);
void show(WindowPtr theW);
void GetLocalWindowBounds(WindowPtr theW, Rect& aRect);
void requestUpdate(WindowPtr theW);
void upDatePlot(WindowPtr theW);
void display();
void ForceBufferFlush(WindowPtr theW);
void GlobalToLocalRect(WindowPtr theW, Rect& aRect);
void LocalToGlobalRect(WindowPtr theW, Rect& aRect);
void isglError();

// The placement rule of GetIdealWindowRect on given values, so that it can be
// checked without a live desktop: `screen` is the usable area, and
// `frontPlotGlobal` the front plot window's content in global coordinates
// (null when there is no plot window).
Rect idealWindowRect(int code, Rect screen, short menuBarHeight, const Rect* frontPlotGlobal);
