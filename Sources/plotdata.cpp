// The plot object of a window: construction with its OpenGL context, view
// bounds and scales, drawing primitives, axes, redraw, titles, and the
// registry that finds plot windows in the window list.
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "../common/setValues.h"
#include "../common/utilities.h"
#include "../maps.h"
#include "aglFonts.h"
#include "text.h"
#include "windows.h"

PlotData::PlotData(WindowPtr theW)
    : plot(theW),
      ctx(nullptr),
      xmin(0),
      xmax(1),
      ymin(0),
      ymax(1),
      xLabel('x'),
      yLabel('y'),
      xFont(0),
      yFont(0),
      dh(1),
      dv(1),
      theMap(nullptr),
      mapIndex(1),
      plotType(cobWebPlot),
      showSettings(0),
      fontBase{0, 0} {
  const GLint attrib[] = {AGL_RGBA, AGL_NONE, AGL_NONE};
  AGLPixelFormat fmt = aglChoosePixelFormat(nullptr, 0, attrib);
  if (!fmt) {
    Advise(CFSTR(NO_OPENGL));
    ExitToShell();
  }
  ctx = aglCreateContext(fmt, nullptr);
  if (!ctx) {
    Advise(CFSTR(NO_OPENGL));
    ExitToShell();
  }
  aglDestroyPixelFormat(fmt);
  aglSetDrawable(ctx, GetWindowPort(plot));
  aglSetCurrentContext(ctx);
  SetWRefCon(plot, reinterpret_cast<SRefCon>(this));
  createFonts();
  fontBase[0] = gFont[0];
  fontBase[1] = gFont[1];
  theMap = nullptr;
  showSettings = 0;
  toggleShow(showAxes);
  plotType = cobWebPlot;
  setMap(1);
}

PlotData::~PlotData() {
  setDrawable();
  deleteFonts();
  aglDestroyContext(ctx);
  delete theMap;
  SetWRefCon(plot, 0);
  DisposeWindow(plot);
}

void PlotData::setDrawable() {
  aglSetCurrentContext(ctx);
  SetPortWindowPort(plot);
  gFont[0] = fontBase[0];
  gFont[1] = fontBase[1];
}

void PlotData::setCoordinates() {
  printToText("Window Bounds: (%g,%g,%g,%g)", xmin, xmax, ymin, ymax);
  setDrawable();
  Rect bounds;
  GetLocalWindowBounds(plot, bounds);
  glViewport(0, 0, bounds.right, bounds.bottom);
  // No matrix mode is selected: the pixel projection lives in the default
  // matrix, and integer window coordinates go to glVertex2i unchanged.
  glLoadIdentity();
  gluOrtho2D(0, bounds.right, bounds.bottom, 0);
  dh = double(bounds.right - bounds.left) / (xmax - xmin);
  dv = double(bounds.bottom - bounds.top) / (ymax - ymin);
  isglError();
  aglUpdateContext(ctx);
  setTitle();
  requestUpdate(plot);
}

void PlotData::setCoordinates(double xmn, double xmx, double ymn, double ymx) {
  xmin = xmn;
  xmax = xmx;
  ymin = ymn;
  ymax = ymx;
  setCoordinates();
}

void PlotData::setStdScale() {
  switch (plotType) {
    case cobWebPlot:
      setCoordinates(theMap->xLow, theMap->xHigh, theMap->xLow, theMap->xHigh);
      break;
    case bifurcationPlot:
      setCoordinates(theMap->muLow, theMap->muHigh, theMap->xLow, theMap->xHigh);
      break;
    case densityPlot:
      setCoordinates(theMap->xLow, theMap->xHigh, 0, 100);
      break;
    case lyapunovPlot:
      setCoordinates(theMap->muLow, theMap->muHigh, -5, 1);
      break;
    case exitTimePlot:
      setCoordinates(theMap->xLow, theMap->xHigh, 0, 100);
      break;
    default:
      break;
  }
}

