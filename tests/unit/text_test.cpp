// The text output window: lines, the 32K rule, the scroll range, paging,
// resizing, clicks and activation.
#include "Sources/text.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolbox/internal/EventQueue.h"
#include "toolbox/internal/TextLayout.h"
#include "toolbox/internal/WindowRecord.h"
#include "toolbox/qt/QtFrontend.h"

namespace {

TEPtr te() { return *hTE; }
std::string logText() { return std::string(*te()->hText, size_t(te()->teLength)); }
int lineHeight() { return te()->lineHeight; }
int viewLines() { return (te()->viewRect.bottom - te()->viewRect.top) / lineHeight(); }
// Pixels the text has been scrolled up.
int scrolled() { return te()->viewRect.top - int(TEGetDestTop(hTE)); }

std::string describe(const Rect& r) {
  return "{top " + std::to_string(r.top) + ", left " + std::to_string(r.left) + ", bottom " +
         std::to_string(r.bottom) + ", right " + std::to_string(r.right) + "}";
}
bool sameRect(const Rect& a, const Rect& b) {
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

class TextWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (output == nullptr) createOutput();
  }

  void SetUp() override {
    FlushEvents(everyEvent, 0);
    GetPort(&savedPort_);
    sizeTo(400, 300);
    eraseOutput();
    alerts_.clear();
    // Answers alerts as a person would, noting what they said; the timer
    // runs whenever the layer lets the front end work.
    answerer_ = std::make_unique<QTimer>();
    answerer_->setInterval(5);
    QObject::connect(answerer_.get(), &QTimer::timeout, [this] {
      tb::QtFrontend* fe = tb::qtFrontend();
      if (fe != nullptr && fe->alertOpen()) {
        alerts_.push_back(fe->alertMessage());
        fe->pressAlertButton(1);
      }
    });
    answerer_->start();
  }

  void TearDown() override {
    answerer_.reset();
    FlushEvents(everyEvent, 0);
    SetPort(savedPort_);
  }

  static void sizeTo(short width, short height) {
    SizeWindow(output, width, height, false);
    reSizeText();
  }
  // Puts text into the record directly, as many earlier lines would have.
  static void fillTo(int length) {
    std::string more(size_t(length - te()->teLength), 'x');
    TESetSelect(32767, 32767, hTE);
    TEInsert(more.data(), long(more.size()), hTE);
  }
  static void printLines(int count) {
    for (int i = 0; i < count; ++i) printToText("line %d", i);
  }
  static void scrollTo(int value) {
    SetControlValue(vScroll, short(value));
    adjustScroll();
  }

  Point toGlobal(Point local) const {
    return Point{short(local.v + output->content.top), short(local.h + output->content.left)};
  }
  // A click at a local point handed to the window as the event loop would.
  void clickAt(Point local, std::vector<Point> moves = {}, EventModifiers modifiers = 0) {
    auto post = [&](tb::InputKind kind, Point at) {
      tb::RawInput in;
      in.kind = kind;
      in.where = toGlobal(at);
      in.modifiers = modifiers;
      tb::postInput(in);
    };
    post(tb::InputKind::MouseDown, local);
    for (Point p : moves) post(tb::InputKind::MouseMove, p);
    post(tb::InputKind::MouseUp, moves.empty() ? local : moves.back());
    tb::RawInput down;
    ASSERT_TRUE(tb::takeInput(down)) << "expected the posted mouse-down";
    EventRecord event{mouseDown, 0, TickCount(), toGlobal(local), EventModifiers(modifiers | btnState)};
    doScroll(&event);
    FlushEvents(everyEvent, 0);
  }
  // The middle of a scroll-bar part, found by asking the window.
  Point partCentre(ControlPartCode wanted) {
    Rect bar;
    GetControlBounds(vScroll, &bar);
    short h = short((bar.left + bar.right) / 2 - 1);
    int first = -1, last = -1;
    for (short v = bar.top; v < bar.bottom; ++v) {
      ControlRef hit = nullptr;
      if (FindControl(Point{v, h}, output, &hit) == wanted) {
        if (first < 0) first = v;
        last = v;
      }
    }
    EXPECT_GE(first, 0) << "expected the scroll bar to have part " << wanted;
    return Point{short((first + last) / 2), h};
  }

  GrafPtr savedPort_ = nullptr;
  std::unique_ptr<QTimer> answerer_;
  std::vector<std::string> alerts_;
};

