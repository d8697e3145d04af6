// Seeded random inputs for the number-format compiler and writer, the
// number reader and PrintToString. Each check states a property that must
// hold for every input; the first few violations are reported in full.
//
// VANTOR_FUZZ_ITERATIONS (default 200000 per test) and VANTOR_FUZZ_SEED
// (default 20240611) change the run. Under the sanitizers:
//   cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug
//         -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
//   cmake --build build-asan --target unit_tests
//   ASAN_OPTIONS=detect_leaks=0 VANTOR_FUZZ_ITERATIONS=1000000
//         build-asan/tests/unit_tests --gtest_filter='Fuzz*'
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "common/doubletostring.h"
#include "common/print_to_string.h"
#include "toolbox/NumberFormatting.h"

namespace {

long environmentNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

// Counts executions and keeps the first findings for the report.
class Findings {
 public:
  explicit Findings(const char* target) : target_(target) {}
  ~Findings() {
    std::cout << "[ fuzz     ] " << target_ << ": " << executions_ << " executions, " << count_ << " findings\n";
    testing::Test::RecordProperty("executions", std::to_string(executions_));
    EXPECT_EQ(count_, 0) << target_ << ": expected no findings; the first ones:\n" << samples_.str();
  }
  void ran() { ++executions_; }
  void found(const std::string& what) {
    if (count_++ < 5) samples_ << "  " << what << "\n";
  }

 private:
  const char* target_;
  long executions_ = 0;
  long count_ = 0;
  std::ostringstream samples_;
};

class Random {
 public:
  Random() : engine_(static_cast<uint64_t>(environmentNumber("VANTOR_FUZZ_SEED", 20240611))) {}

  uint64_t below(uint64_t n) { return std::uniform_int_distribution<uint64_t>(0, n - 1)(engine_); }
  bool chance(int percent) { return below(100) < uint64_t(percent); }
  char byte() { return static_cast<char>(below(256)); }
  char from(const std::string& alphabet) { return alphabet[below(alphabet.size())]; }

  // Mostly from the alphabet, sometimes any byte; lengths up to 255 and,
  // now and then, beyond (the callers cut to a Str255).
  std::string text(const std::string& alphabet, size_t usualLength) {
    const size_t length = chance(5) ? below(400) : below(usualLength + 1);
    std::string s;
    for (size_t i = 0; i < length; ++i) s += chance(90) ? from(alphabet) : byte();
    return s;
  }

  // Any bit pattern, special values, or short decimals near the form bounds.
  long double value() {
    switch (below(4)) {
      case 0:
        return std::bit_cast<double>(static_cast<uint64_t>(engine_()));
      case 1: {
        static const long double special[] = {0.0L, -0.0L, 0.001L, -0.001L, 100000, 100000.5L, 0.000999L,
                                              std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(),
                                              std::numeric_limits<long double>::max(), INFINITY, -INFINITY, NAN};
        return special[below(std::size(special))];
      }
      case 2:
        return static_cast<long double>(static_cast<int64_t>(engine_()) % 10000000) *
               std::pow(10.0L, static_cast<int>(below(30)) - 15);
      default:
        return std::ldexp(static_cast<long double>(engine_() % 100000) / 100000, static_cast<int>(below(200)) - 100);
    }
  }

