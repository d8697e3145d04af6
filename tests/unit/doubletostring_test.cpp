// Doubles to dialog texts and back: the choice of form by magnitude, the
// places shown, and reading by the fixed form first and the exponent form
// second.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "common/doubletostring.h"

namespace {

std::string written(double value, short places) {
  Str255 text;
  ConvertDoubleToString(value, text, places);
  return std::string(reinterpret_cast<char*>(text + 1), text[0]);
}

struct Reading {
  int result;
  double value;
};

Reading reading(const std::string& text, short places, double untouched = -99) {
  Str255 p;
  p[0] = static_cast<unsigned char>(std::min<size_t>(text.size(), 255));
  std::memcpy(p + 1, text.data(), p[0]);
  double value = untouched;
  const int result = ConvertStringToDouble(p, &value, places);
  return {result, value};
}

TEST(CreateCanonicalFormat, BuildsTheFormatOfEachForm) {
  const struct {
    short places;
    int type;
    int integerSymbols;
    int fractionSymbols;
    bool grouping;
    bool exponent;
  } cases[] = {
      {13, kFixedForm, 6, 13, true, false},     // ###,##0.#############
      {0, kFixedForm, 6, 0, true, false},       // ###,###
      {-1, kFixedForm, 6, 17, true, false},     // 18 places, cut at 25 characters
      {40, kFixedForm, 6, 17, true, false},
      {13, kExponentForm, 1, 13, false, true},  // #.#############e+###
      {0, kExponentForm, 1, 0, false, true},    // #.e+###
      {-1, kExponentForm, 1, 18, false, true},
  };
  for (const auto& c : cases) {
    NumFormatString format;
    NumberParts parts;
    ASSERT_EQ(CreateCanonicalFormat(c.places, &format, &parts, c.type), fFormatOK)
        << "places " << c.places << ", form " << c.type;
    EXPECT_EQ(parts.decimalSeparator, '.') << "the system's parts table is copied out";
    EXPECT_EQ(format.positive.integerCount, c.integerSymbols) << "places " << c.places << ", form " << c.type;
    EXPECT_EQ(format.positive.fractionCount, c.fractionSymbols) << "places " << c.places << ", form " << c.type;
    EXPECT_EQ(bool(format.positive.grouping), c.grouping) << "places " << c.places << ", form " << c.type;
    EXPECT_EQ(bool(format.positive.hasExponent), c.exponent) << "places " << c.places << ", form " << c.type;
  }
}

TEST(ConvertDoubleToString, ChoosesTheFormByMagnitude) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.001, "0.001"},
      {-0.001, "-0.001"},
      {0.000999, "9.99e-4"},
      {100000, "100,000"},
      {-100000, "-100,000"},
      {100000.5, "1.000005e+5"},
      {0, "0e+0"},
      {-0.0, "0e+0"},
      {3.5699456, "3.5699456"},
      {1.0 / 3.0, "0.3333333333333"},
      {0.1 + 0.2, "0.3"},
      {0.5, "0.5"},
      {1234.5, "1,234.5"},
      {0.0000025, "2.5e-6"},
      {123456.5, "1.234565e+5"},
      {0.6180339887498949, "0.6180339887499"},
      {1e308, "1e+308"},
      {5e-324, "4.9406564584125e-324"},
      {std::numeric_limits<double>::quiet_NaN(), "NaN"},
      {std::numeric_limits<double>::infinity(), "Inf"},
      {-std::numeric_limits<double>::infinity(), "-Inf"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(written(c.value, 13), c.text) << "value " << c.value << " with 13 places";
}

