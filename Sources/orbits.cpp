// The drawing algorithms of the maps: cobweb walk and graph of f, parameter
// sweeps, density histogram and exit times. Every vertex goes through
// PlotData::drawPoint; the caller has made the plot's context current.
#include <vector>

#include "../maps.h"
#include "events.h"
#include "windows.h"

void Map::cobweb(WindowPtr plot) {
  PlotData* pd = GetPlotData(plot);
  SInt32 k = t;
  double x = x0;
  glColor3fv(plotColor);
  glBegin(GL_LINE_STRIP);
  pd->drawPoint(x, x);
  while (k > 0) {
    --k;
    double y = f(x);
    pd->drawPoint(x, y);
    pd->drawPoint(y, y);
    x = y;
    if (k % 100 == 0 && userCancel()) break;
  }
  glEnd();
}

void Map::drawF(WindowPtr plot, double xmin, double dh, int num) {
  PlotData* pd = GetPlotData(plot);
  glColor3fv(glRED);
  glBegin(GL_LINE_STRIP);
  for (int k = num - 1; k >= 0; --k) {
    double x = double(k) / dh + xmin;
    pd->drawPoint(x, f(x));
  }
  glEnd();
  if (pd->getShow(showCritical)) drawCriticalLine(plot);
}

void Map::drawCriticalLine(WindowPtr plot) {
  PlotData* pd = GetPlotData(plot);
  double xmn, xmx, ymn, ymx;
  pd->getCoordinates(&xmn, &xmx, &ymn, &ymx);
  glColor3fv(glYELLOW);
  pd->drawLine(vect{xCrit(), ymn}, vect{xCrit(), ymx});
}

void Map::iterate(WindowPtr plot) {
  PlotData* pd = GetPlotData(plot);
  // t cannot count further; the orbit state would no longer match it.
  if (t == INT32_MAX) return;
  double x = xt;
  double y = f(x);
  glColor3fv(plotColor);
  glBegin(GL_LINE_STRIP);
  pd->drawPoint(x, x);
  pd->drawPoint(x, y);
  pd->drawPoint(y, y);
  glEnd();
  display();
  xt = y;
  t = t + 1;
}

void Map::eraseTransients() {
  setInitial(xt);
  requestUpdate(FrontPlotWindow());
}

void Map::bifurcation(WindowPtr plot, double mumn, double dh, int num) {
  PlotData* pd = GetPlotData(plot);
  double muold = mu;
  double y = x0;
  double eps = (x0 >= 0) ? 1e-6 : -1e-6;  // not-a-number takes the negative nudge
  glColor3fv(plotColor);
  glBegin(GL_POINTS);
  for (int k = 0; k < num; ++k) {
    mu = double(k) / dh + mumn;
    SInt32 j = t / 10;
    y = y + eps;
    for (SInt32 i = 0; i < j; ++i) y = f(y);
    for (SInt32 i = 0; i < t; ++i) {
      pd->drawPoint(mu, y);
      y = f(y);
    }
    if (userCancel()) break;
  }
  glEnd();
  if (pd->getShow(showCritical)) {
    glBegin(GL_LINE_STRIP);
    glColor3fv(glYELLOW);
    for (int k = 0; k < num; ++k) {
      mu = double(k) / dh + mumn;
      pd->drawPoint(mu, xCrit());
    }
    glEnd();
  }
  mu = muold;
}

void Map::lyapunov(WindowPtr plot, double mumn, double dh, int num) {
  PlotData* pd = GetPlotData(plot);
  double muold = mu;
  SInt32 nold = n;
  double y = x0;
  glColor3fv(plotColor);
  glBegin(GL_LINE_STRIP);
  // df averages over n steps: borrow n to average over t single steps.
  // With t = 0 there is no average; df gives not-a-number, which drawPoint
  // puts far above the window, so such a sweep shows no curve.
  n = t;
  for (int k = num - 1; k >= 0; --k) {
    mu = double(k) / dh + mumn;
    pd->drawPoint(mu, df(y));
    if (userCancel()) break;
  }
  glEnd();
  mu = muold;
  n = nold;
}

void Map::density(WindowPtr plot, double xmin, double dh, int num) {
  PlotData* pd = GetPlotData(plot);
  if (num < 0) num = 0;
  {
    SInt32 j = t;
    double x = x0;
    std::vector<SInt32> den(static_cast<size_t>(num), 0);  // released at the end of this block
    glColor3fv(plotColor);
    glBegin(GL_LINES);
    while (j > 0) {
      --j;
      // Not-a-number and out-of-range indices saturate outside [0, num).
      int32_t i = truncateToInt32((x - xmin) * dh);
      if (i >= 0 && i < num) {
        den[i] = den[i] + 1;
        pd->drawPoint(x, 0);
        pd->drawPoint(x, den[i]);
      }
      x = f(x);
      if (userCancel()) break;
    }
    glEnd();
  }
  if (pd->getShow(showCritical)) drawCriticalLine(plot);
}

void Map::exitTime(WindowPtr plot, double xmin, double dh, int num) {
  PlotData* pd = GetPlotData(plot);
  glColor3fv(plotColor);
  glBegin(GL_LINES);
  for (int i = 0; i < num; ++i) {
    double x = double(i) / dh + xmin;
    double xi = x;
    SInt32 j = 0;
    while (j < t) {
      x = f(x);
      if (x < xLow || x > xHigh) break;
      j = j + 1;
    }
    pd->drawPoint(xi, 0);
    pd->drawPoint(xi, j);
    if (userCancel()) break;
  }
  glEnd();
  if (pd->getShow(showCritical)) drawCriticalLine(plot);
}
