// The map families, their drawing algorithms and the plot object of a window.
#pragma once

#include <cstdint>

#include "toolbox/Carbon.h"

// A colour as OpenGL takes it: red, green, blue in 0..1.
typedef float col3f[3];

inline constexpr col3f glBLACK = {0, 0, 0};
inline constexpr col3f glRED = {1, 0, 0};
inline constexpr col3f glGREEN = {0, 1, 0};
inline constexpr col3f glYELLOW = {1, 1, 0};

// A point in map coordinates (x, or µ in the sweep plots, to the right; y up).
struct vect {
  double x;
  double y;
};

// Plot types (1-5) and show flags (7-9); the Plot menu's items carry these
// numbers.
enum plotEnum : uint8_t {
  cobWebPlot = 1,
  bifurcationPlot = 2,
  densityPlot = 3,
  lyapunovPlot = 4,
  exitTimePlot = 5,
  showAxes = 7,
  showSquare = 8,
  showCritical = 9,
};

// Pixel arithmetic works in double; these conversions saturate so that an
// escaping orbit (huge, infinite or not-a-number values) never reaches an
// undefined float-to-integer conversion. Not-a-number becomes INT32_MIN, as
// the x86 conversion instruction gives it: far to the left of or above the
// window, where nothing of such a vertex shows.
inline int32_t truncateToInt32(double v) {
  if (!(v > -2147483649.0)) return INT32_MIN;  // also not-a-number
  if (v >= 2147483648.0) return INT32_MAX;
  return static_cast<int32_t>(v);
}

inline short narrowToInt16(int32_t v) {
  if (v < INT16_MIN) return INT16_MIN;
  if (v > INT16_MAX) return INT16_MAX;
  return static_cast<short>(v);
}

// One map family: x -> f(x; mu) composed n times, its orbit state, default
// views, colour and title. Only the seven families below are instantiated.
class Map {
 public:
  double xLow;
  double xHigh;
  double x0;
  double xt;  // f applied t times to x0, once setTime/setInitial/setParameter ran
  SInt32 t;   // never negative
  col3f plotColor;
  char titleStr[60];
  double mu;
  double muLow;
  double muHigh;
  SInt32 n;  // at least 1, except while the Lyapunov sweep borrows it

  Map();
  virtual ~Map();
  virtual void setParameter();
  virtual double f(double y);
  virtual double df(double x);
  virtual double xCrit();

  void setTime(long time);
  void setTime();
  void setInitial(double x);
  double getInitial();
  void setParameter(double p1, int num);
  void setParameter(double delta);
  void setParameter(int num);
  void chooseColor();

  void cobweb(WindowPtr plot);
  void iterate(WindowPtr plot);
  void drawF(WindowPtr plot, double xmin, double dh, int num);
  void drawCriticalLine(WindowPtr plot);
  void eraseTransients();
  void bifurcation(WindowPtr plot, double mumn, double dh, int num);
  void lyapunov(WindowPtr plot, double mumn, double dh, int num);
  void density(WindowPtr plot, double xmin, double dh, int num);
  void exitTime(WindowPtr plot, double xmin, double dh, int num);
};

class logistic : public Map {
 public:
  logistic();
  double f(double y) override;
  double df(double x) override;
};

class cosine : public Map {
 public:
  cosine();
  double f(double y) override;
  double df(double x) override;
  double xCrit() override { return 0; }
};

class tangent : public Map {
 public:
  tangent();
  double f(double y) override;
  double df(double x) override;
  double xCrit() override { return 0; }
};

class cubic : public Map {
 public:
  cubic();
  double f(double y) override;
  double df(double x) override;
  double xCrit() override;
};

class exponential : public Map {
 public:
  exponential();
  double f(double y) override;
  double df(double x) override;
  double xCrit() override { return -1 / mu; }
};

class tent : public Map {
 public:
  tent();
  double f(double y) override;
  double df(double x) override;
};

class circle : public Map {
 public:
  circle();
  using Map::setParameter;
  void setParameter() override;
  double f(double y) override;
  double df(double x) override;
  // Sets the rotation and gives the map the title of an edited circle map.
  void setOmega(double p2);

 private:
  double omega;
  double tpi;
};

#define NO_OPENGL "You must have the OpenGL Library installed"
#define BADCOORDINATES "You must have xmin<xmax and ymin<ymax."

// View bounds a plot can use: xmn < xmx and ymn < ymx with finite extents.
bool boundsAreValid(double xmn, double xmx, double ymn, double ymx);

// The plot object of one plot window: its context, map, plot type, show
// flags, view bounds and the scales between map and window coordinates.
class PlotData {
 public:
  explicit PlotData(WindowPtr theW);
  ~PlotData();
  PlotData(const PlotData&) = delete;
  PlotData& operator=(const PlotData&) = delete;

  void setDrawable();
  AGLContext context() { return ctx; }
  WindowPtr window() { return plot; }
  Map* map() { return theMap; }
  int mapNumber() { return mapIndex; }
  plotEnum getPlotType() { return plotType; }
  // Only the three show flags have bits; any other item reads as off.
  Boolean getShow(plotEnum item) {
    if (item < showAxes || item > showCritical) return false;
    return (showSettings >> (item - 6)) & 1;
  }
  void toggleShow(plotEnum item);

  void setCoordinates();
  void setCoordinates(double xmn, double xmx, double ymn, double ymx);
  void getCoordinates(double* xmn, double* xmx, double* ymn, double* ymx) {
    *xmn = xmin;
    *xmx = xmax;
    *ymn = ymin;
    *ymx = ymax;
  }
  // Pixels per map unit, horizontally and vertically.
  double hScale() { return dh; }
  double vScale() { return dv; }
  void setStdScale();
  void chooseCoordinates();

  vect physicalCoordinates(Point aPt) { return vect{aPt.h / dh + xmin, ymax - aPt.v / dv}; }
  Point windowCoordinates(vect v) {
    Point p;
    p.h = narrowToInt16(truncateToInt32((v.x - xmin) * dh));
    p.v = narrowToInt16(truncateToInt32((ymax - v.y) * dv));
    return p;
  }
  // One vertex inside the caller's glBegin/glEnd, rounded to the nearest pixel.
  void drawPoint(double x, double y) {
    glVertex2i(truncateToInt32((x - xmin) * dh + 0.5), truncateToInt32((ymax - y) * dv + 0.5));
  }
  void drawLine(Point v, Point w);
  void drawLine(vect v, vect w);
  void drawRect(vect v, vect w);
  void plotAxes();
  void draw(Rect updateRect);
  void setTitle();
  void setMap(int which);
  void getInitialPoint(Point where);

 private:
  WindowPtr plot;
  AGLContext ctx;
  double xmin;
  double xmax;
  double ymin;
  double ymax;
  char xLabel;
  char yLabel;
  int xFont;
  int yFont;
  double dh;
  double dv;
  Map* theMap;
  int mapIndex;
  plotEnum plotType;
  int showSettings;
  // The display-list bases of this context's two fonts; each context has its
  // own lists, so setDrawable hands these to the shared gFont pair.
  GLuint fontBase[2];
};

Boolean isPlot(WindowPtr theW);
PlotData* GetPlotData(WindowPtr theW);
PlotData* GetPlotData();
WindowPtr FrontPlotWindow();
WindowPtr NextPlotWindow();
