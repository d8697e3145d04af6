// The AGL layer: pixel formats and errors, one context per window, what
// aglSwapBuffers puts into the window's port, and bitmap fonts.
#include "toolbox/AGL.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolbox/Windows.h"
#include "toolbox/internal/AGLInternal.h"
#include "toolbox/internal/WindowRecord.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kCyan = 0xFF00FFFF;

std::string hex(QRgb c) {
  char text[16];
  std::snprintf(text, sizeof text, "#%08X", unsigned(c));
  return text;
}

AGLContext newContext(AGLContext share = nullptr) {
  const GLint attribs[] = {AGL_RGBA, AGL_NONE, AGL_NONE};
  AGLPixelFormat format = aglChoosePixelFormat(nullptr, 0, attribs);
  AGLContext ctx = aglCreateContext(format, share);
  aglDestroyPixelFormat(format);
  return ctx;
}

// The program's projection: GL coordinates are window pixels, y downward.
void usePixelProjection(int width, int height) {
  glViewport(0, 0, width, height);
  glLoadIdentity();
  gluOrtho2D(0, width, height, 0);
}

void clearTo(float red, float green, float blue) {
  glClearColor(red, green, blue, 1);
  glClear(GL_COLOR_BUFFER_BIT);
}

// Fills exactly the one pixel whose top-left corner is (h, v).
void fillPixel(int h, int v) { glRecti(h, v, h + 1, v + 1); }

// A hidden document window with its own context, bound and current, with
// the program's pixel projection.
class GLWindow {
 public:
  GLWindow(short width, short height) {
    const Rect content{60, 40, short(60 + height), short(40 + width)};
    CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &content, &window);
    ctx = newContext();
    aglSetDrawable(ctx, GetWindowPort(window));
    makeCurrent();
  }
  ~GLWindow() {
    aglDestroyContext(ctx);
    DisposeWindow(window);
  }
  GLWindow(const GLWindow&) = delete;
  GLWindow& operator=(const GLWindow&) = delete;

  void makeCurrent() {
    aglSetCurrentContext(ctx);
    usePixelProjection(image().width(), image().height());
  }
  void present() {
    glFlush();
    aglSwapBuffers(ctx);
  }
  const QImage& image() const { return window->port.image; }
  QRgb pixel(int h, int v) const { return image().pixel(h, v); }

  WindowRef window = nullptr;
  AGLContext ctx = nullptr;
};

int countPixels(const QImage& image, QRgb colour) {
  int count = 0;
  for (int v = 0; v < image.height(); ++v)
    for (int h = 0; h < image.width(); ++h) count += image.pixel(h, v) == colour;
  return count;
}

// The smallest rectangle holding every pixel that is not `background`.
QRect inkBox(const QImage& image, QRgb background) {
  QRect box;
  for (int v = 0; v < image.height(); ++v)
    for (int h = 0; h < image.width(); ++h)
      if (image.pixel(h, v) != background) box = box.united(QRect(h, v, 1, 1));
  return box;
}

std::string describe(const QRect& r) {
  if (r.isNull()) return "no pixels";
  return "h " + std::to_string(r.left()) + ".." + std::to_string(r.right()) + ", v " + std::to_string(r.top()) + ".." +
         std::to_string(r.bottom());
}

// Every test starts and ends without a pending error or a current context.
class AglTest : public testing::Test {
 protected:
  void SetUp() override {
    aglSetCurrentContext(nullptr);
    aglGetError();
  }
  void TearDown() override {
    EXPECT_EQ(aglGetError(), GLenum(AGL_NO_ERROR)) << "an AGL error was left pending";
    aglSetCurrentContext(nullptr);
  }
};

// ---------------------------------------------------------------------------
// Pixel formats and error numbers

struct FormatCase {
  const char* name;
  std::vector<GLint> attribs;
  bool expectFormat;
  GLenum expectError;
};

