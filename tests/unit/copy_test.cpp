// The Edit menu: a plot's picture on the clipboard with its frame and
// pixels, clearing a plot, and cutting, copying, pasting and clearing the
// text window's text through the clipboard.
#include "Sources/copy.h"

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "Sources/color.h"
#include "toolbox/internal/Memory.h"
#include "toolbox/internal/Pictures.h"
#include "unit/app_desktop.h"
#include "unit/while_waiting.h"

namespace {

std::string logText() { return std::string(*(*hTE)->hText, size_t((*hTE)->teLength)); }

std::string lastLine() {
  std::string text = logText();
  if (!text.empty() && text.back() == '\r') text.pop_back();
  const size_t cr = text.rfind('\r');
  return cr == std::string::npos ? text : text.substr(cr + 1);
}

std::string describe(const RGBColor& c) {
  return "{" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + "}";
}

void putClipboardText(const std::string& utf8) { tb::frontend().setClipboard(&utf8, nullptr); }

std::string clipboardText() {
  std::string text;
  return tb::frontend().clipboardText(text) ? text : std::string("<no text>");
}

void runEvents() {
  EventRecord e;
  while (GetNextEvent(everyEvent, &e)) dispatchEvent(e);
}

RGBColor foreColour(WindowPtr w) {
  SetPortWindowPort(w);
  RGBColor c;
  GetForeColor(&c);
  return c;
}
RGBColor backColour(WindowPtr w) {
  SetPortWindowPort(w);
  RGBColor c;
  GetBackColor(&c);
  return c;
}
bool same(const RGBColor& a, const RGBColor& b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

// How a clipboard image differs from a window's picture framed in black.
struct FrameCheck {
  int frameNotBlack = 0;
  int insideDifferent = 0;
};

FrameCheck checkFramed(const QImage& clip, const QImage& picture) {
  FrameCheck f;
  const int w = clip.width(), h = clip.height();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool onFrame = x == 0 || y == 0 || x == w - 1 || y == h - 1;
      const QRgb found = clip.pixel(x, y) | 0xFF000000u;
      if (onFrame) {
        if (found != 0xFF000000u) ++f.frameNotBlack;
      } else if (found != (picture.pixel(x, y) | 0xFF000000u)) {
        ++f.insideDifferent;
      }
    }
  }
  return f;
}

class PlotEdit : public AppDesktop {
 protected:
  void SetUp() override {
    AppDesktop::SetUp();
    plot = newPlot();
    runEvents();  // drawn
    picture = plot->port.image.copy();
    // Odd pen colours, to see that copying leaves them as they were.
    SetPortWindowPort(plot);
    RGBForeColor(&kFore);
    RGBBackColor(&kBack);
  }
  void TearDown() override {
    tb::clearMemoryLimit();
    AppDesktop::TearDown();
  }
  void expectPortUntouched(const std::string& what) {
    EXPECT_TRUE(same(kFore, foreColour(plot))) << what << ": expected the port's foreground " << describe(kFore)
                                               << ", found " << describe(foreColour(plot));
    EXPECT_TRUE(same(kBack, backColour(plot))) << what << ": expected the port's background " << describe(kBack)
                                               << ", found " << describe(backColour(plot));
    EXPECT_TRUE(picture == plot->port.image) << what << ": expected the plot's pixels unchanged";
  }

  static constexpr RGBColor kFore{1000, 2000, 3000};
  static constexpr RGBColor kBack{60000, 50000, 40000};
  WindowPtr plot = nullptr;
  QImage picture;
};

TEST_F(PlotEdit, CopyAndCutPutThePictureFramedInBlack) {
  for (short item : {4, 3}) {
    const std::string what = item == 4 ? "copy" : "cut";
    putClipboardText("text from before");
    doEdit(item);
    const QImage clip = tb::frontend().clipboardImage();
    ASSERT_FALSE(clip.isNull()) << what << ": expected an image on the clipboard";
    EXPECT_EQ(picture.size(), clip.size()) << what << ": expected the window's content size "
                                           << picture.width() << " x " << picture.height() << ", found "
                                           << clip.width() << " x " << clip.height();
    if (clip.size() != picture.size()) continue;
    const FrameCheck f = checkFramed(clip, picture);
    EXPECT_EQ(0, f.frameNotBlack) << what << ": expected a one-pixel black frame, found " << f.frameNotBlack
                                  << " frame pixels of another colour";
    EXPECT_EQ(0, f.insideDifferent) << what << ": expected the window's pixels inside the frame, found "
                                    << f.insideDifferent << " different";
    EXPECT_EQ("<no text>", clipboardText()) << what << ": the picture replaces what the clipboard held";
    expectPortUntouched(what);

    // The same picture is what the program reads back as 'PICT'.
    ScrapRef scrap = nullptr;
    Size size = 0;
    ASSERT_EQ(noErr, GetCurrentScrap(&scrap));
    ASSERT_EQ(noErr, GetScrapFlavorSize(scrap, kScrapFlavorTypePicture, &size)) << what << ": 'PICT' size";
    std::vector<char> bytes(static_cast<size_t>(size));
    ASSERT_EQ(noErr, GetScrapFlavorData(scrap, kScrapFlavorTypePicture, &size, bytes.data()));
    Picture header;
    std::memcpy(&header, bytes.data(), sizeof header);
    EXPECT_TRUE(header.picFrame.top == 0 && header.picFrame.left == 0 &&
                header.picFrame.bottom == picture.height() && header.picFrame.right == picture.width())
        << what << ": expected the picture's frame to be the window's bounds";
    EXPECT_TRUE(tb::pictureImage(bytes.data(), bytes.size()).convertToFormat(QImage::Format_RGB32) ==
                clip.convertToFormat(QImage::Format_RGB32))
        << what << ": the 'PICT' bytes hold the clipboard's image";
  }
}