// ---- lines ----

TEST_F(TextWindowTest, EachPrintAppendsOneFormattedLine) {
  const struct {
    const char* name;
    std::function<void()> print;
    std::string line;
  } cases[] = {
      {"plain text", [] { printToText("hello"); }, "hello\r"},
      {"an empty string is an empty line", [] { printToText("%s", ""); }, "\r"},
      {"conversions", [] { printToText("x = %d, y = %.2f", 3, 0.5); }, "x = 3, y = 0.50\r"},
      {"Mac Roman passes through", [] { printToText("\xB5 = %g", 2.5); }, "\xB5 = 2.5\r"},
      {"a tab stays a tab", [] { printToText("\t spacebar"); }, "\t spacebar\r"},
  };
  for (const auto& c : cases) {
    std::string before = logText();
    c.print();
    EXPECT_EQ(before + c.line, logText()) << c.name;
  }
  EXPECT_TRUE(alerts_.empty()) << "no alert for short lines";
}

TEST_F(TextWindowTest, AnOverlongLineKeepsItsFirst255Characters) {
  std::string longLine(300, 'a');
  longLine[254] = 'E';
  printToText("%s", longLine.c_str());
  EXPECT_EQ(longLine.substr(0, 255) + "\r", logText()) << "the line is cut after 255 characters";
  printToText("next");
  EXPECT_EQ(longLine.substr(0, 255) + "\rnext\r", logText()) << "the following line is intact";
}

TEST_F(TextWindowTest, LinesPrintedWhileHiddenAreKept) {
  HideWindow(output);
  printToText("while hidden");
  ShowWindow(output);
  EXPECT_EQ("while hidden\r", logText());
  HideWindow(output);
}

TEST_F(TextWindowTest, PrintRestoresTheCallersPort) {
  WindowPtr other = nullptr;
  Rect r{50, 50, 100, 100};
  CreateNewWindow(kDocumentWindowClass, 0, &r, &other);
  SetPortWindowPort(other);
  printToText("from another port");
  eraseOutput();
  GrafPtr now = nullptr;
  GetPort(&now);
  EXPECT_EQ(GetWindowPort(other), now) << "printing and erasing leave the caller's port current";
  DisposeWindow(other);
}

// ---- the 32K rule ----

TEST_F(TextWindowTest, ALineThatWouldFillTheTextErasesItFirst) {
  const struct {
    const char* name;
    int before;
    std::string line;
    bool erased;
  } cases[] = {
      {"room for the line and its return", 32767 - 10 - 1, std::string(10, 'n'), false},
      {"the line would reach 32767", 32767 - 10, std::string(10, 'n'), true},
      {"an empty line still fits", 32766, "", false},
      {"an empty line into full text", 32767, "", true},
      {"a long line far from full", 32000, std::string(200, 'n'), false},
      {"a long line near full", 32600, std::string(200, 'n'), true},
  };
  for (const auto& c : cases) {
    eraseOutput();
    fillTo(c.before);
    alerts_.clear();
    printToText("%s", c.line.c_str());
    if (c.erased) {
      ASSERT_EQ(1u, alerts_.size()) << c.name << ": expected one alert";
      EXPECT_EQ(TEXTFULL, alerts_[0]) << c.name;
      EXPECT_EQ(c.line + "\r", logText()) << c.name << ": only the new line is left";
    } else {
      EXPECT_TRUE(alerts_.empty()) << c.name << ": expected no alert";
      EXPECT_EQ(c.before + int(c.line.size()) + 1, te()->teLength) << c.name;
    }
    EXPECT_LE(te()->teLength, 32767) << c.name;
  }
}

TEST_F(TextWindowTest, EraseEmptiesTheTextAndReturnsToTheTop) {
  printLines(100);
  ASSERT_GT(scrolled(), 0) << "a hundred lines scroll";
  eraseOutput();
  EXPECT_EQ(0, te()->teLength) << "erase deletes everything";
  EXPECT_EQ(0, GetControlMaximum(vScroll)) << "nothing to scroll";
  EXPECT_EQ(0, scrolled()) << "the layout is back at the top";
  printToText("first after erase");
  EXPECT_EQ(0, scrolled()) << "the new first line is at the top of the view";
  EXPECT_EQ(0, GetControlValue(vScroll));
}

// ---- scroll range ----