TEST_F(AglTest, PixelFormatsAreRgbaSingleBufferedOnly) {
  const std::vector<FormatCase> cases = {
      {"RGBA as the plots ask", {AGL_RGBA, AGL_NONE, AGL_NONE}, true, AGL_NO_ERROR},
      {"RGBA with a depth size of 0", {AGL_RGBA, AGL_DEPTH_SIZE, 0, AGL_NONE}, true, AGL_NO_ERROR},
      {"double buffer", {AGL_RGBA, AGL_DOUBLEBUFFER, AGL_NONE}, false, AGL_BAD_ATTRIBUTE},
      {"depth buffer", {AGL_RGBA, AGL_DEPTH_SIZE, 16, AGL_NONE}, false, AGL_BAD_ATTRIBUTE},
      {"colour index (no RGBA)", {AGL_NONE}, false, AGL_BAD_ATTRIBUTE},
      {"unknown attribute", {AGL_RGBA, 9999, AGL_NONE}, false, AGL_BAD_ATTRIBUTE},
  };
  for (const FormatCase& c : cases) {
    AGLPixelFormat format = aglChoosePixelFormat(nullptr, 0, c.attribs.data());
    EXPECT_EQ(format != nullptr, c.expectFormat) << c.name << ": expected a format: " << c.expectFormat;
    EXPECT_EQ(aglGetError(), c.expectError) << c.name;
    aglDestroyPixelFormat(format);
  }
}

TEST_F(AglTest, PendingErrorIsTheFirstAndIsClearedOnRead) {
  const GLint doubleBuffer[] = {AGL_RGBA, AGL_DOUBLEBUFFER, AGL_NONE};
  EXPECT_EQ(aglChoosePixelFormat(nullptr, 0, doubleBuffer), nullptr) << "double buffering is refused";
  EXPECT_FALSE(aglDestroyContext(nullptr)) << "destroying no context fails";
  EXPECT_EQ(aglGetError(), GLenum(AGL_BAD_ATTRIBUTE)) << "the first error stays until read";
  EXPECT_EQ(aglGetError(), GLenum(AGL_NO_ERROR)) << "reading clears the error";
}

struct MisuseCase {
  const char* name;
  std::function<bool(AGLContext fresh, AGLContext dead)> call;  // the call's success
  GLenum expectError;
};

TEST_F(AglTest, MisuseFailsWithItsErrorNumber) {
  const std::vector<MisuseCase> cases = {
      {"make a destroyed context current", [](AGLContext, AGLContext dead) { return aglSetCurrentContext(dead); },
       AGL_BAD_CONTEXT},
      {"bind a destroyed context", [](AGLContext, AGLContext dead) { return aglSetDrawable(dead, nullptr); },
       AGL_BAD_CONTEXT},
      {"destroy a context twice", [](AGLContext, AGLContext dead) { return aglDestroyContext(dead); }, AGL_BAD_CONTEXT},
      {"create without pixel format",
       [](AGLContext, AGLContext) { return aglCreateContext(nullptr, nullptr) != nullptr; }, AGL_BAD_ATTRIBUTE},
      {"share a destroyed context", [](AGLContext, AGLContext dead) { return newContext(dead) != nullptr; },
       AGL_BAD_CONTEXT},
      {"update a context without window", [](AGLContext fresh, AGLContext) { return aglUpdateContext(fresh); },
       AGL_BAD_DRAWABLE},
      {"present a context without window",
       [](AGLContext fresh, AGLContext) {
         aglSwapBuffers(fresh);
         return false;
       },
       AGL_BAD_DRAWABLE},
      {"present a destroyed context",
       [](AGLContext, AGLContext dead) {
         aglSwapBuffers(dead);
         return false;
       },
       AGL_BAD_CONTEXT},
      {"font into list 0", [](AGLContext fresh, AGLContext) { return aglUseFont(fresh, 4, normal, 12, 0, 1, 0); },
       AGL_BAD_ATTRIBUTE},
      {"font of 257 codes", [](AGLContext fresh, AGLContext) { return aglUseFont(fresh, 4, normal, 12, 0, 257, 1); },
       AGL_BAD_ATTRIBUTE},
      {"font past code 255", [](AGLContext fresh, AGLContext) { return aglUseFont(fresh, 4, normal, 12, 200, 100, 1); },
       AGL_BAD_ATTRIBUTE},
      {"font in a destroyed context",
       [](AGLContext, AGLContext dead) { return aglUseFont(dead, 4, normal, 12, 0, 1, 1); }, AGL_BAD_CONTEXT},
  };
  for (const MisuseCase& c : cases) {
    AGLContext fresh = newContext();
    AGLContext dead = newContext();
    ASSERT_NE(fresh, nullptr) << c.name << ": context creation";
    ASSERT_TRUE(aglDestroyContext(dead)) << c.name;
    EXPECT_FALSE(c.call(fresh, dead)) << c.name << ": expected the call to fail";
    EXPECT_EQ(aglGetError(), c.expectError) << c.name;
    aglDestroyContext(fresh);
  }
}