void PlotData::toggleShow(plotEnum item) {
  if (item >= cobWebPlot && item <= exitTimePlot) {
    plotType = item;
    setStdScale();
    setTitle();
  } else if (item >= showAxes && item <= showCritical) {
    showSettings ^= 1 << (item - 6);
  } else {
    return;  // neither a plot type nor a show flag
  }
  requestUpdate(plot);
}

bool boundsAreValid(double xmn, double xmx, double ymn, double ymx) {
  // Written so that not-a-number fails; infinite extents would give zero scales.
  return xmn < xmx && ymn < ymx && std::isfinite(xmx - xmn) && std::isfinite(ymx - ymn);
}

void PlotData::chooseCoordinates() {
  double xmn = xmin, xmx = xmax, ymn = ymin, ymx = ymax;
  Str255 desc;
  CopyCStringToPascal("Choose Window Bounds", desc);
  short result = GetParams(desc, "xmn=%lf xmx=%lf ymn=%lf ymx=%lf", &xmn, &xmx, &ymn, &ymx);
  if (!boundsAreValid(xmn, xmx, ymn, ymx))
    Advise(CFSTR(BADCOORDINATES));
  else if (result == 1)
    setCoordinates(xmn, xmx, ymn, ymx);
}

void PlotData::drawLine(Point v, Point w) {
  glBegin(GL_LINES);
  glVertex2i(v.h, v.v);
  glVertex2i(w.h, w.v);
  glEnd();
}

void PlotData::drawLine(vect v, vect w) { drawLine(windowCoordinates(v), windowCoordinates(w)); }

void PlotData::drawRect(vect v, vect w) {
  drawLine(v, vect{w.x, v.y});
  drawLine(vect{w.x, v.y}, w);
  drawLine(w, vect{v.x, w.y});
  drawLine(vect{v.x, w.y}, v);
}

void PlotData::plotAxes() {
  setDrawable();
  // Inverting makes the axes show on any background, and drawing them twice
  // restores the picture.
  glLogicOp(GL_INVERT);
  glEnable(GL_COLOR_LOGIC_OP);
  double xmn, xmx, ymn, ymx;
  getCoordinates(&xmn, &xmx, &ymn, &ymx);
  double xo = (xmn < 0 && xmx > 0) ? 0 : xmn + 0.5 * (xmx - xmn);
  double yo = (ymn < 0 && ymx > 0) ? 0 : ymn + 0.5 * (ymx - ymn);
  drawLine(vect{xo, ymn}, vect{xo, ymx});
  drawLine(vect{xmn, yo}, vect{xmx, yo});
  Point p1 = windowCoordinates(vect{xmx, yo});
  Point p2 = windowCoordinates(vect{xo, ymx});
  glRasterPos2d(p1.h - 10, p1.v + 10);
  drawCharacter(xLabel, xFont);
  glRasterPos2d(p2.h - 10, p2.v + 10);
  drawCharacter(yLabel, yFont);
  glDisable(GL_COLOR_LOGIC_OP);
}

void PlotData::draw(Rect updateRect) {
  setDrawable();
  glClear(GL_COLOR_BUFFER_BIT);
  int num = updateRect.right - updateRect.left;
  double xstart = updateRect.left / dh + xmin;
  switch (plotType) {
    case cobWebPlot: {
      theMap->cobweb(plot);
      theMap->drawF(plot, xstart, dh, num);
      glColor3fv(glBLACK);
      double m = std::max(xmin, ymin);
      double M = std::min(xmax, ymax);
      drawLine(vect{m, m}, vect{M, M});
      break;
    }
    case bifurcationPlot:
      theMap->bifurcation(plot, xstart, dh, num);
      break;
    case densityPlot:
      theMap->density(plot, xstart, dh, num);
      break;
    case lyapunovPlot:
      theMap->lyapunov(plot, xstart, dh, num);
      break;
    case exitTimePlot:
      theMap->exitTime(plot, xstart, dh, num);
      break;
    default:
      break;
  }
  if (getShow(showAxes)) plotAxes();
  if (getShow(showSquare)) {
    glColor3fv(glGREEN);
    drawRect(vect{0, 0}, vect{1, 1});
  }
  display();
}