TEST_F(TextWindowTest, PrintingKeepsTheNewestLineInView) {
  const int lines = viewLines();
  for (int i = 0; i < 3 * lines; ++i) {
    printToText("line %d", i);
    int maxExpected = std::max(0, te()->nLines - lines + 1);
    ASSERT_EQ(maxExpected, GetControlMaximum(vScroll)) << "after line " << i;
    ASSERT_EQ(GetControlMaximum(vScroll), GetControlValue(vScroll)) << "the bar stands at its maximum after line " << i;
    ASSERT_EQ(GetControlValue(vScroll) * lineHeight(), scrolled()) << "the text follows the bar after line " << i;
    int lastTop = te()->destRect.top + (te()->nLines - 1) * lineHeight();
    ASSERT_GE(lastTop, te()->viewRect.top) << "line " << i << " is below the top of the view";
    ASSERT_LE(lastTop + lineHeight(), te()->viewRect.bottom) << "line " << i << " is above the bottom of the view";
  }
}

TEST_F(TextWindowTest, ScrollMaximumCountsTheLineAfterAFinalReturn) {
  const int lines = viewLines();
  auto linesOf = [](int count, bool finalReturn) {
    std::string s;
    for (int i = 0; i < count; ++i) s += "l" + std::string(i + 1 < count || finalReturn ? "\r" : "");
    return s;
  };
  const struct {
    const char* name;
    std::string text;
    int max;
  } cases[] = {
      {"empty", "", 0},
      {"fewer lines than fit", linesOf(lines - 1, true), 0},
      {"as many lines as fit, final return", linesOf(lines, true), 1},
      {"as many lines as fit, no final return", linesOf(lines, false), 0},
      {"five more than fit, final return", linesOf(lines + 5, true), 6},
      {"five more than fit, no final return", linesOf(lines + 5, false), 5},
  };
  for (const auto& c : cases) {
    eraseOutput();
    TEInsert(c.text.data(), long(c.text.size()), hTE);
    setVScrollMax();
    EXPECT_EQ(c.max, GetControlMaximum(vScroll)) << c.name << " with " << lines << " lines in view";
  }
}

TEST_F(TextWindowTest, ArrowsAndPagesMoveByLinesAndPages) {
  printLines(200);
  const int page = viewLines() - 1;
  const int max = GetControlMaximum(vScroll);
  const struct {
    const char* name;
    int from;
    ControlPartCode part;
    int to;
  } cases[] = {
      {"up arrow", 50, kControlUpButtonPart, 49},
      {"down arrow", 50, kControlDownButtonPart, 51},
      {"page up", 50, kControlPageUpPart, 50 - page},
      {"page down", 50, kControlPageDownPart, 50 + page},
      {"mouse off the part", 50, kControlNoPart, 50},
      {"the thumb is no page", 50, kControlIndicatorPart, 50},
      {"up arrow at the top", 0, kControlUpButtonPart, 0},
      {"page up near the top", 2, kControlPageUpPart, 0},
      {"down arrow at the bottom", max, kControlDownButtonPart, max},
      {"page down near the bottom", max - 1, kControlPageDownPart, max},
  };
  for (const auto& c : cases) {
    scrollTo(c.from);
    scrollProc(vScroll, c.part);
    EXPECT_EQ(c.to, GetControlValue(vScroll)) << c.name;
    EXPECT_EQ(c.to * lineHeight(), scrolled()) << c.name << ": the text follows the bar";
  }
}

TEST_F(TextWindowTest, ALogTallerThan32767PixelsScrollsToItsEnds) {
  sizeTo(60, 300);  // a handful of characters a line
  std::string line(30, 'z');
  for (int i = 0; i < 1000; ++i) printToText("%s", line.c_str());
  ASSERT_GT(te()->nLines * lineHeight(), 40000) << "the log must be taller than 16 bits can say";
  const int max = GetControlMaximum(vScroll);
  EXPECT_EQ(max, GetControlValue(vScroll)) << "the bar at its end";
  EXPECT_EQ(max * lineHeight(), scrolled()) << "the text at the bar's end";
  scrollTo(0);
  EXPECT_EQ(0, scrolled()) << "back at the top";
  scrollTo(max);
  EXPECT_EQ(max * lineHeight(), scrolled()) << "one jump to the end";
  int lastTop = int(TEGetDestTop(hTE)) + (te()->nLines - 1) * lineHeight();
  EXPECT_LE(lastTop + lineHeight(), te()->viewRect.bottom) << "the last line is in view";
  EXPECT_GE(lastTop, te()->viewRect.top) << "the last line is in view";
}