TEST(ConvertDoubleToString, ShowsAtMostTheGivenPlaces) {
  const struct {
    double value;
    short places;
    const char* text;
  } cases[] = {
      {3.14159, 2, "3.14"},
      {2.7, 0, "3"},
      {-0.4, 0, "0"},
      {0.001, 0, "0"},
      {1.0 / 3.0, -1, "0.33333333333333331"},  // -1 means as many as the form holds: 17 here
      {1.0 / 3.0, 99, "0.33333333333333331"},
      {1e-5 / 3, -1, "3.333333333333333747e-6"},  // and 18 in the exponent form
      {1e-5 / 3, 0, "3e-6"},
      {123456789.0, 2, "1.23e+8"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(written(c.value, c.places), c.text) << "value " << c.value << " with " << c.places << " places";
}

TEST(ConvertStringToDouble, ReadsByTheFixedFormThenTheExponentForm) {
  const struct {
    const char* text;
    short places;
    double value;
  } cases[] = {
      {"1,234.5", 13, 1234.5},
      {"1234.5", 13, 1234.5},
      {"2.5e-6", 13, 2.5e-6},  // fails the fixed form, reads through the exponent form
      {"2.5e6", 13, 2.5e6},    // a best guess in both forms
      {"0.6180339887499", 13, 0.6180339887499},
      {"1234567", 13, 1234567},
      {"1,234,567", 13, 1234567},
      {"3.7", 0, 3.7},  // an integer field keeps the fraction for its caller to judge
      {" 42 ", 13, 42},
      {"+5", 13, 5},
      {"-0", 13, 0},
      {"1e-400", 13, 0},  // below the double range: zero
      {"0.12345678901234567890123", 13, 0.12345678901234567890123},
  };
  for (const auto& c : cases) {
    const Reading r = reading(c.text, c.places);
    EXPECT_EQ(r.result, 1) << "text \"" << c.text << "\" with " << c.places << " places";
    EXPECT_EQ(r.value, c.value) << "text \"" << c.text << "\" with " << c.places << " places";
  }
}

TEST(ConvertStringToDouble, RefusesTextsThatAreNoFiniteNumber) {
  const std::string cases[] = {
      "", "abc", "nan", "inf", "-inf", "1e400", "-1e400", "0,5", "12,34", "1.2.3", "1e", "\xB5", "3 4",
      std::string(255, '9'),  // 1e255: fits a double, but see below
  };
  for (size_t i = 0; i + 1 < std::size(cases); ++i) {
    const Reading r = reading(cases[i], 13, -99);
    EXPECT_EQ(r.result, 0) << "text \"" << cases[i] << "\" must be refused";
    EXPECT_EQ(r.value, -99) << "text \"" << cases[i] << "\" must leave the target untouched";
  }
  const Reading big = reading(cases[std::size(cases) - 1], 13);
  EXPECT_EQ(big.result, 1) << "255 nines are a large but finite number";
  EXPECT_NEAR(big.value / 1e255, 1.0, 1e-15) << "255 nines read as about 1e255";
}

// The reader accepts every text the writer produces for a finite value and
// gives the double nearest to that text.
TEST(DoubleTextRoundTrip, WrittenTextsReadBackAsTheNearestDouble) {
  const double values[] = {0.001,   0.5,     1,          3.5699456, 1234.5,     99999.999, 100000, -0.25,
                           1.0 / 3, 2.5e-6,  6.02214e23, -1e-300,   123456.5,   0.000999,  1e308,  -2.2250738585072014e-308,
                           0.61803398874989484820};
  for (short places : {short(0), short(2), short(13), short(-1)}) {
    for (double v : values) {
      const std::string text = written(v, places);
      const Reading r = reading(text, places);
      ASSERT_EQ(r.result, 1) << "\"" << text << "\" written for " << v << " with " << places << " places";
      // The oracle: the double nearest to the text, read by the library.
      std::string plain;
      for (char c : text)
        if (c != ',') plain += c;
      double nearest = 0;
      std::from_chars(plain.data(), plain.data() + plain.size(), nearest);
      EXPECT_EQ(r.value, nearest) << "\"" << text << "\" written for " << v << " with " << places << " places";
    }
  }
}

}  // namespace
