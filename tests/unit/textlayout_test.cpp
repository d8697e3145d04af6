// Line breaking and measuring of the text engine, on made-up metrics where
// every character is 10 pixels wide and tab stops are 80 pixels apart.
#include "toolbox/internal/TextLayout.h"

#include <gtest/gtest.h>

#include <QFont>
#include <string>
#include <vector>

#include "toolbox/QuickDraw.h"
#include "toolbox/internal/Port.h"

namespace {

tb::TextMetrics tenPixelMetrics() {
  tb::TextMetrics m;
  for (int c = 0x20; c < 256; ++c) m.advance[size_t(c)] = 10;
  m.tabInterval = 80;
  return m;
}

const unsigned char* bytesOf(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

std::string show(const std::vector<int>& v) {
  std::string out = "{";
  for (size_t i = 0; i < v.size(); ++i) out += (i ? ", " : "") + std::to_string(v[i]);
  return out + "}";
}

struct BreakCase {
  const char* name;
  std::string text;
  std::vector<int> starts;
};

TEST(TextLayout, BreaksLinesAtReturnsAndWordsWithinTheWidth) {
  const double width = 100;  // ten characters
  const std::vector<BreakCase> cases = {
      {"empty text has no lines", "", {}},
      {"short text is one line", "abc", {0}},
      {"a final return adds no line", "abc\r", {0}},
      {"a return starts a line", "abc\rdef", {0, 4}},
      {"lone returns are lines of their own", "\r\r", {0, 1}},
      {"an empty line between returns", "ab\r\rcd", {0, 3, 4}},
      {"exactly the width fits", "aaaaaaaaaa", {0}},
      {"one more character wraps", "aaaaaaaaaab", {0, 10}},
      {"the word that crosses the edge moves down", "aaaa bbbb cccc", {0, 10}},
      {"blanks hang past the edge", "aaaaaaaaaa   b", {0, 13}},
      {"a word wider than the line breaks where it must", std::string(25, 'w'), {0, 10, 20}},
      {"a long word after a short one", "ab cdefghijklm", {0, 3, 13}},
      {"a tab reaches the next stop", "\tab", {0}},
      {"a tab counts as a blank for wrapping", "a\tbcd", {0, 2}},
  };
  tb::TextMetrics m = tenPixelMetrics();
  for (const BreakCase& c : cases) {
    std::vector<int> found = tb::breakLines(bytesOf(c.text), int(c.text.size()), width, m);
    EXPECT_EQ(c.starts, found) << c.name << ": expected starts " << show(c.starts) << ", found " << show(found);
  }
}

TEST(TextLayout, WidthBelowOneCharacterStillMakesProgress) {
  std::string text = "abc";
  std::vector<int> found = tb::breakLines(bytesOf(text), 3, 4, tenPixelMetrics());
  EXPECT_EQ((std::vector<int>{0, 1, 2}), found) << "one character per line, found " << show(found);
}

struct MeasureCase {
  const char* name;
  std::string line;
  int offset;
  double x;
};

TEST(TextLayout, MeasuresOffsetsWithTabStops) {
  const std::vector<MeasureCase> cases = {
      {"line start", "a\tb", 0, 0},   {"after one character", "a\tb", 1, 10},
      {"after the tab", "a\tb", 2, 80}, {"after the character past the tab", "a\tb", 3, 90},
      {"tab at a stop goes a whole interval", "aaaaaaaa\tb", 9, 160},
  };
  tb::TextMetrics m = tenPixelMetrics();
  for (const MeasureCase& c : cases) {
    EXPECT_DOUBLE_EQ(c.x, tb::offsetToX(bytesOf(c.line), 0, c.offset, m)) << c.name;
  }
}

struct HitCase {
  const char* name;
  std::string line;
  double x;
  int offset;
};

TEST(TextLayout, FindsTheOffsetNearestToAClick) {
  const std::vector<HitCase> cases = {
      {"left of the line", "abc\r", -5, 0},
      {"left half of the first character", "abc\r", 4, 0},
      {"right half of the first character", "abc\r", 6, 1},
      {"right half of the last character", "abc\r", 29, 3},
      {"far right stops before the return", "abc\r", 500, 3},
      {"far right of a line without return", "abc", 500, 3},
      {"inside a tab's left half", "a\tb", 30, 1},
      {"inside a tab's right half", "a\tb", 60, 2},
  };
  tb::TextMetrics m = tenPixelMetrics();
  for (const HitCase& c : cases) {
    int found = tb::xToOffset(bytesOf(c.line), 0, int(c.line.size()), c.x, m);
    EXPECT_EQ(c.offset, found) << c.name << " (x = " << c.x << ")";
  }
}

TEST(TextLayout, MeasuresTheMonospaceLogFont) {
  tb::TextMetrics m = tb::measureFont(tb::fontFor(kFontIDMonaco, 9, normal));
  EXPECT_GT(m.advance['M'], 0) << "an M takes room";
  EXPECT_DOUBLE_EQ(m.advance['M'], m.advance['i']) << "the log font is monospaced";
  EXPECT_DOUBLE_EQ(8 * m.advance[' '], m.tabInterval) << "tab stops every eight spaces";
  EXPECT_EQ(0, m.advance[0x0D]) << "a return takes no room";
  EXPECT_GT(m.advance[0xB5], 0) << "the Mac Roman micro sign is drawn";
}

}  // namespace