TEST_F(TextWindowTest, AOneLineViewStillPagesByOneLine) {
  sizeTo(200, short(15 + 8 + lineHeight() + lineHeight() / 2));
  ASSERT_EQ(1, viewLines()) << "the window was sized for a view of one line";
  printLines(10);
  scrollTo(3);
  scrollProc(vScroll, kControlPageDownPart);
  EXPECT_EQ(4, GetControlValue(vScroll)) << "page down moves at least one line";
  scrollProc(vScroll, kControlPageUpPart);
  EXPECT_EQ(3, GetControlValue(vScroll)) << "page up moves at least one line";
}

// ---- geometry ----

TEST_F(TextWindowTest, CreationLaysOutViewAndScrollBar) {
  // A fresh window beside the suite's one, then the suite's globals back.
  WindowPtr keptOutput = output;
  TEHandle keptTE = hTE;
  ControlRef keptScroll = vScroll;
  createOutput();
  Rect bounds;
  GetPortBounds(GetWindowPort(output), &bounds);
  Rect bar;
  GetControlBounds(vScroll, &bar);
  Rect expectedBar{short(bounds.top - 1), short(bounds.right - 15), short(bounds.bottom - 16), short(bounds.right + 1)};
  EXPECT_TRUE(sameRect(expectedBar, bar)) << "scroll bar: expected " << describe(expectedBar) << ", found "
                                          << describe(bar);
  int lh = te()->lineHeight;
  int lines = (bounds.bottom - 15 - 4 - (bounds.top + 4)) / lh;
  Rect expectedView{short(bounds.top + 4), short(bounds.left + 4), short(bounds.top + 4 + lines * lh),
                    short(bounds.right - 15 - 4)};
  EXPECT_TRUE(sameRect(expectedView, te()->viewRect))
      << "view: expected " << describe(expectedView) << ", found " << describe(te()->viewRect);
  EXPECT_EQ(expectedView.top, te()->destRect.top) << "the layout starts at the view";
  EXPECT_EQ(expectedView.right, te()->destRect.right) << "the layout wraps at the view's right edge";
  EXPECT_EQ(kFontIDMonaco, te()->txFont);
  EXPECT_EQ(9, te()->txSize);
  EXPECT_FALSE(IsWindowVisible(output)) << "the window starts hidden";
  EXPECT_EQ(0, GetControlMaximum(vScroll));
  TEDispose(hTE);
  DisposeWindow(output);
  output = keptOutput;
  hTE = keptTE;
  vScroll = keptScroll;
}

TEST_F(TextWindowTest, ResizeRewrapsAndKeepsWholeLines) {
  const struct {
    const char* name;
    short width, height;
  } sizes[] = {{"wide", 600, 400}, {"narrow", 200, 333}, {"odd height", 301, 257}};
  std::string longLine(200, 'w');
  printToText("%s", longLine.c_str());
  for (const auto& s : sizes) {
    sizeTo(s.width, s.height);
    const Rect& view = te()->viewRect;
    EXPECT_EQ(0, (view.bottom - view.top) % lineHeight()) << s.name << ": the view holds whole lines only";
    EXPECT_EQ(s.width - 15 - 4, view.right) << s.name << ": view right edge";
    EXPECT_EQ(view.right, te()->destRect.right) << s.name << ": the layout wraps at the view";
    double charWidth = tb::measureFont(tb::fontFor(kFontIDMonaco, 9, normal)).advance['w'];
    int perLine = int((view.right - view.left) / charWidth);
    int wrapped = (200 + perLine - 1) / perLine;
    EXPECT_EQ(wrapped, te()->nLines) << s.name << ": 200 characters at " << perLine << " a line";
    Rect bar;
    GetControlBounds(vScroll, &bar);
    Rect expectedBar{-1, short(s.width - 15), short(-1 + s.height - 13), short(s.width + 1)};
    EXPECT_TRUE(sameRect(expectedBar, bar))
        << s.name << ": scroll bar expected " << describe(expectedBar) << ", found " << describe(bar);
  }
}