void PlotData::setTitle() {
  // snprintf cuts a title longer than 255 bytes (huge bounds print every
  // integer digit) to what the length-prefixed title can hold.
  char buffer[256];
  const Map& m = *theMap;
  xFont = yFont = 0;
  switch (plotType) {
    case cobWebPlot:
      std::snprintf(buffer, sizeof buffer, "%.59s \xB5 = %lf n = %d", m.titleStr, m.mu, int(m.n));
      xLabel = 'x';
      yLabel = 'y';
      break;
    case bifurcationPlot:
      std::snprintf(buffer, sizeof buffer, "%.59s n= %d Bifurcation, \xB5= (%lf,%lf)", m.titleStr, int(m.n), xmin,
                    xmax);
      xLabel = 'm';
      xFont = 1;
      yLabel = 'x';
      break;
    case densityPlot:
      std::snprintf(buffer, sizeof buffer, "%.59s \xB5 = %lf n = %d Density, x= (%lf,%lf)", m.titleStr, m.mu,
                    int(m.n), xmin, xmax);
      xLabel = 'x';
      yLabel = 'r';
      yFont = 1;
      break;
    case lyapunovPlot:
      std::snprintf(buffer, sizeof buffer, "%.59s \xB5 = %lf n = %d Lyapunov Exp., x= (%lf,%lf)", m.titleStr, m.mu,
                    int(m.n), xmin, xmax);
      xLabel = 'm';
      xFont = 1;
      yLabel = 'l';
      yFont = 1;
      break;
    case exitTimePlot:
      std::snprintf(buffer, sizeof buffer, "%.59s \xB5 = %lf n = %d ExitTime, x= (%lf,%lf)", m.titleStr, m.mu,
                    int(m.n), xmin, xmax);
      xLabel = 'x';
      yLabel = 't';
      break;
    default:
      return;
  }
  Str255 title;
  CopyCStringToPascal(buffer, title);
  SetWTitle(plot, title);
}

void PlotData::setMap(int which) {
  delete theMap;
  theMap = nullptr;
  mapIndex = which;
  switch (which) {
    case 2:
      theMap = new cosine;
      break;
    case 3:
      theMap = new cubic;
      break;
    case 4:
      theMap = new exponential;
      break;
    case 5:
      theMap = new tangent;
      break;
    case 6:
      theMap = new tent;
      break;
    case 7:
      theMap = new circle;
      break;
    default:
      theMap = new logistic;
      break;
  }
  setStdScale();
  setTitle();
}

void PlotData::getInitialPoint(Point where) {
  SetPortWindowPort(plot);
  GlobalToLocal(&where);
  vect v = physicalCoordinates(where);
  printToText("(%c,%c) = %.13lg,%.13lg", xLabel, yLabel, v.x, v.y);
  if (plotType == cobWebPlot) {
    theMap->setInitial(v.x);
    requestUpdate(plot);
  }
}

// ---- the registry ----

Boolean isPlot(WindowPtr theW) { return theW != nullptr && GetWRefCon(theW) != 0; }

PlotData* GetPlotData(WindowPtr theW) {
  if (!theW) return nullptr;
  return reinterpret_cast<PlotData*>(GetWRefCon(theW));
}

PlotData* GetPlotData() { return GetPlotData(FrontPlotWindow()); }

WindowPtr FrontPlotWindow() {
  for (WindowPtr w = FrontWindow(); w; w = GetNextWindow(w))
    if (GetWRefCon(w) != 0) return w;
  return nullptr;
}

WindowPtr NextPlotWindow() {
  WindowPtr front = FrontPlotWindow();
  if (!front) return nullptr;
  for (WindowPtr w = GetNextWindow(front); w; w = GetNextWindow(w)) {
    if (GetWRefCon(w) != 0) {
      SendBehind(front, nullptr);
      return w;
    }
  }
  return nullptr;
}
