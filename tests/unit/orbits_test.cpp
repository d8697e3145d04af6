// The drawing algorithms: the exact vertex streams they send to a real GL
// context, captured in feedback mode, with pixel positions worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "plot_fixture.h"

namespace {

using Pixels = std::vector<Pixel>;

class OrbitsTest : public PlotWindowTest {
 protected:
  void SetUp() override {
    PlotWindowTest::SetUp();
    if (HasFatalFailure()) return;
    // 400 pixels per unit of x, 240 per unit of y.
    data->setCoordinates(0, 1, -0.25, 1);
  }

  // A logistic map with mu = 2, whose orbits are easy to follow by hand:
  // 0.25 -> 0.375 -> 0.46875 -> 0.498046875, and 0.5 is fixed.
  Map* simpleLogistic(double x0, long t) {
    Map* m = map();
    m->mu = 2;
    m->t = int(t);
    m->setInitial(x0);
    return m;
  }
};

// ---- cobweb, drawF, the critical line ----

TEST_F(OrbitsTest, CobwebWalksBetweenGraphAndDiagonal) {
  Map* m = simpleLogistic(0.25, 2);
  Capture c = capture([&] { m->cobweb(window); });
  ASSERT_EQ(c.strips.size(), 1u) << "one line strip";
  EXPECT_EQ(c.strips[0].vertices, (Pixels{{100, 180}, {100, 150}, {150, 150}, {150, 128}, {188, 128}}))
      << "2t + 1 vertices: (x0,x0), (x0,f), (f,f), (f,f2), (f2,f2)";
  EXPECT_TRUE(sameColor(c.strips[0].color, m->plotColor)) << "the walk is in the plot colour";
  EXPECT_EQ(m->x0, 0.25) << "cobweb leaves x0";
  EXPECT_EQ(m->t, 2) << "cobweb leaves t";
}

TEST_F(OrbitsTest, CobwebWithNoStepsDrawsNothingVisible) {
  Map* m = simpleLogistic(0.25, 0);
  Capture c = capture([&] { m->cobweb(window); });
  EXPECT_TRUE(c.segments.empty()) << "a single-vertex strip has no segment, found " << c.segments.size();
}

TEST_F(OrbitsTest, CobwebStopsAtTheFirstPollWhenCancelled) {
  Map* m = map();  // the default chaotic logistic map, t = 500
  m->setInitial(0.3);
  Capture c;
  {
    CancelKeysHeld cancel;
    c = capture([&] { m->cobweb(window); });
  }
  EXPECT_EQ(c.segments.size(), 200u) << "the walk stops after the first 100 steps";
  EXPECT_EQ(m->t, 500) << "cancelling leaves t";
}

TEST_F(OrbitsTest, GraphOfFIsSampledRightToLeft) {
  Map* m = simpleLogistic(0.25, 0);
  // Columns k = 2, 1, 0 stand for x = 0.5, 0.25, 0.
  Capture c = capture([&] { m->drawF(window, 0, 4, 3); });
  ASSERT_EQ(c.strips.size(), 1u) << "one strip and no critical line";
  EXPECT_EQ(c.strips[0].vertices, (Pixels{{200, 120}, {100, 150}, {0, 240}})) << "(x, f(x)) per column";
  EXPECT_TRUE(sameColor(c.strips[0].color, glRED)) << "the graph is red";

  Capture none = capture([&] { m->drawF(window, 0, 4, 0); });
  EXPECT_TRUE(none.segments.empty()) << "no columns, no graph";
}

TEST_F(OrbitsTest, CriticalLineFollowsTheGraphWhenSwitchedOn) {
  Map* m = simpleLogistic(0.25, 0);
  data->toggleShow(showCritical);
  data->setCoordinates(0, 1, -0.25, 1);
  Capture c = capture([&] { m->drawF(window, 0, 4, 3); });
  ASSERT_EQ(c.segments.size(), 3u) << "two graph segments, then the critical line";
  const Segment& line = c.segments.back();
  EXPECT_EQ(line.from, (Pixel{200, 300})) << "critical line starts at (xCrit, ymin)";
  EXPECT_EQ(line.to, (Pixel{200, 0})) << "and ends at (xCrit, ymax)";
  EXPECT_TRUE(sameColor(line.color, glYELLOW)) << "the critical line is yellow";
}

// ---- iterate and eraseTransients ----

TEST_F(OrbitsTest, IterateDrawsOneStepFromTheOrbitEnd) {
  Map* m = simpleLogistic(0.25, 2);  // xt = 0.46875
  Capture c = capture([&] { m->iterate(window); });
  ASSERT_EQ(c.strips.size(), 1u) << "one step strip";
  EXPECT_EQ(c.strips[0].vertices, (Pixels{{188, 128}, {188, 120}, {199, 120}}))
      << "(xt,xt), (xt,f(xt)), (f(xt),f(xt))";
  EXPECT_EQ(m->t, 3) << "t grows by one";
  EXPECT_EQ(m->xt, 0.498046875) << "xt moves one application of f on";
}

TEST_F(OrbitsTest, IterateOnANewMapStartsFromX0) {
  data->setMap(1);
  data->setCoordinates(0, 1, -0.25, 1);
  Map* m = map();
  Capture c = capture([&] { m->iterate(window); });
  ASSERT_EQ(c.strips.size(), 1u) << "one step strip";
  EXPECT_EQ(c.strips[0].vertices, (Pixels{{200, 120}, {200, 26}, {357, 26}}))
      << "xt is still x0 = 0.5 although t = 500";
  EXPECT_EQ(m->t, 501) << "t after the step";
}

TEST_F(OrbitsTest, EraseTransientsRestartsFromTheOrbitEnd) {
  Map* m = simpleLogistic(0.25, 2);
  m->eraseTransients();
  EXPECT_EQ(m->x0, 0.46875) << "x0 becomes the old xt";
  EXPECT_EQ(m->xt, m->f(m->f(0.46875))) << "xt moves t applications further";
  m->eraseTransients();
  EXPECT_EQ(m->x0, m->f(m->f(0.46875))) << "a second call moves on by t again";
  EXPECT_EQ(m->t, 2) << "t unchanged";
}

// ---- bifurcation ----

class SweepTest : public OrbitsTest {
 protected:
  void SetUp() override {
    OrbitsTest::SetUp();
    if (HasFatalFailure()) return;
    data->toggleShow(bifurcationPlot);
    data->setCoordinates(2, 4, -0.25, 1);  // 200 pixels per unit of mu
  }
};

TEST_F(SweepTest, BifurcationCarriesTheOrbitFromColumnToColumn) {
  Map* m = map();
  m->t = 3;  // below 10: no transient
  const double muBefore = m->mu;
  // Two columns: mu = 2.5 and mu = 3.
  Capture c = capture([&] { m->bifurcation(window, 2.5, 2, 2); });
  EXPECT_EQ(c.points, (Pixels{{100, 120}, {100, 90}, {100, 99}, {200, 94}, {200, 68}, {200, 94}}))
      << "t points per column from x0 + 1e-6, the second column continuing the first";
  for (const Rgb& color : c.pointColors) EXPECT_TRUE(sameColor(color, m->plotColor)) << "points in the plot colour";
  EXPECT_EQ(m->mu, muBefore) << "mu restored after the sweep";
  EXPECT_TRUE(c.segments.empty()) << "no critical curve unless switched on";
}

TEST_F(SweepTest, BifurcationSkipsATenthOfTAsTransient) {
  Map* m = map();
  m->t = 10;
  Capture c = capture([&] { m->bifurcation(window, 2.5, 2, 1); });
  ASSERT_EQ(c.points.size(), 10u) << "t points in the column";
  EXPECT_EQ(c.points[0], (Pixel{100, 90})) << "the first drawn point follows one transient step";

  m->t = 0;
  Capture none = capture([&] { m->bifurcation(window, 2.5, 2, 1); });
  EXPECT_TRUE(none.points.empty()) << "t = 0 draws no points";
}

TEST_F(SweepTest, BifurcationNudgeTakesTheSignOfX0) {
  Map* m = map();
  m->mu = 2.5;
  m->t = 1;
  data->setCoordinates(2, 4, -2e-6, 2e-6);  // 75 pixels per 1e-6 of x
  const struct {
    double x0;
    Pixel expected;
  } cases[] = {{0, {100, 75}}, {-1e-7, {100, 233}}};
  for (const auto& c : cases) {
    m->x0 = c.x0;
    Capture shot = capture([&] { m->bifurcation(window, 2.5, 2, 1); });
    ASSERT_EQ(shot.points.size(), 1u) << "one point for x0 = " << c.x0;
    EXPECT_EQ(shot.points[0], c.expected) << "first point is x0 nudged by 1e-6 away from 0, x0 = " << c.x0;
  }
}

TEST_F(SweepTest, BifurcationCriticalCurveFollowsMu) {
  data->setMap(3);  // cubic: xCrit = sqrt(mu / 3)
  data->toggleShow(showCritical);
  data->setCoordinates(0, 3, -0.25, 1);
  Map* m = map();
  m->t = 0;
  // Columns mu = 0.75, 1.5, 2.25.
  Capture c = capture([&] { m->bifurcation(window, 0.75, 4.0 / 3.0, 3); });
  ASSERT_EQ(c.strips.size(), 1u) << "one critical strip";
  EXPECT_EQ(c.strips[0].vertices, (Pixels{{100, 120}, {200, 70}, {300, 32}})) << "(mu, sqrt(mu/3)) per column";
  EXPECT_TRUE(sameColor(c.strips[0].color, glYELLOW)) << "the critical curve is yellow";
  EXPECT_EQ(m->mu, 2.4) << "mu restored";
}

TEST_F(SweepTest, CancelledBifurcationStillDrawsTheWholeCriticalCurve) {
  data->toggleShow(showCritical);
  Map* m = map();
  m->t = 1;
  const double muBefore = m->mu;
  Capture c;
  {
    CancelKeysHeld cancel;
    c = capture([&] { m->bifurcation(window, 2.5, 4, 3); });
  }
  EXPECT_EQ(c.points.size(), 1u) << "only the first column is computed";
  ASSERT_EQ(c.strips.size(), 1u) << "the critical curve";
  EXPECT_EQ(c.strips[0].vertices.size(), 3u) << "the curve spans all columns";
  EXPECT_EQ(m->mu, muBefore) << "mu restored after cancelling";
}

// ---- Lyapunov ----

TEST_F(SweepTest, TentLyapunovCurveIsLnMu) {
  data->setMap(6);
  data->toggleShow(lyapunovPlot);
  data->setCoordinates(1, 3, -5, 1);  // 200 pixels per unit of mu, 50 per unit of y
  Map* m = map();
  m->x0 = 0.3;
  m->t = 7;
  m->n = 3;
  Capture c = capture([&] { m->lyapunov(window, 1.25, 4, 3); });
  ASSERT_EQ(c.strips.size(), 1u) << "one strip";
  EXPECT_EQ(c.strips[0].vertices, (Pixels{{150, 22}, {100, 30}, {50, 39}}))
      << "ln mu for mu = 1.75, 1.5, 1.25, right to left";
  EXPECT_EQ(m->mu, 1.8) << "mu restored";
  EXPECT_EQ(m->n, 3) << "n restored";
}

TEST_F(SweepTest, LyapunovAveragesOverTSingleSteps) {
  data->toggleShow(lyapunovPlot);
  data->setCoordinates(3, 5, -5, 1);  // 200 pixels per unit of mu, 50 per unit of y
  Map* m = map();
  m->x0 = 0.1;
  m->t = 2;
  m->n = 1;
  // Columns mu = 4.5 and 4. At mu = 4 from 0.1 the average over t = 2 steps
  // is (ln 1.12 + ln 3.3728) / 2 = 0.66454 (v 17); the user's single step
  // would give ln 1.12 = 0.113 (v 44).
  Capture c = capture([&] { m->lyapunov(window, 4, 2, 2); });
  ASSERT_EQ(c.strips.size(), 1u) << "one strip";
  ASSERT_EQ(c.strips[0].vertices.size(), 2u) << "one vertex per column";
  EXPECT_EQ(c.strips[0].vertices.back(), (Pixel{200, 17})) << "mu = 4 at the exponent averaged over t steps";
  EXPECT_EQ(m->n, 1) << "n restored";
}

TEST_F(SweepTest, LyapunovWithNoIterationsShowsNoCurve) {
  data->toggleShow(lyapunovPlot);
  Map* m = map();
  m->t = 0;
  const double muBefore = m->mu;
  Capture c = capture([&] { m->lyapunov(window, 0.5, 100, 300); });
  EXPECT_TRUE(c.segments.empty()) << "averages over zero steps lie outside the window";
  EXPECT_EQ(m->mu, muBefore) << "mu restored";
  EXPECT_EQ(m->n, 1) << "n restored";
}

// ---- density and exit time ----

class BarsTest : public OrbitsTest {
 protected:
  void SetUp() override {
    OrbitsTest::SetUp();
    if (HasFatalFailure()) return;
    data->toggleShow(densityPlot);
    data->setCoordinates(0, 1, -1, 99);  // 400 pixels per unit of x, 3 per count
  }
};

TEST_F(BarsTest, DensityBarsReachEachBinsCount) {
  Map* m = simpleLogistic(0.5, 3);  // a fixed point: one bin visited three times
  Capture c = capture([&] { m->density(window, 0, 400, 400); });
  ASSERT_EQ(c.segments.size(), 3u) << "one bar per visit";
  const Pixel tops[] = {{200, 294}, {200, 291}, {200, 288}};
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(c.segments[k].from, (Pixel{200, 297})) << "bar " << k << " stands on 0";
    EXPECT_EQ(c.segments[k].to, tops[k]) << "bar " << k << " reaches the new count";
    EXPECT_TRUE(sameColor(c.segments[k].color, m->plotColor)) << "bars in the plot colour";
  }
}

