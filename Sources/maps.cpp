// The map families: defaults, map steps, Lyapunov averages, critical points,
// and the operations that change a map's orbit state and parameters.
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "../common/setValues.h"
#include "../maps.h"
#include "color.h"
#include "windows.h"

namespace {

int saturateToInt(long long v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

// The mean of the n terms that Lyapunov averages add up; n is 0 only while a
// Lyapunov sweep runs with t = 0, where no average exists.
double meanOver(double sum, int n) {
  if (n <= 0) return std::numeric_limits<double>::quiet_NaN();
  return sum / n;
}

}  // namespace

// ---- Map ----

Map::Map()
    : xLow(-0.05),
      xHigh(1.05),
      x0(0.5),
      xt(0.5),
      t(500),
      plotColor{0, 0, 1},
      titleStr{},
      mu(0),
      muLow(0),
      muHigh(4),
      n(1) {}

Map::~Map() = default;

double Map::f(double y) { return y; }

double Map::df(double) { return 1; }

double Map::xCrit() { return 0.5; }

void Map::setTime(long time) {
  // A negative count from the dialog means no iterations.
  if (time < 0) time = 0;
  if (time > INT32_MAX) time = INT32_MAX;
  t = static_cast<SInt32>(time);
  xt = x0;
  for (SInt32 k = 0; k < t; ++k) xt = f(xt);
}

void Map::setTime() {
  SInt32 time = t;
  Str255 desc;
  CopyCStringToPascal("Number of iterations", desc);
  if (GetParams(desc, "t =%ld", &time) == 1) setTime(time);
}

void Map::setInitial(double x) {
  xt = x;
  x0 = x;
  for (SInt32 k = 0; k < t; ++k) xt = f(xt);
}

double Map::getInitial() { return x0; }

void Map::setParameter(double p1, int num) {
  mu = p1;
  if (num <= 0) num = 1;
  n = num;
  setInitial(x0);
  // The keyboard and the menus act on the front plot's map, so the front plot
  // is this map's window whenever there is one.
  if (PlotData* front = GetPlotData()) {
    front->setTitle();
    requestUpdate(front->window());
  }
}

void Map::setParameter(double delta) { setParameter(mu + delta, n); }

void Map::setParameter(int num) {
  long long sum = static_cast<long long>(n) + num;
  if (sum == 0) return;
  setParameter(mu, saturateToInt(sum));
}

void Map::setParameter() {
  double p1 = mu;
  short num = static_cast<short>(n);  // the dialog edits n as 16 bits
  Str255 desc;
  CopyCStringToPascal("Input \xB5 and n", desc);
  if (GetParams(desc, "\xB5 =%lf n =%d", &p1, &num) == 1) setParameter(p1, num);
}

void Map::chooseColor() { ChooseAColor(plotColor); }

// ---- logistic ----

logistic::logistic() {
  mu = 3.5699456;
  std::snprintf(titleStr, sizeof titleStr, "%s", "Logistic Map f=\xB5*x*(1-x),");
}

double logistic::f(double y) {
  for (SInt32 k = 0; k < n; ++k) y = (mu * y) * (1 - y);
  return y;
}

double logistic::df(double x) {
  double lambda = 0;
  for (SInt32 k = 0; k < n; ++k) {
    x = (mu * x) * (1 - x);
    lambda += std::log(std::fabs(mu * (1 - 2 * x)));
  }
  return meanOver(lambda, n);
}

// ---- cosine ----

cosine::cosine() {
  mu = 1;
  muHigh = 3.14159;
  xLow = -3.2;
  xHigh = 3.2;
  std::snprintf(titleStr, sizeof titleStr, "%s", "Cosine Map, f=\xB5*cos(x),");
}

double cosine::f(double y) {
  for (SInt32 k = 0; k < n; ++k) y = mu * std::cos(y);
  return y;
}

double cosine::df(double x) {
  double lambda = 0;
  for (SInt32 k = 0; k < n; ++k) {
    x = mu * std::cos(x);
    lambda += std::log(std::fabs(mu * std::sin(x)));
  }
  return meanOver(lambda, n);
}

// ---- tangent ----

tangent::tangent() {
  mu = 1;
  muHigh = 3.14159;
  xLow = -3.2;
  xHigh = 3.2;
  std::snprintf(titleStr, sizeof titleStr, "%s", "Tangent Map, f=\xB5*tan(x),");
}

double tangent::f(double y) {
  for (SInt32 k = 0; k < n; ++k) y = mu * std::tan(y);
  return y;
}

double tangent::df(double x) {
  double lambda = 0;
  for (SInt32 k = 0; k < n; ++k) {
    x = mu * std::tan(x);
    lambda += std::log(std::fabs(mu / (std::cos(x) * std::cos(x))));
  }
  return meanOver(lambda, n);
}

// ---- cubic ----

cubic::cubic() {
  mu = 2.4;
  muHigh = 3.5;
  xLow = -2;
  xHigh = 2;
  std::snprintf(titleStr, sizeof titleStr, "%s", "Cubic Map f = \xB5*x -x^3,");
}

double cubic::f(double y) {
  for (SInt32 k = 0; k < n; ++k) y = y * (mu - y * y);
  return y;
}

double cubic::df(double x) {
  double lambda = 0;
  for (SInt32 k = 0; k < n; ++k) {
    x = x * (mu - x * x);
    lambda += std::log(std::fabs(mu - 3 * x * x));
  }
  return meanOver(lambda, n);
}

double cubic::xCrit() { return std::sqrt(mu / 3); }

// ---- exponential ----

exponential::exponential() {
  mu = -2.6;
  muLow = -4;
  muHigh = 0;
  xLow = -1;
  xHigh = 3;
  std::snprintf(titleStr, sizeof titleStr, "%s", "Exponential Map, f = x*exp(-\xB5*(1-x)),");
}

double exponential::f(double y) {
  for (SInt32 k = 0; k < n; ++k) y = y * std::exp((-mu) * (1 - y));
  return y;
}

double exponential::df(double x) {
  double lambda = 0;
  for (SInt32 k = 0; k < n; ++k) {
    x = x * std::exp((-mu) * (1 - x));
    lambda += std::log(std::fabs(1 + mu * x)) - mu * (1 - x);
  }
  return meanOver(lambda, n);
}

// ---- tent ----

tent::tent() {
  mu = 1.8;
  muLow = 1;
  muHigh = 2;
  std::snprintf(titleStr, sizeof titleStr, "%s", "Tent Map, f = \xB5 x<0.5, \xB5(1-x) x > 0.5");
}

double tent::f(double y) {
  for (SInt32 k = 0; k < n; ++k) y = (y < 0.5) ? y * mu : mu * (1 - y);
  return y;
}

// The slope is mu everywhere, so the exponent needs no orbit.
double tent::df(double) { return std::log(mu); }

// ---- circle ----

circle::circle() : omega(0.6180339887498949), tpi(6.283185307179586) {
  mu = 0.7;
  muLow = 0;
  muHigh = 2;
  xLow = 0;
  xHigh = 1;
  std::snprintf(titleStr, sizeof titleStr, "Circle Map, \xBD = %lf, f = \xBD+x+\xB5sin(2\xB9x)/2\xB9", omega);
}

double circle::f(double y) {
  for (SInt32 k = 0; k < n; ++k) {
    double z = y + (omega + (mu * std::sin(tpi * y)) / tpi);
    y = z - std::floor(z);
    // A tiny negative z rounds to a fraction of exactly 1, which is the
    // point 0 of the circle.
    if (y >= 1) y = 0;
  }
  return y;
}

double circle::df(double x) {
  double lambda = 0;
  for (SInt32 k = 0; k < n; ++k) {
    double z = x + (omega + (mu * std::sin(tpi * x)) / tpi);
    x = z - std::floor(z);
    if (x >= 1) x = 0;
    lambda += std::log(std::fabs(1 + mu * std::cos(tpi * x)));
  }
  return meanOver(lambda, n);
}

void circle::setOmega(double p2) {
  omega = p2;
  // A huge omega prints many digits; the title keeps what fits.
  std::snprintf(titleStr, sizeof titleStr, "Circle Map, omega= %lf", omega);
}

void circle::setParameter() {
  double p1 = mu;
  double p2 = omega;
  short num = static_cast<short>(n);
  Str255 desc;
  CopyCStringToPascal("Input \xB5, omega and n", desc);
  if (GetParams(desc, "\xB5=%lf om=%lf n=%d", &p1, &p2, &num) == 1) {
    setOmega(p2);
    Map::setParameter(p1, num);
  }
}