// ---------------------------------------------------------------------------
// Contexts

TEST_F(AglTest, EachWindowDrawsInItsOwnContext) {
  GLWindow first(64, 48);
  GLWindow second(80, 40);
  ASSERT_NE(first.ctx, second.ctx) << "each window gets a new context";

  first.makeCurrent();
  EXPECT_EQ(aglGetCurrentContext(), first.ctx) << "the context just made current";
  clearTo(1, 0, 0);
  second.makeCurrent();
  EXPECT_EQ(aglGetCurrentContext(), second.ctx) << "the context just made current";
  clearTo(0, 1, 1);
  // Presenting a context that is not current leaves the current one alone.
  first.present();
  EXPECT_EQ(aglGetCurrentContext(), second.ctx) << "current context after presenting another";
  second.present();

  EXPECT_EQ(countPixels(first.image(), kRed), 64 * 48) << "first window: all red, found other pixels";
  EXPECT_EQ(countPixels(second.image(), kCyan), 80 * 40) << "second window: all cyan, found other pixels";

  EXPECT_TRUE(aglSetCurrentContext(nullptr)) << "releasing the current context";
  EXPECT_EQ(aglGetCurrentContext(), nullptr) << "no context current after releasing";
}

TEST_F(AglTest, DisplayListsAreSharedOnlyWhenAsked) {
  AGLContext owner = newContext();
  AGLContext stranger = newContext();
  AGLContext sharer = newContext(owner);
  ASSERT_TRUE(owner && stranger && sharer) << "three contexts";

  aglSetCurrentContext(owner);
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glVertex2i(0, 0);
  glEndList();
  EXPECT_TRUE(glIsList(list)) << "list " << list << " in its own context";

  aglSetCurrentContext(stranger);
  EXPECT_FALSE(glIsList(list)) << "list " << list << " must not exist in a context that shares nothing";
  aglSetCurrentContext(sharer);
  EXPECT_TRUE(glIsList(list)) << "list " << list << " in a context created to share with its owner";

  for (AGLContext ctx : {sharer, stranger, owner}) EXPECT_TRUE(aglDestroyContext(ctx));
  EXPECT_EQ(aglGetCurrentContext(), nullptr) << "destroying the current context releases it";
}

// ---------------------------------------------------------------------------
// Presenting into the port

struct CellCase {
  const char* name;
  int h;
  int v;
};

TEST_F(AglTest, PixelDrawnAtWindowCoordinatesLandsOnThatPortPixel) {
  GLWindow window(120, 90);
  const std::vector<CellCase> cases = {
      {"top-left corner", 0, 0},        {"top-right corner", 119, 0}, {"bottom-left corner", 0, 89},
      {"bottom-right corner", 119, 89}, {"inside", 37, 52},
  };
  for (const CellCase& c : cases) {
    clearTo(1, 1, 1);
    glColor3f(0, 0, 0);
    fillPixel(c.h, c.v);
    window.present();
    EXPECT_EQ(hex(window.pixel(c.h, c.v)), hex(kBlack)) << c.name << " (" << c.h << ", " << c.v << ")";
    EXPECT_EQ(countPixels(window.image(), kBlack), 1)
        << c.name << ": one black pixel expected, found them at " << describe(inkBox(window.image(), kWhite));
  }
}