TEST_F(BarsTest, DensityBarStandsAtXWhileCountingInItsTruncatedBin) {
  Map* m = simpleLogistic(0.25, 3);  // 0.25, 0.375, 0.46875
  Capture c = capture([&] { m->density(window, 0, 400, 400); });
  ASSERT_EQ(c.segments.size(), 3u) << "three visits";
  EXPECT_EQ(c.segments[0].to, (Pixel{100, 294})) << "bar at x = 0.25";
  EXPECT_EQ(c.segments[1].to, (Pixel{150, 294})) << "bar at x = 0.375";
  EXPECT_EQ(c.segments[2].to, (Pixel{188, 294})) << "bin 187 drawn at the rounded column 188";
}

TEST_F(BarsTest, DensityCountsOnlyVisitsInsideTheColumns) {
  Map* m = simpleLogistic(0.5, 1);
  EXPECT_TRUE(capture([&] { m->density(window, 0.6, 400, 100); }).segments.empty())
      << "a point left of the columns is not counted";
  Capture c = capture([&] { m->density(window, 0.50125, 400, 10); });
  EXPECT_EQ(c.segments.size(), 1u) << "half a column left of xmin truncates into bin 0";

  m->t = 0;
  EXPECT_TRUE(capture([&] { m->density(window, 0, 400, 400); }).segments.empty()) << "t = 0 counts nothing";

  m->t = 5;
  m->x0 = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(capture([&] { m->density(window, 0, 400, 400); }).segments.empty())
      << "a not-a-number orbit falls in no bin";
}