TEST_F(TextWindowTest, ResizeKeepsTheTextWhereTheBarSays) {
  printLines(80);
  scrollTo(30);
  sizeTo(400, 500);
  EXPECT_EQ(30, GetControlValue(vScroll)) << "the value still fits the new range";
  EXPECT_EQ(30 * lineHeight(), scrolled()) << "the text follows the bar";
  sizeTo(400, 700);
  EXPECT_EQ(GetControlValue(vScroll) * lineHeight(), scrolled()) << "a taller window pulls the value in and the text";
  EXPECT_LE(GetControlValue(vScroll), GetControlMaximum(vScroll));
}

// ---- clicks ----

TEST_F(TextWindowTest, ClicksOnTheArrowsScrollOneLine) {
  printLines(100);
  scrollTo(10);
  clickAt(partCentre(kControlDownButtonPart));
  EXPECT_EQ(11, GetControlValue(vScroll)) << "down arrow";
  EXPECT_EQ(11 * lineHeight(), scrolled()) << "the text follows";
  clickAt(partCentre(kControlUpButtonPart));
  EXPECT_EQ(10, GetControlValue(vScroll)) << "up arrow";
  clickAt(partCentre(kControlPageDownPart));
  EXPECT_EQ(10 + viewLines() - 1, GetControlValue(vScroll)) << "page down";
}

TEST_F(TextWindowTest, DraggingTheThumbScrollsTheText) {
  printLines(60);
  scrollTo(0);
  Point thumb = partCentre(kControlIndicatorPart);
  Rect bar;
  GetControlBounds(vScroll, &bar);
  clickAt(thumb, {Point{short(bar.bottom + 40), thumb.h}});
  EXPECT_EQ(GetControlMaximum(vScroll), GetControlValue(vScroll)) << "dragged to the end";
  EXPECT_EQ(GetControlValue(vScroll) * lineHeight(), scrolled()) << "the text follows once released";
}

TEST_F(TextWindowTest, ClicksInTheTextSelect) {
  printToText("first line");
  printToText("second line");
  const Rect& view = te()->viewRect;
  Point onSecond{short(view.top + lineHeight() + lineHeight() / 2), short(view.left + 1)};
  clickAt(onSecond);
  EXPECT_EQ(11, te()->selStart) << "the caret goes to the start of the second line";
  EXPECT_EQ(11, te()->selEnd);
  Point inFirst{short(view.top + lineHeight() / 2), short(view.left + 1)};
  clickAt(inFirst, {}, shiftKey);
  EXPECT_EQ(0, te()->selStart) << "Shift extends the selection";
  EXPECT_EQ(11, te()->selEnd);
  Point outside{short(view.bottom + 2), short(view.left + 1)};
  clickAt(outside);
  EXPECT_EQ(0, te()->selStart) << "a click below the view's whole lines does nothing";
  EXPECT_EQ(11, te()->selEnd);
}

TEST_F(TextWindowTest, DragPastTheViewScrollsAndTheBarFollows) {
  printLines(60);
  scrollTo(0);
  const Rect& view = te()->viewRect;
  Point start{short(view.top + 2), short(view.left + 1)};
  std::vector<Point> below;
  for (int i = 0; i < 4; ++i) below.push_back(Point{short(view.bottom + 3 + i), short(view.left + 1)});
  clickAt(start, below);
  EXPECT_GT(scrolled(), 0) << "the drag scrolled the text";
  EXPECT_EQ(scrolled() / lineHeight(), GetControlValue(vScroll)) << "the bar shows the lines scrolled past";
}

// ---- activation and drawing ----

TEST_F(TextWindowTest, DeactivationHidesTheScrollBar) {
  activateOutput(false);
  EXPECT_FALSE(IsControlVisible(vScroll)) << "hidden while inactive";
  EXPECT_FALSE(te()->active) << "the text is inactive";
  activateOutput(true);
  EXPECT_TRUE(IsControlVisible(vScroll)) << "shown while active";
  EXPECT_TRUE(te()->active) << "the text is active";
}

TEST_F(TextWindowTest, UpdateRedrawsTheWholeWindow) {
  printLines(5);
  QImage& image = output->port.image;
  image.fill(Qt::red);
  upDateText();
  int red = 0, dark = 0;
  QRect view = tb::toQRect(te()->viewRect);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      QRgb c = image.pixel(x, y);
      red += c == qRgb(255, 0, 0);
      dark += view.contains(x, y) && qGray(c) < 128;
    }
  EXPECT_EQ(0, red) << "every pixel is redrawn";
  EXPECT_GT(dark, 50) << "the text is drawn in the view";
}

}  // namespace