TEST_F(AglTest, HorizontalLineLandsOnItsRow) {
  GLWindow window(100, 80);
  clearTo(1, 1, 1);
  glColor3f(0, 0, 0);
  glBegin(GL_LINES);
  glVertex2i(10, 40);
  glVertex2i(60, 40);
  glEnd();
  window.present();
  // The end vertex of a line is not drawn.
  EXPECT_EQ(describe(inkBox(window.image(), kWhite)), describe(QRect(QPoint(10, 40), QPoint(59, 40))))
      << "line from (10, 40) to (60, 40)";
  EXPECT_EQ(countPixels(window.image(), kBlack), 50) << "black pixels of the 50-pixel line";
}

TEST_F(AglTest, InvertingTwiceRestoresThePicture) {
  GLWindow window(100, 80);
  clearTo(1, 1, 1);
  glColor3f(1, 0, 0);
  glRecti(0, 0, 50, 80);  // left half red, right half white
  window.present();
  const QImage picture = window.image().copy();

  auto drawBand = [] {
    glEnable(GL_COLOR_LOGIC_OP);
    glLogicOp(GL_INVERT);
    glRecti(30, 20, 70, 60);
    glDisable(GL_COLOR_LOGIC_OP);
  };
  drawBand();
  window.present();
  EXPECT_EQ(hex(window.pixel(40, 40)), hex(kCyan)) << "inverted red";
  EXPECT_EQ(hex(window.pixel(60, 40)), hex(kBlack)) << "inverted white, and still opaque";
  EXPECT_EQ(hex(window.pixel(80, 40)), hex(kWhite)) << "outside the band";

  drawBand();
  window.present();
  EXPECT_TRUE(window.image() == picture) << "inverting twice must give the first picture back, found differences at "
                                         << describe(inkBox(window.image(), kWhite)) << " vs "
                                         << describe(inkBox(picture, kWhite));
}

// Pixels whose stored alpha byte is not 0xFF; QImage::pixel hides it for
// RGB32, but conversions and the clipboard see it.
int countNotOpaque(const QImage& image) {
  int count = 0;
  for (int v = 0; v < image.height(); ++v) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(v));
    for (int h = 0; h < image.width(); ++h) count += qAlpha(row[h]) != 0xFF;
  }
  return count;
}

struct OpacityCase {
  const char* name;
  float clearAlpha;
  bool invert;
  QRgb expected;
};

TEST_F(AglTest, PresentedPixelsAreOpaque) {
  const std::vector<OpacityCase> cases = {
      {"cleared white with alpha 0", 0, false, kWhite},
      {"opaque white inverted (GL alpha becomes 0)", 1, true, kBlack},
  };
  for (const OpacityCase& c : cases) {
    GLWindow window(32, 16);
    glClearColor(1, 1, 1, c.clearAlpha);
    glClear(GL_COLOR_BUFFER_BIT);
    if (c.invert) {
      glEnable(GL_COLOR_LOGIC_OP);
      glLogicOp(GL_INVERT);
      glRecti(0, 0, 32, 16);
      glDisable(GL_COLOR_LOGIC_OP);
    }
    window.present();
    EXPECT_EQ(hex(window.pixel(5, 5)), hex(c.expected)) << c.name;
    EXPECT_EQ(countNotOpaque(window.image()), 0) << c.name << ": pixels stored with alpha below 0xFF";
  }
}

struct ResizeCase {
  const char* name;
  short width;
  short height;
};

TEST_F(AglTest, UpdateContextFollowsTheNewSize) {
  const std::vector<ResizeCase> cases = {{"grow", 160, 120}, {"shrink", 60, 50}, {"grow one way", 150, 50}};
  for (const ResizeCase& c : cases) {
    GLWindow window(100, 80);
    SizeWindow(window.window, c.width, c.height, false);
    EXPECT_TRUE(aglUpdateContext(window.ctx)) << c.name;
    window.makeCurrent();
    clearTo(1, 1, 1);
    glColor3f(0, 0, 0);
    fillPixel(c.width - 1, c.height - 1);
    window.present();
    ASSERT_EQ(window.image().size(), QSize(c.width, c.height)) << c.name << ": port size";
    EXPECT_EQ(hex(window.pixel(c.width - 1, c.height - 1)), hex(kBlack)) << c.name << ": bottom-right pixel";
    EXPECT_EQ(countPixels(window.image(), kWhite), c.width * c.height - 1) << c.name << ": the rest is cleared";
  }
}

