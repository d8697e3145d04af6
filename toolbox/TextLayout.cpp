// Line breaking for the text engine: word wrap, carriage returns and tabs.
#include "internal/TextLayout.h"

#include <QFontMetricsF>
#include <cmath>

#include "TextUtils.h"

namespace tb {

namespace {

constexpr unsigned char kReturn = 0x0D;
constexpr unsigned char kTab = 0x09;
constexpr int kSpacesPerTab = 8;

bool isBlank(unsigned char c) { return c == ' ' || c == kTab; }

}  // namespace

TextMetrics measureFont(const QFont& font) {
  QFontMetricsF fm(font);
  TextMetrics m;
  for (int c = 0; c < 256; ++c) {
    if (c < 0x20 || c == 0x7F) continue;  // control codes take no room
    m.advance[size_t(c)] = fm.horizontalAdvance(QChar(char16_t(macRomanToUnicode(static_cast<unsigned char>(c)))));
  }
  m.tabInterval = kSpacesPerTab * m.advance[' '];
  if (m.tabInterval <= 0) m.tabInterval = 1;
  return m;
}

double advanceAt(unsigned char c, double x, const TextMetrics& m) {
  if (c != kTab) return m.advance[c];
  double nextStop = (std::floor(x / m.tabInterval + 1e-9) + 1) * m.tabInterval;
  return nextStop - x;
}

std::vector<int> breakLines(const unsigned char* text, int length, double width, const TextMetrics& m) {
  std::vector<int> starts;
  int lineStart = 0;
  while (lineStart < length) {
    starts.push_back(lineStart);
    double x = 0;
    int afterBlank = -1;  // offset just after the last blank run: a break point
    int i = lineStart;
    int next = length;
    while (i < length) {
      unsigned char c = text[i];
      if (c == kReturn) {
        next = i + 1;
        break;
      }
      double w = advanceAt(c, x, m);
      if (isBlank(c)) {
        x += w;
        ++i;
        afterBlank = i;
        continue;
      }
      if (x + w > width && i > lineStart) {
        next = afterBlank > lineStart ? afterBlank : i;
        break;
      }
      x += w;
      ++i;
    }
    lineStart = next;
  }
  return starts;
}

double offsetToX(const unsigned char* text, int lineStart, int offset, const TextMetrics& m) {
  double x = 0;
  for (int i = lineStart; i < offset; ++i) x += advanceAt(text[i], x, m);
  return x;
}

int xToOffset(const unsigned char* text, int lineStart, int lineEnd, double x, const TextMetrics& m) {
  int last = lineEnd;
  if (last > lineStart && text[last - 1] == kReturn) --last;
  double left = 0;
  for (int i = lineStart; i < last; ++i) {
    double w = advanceAt(text[i], left, m);
    if (x < left + w / 2) return i;
    left += w;
  }
  return last;
}

int charAt(const unsigned char* text, int lineStart, int lineEnd, double x, const TextMetrics& m) {
  int last = lineEnd;
  if (last > lineStart && text[last - 1] == kReturn) --last;
  if (last == lineStart) return -1;
  double left = 0;
  for (int i = lineStart; i < last; ++i) {
    left += advanceAt(text[i], left, m);
    if (x < left) return i;
  }
  return last - 1;
}

}  // namespace tb
