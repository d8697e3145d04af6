// AGL bitmap fonts: aglUseFont turns the glyphs of a font into display
// lists of glBitmap calls, rasterised by Qt without antialiasing.
//
// Implemented: any font number, size and face of QuickDraw's font table; the
// Symbol font's Latin letters show Greek letters, as in its classic layout.
// Left out: Symbol's other mathematical signs (its digits and punctuation
// show as themselves), outline fonts.
#include <QFontMetrics>
#include <QPainter>
#include <array>
#include <map>
#include <optional>
#include <tuple>

#include "AGL.h"
#include "TextUtils.h"
#include "internal/AGLInternal.h"
#include "internal/Port.h"

namespace {

// The Symbol font's letters A-Z and a-z, in alphabetical order of the Latin
// letter they replace.
constexpr char32_t kSymbolCapitals[26] = {U'Α', U'Β', U'Χ', U'Δ', U'Ε', U'Φ', U'Γ', U'Η', U'Ι', U'ϑ', U'Κ', U'Λ', U'Μ',
                                          U'Ν', U'Ο', U'Π', U'Θ', U'Ρ', U'Σ', U'Τ', U'Υ', U'ς', U'Ω', U'Ξ', U'Ψ', U'Ζ'};
constexpr char32_t kSymbolSmall[26] = {U'α', U'β', U'χ', U'δ', U'ε', U'φ', U'γ', U'η', U'ι', U'ϕ', U'κ', U'λ', U'μ',
                                       U'ν', U'ο', U'π', U'θ', U'ρ', U'σ', U'τ', U'υ', U'ϖ', U'ω', U'ξ', U'ψ', U'ζ'};

// glBitmap takes its pixels under the unpack state, which belongs to the
// program; it is set for tightly packed rows and put back afterwards.
class TightUnpack {
 public:
  TightUnpack() {
    for (size_t i = 0; i < kNames.size(); ++i) glGetIntegerv(kNames[i], &saved_[i]);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
  }
  ~TightUnpack() {
    for (size_t i = 0; i < kNames.size(); ++i) glPixelStorei(kNames[i], saved_[i]);
  }
  TightUnpack(const TightUnpack&) = delete;
  TightUnpack& operator=(const TightUnpack&) = delete;

 private:
  static constexpr std::array<GLenum, 6> kNames = {GL_UNPACK_ALIGNMENT,   GL_UNPACK_ROW_LENGTH, GL_UNPACK_SKIP_ROWS,
                                                   GL_UNPACK_SKIP_PIXELS, GL_UNPACK_LSB_FIRST,  GL_UNPACK_SWAP_BYTES};
  std::array<GLint, 6> saved_{};
};

// Every plot window builds the same two fonts, and rasterising 256 glyphs
// takes a noticeable time, so each glyph is kept once made.
class GlyphCache {
 public:
  const tb::agl::GlyphBitmap& glyph(short fontID, short size, Style face, unsigned char code) {
    FontGlyphs& font = fonts_[{fontID, size, face}];
    std::optional<tb::agl::GlyphBitmap>& slot = font.glyphs[code];
    if (!slot) {
      if (!font.qfont) font.qfont = tb::agl::glyphFont(fontID, size, face);
      const char32_t character = tb::agl::glyphCharacter(fontID, code);
      slot = character != 0 ? tb::agl::rasteriseGlyph(*font.qfont, character) : tb::agl::GlyphBitmap{};
    }
    return *slot;
  }

 private:
  struct FontGlyphs {
    std::optional<QFont> qfont;
    std::array<std::optional<tb::agl::GlyphBitmap>, 256> glyphs;
  };
  std::map<std::tuple<short, short, Style>, FontGlyphs> fonts_;
};

GlyphCache& glyphCache() {
  static GlyphCache cache;
  return cache;
}

}  // namespace