struct OverlapCase {
  const char* name;
  short width;  // the port's new size; the context stays at 100 x 80
  short height;
};

// Until aglUpdateContext, the window shows the overlap of the two sizes,
// anchored at the top-left corner, and keeps its own pixels elsewhere.
TEST_F(AglTest, BeforeTheUpdateOnlyTheOverlapIsPresented) {
  const std::vector<OverlapCase> cases = {{"port grew", 150, 100}, {"port shrank", 60, 50}};
  for (const OverlapCase& c : cases) {
    GLWindow window(100, 80);
    SizeWindow(window.window, c.width, c.height, false);
    clearTo(1, 0, 0);
    glColor3f(0, 0, 0);
    fillPixel(0, 0);  // the old projection still holds
    fillPixel(std::min(c.width, short(100)) - 1, std::min(c.height, short(80)) - 1);
    window.present();
    const int cols = std::min<int>(c.width, 100), rows = std::min<int>(c.height, 80);
    EXPECT_EQ(hex(window.pixel(0, 0)), hex(kBlack)) << c.name << ": top-left pixel";
    EXPECT_EQ(hex(window.pixel(cols - 1, rows - 1)), hex(kBlack)) << c.name << ": last pixel of the overlap";
    EXPECT_EQ(countPixels(window.image(), kRed), cols * rows - 2) << c.name << ": red pixels of the overlap";
    EXPECT_EQ(countPixels(window.image(), kWhite), c.width * c.height - cols * rows)
        << c.name << ": outside the overlap, the port's own background";
  }
}

TEST_F(AglTest, WindowDisposedBeforeItsContextIsNotTouched) {
  AGLContext ctx = newContext();
  WindowRef window = nullptr;
  const Rect content{60, 40, 100, 100};
  CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &content, &window);
  ASSERT_TRUE(aglSetDrawable(ctx, GetWindowPort(window)));
  DisposeWindow(window);

  aglSwapBuffers(ctx);
  EXPECT_EQ(aglGetError(), GLenum(AGL_BAD_DRAWABLE)) << "presenting into a disposed window";
  EXPECT_FALSE(aglUpdateContext(ctx)) << "following a disposed window";
  EXPECT_EQ(aglGetError(), GLenum(AGL_BAD_DRAWABLE)) << "following a disposed window";
  EXPECT_TRUE(aglDestroyContext(ctx));
}

struct PortFormatCase {
  const char* name;
  QImage::Format format;
};

TEST_F(AglTest, PortsOfAnyPixelFormatReceiveThePicture) {
  const std::vector<PortFormatCase> cases = {{"RGB32", QImage::Format_RGB32},
                                             {"ARGB32", QImage::Format_ARGB32},
                                             {"ARGB32 premultiplied", QImage::Format_ARGB32_Premultiplied},
                                             {"RGB888", QImage::Format_RGB888}};
  for (const PortFormatCase& c : cases) {
    GrafPortRecord port;  // a port without window
    port.image = QImage(30, 20, c.format);
    port.image.fill(Qt::green);
    AGLContext ctx = newContext();
    ASSERT_TRUE(aglSetDrawable(ctx, &port)) << c.name;
    aglSetCurrentContext(ctx);
    usePixelProjection(30, 20);
    clearTo(1, 0, 0);
    glColor3f(0, 0, 0);
    fillPixel(5, 7);
    glFlush();
    aglSwapBuffers(ctx);
    EXPECT_EQ(port.image.format(), c.format) << c.name << ": the port keeps its format";
    EXPECT_EQ(hex(port.image.pixel(5, 7)), hex(kBlack)) << c.name;
    EXPECT_EQ(hex(port.image.pixel(6, 7)), hex(kRed)) << c.name;
    EXPECT_EQ(hex(port.image.pixel(29, 19)), hex(kRed)) << c.name;
    aglDestroyContext(ctx);
  }
}

