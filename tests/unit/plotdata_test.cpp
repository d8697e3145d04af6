// The plot object: a new plot's state, bounds and scales, the transforms,
// show flags, titles, map replacement, clicks, redraw and the registry.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "plot_fixture.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Bounds {
  double xmn, xmx, ymn, ymx;
};

Bounds boundsOf(PlotData* data) {
  Bounds b;
  data->getCoordinates(&b.xmn, &b.xmx, &b.ymn, &b.ymx);
  return b;
}

void expectBounds(PlotData* data, const Bounds& expected, const std::string& what) {
  Bounds b = boundsOf(data);
  EXPECT_EQ(b.xmn, expected.xmn) << what << ": xmin";
  EXPECT_EQ(b.xmx, expected.xmx) << what << ": xmax";
  EXPECT_EQ(b.ymn, expected.ymn) << what << ": ymin";
  EXPECT_EQ(b.ymx, expected.ymx) << what << ": ymax";
}

const char kLogisticTitle[] = "Logistic Map f=\xB5*x*(1-x),";

using PlotDataTest = PlotWindowTest;

TEST_F(PlotDataTest, NewPlotIsALogisticCobwebWithAxes) {
  EXPECT_EQ(data->mapNumber(), 1) << "family number";
  EXPECT_STREQ(map()->titleStr, kLogisticTitle) << "the map is logistic";
  EXPECT_EQ(data->getPlotType(), cobWebPlot) << "plot type";
  EXPECT_TRUE(data->getShow(showAxes)) << "axes start on";
  EXPECT_FALSE(data->getShow(showSquare)) << "unit square starts off";
  EXPECT_FALSE(data->getShow(showCritical)) << "critical point starts off";
  expectBounds(data, {-0.05, 1.05, -0.05, 1.05}, "standard cobweb bounds");
  EXPECT_EQ(windowTitle(window), std::string(kLogisticTitle) + " \xB5 = 3.569946 n = 1") << "window title";
  EXPECT_NE(textWindowContents().find("Window Bounds: (-0.05,1.05,-0.05,1.05)"), std::string::npos)
      << "the bounds line in the text window";
  EXPECT_EQ(GetPlotData(window), data) << "the window's reference constant names its plot";
  EXPECT_TRUE(isPlot(window)) << "a plot window";
}

// ---- transforms ----

class TransformTest : public PlotWindowTest {
 protected:
  void SetUp() override {
    PlotWindowTest::SetUp();
    if (HasFatalFailure()) return;
    data->setCoordinates(0, 4, -1, 2);  // 100 pixels per unit on both axes
  }
};

TEST_F(TransformTest, WindowToMapCoordinates) {
  const struct {
    Point where;
    vect expected;
  } cases[] = {
      {{0, 0}, {0, 2}},          // top-left corner is (xmin, ymax)
      {{150, 250}, {2.5, 0.5}},  // Point is (v, h)
      {{300, 400}, {4, -1}},     // bottom-right corner
      {{-10, -20}, {-0.2, 2.1}},
  };
  for (const auto& c : cases) {
    vect v = data->physicalCoordinates(c.where);
    EXPECT_NEAR(v.x, c.expected.x, 1e-12) << "x of window point (v " << c.where.v << ", h " << c.where.h << ")";
    EXPECT_NEAR(v.y, c.expected.y, 1e-12) << "y of window point (v " << c.where.v << ", h " << c.where.h << ")";
  }
}

TEST_F(TransformTest, MapToWindowCoordinatesTruncatesAndSaturates) {
  const struct {
    const char* what;
    vect point;
    short h, v;
  } cases[] = {
      {"(xmin, ymax) is the origin", {0, 2}, 0, 0},
      {"exact pixel", {2.5, 0.5}, 250, 150},
      {"fractions truncate", {1.239, 1.761}, 123, 23},
      {"0.7 pixel left of xmin truncates toward zero", {-0.007, 2}, 0, 0},
      {"0.7 pixel right of xmin", {0.007, 2}, 0, 0},
      {"left of the window", {-0.5, 2}, -50, 0},
      {"beyond 16 bits saturates", {400, -400}, 32767, 32767},
      {"beyond 32 bits saturates", {1e300, 1e300}, 32767, -32768},
      {"infinities saturate", {-kInf, -kInf}, -32768, 32767},
      {"not-a-number goes far outside", {kNaN, kNaN}, -32768, -32768},
  };
  for (const auto& c : cases) {
    Point p = data->windowCoordinates(c.point);
    EXPECT_EQ(p.h, c.h) << c.what << ": h";
    EXPECT_EQ(p.v, c.v) << c.what << ": v";
  }
}

