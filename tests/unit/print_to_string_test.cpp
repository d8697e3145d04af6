// PrintToString: conversions, the precision that stays in force, bytes
// that are no conversion, and the 255-byte limit.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>

#include "common/print_to_string.h"

namespace {

struct Printed {
  int count;
  std::string text;
};

Printed print(const std::function<int(Str255)>& call) {
  Str255 out;
  std::memset(out, 0xEE, sizeof out);
  const int count = call(out);
  return {count, std::string(reinterpret_cast<char*>(out + 1), out[0])};
}

// A Str255 built from text, kept alive for the call.
struct Pascal {
  explicit Pascal(const std::string& text) {
    bytes[0] = static_cast<unsigned char>(text.size());
    std::memcpy(bytes + 1, text.data(), text.size());
  }
  Str255 bytes;
};

const Pascal kEmpty("");
const Pascal kAb("ab");
const Pascal kMu("\xB5=");

TEST(PrintToString, FormatsEachConversion) {
  const struct {
    const char* name;
    std::function<int(Str255)> call;
    std::string text;
    int count;
  } cases[] = {
      {"x=%lf", [](Str255 o) { return PrintToString(o, "x=%lf", 0.5); }, "x=0.5", 1},
      {"precision stays", [](Str255 o) { return PrintToString(o, "%3lf %lf", 1.0 / 3, 2.0 / 3); }, "0.333 0.667", 2},
      {"%% is no conversion", [](Str255 o) { return PrintToString(o, "100%%"); }, "100", 0},
      {"empty %s", [](Str255 o) { return PrintToString(o, "%s", kEmpty.bytes); }, "", 0},
      {"%c", [](Str255 o) { return PrintToString(o, "%c", 65); }, "A", 1},
      {"%c takes the low byte", [](Str255 o) { return PrintToString(o, "%c", 0x1B5); }, "\xB5", 1},
      {"%d", [](Str255 o) { return PrintToString(o, "%d items", 42); }, "42 items", 1},
      {"%ld negative", [](Str255 o) { return PrintToString(o, "%ld", -7); }, "-7", 1},
      {"%Ld lowest int", [](Str255 o) { return PrintToString(o, "%Ld", INT_MIN); }, "-2147483648", 1},
      {"two %s", [](Str255 o) { return PrintToString(o, "%s and %s", kAb.bytes, kMu.bytes); }, "ab and \xB5=", 2},
      {"%e small", [](Str255 o) { return PrintToString(o, "%e", 0.0000025); }, "2.5e-6", 1},
      {"%g large", [](Str255 o) { return PrintToString(o, "%g", 123456.5); }, "1.234565e+5", 1},
      {"%Lf", [](Str255 o) { return PrintToString(o, "%Lf", 1234.5); }, "1,234.5", 1},
      {"%2f", [](Str255 o) { return PrintToString(o, "%2f", 3.14159); }, "3.14", 1},
      {"two-digit precision", [](Str255 o) { return PrintToString(o, "%10f", 1.0 / 3); }, "0.3333333333", 1},
      {"zero precision", [](Str255 o) { return PrintToString(o, "%0f", 2.7); }, "3", 1},
      {"mixed", [](Str255 o) { return PrintToString(o, "\xB5=%lf n=%d %s", 3.5, 2, kAb.bytes); },
       "\xB5=3.5 n=2 ab", 3},
  };
  for (const auto& c : cases) {
    const Printed p = print(c.call);
    EXPECT_EQ(p.text, c.text) << c.name;
    EXPECT_EQ(p.count, c.count) << c.name << ": conversions that produced text";
  }
}

// Bytes after % that are no conversion consume no argument, so the next
// conversion still gets the right one.
TEST(PrintToString, NonConversionsConsumeTheirByteOnly) {
  const struct {
    const char* name;
    std::function<int(Str255)> call;
    std::string text;
    int count;
  } cases[] = {
      {"%lx", [](Str255 o) { return PrintToString(o, "a%lxb%d", 5); }, "ab5", 1},
      {"%lc", [](Str255 o) { return PrintToString(o, "%lc%d", 9); }, "9", 1},
      {"%ls", [](Str255 o) { return PrintToString(o, "%ls%d", 8); }, "8", 1},
      {"%q", [](Str255 o) { return PrintToString(o, "%q%d", 5); }, "5", 1},
      {"three digits", [](Str255 o) { return PrintToString(o, "%123d"); }, "d", 0},
      {"precision from a non-conversion", [](Str255 o) { return PrintToString(o, "%2q%f", 1.0 / 3); }, "0.33", 1},
      {"trailing %", [](Str255 o) { return PrintToString(o, "abc%"); }, "abc", 0},
      {"trailing %l", [](Str255 o) { return PrintToString(o, "abc%l"); }, "abc", 0},
      {"trailing %5", [](Str255 o) { return PrintToString(o, "abc%5"); }, "abc", 0},
      {"null %s", [](Str255 o) { return PrintToString(o, "[%s]", static_cast<const unsigned char*>(nullptr)); }, "[]",
       0},
      {"null format", [](Str255 o) { return PrintToString(o, nullptr); }, "", 0},
  };
  for (const auto& c : cases) {
    const Printed p = print(c.call);
    EXPECT_EQ(p.text, c.text) << c.name;
    EXPECT_EQ(p.count, c.count) << c.name << ": conversions that produced text";
  }
}

TEST(PrintToString, StopsAt255Bytes) {
  const std::string plain(300, 'p');
  Printed p = print([&](Str255 o) { return PrintToString(o, plain.c_str()); });
  EXPECT_EQ(p.text, plain.substr(0, 255)) << "300 plain bytes give their first 255";

  // A conversion that does not fit is cut, still counts, and ends formatting.
  const std::string format = std::string(250, 'a') + "%d%d";
  p = print([&](Str255 o) { return PrintToString(o, format.c_str(), 1234567, 89); });
  EXPECT_EQ(p.text, std::string(250, 'a') + "12345") << "the number cut at the 255th byte";
  EXPECT_EQ(p.count, 1) << "the cut conversion counts, the next one is never reached";

  const Pascal full(std::string(255, 's'));
  p = print([&](Str255 o) { return PrintToString(o, "x%s", full.bytes); });
  EXPECT_EQ(p.text.size(), 255u) << "a 255-byte string after one byte is cut to fit";
}

}  // namespace