TEST_F(PlotEdit, PasteAndTheOtherItemsDoNothing) {
  const std::string textBefore = logText();
  for (short item : {1, 2, 5, 7}) {
    putClipboardText("keep me");
    doEdit(item);
    EXPECT_EQ("keep me", clipboardText()) << "item " << item << " with a plot in front changed the clipboard";
    EXPECT_EQ(textBefore, logText()) << "item " << item << " with a plot in front changed the text window";
    expectPortUntouched("item " + std::to_string(item));
  }
}

TEST_F(PlotEdit, ClearBlanksThePlotUntilItsNextRedraw) {
  setBackground(1);  // black, to tell the cleared window from the white picture
  const std::string textBefore = logText();
  doEdit(6);
  int notBlack = 0;
  for (int y = 0; y < plot->port.image.height(); ++y)
    for (int x = 0; x < plot->port.image.width(); ++x) notBlack += (plot->port.image.pixel(x, y) & 0xFFFFFF) != 0;
  EXPECT_EQ(0, notBlack) << "expected every pixel of the cleared plot black, found " << notBlack << " others";
  EXPECT_EQ(textBefore, logText()) << "clearing a plot leaves the text window";
  EXPECT_TRUE(plot->updateRgn.isEmpty()) << "clearing requests no redraw";
  setBackground(2);
  requestUpdate(plot);
  runEvents();
  EXPECT_TRUE(picture == plot->port.image) << "the next redraw brings the picture back";
}

TEST_F(PlotEdit, RunningOutOfMemoryBeepsAndSaysSo) {
  struct Case {
    const char* name;
    size_t room;  // bytes left for blocks
  };
  const std::vector<Case> cases = {
      {"no room for the picture's image", sizeof(Picture) + 64},
      {"no room for the picture at all", 0},
  };
  for (const Case& c : cases) {
    putClipboardText("keep me");
    const int beeps = tb::qtFrontend()->beepCount();
    tb::setMemoryLimit(tb::memoryInUse() + c.room);
    doEdit(4);
    tb::clearMemoryLimit();
    EXPECT_EQ(beeps + 1, tb::qtFrontend()->beepCount()) << c.name << ": expected one beep";
    EXPECT_EQ(NOMEMORY, lastLine()) << c.name << ": the text window's last line";
    EXPECT_EQ("keep me", clipboardText()) << c.name << ": the clipboard stays as it was";
    expectPortUntouched(c.name);
  }
}

// ---- the text window in front ----

class TextWindowEdit : public AppDesktop {
 protected:
  void SetUp() override {
    AppDesktop::SetUp();
    newPlot();  // behind the text window: the Edit menu follows the front window
    show(output);
    eraseOutput();
    alerts.clear();
    tb::setIdleHook([this](bool) {
      tb::QtFrontend* fe = tb::qtFrontend();
      if (fe->alertOpen()) {
        alerts.push_back(fe->alertMessage());
        fe->pressAlertButton(1);
      }
    });
  }
  void TearDown() override {
    tb::setIdleHook(nullptr);
    AppDesktop::TearDown();
  }
  static void setText(const std::string& macRoman) {
    eraseOutput();
    TESetSelect(0, 0, hTE);
    TEInsert(macRoman.data(), long(macRoman.size()), hTE);
  }
  std::vector<std::string> alerts;
};

TEST_F(TextWindowEdit, CopyAndCutPutTheSelectionOnTheClipboard) {
  struct Case {
    const char* name;
    short item;
    long selStart, selEnd;
    std::string clipboard;  // UTF-8, line feeds
    std::string textAfter;  // Mac Roman
  };
  const std::string text = "alpha \xB5\rbeta\rgamma";
  const std::vector<Case> cases = {
      {"copy across a line end", 4, 6, 12, "\u00B5\nbeta", text},
      {"copy the first word", 4, 0, 5, "alpha", text},
      {"cut the middle line", 3, 8, 13, "beta\n", "alpha \xB5\rgamma"},
  };
  for (const Case& c : cases) {
    setText(text);
    putClipboardText("old");
    TESetSelect(c.selStart, c.selEnd, hTE);
    doEdit(c.item);
    EXPECT_EQ(c.clipboard, clipboardText()) << c.name << ": the clipboard's text";
    EXPECT_EQ(c.textAfter, logText()) << c.name << ": the text window's text";
  }
}