 private:
  std::mt19937_64 engine_;
};

long iterations() { return environmentNumber("VANTOR_FUZZ_ITERATIONS", 200000); }

void toPascal(const std::string& text, Str255 out) {
  out[0] = static_cast<unsigned char>(std::min<size_t>(text.size(), 255));
  std::memcpy(out + 1, text.data(), out[0]);
}

std::string fromPascal(ConstStr255Param p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

std::string escaped(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F && c != '"') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out + "\"";
}

NumberParts systemParts() {
  NumFormatString unused;
  NumberParts parts;
  CreateCanonicalFormat(13, &unused, &parts, kFixedForm);
  return parts;
}

bool knownStatus(FormatStatus s) { return s >= fFormatOK && s <= fEmptyFormatString; }

// A single section of digits only: its texts must read back to themselves.
bool plainFormat(const NumFormatString& f) {
  return !f.negative.present && !f.zero.present && f.positive.prefixLength == 0 && f.positive.suffixLength == 0 &&
         !f.positive.percent;
}

// --- Formats: compile random patterns, write random values through those
// that compile, and read the texts back.
TEST(FuzzNumberFormat, RandomFormatsCompileWriteAndReadBackSafely) {
  Random random;
  Findings findings("number formats");
  const NumberParts parts = systemParts();
  const std::string alphabet = "###000^^,,..;;ee++--E%'\\ $x5";
  for (long i = 0; i < iterations(); ++i) {
    findings.ran();
    const std::string pattern = random.text(alphabet, 30);
    Str255 patternText;
    toPascal(pattern, patternText);
    NumFormatString format;
    const FormatStatus compiled = StringToFormatRec(patternText, &parts, &format);
    if (!knownStatus(compiled)) findings.found("compiling " + escaped(pattern) + " gave status " + std::to_string(compiled));
    if (compiled != fFormatOK) continue;

    const long double value = random.value();
    Str255 out;
    const FormatStatus written = ExtendedToString(&value, &format, &parts, out);
    if (!knownStatus(written)) findings.found("writing through " + escaped(pattern) + " gave " + std::to_string(written));
    if (written != fFormatOK) continue;

    long double readBack = 0;
    const FormatStatus read = StringToExtended(out, &format, &parts, &readBack);
    if (!knownStatus(read)) findings.found("reading " + escaped(fromPascal(out)) + " gave " + std::to_string(read));
    if (!plainFormat(format)) continue;
    if (read != fFormatOK && read != fBestGuess) {
      findings.found("format " + escaped(pattern) + " wrote " + escaped(fromPascal(out)) + " which reads with status " +
                     std::to_string(read));
      continue;
    }
    Str255 again;
    ExtendedToString(&readBack, &format, &parts, again);
    if (fromPascal(again) != fromPascal(out))
      findings.found("format " + escaped(pattern) + ": " + escaped(fromPascal(out)) + " reads back and writes as " +
                     escaped(fromPascal(again)));
  }
}

// --- The dialog's number reader: random texts never give a non-finite
// value or touch the target when refused, and accepted texts read as the
// double nearest to them (within one unit in the last place, the most a
// detour through the extended type may cost).
bool withinOneUlp(double a, double b) {
  return a == b || std::nextafter(a, b) == b;
}

// The library's reading of a text the dialog accepted: thousands
// separators, spaces and a leading + removed.
bool libraryReading(const std::string& text, double& value) {
  std::string plain;
  for (char c : text) {
    if (c == ',' || c == ' ' || (c == '+' && plain.empty())) continue;
    plain += c;
  }
  const auto r = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  return r.ec == std::errc() && r.ptr == plain.data() + plain.size();
}

TEST(FuzzNumberReader, RandomTextsReadSafely) {
  Random random;
  Findings findings("number reader");
  const std::string alphabet = "0123456789012345678901234567890123456789,,..ee+- E";
  for (long i = 0; i < iterations(); ++i) {
    findings.ran();
    const std::string text = random.text(alphabet, 24);
    const short places = static_cast<short>(static_cast<int>(random.below(44)) - 3);
    Str255 source;
    toPascal(text, source);
    double value = -12345.678;
    const int result = ConvertStringToDouble(source, &value, places);
    const std::string shown = escaped(fromPascal(source));
    if (result == 0) {
      if (value != -12345.678) findings.found(shown + " was refused but changed the target");
      continue;
    }
    if (result != 1 || !std::isfinite(value)) {
      findings.found(shown + " gave result " + std::to_string(result) + " and value " + std::to_string(value));
      continue;
    }
    double expected = 0;
    if (libraryReading(fromPascal(source), expected) && !withinOneUlp(value, expected))
      findings.found(shown + " read as " + std::to_string(value) + ", the library reads " + std::to_string(expected));
  }
}

TEST(FuzzNumberReader, WrittenValuesReadBack) {
  Random random;
  Findings findings("double text round trip");
  for (long i = 0; i < iterations(); ++i) {
    findings.ran();
    const double value = static_cast<double>(random.value());
    const short places = static_cast<short>(static_cast<int>(random.below(22)) - 1);
    Str255 text;
    ConvertDoubleToString(value, text, places);
    // Beyond 1e308 a text rounded at few places may name a number past the
    // double range, which the reader rightly refuses.
    if (!std::isfinite(value) || std::fabs(value) > 1e308) continue;
    double readBack = 0;
    const std::string shown = escaped(fromPascal(text));
    if (ConvertStringToDouble(text, &readBack, places) != 1) {
      findings.found(shown + " written for " + std::to_string(value) + " is refused");
      continue;
    }
    double expected = 0;
    if (!libraryReading(fromPascal(text), expected) || !withinOneUlp(readBack, expected))
      findings.found(shown + " read as " + std::to_string(readBack) + ", the library reads " + std::to_string(expected));
  }
}

// --- PrintToString against a model built from the same pieces: random
// formats of literal bytes and conversions, with matching arguments.
using Arg = std::variant<int, double, const unsigned char*>;

template <class... Values>
int printWith(Str255 out, const char* format, const std::vector<Arg>& args, Values... values) {
  if constexpr (sizeof...(Values) < 3) {
    if (sizeof...(Values) < args.size())
      return std::visit([&](auto next) { return printWith(out, format, args, values..., next); },
                        args[sizeof...(Values)]);
  }
  return PrintToString(out, format, values...);
}

TEST(FuzzPrintToString, MatchesItsModel) {
  Random random;
  Findings findings("PrintToString");
  static Str255 strings[4];
  for (Str255& s : strings) {
    s[0] = static_cast<unsigned char>(random.below(256));
    for (int k = 1; k <= s[0]; ++k) s[k] = static_cast<unsigned char>(random.byte());
  }
  for (long i = 0; i < iterations(); ++i) {
    findings.ran();
    std::string format;
    std::vector<Arg> args;
    std::string expected;
    int expectedCount = 0;
    short places = 13;
    bool stopped = false;
    const auto produce = [&](const std::string& piece) {
      if (stopped || expected.size() >= 255) {
        stopped = true;
        return;
      }
      expected += piece.substr(0, 255 - expected.size());
      if (!piece.empty()) ++expectedCount;
    };
    const size_t tokens = random.below(12);
    for (size_t t = 0; t < tokens; ++t) {
      if (random.chance(50)) {  // literal bytes, never % or NUL
        const size_t n = random.chance(5) ? random.below(300) : 1 + random.below(8);
        std::string bytes;
        for (size_t k = 0; k < n; ++k) {
          char c;
          do c = random.byte();
          while (c == '%' || c == '\0');
          bytes += c;
        }
        format += bytes;
        for (char c : bytes) {
          if (stopped || expected.size() >= 255) {
            stopped = true;
            break;
          }
          expected += c;
        }
        continue;
      }
      std::string conversion = "%";
      const int digits = static_cast<int>(random.below(3));
      short newPlaces = places;
      for (int d = 0; d < digits; ++d) {
        const int digit = static_cast<int>(random.below(10));
        conversion += static_cast<char>('0' + digit);
        newPlaces = static_cast<short>(d == 0 ? digit : newPlaces * 10 + digit);
      }
      if (!stopped && expected.size() < 255) places = newPlaces;
      const uint64_t kind = random.below(6);
      const bool consumes = kind < 3 && args.size() < 3;
      if (consumes && kind == 0) {  // an int conversion
        const int v = static_cast<int>(static_cast<uint32_t>(random.below(uint64_t(1) << 32)));
        const char* letters[] = {"c", "d", "ld", "Ld"};
        const std::string letter = letters[random.below(4)];
        conversion += letter;
        args.emplace_back(v);
        produce(letter == "c" ? std::string(1, static_cast<char>(v & 0xFF)) : std::to_string(v));
      } else if (consumes && kind == 1) {  // a floating conversion
        const double v = static_cast<double>(random.value());
        const char* letters[] = {"e", "f", "g", "le", "lf", "lg", "Le", "Lf", "Lg"};
        conversion += letters[random.below(9)];
        args.emplace_back(v);
        Str255 piece;
        ConvertDoubleToString(v, piece, places);
        produce(fromPascal(piece));
      } else if (consumes && kind == 2) {  // a string
        const unsigned char* s = strings[random.below(4)];
        conversion += "s";
        args.emplace_back(s);
        produce(fromPascal(s));
      } else {  // no conversion: its byte is consumed, no argument read
        const char* letters[] = {"%", "q", "lx", "lc", "ls", "l%", "Lz"};
        conversion += letters[random.below(7)];
        produce("");
      }
      format += conversion;
    }
    if (random.chance(10)) format += random.chance(50) ? "%" : "%l";  // an unfinished conversion at the end

    Str255 out;
    const int count = printWith(out, format.c_str(), args);
    if (fromPascal(out) != expected || count != expectedCount)
      findings.found("format " + escaped(format) + ": expected " + escaped(expected) + " (" +
                     std::to_string(expectedCount) + "), found " + escaped(fromPascal(out)) + " (" +
                     std::to_string(count) + ")");
  }
}

}  // namespace