TEST_F(BarsTest, DensityEndsWithTheCriticalLine) {
  Map* m = simpleLogistic(0.25, 1);
  data->toggleShow(showCritical);
  Capture c = capture([&] { m->density(window, 0, 400, 400); });
  ASSERT_EQ(c.segments.size(), 2u) << "one bar and the critical line";
  EXPECT_EQ(c.segments[1].from, (Pixel{200, 300})) << "critical line from (0.5, ymin)";
  EXPECT_TRUE(sameColor(c.segments[1].color, glYELLOW)) << "critical line colour";
}

TEST_F(BarsTest, ExitTimeCountsStepsInsideTheFamilyInterval) {
  Map* m = map();
  m->mu = 4.5;  // from 0.2: 0.72, 0.9072, 0.3788, then 1.0589 leaves [-0.05, 1.05]
  m->t = 500;
  // Columns x = 0.2 and x = 0.5 (whose first iterate 1.125 is outside).
  Capture c = capture([&] { m->exitTime(window, 0.2, 1 / 0.3, 2); });
  ASSERT_GE(c.segments.size(), 1u) << "bars drawn";
  EXPECT_EQ(c.segments[0].from, (Pixel{80, 297})) << "bar at x = 0.2 stands on 0";
  EXPECT_EQ(c.segments[0].to, (Pixel{80, 288})) << "exit time 3";
  for (size_t k = 1; k < c.segments.size(); ++k)
    EXPECT_EQ(c.segments[k].to.v, 297) << "x = 0.5 leaves at once: a bar of height 0";

  m->t = 2;
  Capture capped = capture([&] { m->exitTime(window, 0.2, 1 / 0.3, 1); });
  ASSERT_EQ(capped.segments.size(), 1u) << "one column";
  EXPECT_EQ(capped.segments[0].to, (Pixel{80, 291})) << "exit time capped at t = 2";
}

TEST_F(BarsTest, ExitTimeWithNoIterationsIsZeroEverywhere) {
  Map* m = map();
  m->t = 0;
  Capture c = capture([&] { m->exitTime(window, 0.1, 10, 5); });
  for (const Segment& s : c.segments) EXPECT_EQ(s.to.v, 297) << "every exit time is 0 when t = 0";
}

}  // namespace