TEST_F(AglTest, DebugChecksReportGlErrors) {
  GLWindow window(16, 16);
  tb::agl::setDebugChecks(true);
  glEnable(0x7FFF);  // not a capability: GL_INVALID_ENUM (0x0500)
  testing::internal::CaptureStderr();
  window.present();
  const std::string printed = testing::internal::GetCapturedStderr();
  tb::agl::setDebugChecks(false);
  EXPECT_NE(printed.find("0x0500"), std::string::npos) << "expected the GL error on stderr, found: " << printed;
}

// ---------------------------------------------------------------------------
// Bitmap fonts

struct CharacterCase {
  const char* what;
  short font;
  unsigned char code;
  char32_t expected;
};

TEST(AglGlyphs, CharacterShownForEachCode) {
  const std::vector<CharacterCase> cases = {
      {"Symbol m: Greek small mu", kFontIDSymbol, 'm', U'\u03BC'},
      {"Symbol l: lambda", kFontIDSymbol, 'l', U'\u03BB'},
      {"Symbol r: rho", kFontIDSymbol, 'r', U'\u03C1'},
      {"Symbol a: alpha", kFontIDSymbol, 'a', U'\u03B1'},
      {"Symbol z: zeta", kFontIDSymbol, 'z', U'\u03B6'},
      {"Symbol A: capital alpha", kFontIDSymbol, 'A', U'\u0391'},
      {"Symbol W: capital omega", kFontIDSymbol, 'W', U'\u03A9'},
      {"Symbol Z: capital zeta", kFontIDSymbol, 'Z', U'\u0396'},
      {"Symbol digit stays", kFontIDSymbol, '1', U'1'},
      {"Monaco m stays Latin", kFontIDMonaco, 'm', U'm'},
      {"Monaco space", kFontIDMonaco, ' ', U' '},
      {"Monaco 0xB5: micro sign", kFontIDMonaco, 0xB5, U'\u00B5'},
      {"Monaco 0xBD: capital omega", kFontIDMonaco, 0xBD, U'\u03A9'},
      {"Monaco bell: nothing", kFontIDMonaco, 0x07, 0},
      {"Symbol return: nothing", kFontIDSymbol, 0x0D, 0},
      {"Monaco delete: nothing", kFontIDMonaco, 0x7F, 0},
  };
  for (const CharacterCase& c : cases)
    EXPECT_EQ(uint32_t(tb::agl::glyphCharacter(c.font, c.code)), uint32_t(c.expected)) << c.what;
}

TEST(AglGlyphs, BitmapRowsArePackedToWholeBytes) {
  const QFont font = tb::agl::glyphFont(kFontIDMonaco, 12, normal);
  for (char32_t character : {U'W', U'i', U'g', U'.'}) {
    const tb::agl::GlyphBitmap glyph = tb::agl::rasteriseGlyph(font, character);
    EXPECT_GT(glyph.width * glyph.height, 0) << "ink of U+" << std::hex << uint32_t(character);
    EXPECT_EQ(glyph.bits.size(), size_t(glyph.height * ((glyph.width + 7) / 8)))
        << "bytes of U+" << std::hex << uint32_t(character);
  }
  const tb::agl::GlyphBitmap space = tb::agl::rasteriseGlyph(font, U' ');
  EXPECT_EQ(space.width * space.height, 0) << "a space has no ink";
  EXPECT_GT(space.advance, 0) << "a space still advances";
}

// A 256 x 128 window (powers of two keep the projection exact) with both
// fonts of the plots built in its context.
class AglFontTest : public AglTest {
 protected:
  static constexpr int kPenH = 40;
  static constexpr int kPenV = 64;

