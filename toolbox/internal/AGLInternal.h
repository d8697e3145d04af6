// What the two halves of the AGL layer share: the context half (AGL.cpp)
// and the bitmap-font half (AGLFont.cpp). Toolbox and its tests only.
#pragma once

#include <QFont>
#include <vector>

#include "../AGL.h"

namespace tb::agl {

// Whether ctx is a context that exists now (created and not destroyed).
bool isLiveContext(AGLContext ctx);

// Records an AGL error number for aglGetError; the first one stays until read.
void setError(GLenum error);

// With the debug checks on (VANTOR_GL_DEBUG=1 at start), prints any pending
// GL error of the current context to stderr, naming where.
void checkGl(const char* where);
void setDebugChecks(bool on);

// Makes a context current for the lifetime of the scope and the previous
// one current again afterwards, so that the layer can work on a context the
// program has not made current.
class ContextScope {
 public:
  explicit ContextScope(AGLContext ctx);
  ~ContextScope();
  ContextScope(const ContextScope&) = delete;
  ContextScope& operator=(const ContextScope&) = delete;

 private:
  AGLContext previous_;
  bool switched_;
};

// A glyph in the form glBitmap takes: rows bottom first, each row packed
// most significant bit first and padded to whole bytes (unpack alignment 1).
struct GlyphBitmap {
  int width = 0;
  int height = 0;
  float xorig = 0;  // from the bitmap's lower-left corner to the pen, GL axes
  float yorig = 0;
  float advance = 0;
  std::vector<unsigned char> bits;
  bool bit(int column, int rowFromBottom) const {
    return (bits[size_t(rowFromBottom * ((width + 7) / 8) + column / 8)] & (0x80 >> (column % 8))) != 0;
  }
};

// The Unicode character that Mac Roman code `code` shows in font `fontID`,
// or 0 for the control codes, which show nothing. The Symbol font shows
// Greek letters in place of Latin ones.
char32_t glyphCharacter(short fontID, unsigned char code);

// The Qt font that draws a font number's glyphs, Greek included.
QFont glyphFont(short fontID, short size, Style face);

// One character of a font rasterised without antialiasing.
GlyphBitmap rasteriseGlyph(const QFont& font, char32_t character);

}  // namespace tb::agl