TEST(PixelConversion, TruncationSaturatesAtTheInt32Limits) {
  const struct {
    double value;
    int32_t expected;
  } cases[] = {
      {2.9, 2},
      {-2.9, -2},
      {-0.2, 0},
      {2147483647.9, INT32_MAX},
      {2147483648.0, INT32_MAX},
      {-2147483648.9, INT32_MIN},
      {-2147483649.0, INT32_MIN},
      {1e300, INT32_MAX},
      {-1e300, INT32_MIN},
      {kInf, INT32_MAX},
      {-kInf, INT32_MIN},
      {kNaN, INT32_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(truncateToInt32(c.value), c.expected) << "truncateToInt32(" << c.value << ")";
  EXPECT_EQ(narrowToInt16(40000), 32767) << "narrowing above 16 bits";
  EXPECT_EQ(narrowToInt16(-40000), -32768) << "narrowing below 16 bits";
  EXPECT_EQ(narrowToInt16(-123), -123) << "narrowing inside 16 bits";
}

TEST_F(TransformTest, DrawPointRoundsToTheNearestPixel) {
  Capture c = capture([&] {
    glBegin(GL_POINTS);
    data->drawPoint(-0.007, 1);     // -0.7 + 0.5 truncates to 0
    data->drawPoint(0.007, 1);      // 0.7 + 0.5 gives 1
    data->drawPoint(2.5, 0.5);      // exact pixels
    data->drawPoint(1.239, 1.761);  // 124.4, 24.4
    data->drawPoint(kNaN, 1);       // far outside: clipped away
    data->drawPoint(1, -kInf);
    data->drawPoint(1e300, 1);
    glEnd();
  });
  EXPECT_EQ(c.points, (std::vector<Pixel>{{0, 100}, {1, 100}, {250, 150}, {124, 24}}))
      << "rounded vertices; non-finite and huge ones land outside the window";
}

TEST(Bounds, OnlyOrderedFiniteBoundsAreAccepted) {
  const struct {
    Bounds b;
    bool valid;
  } cases[] = {
      {{0, 1, 0, 1}, true},     {{-1e10, 1e10, -5, 1}, true}, {{1, 1, 0, 1}, false},
      {{2, 1, 0, 1}, false},    {{0, 1, 3, 3}, false},        {{kNaN, 1, 0, 1}, false},
      {{0, 1, 0, kNaN}, false}, {{-kInf, 1, 0, 1}, false},    {{-1e308, 1e308, 0, 1}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(boundsAreValid(c.b.xmn, c.b.xmx, c.b.ymn, c.b.ymx), c.valid)
        << "bounds (" << c.b.xmn << ", " << c.b.xmx << ", " << c.b.ymn << ", " << c.b.ymx << ")";
}

// ---- standard scales, show flags, map replacement ----

struct FamilyIntervals {
  int number;
  double xLow, xHigh, muLow, muHigh;
};

const FamilyIntervals kFamilyIntervals[] = {
    {1, -0.05, 1.05, 0, 4},  {2, -3.2, 3.2, 0, 3.14159},  {3, -2, 2, 0, 3.5}, {4, -1, 3, -4, 0},
    {5, -3.2, 3.2, 0, 3.14159}, {6, -0.05, 1.05, 1, 2}, {7, 0, 1, 0, 2},
};

TEST_F(PlotDataTest, StandardScalePerPlotTypeAndFamily) {
  for (const FamilyIntervals& f : kFamilyIntervals) {
    data->setMap(f.number);
    const struct {
      plotEnum type;
      Bounds expected;
    } types[] = {
        {cobWebPlot, {f.xLow, f.xHigh, f.xLow, f.xHigh}},    {bifurcationPlot, {f.muLow, f.muHigh, f.xLow, f.xHigh}},
        {densityPlot, {f.xLow, f.xHigh, 0, 100}},            {lyapunovPlot, {f.muLow, f.muHigh, -5, 1}},
        {exitTimePlot, {f.xLow, f.xHigh, 0, 100}},
    };
    for (const auto& t : types) {
      data->toggleShow(t.type);
      EXPECT_EQ(data->getPlotType(), t.type) << "plot type selected";
      expectBounds(data, t.expected, "family " + std::to_string(f.number) + ", plot type " + std::to_string(t.type));
    }
  }
}

TEST_F(PlotDataTest, SelectingThePlotTypeAgainResetsTheBounds) {
  data->setCoordinates(0.2, 0.3, 0.4, 0.5);
  data->toggleShow(cobWebPlot);
  expectBounds(data, {-0.05, 1.05, -0.05, 1.05}, "cobweb selected again");
}

TEST_F(PlotDataTest, ShowFlagsFlipIndependently) {
  data->toggleShow(showSquare);
  EXPECT_TRUE(data->getShow(showSquare)) << "square after one toggle";
  EXPECT_TRUE(data->getShow(showAxes)) << "axes untouched by the square";
  EXPECT_FALSE(data->getShow(showCritical)) << "critical untouched by the square";
  data->toggleShow(showSquare);
  EXPECT_FALSE(data->getShow(showSquare)) << "square after two toggles";
  data->toggleShow(showAxes);
  EXPECT_FALSE(data->getShow(showAxes)) << "axes switched off";
  data->toggleShow(showCritical);
  EXPECT_TRUE(data->getShow(showCritical)) << "critical switched on";
  EXPECT_FALSE(data->getShow(cobWebPlot)) << "a plot type is not a show flag";
}

TEST_F(PlotDataTest, ItemsThatAreNeitherTypeNorFlagChangeNothing) {
  data->setCoordinates(0.2, 0.3, 0.4, 0.5);
  for (int item : {0, 6, 10, 200}) {
    data->toggleShow(plotEnum(item));
    EXPECT_EQ(data->getPlotType(), cobWebPlot) << "plot type after item " << item;
    EXPECT_TRUE(data->getShow(showAxes)) << "axes after item " << item;
    EXPECT_FALSE(data->getShow(showSquare)) << "square after item " << item;
    EXPECT_FALSE(data->getShow(showCritical)) << "critical after item " << item;
    expectBounds(data, {0.2, 0.3, 0.4, 0.5}, "bounds after item " + std::to_string(item));
  }
}

TEST_F(PlotDataTest, SetMapBringsFreshFamilyDefaultsAndKeepsThePlotType) {
  data->toggleShow(densityPlot);
  data->toggleShow(showSquare);
  map()->mu = 1.23;
  data->setMap(6);
  EXPECT_EQ(data->mapNumber(), 6) << "family number";
  EXPECT_EQ(map()->mu, 1.8) << "tent default mu";
  EXPECT_EQ(data->getPlotType(), densityPlot) << "plot type kept";
  EXPECT_TRUE(data->getShow(showSquare)) << "show flags kept";
  expectBounds(data, {-0.05, 1.05, 0, 100}, "tent density bounds");

  for (int which : {0, 8, -3}) {
    data->setMap(which);
    EXPECT_EQ(data->mapNumber(), which) << "family number stored as given";
    EXPECT_STREQ(map()->titleStr, kLogisticTitle) << "family " << which << " is logistic";
  }
}

// ---- titles ----

TEST_F(PlotDataTest, TitlePerPlotType) {
  const std::string head = kLogisticTitle;
  const struct {
    plotEnum type;
    std::string title;
  } cases[] = {
      {cobWebPlot, head + " \xB5 = 3.569946 n = 1"},
      {bifurcationPlot, head + " n= 1 Bifurcation, \xB5= (0.000000,4.000000)"},
      {densityPlot, head + " \xB5 = 3.569946 n = 1 Density, x= (-0.050000,1.050000)"},
      {lyapunovPlot, head + " \xB5 = 3.569946 n = 1 Lyapunov Exp., x= (0.000000,4.000000)"},
      {exitTimePlot, head + " \xB5 = 3.569946 n = 1 ExitTime, x= (-0.050000,1.050000)"},
  };
  for (const auto& c : cases) {
    data->toggleShow(c.type);
    EXPECT_EQ(windowTitle(window), c.title) << "title of plot type " << int(c.type);
  }
}

TEST_F(PlotDataTest, OverlongTitleIsCutTo255Bytes) {
  data->toggleShow(densityPlot);
  data->setCoordinates(-1e200, 1e200, 0, 100);
  const std::string title = windowTitle(window);
  EXPECT_EQ(title.size(), 255u) << "a title with 200-digit bounds";
  const std::string head = std::string(kLogisticTitle) + " \xB5 = 3.569946 n = 1 Density, x= (-";
  EXPECT_EQ(title.rfind(head, 0), 0u) << "the cut title keeps its beginning";
}

TEST_F(PlotDataTest, ParameterChangesRetitleTheFrontPlot) {
  map()->setParameter(3.2, 2);
  EXPECT_EQ(windowTitle(window), std::string(kLogisticTitle) + " \xB5 = 3.200000 n = 2") << "after setParameter(3.2, 2)";

  map()->setParameter(-1);
  EXPECT_EQ(map()->n, 1) << "n after -1 from 2";
  map()->mu = 3.0;  // set behind the title's back
  map()->setParameter(-1);
  EXPECT_EQ(windowTitle(window), std::string(kLogisticTitle) + " \xB5 = 3.200000 n = 1")
      << "-1 at n = 1 does not retitle";
  map()->setParameter(-2);
  EXPECT_EQ(windowTitle(window), std::string(kLogisticTitle) + " \xB5 = 3.000000 n = 1") << "-2 at n = 1 retitles";
}

TEST_F(PlotDataTest, CircleTitleShowsOmega) {
  data->setMap(7);
  EXPECT_EQ(windowTitle(window),
            "Circle Map, \xBD = 0.618034, f = \xBD+x+\xB5sin(2\xB9x)/2\xB9 \xB5 = 0.700000 n = 1")
      << "circle cobweb title";
}

// ---- clicks ----

class ClickTest : public PlotWindowTest {
 protected:
  void SetUp() override {
    PlotWindowTest::SetUp();
    if (HasFatalFailure()) return;
    data->setCoordinates(0, 4, -1, 2);
  }
  Point globalOf(Point local) {
    SetPortWindowPort(window);
    LocalToGlobal(&local);
    return local;
  }
};

TEST_F(ClickTest, ClickInACobwebSetsTheInitialCondition) {
  data->getInitialPoint(globalOf(Point{150, 30}));  // map point (0.3, 0.5)
  EXPECT_EQ(map()->x0, 0.3) << "x of the click becomes x0";
  logistic reference;
  reference.setInitial(0.3);
  EXPECT_EQ(map()->xt, reference.xt) << "xt recomputed from the new x0";
  EXPECT_NE(textWindowContents().find("(x,y) = 0.3,0.5"), std::string::npos) << "the clicked point is logged";
}

TEST_F(ClickTest, ClickInADensityPlotOnlyLogs) {
  data->toggleShow(densityPlot);
  data->setCoordinates(0, 4, -1, 2);
  data->getInitialPoint(globalOf(Point{150, 30}));
  EXPECT_EQ(map()->x0, 0.5) << "x0 unchanged";
  EXPECT_NE(textWindowContents().find("(x,r) = 0.3,0.5"), std::string::npos) << "logged with the density labels";
}

// ---- redraw ----

std::vector<unsigned char> readPixels() {
  std::vector<unsigned char> pixels(size_t(PlotWindowTest::kWidth) * PlotWindowTest::kHeight * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, PlotWindowTest::kWidth, PlotWindowTest::kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

TEST_F(PlotDataTest, DrawingTheAxesTwiceRestoresThePicture) {
  Rect all{0, 0, short(kHeight), short(kWidth)};
  data->draw(all);
  const std::vector<unsigned char> before = readPixels();
  data->plotAxes();
  EXPECT_NE(readPixels(), before) << "the axes invert the pixels beneath";
  data->plotAxes();
  EXPECT_EQ(readPixels(), before) << "a second pass inverts them back";
}

TEST_F(PlotDataTest, AxesCrossAtZeroOrInTheMiddle) {
  // x starts exactly at 0: the vertical axis goes to the middle; y spans 0.
  data->setCoordinates(0, 4, -1, 2);  // 100 pixels per unit
  Capture c = capture([&] { data->plotAxes(); });
  ASSERT_EQ(c.segments.size(), 2u) << "two axes";
  EXPECT_EQ(c.segments[0].from, (Pixel{200, 300})) << "vertical axis at x = 2, from ymin";
  EXPECT_EQ(c.segments[0].to, (Pixel{200, 0})) << "vertical axis to ymax";
  EXPECT_EQ(c.segments[1].from, (Pixel{0, 200})) << "horizontal axis at y = 0, from xmin";
  EXPECT_EQ(c.segments[1].to, (Pixel{400, 200})) << "horizontal axis to xmax";
  EXPECT_EQ(c.bitmaps, 2) << "one label letter per axis";
}

TEST_F(PlotDataTest, DrawEndsWithDiagonalAndUnitSquare) {
  map()->t = 0;
  data->toggleShow(showAxes);    // off: no inverted lines
  data->toggleShow(showSquare);  // on
  const struct {
    Bounds bounds;
    Pixel origin;  // map (0, 0)
    Pixel one;     // map (1, 1)
  } cases[] = {
      {{0, 2, -1, 1}, {0, 150}, {200, 0}},     // from (xmin, xmin) to (ymax, ymax)
      {{-0.5, 2, 0, 1}, {80, 300}, {240, 0}},  // from (ymin, ymin) to (ymax, ymax)
  };
  for (const auto& k : cases) {
    data->setCoordinates(k.bounds.xmn, k.bounds.xmx, k.bounds.ymn, k.bounds.ymx);
    Rect all{0, 0, short(kHeight), short(kWidth)};
    Capture c = capture([&] { data->draw(all); });
    ASSERT_GE(c.segments.size(), 5u) << "graph, diagonal and square";
    const size_t n = c.segments.size();
    const Segment& diagonal = c.segments[n - 5];
    EXPECT_EQ(diagonal.from, k.origin) << "diagonal from (max(xmin,ymin), same), xmin " << k.bounds.xmn;
    EXPECT_EQ(diagonal.to, k.one) << "diagonal to (min(xmax,ymax), same), xmin " << k.bounds.xmn;
    EXPECT_TRUE(sameColor(diagonal.color, glBLACK)) << "diagonal colour";
    const Pixel corners[] = {k.origin, {k.one.h, k.origin.v}, k.one, {k.origin.h, k.one.v}, k.origin};
    for (size_t e = 0; e < 4; ++e) {
      const Segment& edge = c.segments[n - 4 + e];
      EXPECT_EQ(edge.from, corners[e]) << "square edge " << e << " start, xmin " << k.bounds.xmn;
      EXPECT_EQ(edge.to, corners[e + 1]) << "square edge " << e << " end, xmin " << k.bounds.xmn;
      EXPECT_TRUE(sameColor(edge.color, glGREEN)) << "square edge " << e << " colour";
    }
    EXPECT_EQ(c.bitmaps, 0) << "no labels without axes";
  }
}

// ---- registry ----

TEST_F(PlotDataTest, RegistryFindsPlotWindowsBehindOtherWindows) {
  WindowPtr second = createPlot();
  ASSERT_NE(second, nullptr) << "second plot";
  show(second);
  Rect r{100, 100, 200, 200};
  WindowPtr plain = nullptr;
  ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &r, &plain), noErr)
      << "a window that is not a plot";
  ShowWindow(plain);
  SelectWindow(plain);

  EXPECT_FALSE(isPlot(plain)) << "reference constant 0 is not a plot";
  EXPECT_EQ(GetPlotData(plain), nullptr) << "no plot data for a plain window";
  EXPECT_EQ(FrontPlotWindow(), second) << "the upper plot, behind the plain window";
  EXPECT_EQ(GetPlotData(), GetPlotData(second)) << "GetPlotData() is the front plot's";

  EXPECT_EQ(NextPlotWindow(), window) << "the plot below the front plot";
  EXPECT_EQ(FrontPlotWindow(), window) << "the former front plot went to the back";

  disposePlot(second);
  EXPECT_EQ(NextPlotWindow(), nullptr) << "a single plot has no next one";
  EXPECT_EQ(FrontPlotWindow(), window) << "and stays where it is";
  DisposeWindow(plain);
}

}  // namespace