  void SetUp() override {
    AglTest::SetUp();
    window = std::make_unique<GLWindow>(256, 128);
    monaco = glGenLists(256);
    symbol = glGenLists(256);
    ASSERT_TRUE(aglUseFont(window->ctx, kFontIDMonaco, normal, 12, 0, 256, GLint(monaco))) << "Monaco";
    ASSERT_TRUE(aglUseFont(window->ctx, kFontIDSymbol, normal, 12, 0, 256, GLint(symbol))) << "Symbol";
    clearTo(1, 1, 1);
    glColor3f(0, 0, 0);  // raster colour is taken at glRasterPos
    glRasterPos2i(kPenH, kPenV);
  }
  void TearDown() override {
    window.reset();
    AglTest::TearDown();
  }

  QPointF rasterPosition() const {
    GLdouble position[4];
    glGetDoublev(GL_CURRENT_RASTER_POSITION, position);
    return QPointF(position[0], position[1]);
  }

  static int advanceOf(short font, unsigned char code) {
    const char32_t character = tb::agl::glyphCharacter(font, code);
    return QFontMetrics(tb::agl::glyphFont(font, 12, normal)).horizontalAdvance(QString::fromUcs4(&character, 1));
  }

  // The picture of one character drawn at the pen.
  QImage drawn(GLuint base, unsigned char code) {
    clearTo(1, 1, 1);
    glColor3f(0, 0, 0);
    glRasterPos2i(kPenH, kPenV);
    glCallList(base + code);
    window->present();
    return window->image().copy();
  }

  std::unique_ptr<GLWindow> window;
  GLuint monaco = 0;
  GLuint symbol = 0;
};

TEST_F(AglFontTest, EveryCodeHasAList) {
  for (int code = 0; code < 256; ++code) {
    EXPECT_TRUE(glIsList(monaco + code)) << "Monaco list of code " << code;
    EXPECT_TRUE(glIsList(symbol + code)) << "Symbol list of code " << code;
  }
}

struct GlyphCase {
  unsigned char code;
  bool descends;  // ink below the baseline
};

TEST_F(AglFontTest, GlyphDrawsAtThePenAndAdvancesByItsWidth) {
  const std::vector<GlyphCase> cases = {{'m', false}, {'x', false}, {'W', false}, {'g', true}, {'y', true}};
  for (const GlyphCase& c : cases) {
    clearTo(1, 1, 1);
    glRasterPos2i(kPenH, kPenV);
    const QPointF before = rasterPosition();
    glCallList(monaco + c.code);
    const QPointF after = rasterPosition();
    window->present();

    const int advance = advanceOf(kFontIDMonaco, c.code);
    EXPECT_GT(advance, 0) << char(c.code);
    EXPECT_DOUBLE_EQ(after.x(), before.x() + advance) << char(c.code) << ": pen advance";
    EXPECT_DOUBLE_EQ(after.y(), before.y()) << char(c.code) << ": the pen stays on its line";

    // The baseline is the top edge of row kPenV: letters sit on row kPenV - 1.
    const QRect ink = inkBox(window->image(), kWhite);
    ASSERT_FALSE(ink.isNull()) << char(c.code) << ": expected ink";
    EXPECT_GE(ink.left(), kPenH - 1) << char(c.code) << ": ink at " << describe(ink);
    EXPECT_LE(ink.right(), kPenH + advance) << char(c.code) << ": ink at " << describe(ink);
    EXPECT_LT(ink.top(), kPenV - 5) << char(c.code) << ": ink rises above the baseline, found " << describe(ink);
    if (c.descends)
      EXPECT_GT(ink.bottom(), kPenV) << char(c.code) << ": ink below the baseline, found " << describe(ink);
    else
      EXPECT_EQ(ink.bottom(), kPenV - 1) << char(c.code) << ": ink sits on the baseline, found " << describe(ink);
  }
}

TEST_F(AglFontTest, ConsecutiveGlyphsSitSideBySide) {
  const QPointF start = rasterPosition();
  for (unsigned char code : {'a', 'b', 'c'}) glCallList(monaco + code);
  const int total = advanceOf(kFontIDMonaco, 'a') + advanceOf(kFontIDMonaco, 'b') + advanceOf(kFontIDMonaco, 'c');
  EXPECT_DOUBLE_EQ(rasterPosition().x(), start.x() + total) << "pen after \"abc\"";
}

