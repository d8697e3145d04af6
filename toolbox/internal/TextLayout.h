// Line breaking and measuring of one run of 8-bit text in one font, for the
// text engine. Pure functions of the text and the character advances.
#pragma once

#include <array>
#include <vector>

class QFont;

namespace tb {

struct TextMetrics {
  std::array<double, 256> advance{};  // pixels per byte; 0 for control codes
  double tabInterval = 0;             // distance between tab stops
};

// Advances of the Mac Roman bytes in `font`; tab stops every eight spaces.
TextMetrics measureFont(const QFont& font);

// Width of byte `c` drawn at `x` pixels from the line's start.
double advanceAt(unsigned char c, double x, const TextMetrics& m);

// Starts of the laid-out lines of `text` wrapped at `width` pixels: breaks
// after a carriage return, and before a word that would cross the width
// (spaces and tabs may hang past it). A word wider than the line breaks at
// the last character that fits. The empty line after a final carriage
// return has no entry; empty text has no lines.
std::vector<int> breakLines(const unsigned char* text, int length, double width, const TextMetrics& m);

// Pixels from the line's start to `offset` (lineStart <= offset).
double offsetToX(const unsigned char* text, int lineStart, int offset, const TextMetrics& m);

// The offset in [lineStart, lineEnd] nearest to `x` pixels from the line's
// start: a click on a character's right half lands after it. A carriage
// return that ends the line is never passed.
int xToOffset(const unsigned char* text, int lineStart, int lineEnd, double x, const TextMetrics& m);

// The character under `x` pixels from the line's start, its carriage return
// left out: the first or last character when `x` lies beyond the line's
// ends, -1 for a line with no characters.
int charAt(const unsigned char* text, int lineStart, int lineEnd, double x, const TextMetrics& m);

}  // namespace tb
