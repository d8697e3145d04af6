// The map families: defaults, map steps, Lyapunov averages, critical points
// and the rules of the state operations. No window is needed.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "maps.h"

namespace {

constexpr double kTight = 1e-12;

struct FamilyDefaults {
  const char* name;
  std::function<Map*()> make;
  double mu, muLow, muHigh, xLow, xHigh;
  const char* title;  // Mac Roman
};

const FamilyDefaults kFamilies[] = {
    {"logistic", [] { return new logistic; }, 3.5699456, 0, 4, -0.05, 1.05, "Logistic Map f=\xB5*x*(1-x),"},
    {"cosine", [] { return new cosine; }, 1, 0, 3.14159, -3.2, 3.2, "Cosine Map, f=\xB5*cos(x),"},
    {"cubic", [] { return new cubic; }, 2.4, 0, 3.5, -2, 2, "Cubic Map f = \xB5*x -x^3,"},
    {"exponential", [] { return new exponential; }, -2.6, -4, 0, -1, 3,
     "Exponential Map, f = x*exp(-\xB5*(1-x)),"},
    {"tangent", [] { return new tangent; }, 1, 0, 3.14159, -3.2, 3.2, "Tangent Map, f=\xB5*tan(x),"},
    {"tent", [] { return new tent; }, 1.8, 1, 2, -0.05, 1.05, "Tent Map, f = \xB5 x<0.5, \xB5(1-x) x > 0.5"},
    {"circle", [] { return new circle; }, 0.7, 0, 2, 0, 1,
     "Circle Map, \xBD = 0.618034, f = \xBD+x+\xB5sin(2\xB9x)/2\xB9"},
};

TEST(MapFamilies, ConstructorsSetTheFamilyDefaults) {
  for (const FamilyDefaults& family : kFamilies) {
    std::unique_ptr<Map> m(family.make());
    SCOPED_TRACE(family.name);
    EXPECT_EQ(m->mu, family.mu) << "default mu";
    EXPECT_EQ(m->muLow, family.muLow) << "default muLow";
    EXPECT_EQ(m->muHigh, family.muHigh) << "default muHigh";
    EXPECT_EQ(m->xLow, family.xLow) << "default xLow";
    EXPECT_EQ(m->xHigh, family.xHigh) << "default xHigh";
    EXPECT_EQ(std::string(m->titleStr), std::string(family.title)) << "family title bytes";
    // The base values that no family changes.
    EXPECT_EQ(m->x0, 0.5) << "initial condition";
    EXPECT_EQ(m->xt, 0.5) << "orbit point right after construction";
    EXPECT_EQ(m->t, 500) << "iteration count";
    EXPECT_EQ(m->n, 1) << "map steps per f";
    EXPECT_EQ(m->plotColor[0], 0.0f) << "plot colour red";
    EXPECT_EQ(m->plotColor[1], 0.0f) << "plot colour green";
    EXPECT_EQ(m->plotColor[2], 1.0f) << "plot colour blue";
  }
}

TEST(MapFamilies, BaseMapIsTheIdentityWithUnitExponent) {
  Map m;
  EXPECT_EQ(m.f(0.3), 0.3) << "Map::f returns its argument";
  EXPECT_EQ(m.df(0.3), 1.0) << "Map::df returns 1";
  EXPECT_EQ(m.xCrit(), 0.5) << "Map::xCrit";
}

struct StepCase {
  const char* what;
  std::function<Map*()> make;
  double mu;
  double x;
  double expected;
};

TEST(MapFamilies, SingleStepsAtKnownValues) {
  const double pi = std::acos(-1.0);
  const StepCase cases[] = {
      {"logistic fixed point 1-1/mu", [] { return new logistic; }, 2.5, 0.6, 0.6},
      {"logistic (mu x)(1-x)", [] { return new logistic; }, 4, 0.25, 0.75},
      {"cosine at 0 gives mu", [] { return new cosine; }, 1.5, 0, 1.5},
      {"tangent at pi/4 gives mu", [] { return new tangent; }, 2, pi / 4, 2},
      {"cubic fixed point sqrt(mu-1)", [] { return new cubic; }, 2.4, std::sqrt(1.4), std::sqrt(1.4)},
      {"cubic x(mu-x^2)", [] { return new cubic; }, 2, 1, 1},
      {"exponential fixed point 1", [] { return new exponential; }, -2.6, 1, 1},
      {"exponential x exp(-mu(1-x))", [] { return new exponential; }, 1, 0, 0},
      {"tent left branch x mu", [] { return new tent; }, 1.8, 0.25, 0.45},
      {"tent right branch mu(1-x)", [] { return new tent; }, 1.8, 0.75, 0.45},
      {"tent at 0.5 takes the right branch", [] { return new tent; }, 1.8, 0.5, 0.9},
      {"circle with mu 0 rotates by omega", [] { return new circle; }, 0, 0.5, 0.1180339887498949},
      {"circle sine term at x=0.25", [] { return new circle; }, 0.5, 0.25,
       0.25 + 0.6180339887498949 + 0.5 / 6.283185307179586},
  };
  for (const StepCase& c : cases) {
    std::unique_ptr<Map> m(c.make());
    m->mu = c.mu;
    EXPECT_NEAR(m->f(c.x), c.expected, kTight) << c.what;
  }
}

TEST(MapFamilies, LogisticPeriodTwoOrbit) {
  logistic m;
  m.mu = 3.2;
  const double root = std::sqrt((m.mu - 3) * (m.mu + 1));
  const double high = (m.mu + 1 + root) / (2 * m.mu);
  const double low = (m.mu + 1 - root) / (2 * m.mu);
  EXPECT_NEAR(m.f(high), low, kTight) << "one step maps the upper point of the 2-cycle to the lower one";
  EXPECT_NEAR(m.f(low), high, kTight) << "and back";
  m.n = 2;
  EXPECT_NEAR(m.f(high), high, kTight) << "with n = 2 the cycle points are fixed points of f";
}

TEST(MapFamilies, FComposesNSteps) {
  logistic m;
  m.mu = 3.7;
  const double once = (3.7 * 0.3) * (1 - 0.3);
  const double twice = (3.7 * once) * (1 - once);
  const double thrice = (3.7 * twice) * (1 - twice);
  m.n = 3;
  EXPECT_EQ(m.f(0.3), thrice) << "n = 3 is three successive logistic steps";
}

TEST(MapFamilies, TentPassesNotANumberToTheRightBranch) {
  tent m;
  EXPECT_TRUE(std::isnan(m.f(std::numeric_limits<double>::quiet_NaN()))) << "tent of NaN";
}

TEST(MapFamilies, CircleResultLiesInTheUnitInterval) {
  circle m;
  m.mu = 1.3;
  const double inputs[] = {0, 0.25, 0.999999, 1, -0.3, 7.9, -123.456, 1e-20, -1e-20, -1e-300, 12345.678};
  for (double x : inputs) {
    const double y = m.f(x);
    EXPECT_GE(y, 0.0) << "circle f(" << x << ")";
    EXPECT_LT(y, 1.0) << "circle f(" << x << ")";
  }
  // The fraction of -1e-20 rounds to exactly 1, which is the circle's point 0.
  m.mu = 0;
  m.setOmega(0);
  EXPECT_EQ(m.f(-1e-20), 0.0) << "a fraction that rounds to 1 wraps to 0";
}

struct ExponentCase {
  const char* what;
  std::function<Map*()> make;
  double mu;
  int n;
  double x;
  double expected;
};

TEST(MapFamilies, LyapunovAveragesAtFixedPoints) {
  const ExponentCase cases[] = {
      {"logistic at its fixed point: ln|mu(1-2x*)|", [] { return new logistic; }, 2.5, 5, 0.6, std::log(0.5)},
      {"cosine term at x with cos x = 0.5", [] { return new cosine; }, 1, 1, std::acos(0.5),
       std::log(std::fabs(std::sin(0.5)))},
      {"tangent at 0: ln mu", [] { return new tangent; }, 2, 4, 0, std::log(2.0)},
      {"cubic at 0: ln mu", [] { return new cubic; }, 2.4, 3, 0, std::log(2.4)},
      {"exponential at 1: ln|1+mu|", [] { return new exponential; }, -2.6, 2, 1, std::log(1.6)},
      {"circle with mu 0: ln 1", [] { return new circle; }, 0, 3, 0.2, 0},
  };
  for (const ExponentCase& c : cases) {
    std::unique_ptr<Map> m(c.make());
    m->mu = c.mu;
    m->n = c.n;
    EXPECT_NEAR(m->df(c.x), c.expected, 1e-12) << c.what;
  }
}

TEST(MapFamilies, LyapunovTermIsTakenAfterTheStep) {
  logistic m;
  m.mu = 4;
  // From 0.1 the first iterate is 0.36: the term is ln|4(1 - 0.72)| = ln 1.12,
  // while the derivative at the start would give ln 3.2.
  EXPECT_NEAR(m.df(0.1), std::log(1.12), kTight) << "term taken at the first iterate";
}

TEST(MapFamilies, VanishingDerivativeGivesMinusInfinity) {
  logistic m;
  m.mu = 2;
  EXPECT_EQ(m.df(0.5), -std::numeric_limits<double>::infinity()) << "superstable point 0.5 of mu = 2";
}

TEST(MapFamilies, TentExponentIsLnMu) {
  tent m;
  const struct {
    double mu;
    double expected;
  } cases[] = {{1.8, std::log(1.8)}, {1, 0}, {2, std::log(2.0)}, {0, -std::numeric_limits<double>::infinity()}};
  for (const auto& c : cases) {
    m.mu = c.mu;
    m.n = 7;
    EXPECT_EQ(m.df(0.123), c.expected) << "tent df at mu = " << c.mu;
  }
  m.mu = -1;
  EXPECT_TRUE(std::isnan(m.df(0.3))) << "tent df is NaN for mu below 0";
}

TEST(MapFamilies, AverageOverNoStepsIsNotANumber) {
  // A Lyapunov sweep with t = 0 asks for an average over zero steps.
  logistic m;
  m.n = 0;
  EXPECT_TRUE(std::isnan(m.df(0.3))) << "logistic df with n = 0";
  tent tentMap;
  tentMap.n = 0;
  EXPECT_EQ(tentMap.df(0.3), std::log(1.8)) << "tent df does not iterate";
}

TEST(MapFamilies, CriticalPointsFollowMu) {
  cubic c;
  c.mu = 2.4;
  EXPECT_NEAR(c.xCrit(), std::sqrt(0.8), kTight) << "cubic sqrt(mu/3)";
  c.mu = -3;
  EXPECT_TRUE(std::isnan(c.xCrit())) << "cubic critical point for mu < 0";
  exponential e;
  EXPECT_NEAR(e.xCrit(), 1 / 2.6, kTight) << "exponential -1/mu at mu = -2.6";
  e.mu = -4;
  EXPECT_EQ(e.xCrit(), 0.25) << "exponential -1/mu at mu = -4";
  EXPECT_EQ(cosine().xCrit(), 0.0) << "cosine";
  EXPECT_EQ(tangent().xCrit(), 0.0) << "tangent";
  EXPECT_EQ(logistic().xCrit(), 0.5) << "logistic";
  EXPECT_EQ(tent().xCrit(), 0.5) << "tent";
  EXPECT_EQ(circle().xCrit(), 0.5) << "circle";
}

// ---- state operations ----

double iterateLogistic(double mu, double x, int steps) {
  for (int k = 0; k < steps; ++k) x = (mu * x) * (1 - x);
  return x;
}

TEST(MapState, SetTimeRecomputesTheOrbitPoint) {
  logistic m;
  m.setTime(3);
  EXPECT_EQ(m.t, 3) << "t after setTime(3)";
  EXPECT_EQ(m.xt, iterateLogistic(m.mu, 0.5, 3)) << "xt = f^3(x0)";
  m.setTime(0);
  EXPECT_EQ(m.t, 0) << "t after setTime(0)";
  EXPECT_EQ(m.xt, m.x0) << "setTime(0) leaves xt at x0";
}

TEST(MapState, NegativeIterationCountIsClampedToZero) {
  logistic m;
  m.xt = 0.9;
  m.setTime(-5);
  EXPECT_EQ(m.t, 0) << "t after setTime(-5)";
  EXPECT_EQ(m.xt, m.x0) << "xt after setTime(-5)";
}

TEST(MapState, SetInitialIteratesTTimes) {
  logistic m;
  m.t = 4;
  m.setInitial(0.2);
  EXPECT_EQ(m.x0, 0.2) << "x0";
  EXPECT_EQ(m.getInitial(), 0.2) << "getInitial";
  EXPECT_EQ(m.xt, iterateLogistic(m.mu, 0.2, 4)) << "xt = f^4(0.2)";
}

TEST(MapState, SetParameterStoresMuAndClampsN) {
  const struct {
    int num;
    int expectedN;
  } cases[] = {{3, 3}, {1, 1}, {0, 1}, {-7, 1}};
  for (const auto& c : cases) {
    logistic m;
    m.t = 2;
    m.setParameter(3.1, c.num);
    EXPECT_EQ(m.mu, 3.1) << "mu after setParameter(3.1, " << c.num << ")";
    EXPECT_EQ(m.n, c.expectedN) << "n after setParameter(3.1, " << c.num << ")";
    EXPECT_EQ(m.xt, iterateLogistic(3.1, 0.5, 2 * c.expectedN)) << "xt recomputed: t = 2 applications of n steps";
  }
}

TEST(MapState, StepInNKeepsItAtLeastOne) {
  logistic m;
  m.xt = 123;  // a marker: any recomputation replaces it
  m.setParameter(-1);
  EXPECT_EQ(m.n, 1) << "n after -1 at n = 1";
  EXPECT_EQ(m.xt, 123) << "-1 at n = 1 does nothing at all";

  m.setParameter(-2);
  EXPECT_EQ(m.n, 1) << "n after -2 at n = 1 (clamped)";
  EXPECT_EQ(m.xt, iterateLogistic(m.mu, 0.5, 500)) << "-2 at n = 1 still recomputes xt";

  m.setParameter(+1);
  EXPECT_EQ(m.n, 2) << "n after +1";
}

TEST(MapState, StepInMuAddsDelta) {
  logistic m;
  m.setParameter(0.1);
  EXPECT_EQ(m.mu, 3.5699456 + 0.1) << "mu after +0.1";
  EXPECT_EQ(m.n, 1) << "n unchanged";
  m.setParameter(-0.25);
  EXPECT_EQ(m.mu, 3.5699456 + 0.1 - 0.25) << "mu after -0.25";
}

TEST(MapState, CircleOmegaRetitlesWithinTheField) {
  circle m;
  m.setOmega(0.5);
  EXPECT_STREQ(m.titleStr, "Circle Map, omega= 0.500000") << "title after the dialog's omega";
  m.mu = 0;
  EXPECT_NEAR(m.f(0.25), 0.75, kTight) << "the new omega is used by f";

  m.setOmega(1e300);
  EXPECT_EQ(std::string(m.titleStr).size(), 59u) << "a huge omega is cut to the 59 characters of the field";
  EXPECT_EQ(std::string(m.titleStr).rfind("Circle Map, omega= 1000000", 0), 0u) << "cut title keeps its head";
}

}  // namespace