TEST_F(AglFontTest, ControlCodesDrawNothingAndKeepThePen) {
  for (unsigned char code : {0x00, 0x07, 0x0D, 0x1F, 0x7F}) {
    clearTo(1, 1, 1);
    glRasterPos2i(kPenH, kPenV);
    const QPointF before = rasterPosition();
    glCallList(monaco + code);
    window->present();
    EXPECT_EQ(rasterPosition(), before) << "pen after code " << int(code);
    EXPECT_EQ(countPixels(window->image(), kWhite), 256 * 128) << "pixels drawn by code " << int(code);
  }
}

struct BitmapCase {
  short font;
  unsigned char code;
};

// The list draws exactly what Qt draws for the character at the same pen:
// upright, not mirrored, on the same baseline.
TEST_F(AglFontTest, DrawnGlyphMatchesQtsOwnRendering) {
  const std::vector<BitmapCase> cases = {{kFontIDMonaco, 'F'}, {kFontIDMonaco, 'g'}, {kFontIDMonaco, 'j'},
                                         {kFontIDSymbol, 'm'}, {kFontIDSymbol, 'l'}, {kFontIDSymbol, 'W'}};
  for (const BitmapCase& c : cases) {
    const QImage image = drawn(c.font == kFontIDSymbol ? symbol : monaco, c.code);
    QImage reference(image.size(), QImage::Format_RGB32);
    reference.fill(Qt::white);
    {
      QPainter painter(&reference);
      painter.setFont(tb::agl::glyphFont(c.font, 12, normal));
      painter.setPen(Qt::black);
      const char32_t character = tb::agl::glyphCharacter(c.font, c.code);
      painter.drawText(QPoint(kPenH, kPenV), QString::fromUcs4(&character, 1));
    }
    int wrong = 0;
    for (int v = 0; v < image.height(); ++v)
      for (int h = 0; h < image.width(); ++h)
        wrong += (image.pixel(h, v) == kBlack) != (reference.pixel(h, v) == kBlack);
    EXPECT_EQ(wrong, 0) << "font " << c.font << " '" << char(c.code) << "': drawn ink at "
                        << describe(inkBox(image, kWhite)) << ", Qt's at " << describe(inkBox(reference, kWhite));
  }
}

TEST_F(AglFontTest, SymbolLettersAreGreek) {
  const QImage mu = drawn(symbol, 'm');
  const QImage m = drawn(monaco, 'm');
  EXPECT_FALSE(mu == m) << "Symbol 'm' (mu) must not look like Monaco 'm'";
  EXPECT_GT(inkBox(mu, kWhite).bottom(), kPenV)
      << "mu descends below the baseline, found " << describe(inkBox(mu, kWhite));
}

TEST_F(AglFontTest, BuildingLeavesUnpackStateAndCurrentContextAlone) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 3);
  const GLuint base = glGenLists(256);
  EXPECT_TRUE(aglUseFont(window->ctx, kFontIDMonaco, bold, 12, 0, 256, GLint(base)));
  GLint alignment = 0, rowLength = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
  EXPECT_EQ(alignment, 8) << "unpack alignment after aglUseFont";
  EXPECT_EQ(rowLength, 3) << "unpack row length after aglUseFont";

  // Lists for a context that is not current go into that context.
  AGLContext other = newContext();
  EXPECT_TRUE(aglUseFont(other, kFontIDSymbol, normal, 12, 'a', 26, 1));
  EXPECT_EQ(aglGetCurrentContext(), window->ctx) << "current context after building in another";
  aglSetCurrentContext(other);
  EXPECT_TRUE(glIsList(1) && glIsList(26)) << "lists 1..26 in the other context";
  EXPECT_FALSE(glIsList(27)) << "only 26 lists were asked for";
  aglDestroyContext(other);
}

}  // namespace
