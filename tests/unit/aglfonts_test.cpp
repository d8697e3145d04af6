// Bitmap text of the plot contexts: one glyph per character at the raster
// position, each font's lists kept per plot context.
#include <gtest/gtest.h>

#include "Sources/aglFonts.h"
#include "plot_fixture.h"

namespace {

using AglFontsTest = PlotWindowTest;

TEST_F(AglFontsTest, StringsDrawOneGlyphPerCharacterSideBySide) {
  unsigned char pascal[] = "\x03xyz";
  char cString[] = "ab";
  Capture c = capture([&] {
    glRasterPos2d(50, 100);
    drawPStringGL(pascal, 0);
    glRasterPos2d(50, 200);
    drawCStringGL(cString, 0);
  });
  ASSERT_EQ(c.bitmapPositions.size(), 5u) << "three glyphs of the Pascal string, two of the C string";
  EXPECT_EQ(c.bitmapPositions[0], (Pixel{50, 100})) << "the first glyph sits at the raster position";
  const int advance = c.bitmapPositions[1].h - c.bitmapPositions[0].h;
  EXPECT_GT(advance, 0) << "the raster position advances by the glyph width";
  EXPECT_EQ(c.bitmapPositions[2].h - c.bitmapPositions[1].h, advance) << "the text font is monospaced";
  EXPECT_EQ(c.bitmapPositions[3], (Pixel{50, 200})) << "the C string starts at its raster position";
  EXPECT_EQ(c.bitmapPositions[4], (Pixel{50 + advance, 200})) << "and its second glyph follows";
}

TEST_F(AglFontsTest, SymbolAndTextFontsHaveTheirOwnLists) {
  data->setDrawable();
  EXPECT_NE(gFont[0], 0u) << "text font built";
  EXPECT_NE(gFont[1], 0u) << "symbol font built";
  EXPECT_NE(gFont[0], gFont[1]) << "each font has its own 256 lists";
  EXPECT_TRUE(glIsList(gFont[1] + 'm')) << "the symbol font has a list for m";
}

TEST_F(AglFontsTest, AFontThatCouldNotBeBuiltDrawsNothing) {
  Capture c = capture([&] {
    const GLuint saved = gFont[1];
    gFont[1] = 0;
    glRasterPos2d(50, 100);
    drawCharacter('m', 1);
    drawCharacter('m', 2);  // no such font
    gFont[1] = saved;
  });
  EXPECT_EQ(c.bitmaps, 0) << "base 0 and unknown font numbers draw no glyph";
}

TEST_F(AglFontsTest, ClosingAnotherPlotKeepsThisPlotsLabels) {
  // The newer plot builds its fonts in its own context and deletes them when
  // it closes; this plot must still find its own lists.
  WindowPtr other = createPlot();
  ASSERT_NE(other, nullptr) << "second plot";
  disposePlot(other);
  data->setCoordinates(0, 4, -1, 2);
  Capture c = capture([&] { data->plotAxes(); });
  EXPECT_EQ(c.bitmaps, 2) << "both axis letters still drawn";
}

}  // namespace