namespace tb::agl {

char32_t glyphCharacter(short fontID, unsigned char code) {
  if (code < 0x20 || code == 0x7F) return 0;
  if (fontID == kFontIDSymbol) {
    if (code >= 'A' && code <= 'Z') return kSymbolCapitals[code - 'A'];
    if (code >= 'a' && code <= 'z') return kSymbolSmall[code - 'a'];
  }
  return tb::macRomanToUnicode(code);
}

QFont glyphFont(short fontID, short size, Style face) {
  QFont font = tb::fontFor(fontID, size, face);
  if (fontID == kFontIDSymbol) font.setFamily("DejaVu Sans");  // has the Greek letters
  // A bitmap pixel is on or off; thresholding antialiased edges would make
  // stems uneven.
  font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoAntialias));
  return font;
}

GlyphBitmap rasteriseGlyph(const QFont& font, char32_t character) {
  const QFontMetrics metrics(font);
  const QString text = QString::fromUcs4(&character, 1);
  GlyphBitmap glyph;
  glyph.advance = float(metrics.horizontalAdvance(text));

  // The canvas holds the ink box and the whole line height around the pen,
  // with a margin for overhangs and the underline; (0, 0) is the pen.
  const QRect line(0, -metrics.ascent(), std::max(1, int(glyph.advance)), metrics.height());
  const QRect box = metrics.boundingRect(text).united(line).adjusted(-3, -3, 3, 3);
  QImage canvas(box.size(), QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  {
    QPainter painter(&canvas);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(-box.left(), -box.top()), text);
  }

  int left = canvas.width(), right = -1, top = canvas.height(), bottom = -1;
  for (int y = 0; y < canvas.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
    for (int x = 0; x < canvas.width(); ++x) {
      if (qAlpha(row[x]) < 128) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return glyph;  // a space: it only advances

  glyph.width = right - left + 1;
  glyph.height = bottom - top + 1;
  // The pen sits at the top edge of the canvas row just below the baseline;
  // in GL's upward axis the lowest ink row starts yorig below the pen.
  glyph.xorig = float(-(left + box.left()));
  glyph.yorig = float(bottom + box.top() + 1);
  const int rowBytes = (glyph.width + 7) / 8;
  glyph.bits.assign(size_t(rowBytes * glyph.height), 0);
  for (int r = 0; r < glyph.height; ++r) {
    const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(bottom - r));
    for (int x = 0; x < glyph.width; ++x)
      if (qAlpha(row[left + x]) >= 128) glyph.bits[size_t(r * rowBytes + x / 8)] |= uchar(0x80 >> (x % 8));
  }
  return glyph;
}

}  // namespace tb::agl

GLboolean aglUseFont(AGLContext ctx, GLint fontID, Style face, GLint size, GLint first, GLint count, GLint base) {
  if (!tb::agl::isLiveContext(ctx)) {
    tb::agl::setError(AGL_BAD_CONTEXT);
    return GL_FALSE;
  }
  // Codes are Mac Roman bytes, and list 0 does not exist.
  if (first < 0 || count < 0 || count > 256 - first || base <= 0 || size < 0) {
    tb::agl::setError(AGL_BAD_ATTRIBUTE);
    return GL_FALSE;
  }
  tb::agl::ContextScope scope(ctx);
  {
    TightUnpack unpack;
    static const GLubyte kNoPixels = 0;
    for (GLint i = 0; i < count; ++i) {
      const unsigned char code = uchar(first + i);
      glNewList(GLuint(base + i), GL_COMPILE);
      // Control codes show nothing: their lists stay empty.
      if (tb::agl::glyphCharacter(short(fontID), code) != 0) {
        const tb::agl::GlyphBitmap& glyph = glyphCache().glyph(short(fontID), short(size), face, code);
        glBitmap(glyph.width, glyph.height, glyph.xorig, glyph.yorig, glyph.advance, 0,
                 glyph.bits.empty() ? &kNoPixels : glyph.bits.data());
      }
      glEndList();
    }
  }
  tb::agl::checkGl("aglUseFont");
  return GL_TRUE;
}