TEST_F(TextWindowEdit, PasteReplacesTheSelectionWithTheClipboardsText) {
  struct Case {
    const char* name;
    std::string clipboard;  // UTF-8 from another program
    std::string expected;   // Mac Roman
  };
  const std::vector<Case> cases = {
      {"plain words", "new", "one new three"},
      {"line feeds become returns", "a\nb", "one a\rb three"},
      {"CR LF is one line end", "a\r\nb", "one a\rb three"},
      {"Mac Roman letters", "\u00B5\u03A9\u20AC", "one \xB5\xBD\xDB three"},
      {"characters Mac Roman lacks become ?", "\u2713", "one ? three"},
  };
  for (const Case& c : cases) {
    setText("one two three");
    TESetSelect(4, 7, hTE);
    putClipboardText(c.clipboard);
    doEdit(5);
    EXPECT_EQ(c.expected, logText()) << c.name << ": the text after the paste";
    EXPECT_TRUE(alerts.empty()) << c.name << ": no alert";
  }
}

TEST_F(TextWindowEdit, AClipboardWithoutTextPastesNothing) {
  const QImage image(4, 4, QImage::Format_RGB32);
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"an empty clipboard", [] { tb::frontend().setClipboard(nullptr, nullptr); }},
      {"an image only", [&] { tb::frontend().setClipboard(nullptr, &image); }},
      {"empty text", [] { putClipboardText(""); }},
  };
  for (const auto& [name, fill] : cases) {
    setText("one two three");
    TESetSelect(4, 7, hTE);
    fill();
    doEdit(5);
    EXPECT_EQ("one two three", logText()) << name << ": the text after the paste";
  }
}

TEST_F(TextWindowEdit, APasteThatWouldFillTheTextErasesItFirst) {
  // The paste buffer holds a few characters from an earlier copy; the room
  // check must count the clipboard's hundred that are coming.
  setText("short");
  TESetSelect(0, 5, hTE);
  TECopy(hTE);
  setText(std::string(32700, 'x'));
  TESetSelect(32700, 32700, hTE);
  putClipboardText(std::string(100, 'p'));
  doEdit(5);
  ASSERT_EQ(1u, alerts.size()) << "expected one alert";
  EXPECT_EQ(TEXTFULL, alerts.front()) << "the 32K alert";
  EXPECT_EQ(std::string(100, 'p'), logText()) << "the text is erased, then the paste follows";
}

TEST_F(TextWindowEdit, ClearErasesAllTheText) {
  setText("first\rsecond\rthird");
  TESetSelect(6, 12, hTE);
  doEdit(6);
  EXPECT_EQ("", logText()) << "clear erases everything, not only the selection";
}

TEST_F(TextWindowEdit, EveryItemEndsWithTheSelectionInView) {
  for (short item : {1, 2, 4}) {
    for (int i = 0; i < 200; ++i) printToText("line %d", i);
    SetControlValue(vScroll, 0);
    adjustScroll();
    const short scrolledBefore = short((*hTE)->viewRect.top - (*hTE)->destRect.top);
    ASSERT_EQ(0, scrolledBefore) << "the text starts scrolled to the top";
    TESetSelect(32767, 32767, hTE);
    SetControlMaximum(vScroll, 0);
    doEdit(item);
    const int scrolled = (*hTE)->viewRect.top - (*hTE)->destRect.top;
    EXPECT_GT(scrolled, 0) << "item " << item << ": expected the end of the text scrolled into view";
    const SInt16 renewed = GetControlMaximum(vScroll);
    setVScrollMax();
    EXPECT_EQ(GetControlMaximum(vScroll), renewed) << "item " << item << ": expected the scroll range renewed";
    EXPECT_GT(renewed, 0) << "item " << item << ": 200 lines scroll";
    eraseOutput();
  }
}

TEST_F(TextWindowEdit, WithNoWindowInFrontNothingHappens) {
  std::vector<WindowRecord*> hidden;
  for (WindowRecord* w : tb::windowManager().windows) {
    if (w->visible) hidden.push_back(w);
  }
  for (WindowRecord* w : hidden) HideWindow(w);
  ASSERT_EQ(nullptr, FrontWindow()) << "every window is hidden";
  setText("one two three");
  TESetSelect(0, 3, hTE);
  for (short item : {3, 4, 5, 6}) {
    putClipboardText("keep me");
    doEdit(item);
    EXPECT_EQ("keep me", clipboardText()) << "item " << item << " with no window changed the clipboard";
    EXPECT_EQ("one two three", logText()) << "item " << item << " with no window changed the text";
  }
  for (WindowRecord* w : hidden) ShowWindow(w);
}

}  // namespace
