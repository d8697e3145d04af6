// The text engine on a real window port: editing, layout, selection by
// mouse, scrolling, the 32K cap, the paste buffer and what it draws.
#include "toolbox/TextEdit.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "toolbox/Carbon.h"
#include "toolbox/Frontend.h"
#include "toolbox/Scrap.h"
#include "toolbox/internal/EventQueue.h"
#include "toolbox/internal/TextLayout.h"
#include "toolbox/internal/WindowRecord.h"

namespace {

constexpr int kColumns = 20;    // characters that fit in a line
constexpr int kViewLines = 5;   // lines that fit in the view
const QRgb kHighlight = qRgb(0xB4, 0xD5, 0xFE);

class TextEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FlushEvents(everyEvent, 0);
    GetPort(&savedPort_);
    Rect content{100, 100, 300, 400};
    CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &content, &window_);
    SetPortWindowPort(window_);
    TextFont(kFontIDMonaco);
    TextSize(9);
    charWidth_ = tb::measureFont(tb::fontFor(kFontIDMonaco, 9, normal)).advance['M'];
    Rect r{10, 10, 150, short(10 + std::floor((kColumns + 0.5) * charWidth_))};
    te_ = TENew(&r, &r);
    lineHeight_ = (*te_)->lineHeight;
    (*te_)->viewRect.bottom = short(r.top + kViewLines * lineHeight_);
  }

  void TearDown() override {
    tb::useVirtualClock(false);
    FlushEvents(everyEvent, 0);
    TEDispose(te_);
    DisposeWindow(window_);
    SetPort(savedPort_);
  }

  std::string text() const { return std::string(*(*te_)->hText, size_t((*te_)->teLength)); }
  void setText(const std::string& s) {
    TESetSelect(0, 32767, te_);
    TEDelete(te_);
    TEInsert(s.data(), long(s.size()), te_);
  }
  // `count` lines "line N" ending in returns.
  void setLines(int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += "line " + std::to_string(i) + "\r";
    setText(s);
  }
  std::pair<int, int> selection() const { return {(*te_)->selStart, (*te_)->selEnd}; }

  // A point on the left half of character `column` of laid-out line `line`.
  Point pointAt(int line, int column) const {
    const Rect& d = (*te_)->destRect;
    return Point{short(d.top + line * lineHeight_ + lineHeight_ / 2), short(d.left + column * charWidth_ + 1)};
  }
  Point toGlobal(Point local) const {
    return Point{short(local.v + window_->content.top), short(local.h + window_->content.left)};
  }
  void post(tb::InputKind kind, Point local, EventModifiers modifiers = 0) {
    tb::RawInput in;
    in.kind = kind;
    in.where = toGlobal(local);
    in.modifiers = modifiers;
    tb::postInput(in);
  }
  // A press at `from`, moves through `path`, release at the path's end; the
  // press is taken as the event loop would before the engine tracks it.
  void drag(Point from, const std::vector<Point>& path, bool extend = false) {
    post(tb::InputKind::MouseDown, from);
    for (Point p : path) post(tb::InputKind::MouseMove, p);
    post(tb::InputKind::MouseUp, path.empty() ? from : path.back());
    tb::RawInput down;
    ASSERT_TRUE(tb::takeInput(down)) << "expected the posted mouse-down in the queue";
    TEClick(from, extend, te_);
    FlushEvents(everyEvent, 0);
  }
  void click(Point at, bool extend = false) { drag(at, {}, extend); }

  QImage viewPixels() const { return window_->port.image.copy(tb::toQRect((*te_)->viewRect)); }
  QImage freshlyDrawnView() {
    TEUpdate(&(*te_)->viewRect, te_);
    return viewPixels();
  }

  GrafPtr savedPort_ = nullptr;
  WindowPtr window_ = nullptr;
  TEHandle te_ = nullptr;
  double charWidth_ = 0;
  int lineHeight_ = 0;
};

// ---- editing ----

struct InsertCase {
  const char* name;
  std::string text;
  int selStart, selEnd;
  std::string inserted;
  std::string expected;
  int expectStart, expectEnd;
};

TEST_F(TextEditTest, InsertGoesBeforeTheSelectionAndKeepsItSelected) {
  const std::vector<InsertCase> cases = {
      {"into empty text", "", 0, 0, "abc", "abc", 3, 3},
      {"at the end", "abc", 3, 3, "de", "abcde", 5, 5},
      {"in the middle", "abcd", 2, 2, "XY", "abXYcd", 4, 4},
      {"before a selection", "abcdef", 2, 4, "XY", "abXYcdef", 4, 6},
      {"a return", "ab", 2, 2, "\r", "ab\r", 3, 3},
  };
  for (const InsertCase& c : cases) {
    setText(c.text);
    TESetSelect(c.selStart, c.selEnd, te_);
    TEInsert(c.inserted.data(), long(c.inserted.size()), te_);
    EXPECT_EQ(c.expected, text()) << c.name;
    EXPECT_EQ(std::make_pair(c.expectStart, c.expectEnd), selection()) << c.name << ": selection";
    EXPECT_EQ(short(c.expected.size()), (*te_)->teLength) << c.name << ": teLength";
  }
}

struct DeleteCase {
  const char* name;
  std::string text;
  int selStart, selEnd;
  std::string expected;
  int caret;
};

TEST_F(TextEditTest, DeleteRemovesTheSelectionOnly) {
  const std::vector<DeleteCase> cases = {
      {"a middle range", "abcdef", 1, 4, "aef", 1},
      {"everything", "abc\rdef\r", 0, 32767, "", 0},
      {"an empty selection deletes nothing", "abc", 1, 1, "abc", 1},
      {"the last character", "abc", 2, 3, "ab", 2},
  };
  for (const DeleteCase& c : cases) {
    setText(c.text);
    TESetSelect(c.selStart, c.selEnd, te_);
    TEDelete(te_);
    EXPECT_EQ(c.expected, text()) << c.name;
    EXPECT_EQ(std::make_pair(c.caret, c.caret), selection()) << c.name << ": caret";
  }
}

TEST_F(TextEditTest, SetSelectClampsAndOrdersItsEnds) {
  setText("hello");
  const struct {
    long start, end;
    int expectStart, expectEnd;
  } cases[] = {{2, 4, 2, 4}, {4, 2, 2, 4}, {32767, 32767, 5, 5}, {-3, 3, 0, 3}, {0, 99999, 0, 5}};
  for (const auto& c : cases) {
    TESetSelect(c.start, c.end, te_);
    EXPECT_EQ(std::make_pair(c.expectStart, c.expectEnd), selection())
        << "TESetSelect(" << c.start << ", " << c.end << ") on 5 characters";
  }
}

TEST_F(TextEditTest, KeysTypeAndBackspaceDeletes) {
  setText("ab");
  TESetSelect(2, 2, te_);
  TEKey('c', te_);
  EXPECT_EQ("abc", text()) << "a typed key goes in at the caret";
  TEKey(0x08, te_);
  TEKey(0x08, te_);
  EXPECT_EQ("a", text()) << "two backspaces delete two characters";
  TESetSelect(0, 1, te_);
  TEKey(0x08, te_);
  EXPECT_EQ("", text()) << "backspace deletes a selection";
  TEKey(0x08, te_);
  EXPECT_EQ("", text()) << "backspace at the start does nothing";
}

// ---- layout ----

struct LinesCase {
  const char* name;
  std::string text;
  int nLines;
};

TEST_F(TextEditTest, CountsLaidOutLinesWithWrapAndReturns) {
  const std::string word5 = "abcde ";
  const std::vector<LinesCase> cases = {
      {"empty", "", 0},
      {"one short line", "hello", 1},
      {"one line with its return", "hello\r", 1},
      {"two returns", "\r\r", 2},
      {"three lines", "a\rb\rc", 3},
      {"exactly a line's width", std::string(kColumns, 'x'), 1},
      {"one character past the width", std::string(kColumns + 1, 'x'), 2},
      {"words wrap as whole words", word5 + word5 + word5 + word5 + "abcde", 2},
      {"a long word breaks at the width", std::string(3 * kColumns, 'x'), 3},
  };
  for (const LinesCase& c : cases) {
    setText(c.text);
    EXPECT_EQ(c.nLines, (*te_)->nLines) << c.name << " (" << c.text.size() << " characters)";
  }
}

TEST_F(TextEditTest, CalTextRewrapsAtANewWidth) {
  setText(std::string(kColumns, 'x') + "\r" + std::string(kColumns, 'y'));
  ASSERT_EQ(2, (*te_)->nLines) << "two full lines at the starting width";
  (*te_)->destRect.right = short((*te_)->destRect.left + std::floor((kColumns / 2 + 0.5) * charWidth_));
  TECalText(te_);
  EXPECT_EQ(4, (*te_)->nLines) << "each line splits in two at half the width";
}

TEST_F(TextEditTest, LineHeightComesFromTheFontMetrics) {
  QFontMetrics fm(tb::fontFor(kFontIDMonaco, 9, normal));
  EXPECT_EQ(fm.ascent() + fm.descent() + std::max(0, fm.leading()), (*te_)->lineHeight) << "ascent + descent + leading";
  EXPECT_EQ(fm.ascent(), (*te_)->fontAscent);
  EXPECT_EQ(kFontIDMonaco, (*te_)->txFont) << "the font comes from the port";
  EXPECT_EQ(9, (*te_)->txSize) << "the size comes from the port";
}

// ---- the 32K cap ----

TEST_F(TextEditTest, TextNeverGrowsPast32767Characters) {
  const struct {
    const char* name;
    int before;
    int inserted;
    int after;
  } cases[] = {
      {"one huge insert", 0, 40000, 32767},
      {"an insert that just fits", 32760, 7, 32767},
      {"an insert cut to the room left", 32760, 100, 32767},
      {"nothing goes into full text", 32767, 1, 32767},
  };
  for (const auto& c : cases) {
    setText(std::string(size_t(c.before), 'a'));
    TESetSelect(32767, 32767, te_);
    std::string more(size_t(c.inserted), 'b');
    TEInsert(more.data(), long(more.size()), te_);
    EXPECT_EQ(c.after, (*te_)->teLength) << c.name;
    EXPECT_EQ(size_t(c.after), text().size()) << c.name << ": characters in hText";
  }
  setText(std::string(32767, 'a'));
  TESetSelect(32767, 32767, te_);
  TEKey('z', te_);
  EXPECT_EQ(32767, (*te_)->teLength) << "typing into full text adds nothing";
}

// ---- the paste buffer ----

TEST_F(TextEditTest, CutCopyAndPasteGoThroughThePrivateBuffer) {
  setText("hello world");
  TESetSelect(6, 11, te_);
  TECopy(te_);
  EXPECT_EQ("hello world", text()) << "copy leaves the text";
  ASSERT_EQ(5, TEGetScrapLength()) << "the buffer holds the selection";
  EXPECT_EQ("world", std::string(*TEScrapHandle(), 5)) << "the buffer's characters";

  TESetSelect(0, 5, te_);
  TECut(te_);
  EXPECT_EQ(" world", text()) << "cut removes the selection";
  EXPECT_EQ(std::make_pair(0, 0), selection()) << "cut leaves the caret where the selection began";
  EXPECT_EQ("hello", std::string(*TEScrapHandle(), size_t(TEGetScrapLength()))) << "cut fills the buffer";

  TESetSelect(1, 6, te_);
  TEPaste(te_);
  EXPECT_EQ(" hello", text()) << "paste replaces the selection";
  EXPECT_EQ(std::make_pair(6, 6), selection()) << "the caret follows the pasted text";
}

TEST_F(TextEditTest, PasteIsCutToTheRoomLeft) {
  setText(std::string(100, 'p'));
  TESetSelect(0, 100, te_);
  TECopy(te_);
  setText(std::string(32700, 'a'));
  TESetSelect(32700, 32700, te_);
  TEPaste(te_);
  EXPECT_EQ(32767, (*te_)->teLength) << "67 of the 100 pasted characters fit";
}

TEST_F(TextEditTest, ScrapMovesToAndFromTheSystemClipboard) {
  setText("a\rb\xB5");
  TESetSelect(0, 4, te_);
  TECopy(te_);
  ASSERT_EQ(noErr, TEToScrap()) << "the clipboard takes the buffer";
  std::string systemText;
  ASSERT_TRUE(tb::frontend().clipboardText(systemText)) << "expected text on the system clipboard";
  EXPECT_EQ("a\nb\u00B5", systemText) << "other programs see Unicode lines";

  ScrapRef ref = nullptr;
  ClearCurrentScrap();
  GetCurrentScrap(&ref);
  const std::string put = "x\ry z\xBD";
  ASSERT_EQ(noErr, PutScrapFlavor(ref, kScrapFlavorTypeText, kScrapFlavorMaskNone, Size(put.size()), put.data()));
  ASSERT_EQ(noErr, TEFromScrap()) << "the buffer takes the clipboard's text";
  EXPECT_EQ(put, std::string(*TEScrapHandle(), size_t(TEGetScrapLength()))) << "the clipboard's 'TEXT' bytes";

  const std::string huge(40000, 'c');
  ClearCurrentScrap();
  GetCurrentScrap(&ref);
  ASSERT_EQ(noErr, PutScrapFlavor(ref, kScrapFlavorTypeText, kScrapFlavorMaskNone, Size(huge.size()), huge.data()));
  ASSERT_EQ(noErr, TEFromScrap());
  EXPECT_EQ(32767, TEGetScrapLength()) << "the buffer never holds more than a text can";

  ClearCurrentScrap();
  EXPECT_NE(noErr, TEFromScrap()) << "an empty clipboard gives no text";
  EXPECT_EQ(32767, TEGetScrapLength()) << "and leaves the buffer as it was";
}

// ---- selection by mouse ----

TEST_F(TextEditTest, ClickPlacesTheCaret) {
  setText("first line\rsecond line\rthird");
  const struct {
    const char* name;
    int line, column;
    int offset;
  } cases[] = {
      {"start of the text", 0, 0, 0},
      {"inside the first line", 0, 3, 3},
      {"far right of a line stops before its return", 0, 50, 10},
      {"inside the second line", 1, 2, 13},
      {"below the last line keeps the column on the last line", 9, 2, 25},
  };
  for (const auto& c : cases) {
    click(pointAt(c.line, c.column));
    EXPECT_EQ(std::make_pair(c.offset, c.offset), selection()) << c.name;
  }
}

TEST_F(TextEditTest, DragSelectsFromThePressToTheMouse) {
  setText("first line\rsecond line\rthird");
  drag(pointAt(0, 2), {pointAt(0, 5), pointAt(1, 4)});
  EXPECT_EQ(std::make_pair(2, 15), selection()) << "from the press to the last mouse position";
  drag(pointAt(1, 4), {pointAt(0, 1)});
  EXPECT_EQ(std::make_pair(1, 15), selection()) << "dragging backwards selects up to the press";
}

TEST_F(TextEditTest, ShiftClickExtendsFromTheFarEnd) {
  setText("abcdefghijklmnopqrst");
  TESetSelect(5, 8, te_);
  click(pointAt(0, 15), true);
  EXPECT_EQ(std::make_pair(5, 15), selection()) << "a click after the selection moves its end";
  click(pointAt(0, 2), true);
  EXPECT_EQ(std::make_pair(2, 15), selection()) << "a click before the middle keeps the far end";
}

TEST_F(TextEditTest, DoubleClickSelectsAWord) {
  tb::useVirtualClock(true);
  setText("alpha beta, gamma");
  click(pointAt(0, 7));
  click(pointAt(0, 7));
  EXPECT_EQ(std::make_pair(6, 10), selection()) << "a second click in time selects 'beta'";

  click(pointAt(0, 1));
  tb::advanceVirtualTicks(GetDblTime() + 1);
  click(pointAt(0, 1));
  EXPECT_EQ(std::make_pair(1, 1), selection()) << "a second click too late only places the caret";

  click(pointAt(0, 10));
  click(pointAt(0, 10));
  EXPECT_EQ(std::make_pair(10, 11), selection()) << "double-clicking punctuation selects that character";
}

TEST_F(TextEditTest, DragBelowTheViewScrollsLineByLine) {
  tb::useVirtualClock(true);  // scrolling follows mouse moves only
  setLines(20);
  const Rect view = (*te_)->viewRect;
  Point below1{short(view.bottom + 5), short(view.left + 1)}, below2{short(view.bottom + 9), short(view.left + 1)},
      below3{short(view.bottom + 13), short(view.left + 1)};
  drag(pointAt(0, 0), {below1, below2, below3});
  EXPECT_EQ(view.top - 3 * lineHeight_, (*te_)->destRect.top) << "three moves below the view, three lines";
  int lastVisibleLine = 3 + kViewLines - 1;
  EXPECT_EQ(lastVisibleLine * 7, selection().second) << "the selection reaches the bottom visible line";
  EXPECT_EQ(0, selection().first) << "the selection keeps the press";

  Point above{short(view.top - 5), short(view.left + 1)};
  drag(pointAt(3, 0), {above});
  EXPECT_EQ(view.top - 2 * lineHeight_, (*te_)->destRect.top) << "a move above the view scrolls one line back";
}

// ---- scrolling ----

TEST_F(TextEditTest, SelViewScrollsOnlyWithAutoView) {
  setLines(20);
  TESetSelect(32767, 32767, te_);
  const Rect view = (*te_)->viewRect;
  EXPECT_EQ(view.top, (*te_)->destRect.top) << "no automatic scrolling unless asked for";
  TEAutoView(true, te_);
  TESelView(te_);
  int caretLine = 20;  // the empty line after the last return
  EXPECT_EQ(view.bottom, (*te_)->destRect.top + (caretLine + 1) * lineHeight_)
      << "the caret's line ends at the bottom of the view";
  TESetSelect(0, 0, te_);
  TESelView(te_);
  EXPECT_EQ(view.top, (*te_)->destRect.top) << "selecting the start scrolls back to the top";
}

TEST_F(TextEditTest, ScrollMovesTheLayoutRectangle) {
  setLines(20);
  const Rect before = (*te_)->destRect;
  TEScroll(0, short(-3 * lineHeight_), te_);
  EXPECT_EQ(before.top - 3 * lineHeight_, (*te_)->destRect.top) << "a negative move scrolls the text up";
  EXPECT_EQ(before.bottom - 3 * lineHeight_, (*te_)->destRect.bottom);
  EXPECT_EQ(before.left, (*te_)->destRect.left) << "no horizontal move asked for";
  TEScroll(0, short(3 * lineHeight_), te_);
  EXPECT_EQ(before.top, (*te_)->destRect.top) << "and back";
}

TEST_F(TextEditTest, ScrollingGoesBeyondSixteenBits) {
  const int top = (*te_)->destRect.top;
  for (int i = 0; i < 5; ++i) TEScroll(0, -10000, te_);
  EXPECT_EQ(top - 50000, TEGetDestTop(te_)) << "the full layout top after five moves of 10000 pixels";
  EXPECT_EQ(short(top - 50000), (*te_)->destRect.top) << "the record keeps its low 16 bits";
  for (int i = 0; i < 5; ++i) TEScroll(0, 10000, te_);
  EXPECT_EQ(top, TEGetDestTop(te_)) << "and back";
  (*te_)->destRect.top = 42;
  EXPECT_EQ(42, TEGetDestTop(te_)) << "a top set in the record is taken as it is";
}

// ---- drawing ----

int countPixels(const QImage& image, const std::function<bool(QRgb)>& wanted) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += wanted(image.pixel(x, y)) ? 1 : 0;
  return n;
}

bool isDark(QRgb c) { return qGray(c) < 128; }

TEST_F(TextEditTest, UpdateDrawsTextInsideTheViewOnly) {
  setLines(20);
  window_->port.image.fill(Qt::red);
  Rect all{0, 0, 200, 300};
  TEUpdate(&all, te_);
  QImage view = viewPixels();
  EXPECT_GT(countPixels(view, isDark), 20) << "glyphs drawn in the view";
  EXPECT_EQ(0, countPixels(view, [](QRgb c) { return c == qRgb(255, 0, 0); })) << "the view is erased first";
  QRect viewRect = tb::toQRect((*te_)->viewRect);
  int outside = 0;
  for (int y = 0; y < window_->port.image.height(); ++y)
    for (int x = 0; x < window_->port.image.width(); ++x)
      if (!viewRect.contains(x, y) && window_->port.image.pixel(x, y) != qRgb(255, 0, 0)) ++outside;
  EXPECT_EQ(0, outside) << "pixels changed outside the view";
}

TEST_F(TextEditTest, IncrementalDrawingMatchesAFullRedraw) {
  ShowWindow(window_);
  TEActivate(te_);
  setLines(12);
  TEUpdate(&(*te_)->viewRect, te_);
  const struct {
    const char* name;
    std::function<void()> change;
  } steps[] = {
      {"scroll up two lines", [&] { TEScroll(0, short(-2 * lineHeight_), te_); }},
      {"select across lines", [&] { TESetSelect(10, 30, te_); }},
      {"insert before the view", [&] {
         TESetSelect(0, 0, te_);
         TEInsert("new\r", 4, te_);
       }},
      {"delete a range", [&] {
         TESetSelect(20, 26, te_);
         TEDelete(te_);
       }},
      {"scroll down one line", [&] { TEScroll(0, short(lineHeight_), te_); }},
      {"deactivate", [&] { TEDeactivate(te_); }},
  };
  for (const auto& step : steps) {
    step.change();
    QImage incremental = viewPixels();
    QImage full = freshlyDrawnView();
    EXPECT_TRUE(incremental == full) << step.name << ": the view drawn step by step differs from a full redraw";
  }
}

TEST_F(TextEditTest, HighlightShowsOnlyWhileActive) {
  ShowWindow(window_);
  setText("highlight me");
  TESetSelect(0, 9, te_);
  auto highlighted = [&] { return countPixels(freshlyDrawnView(), [](QRgb c) { return c == kHighlight; }); };
  EXPECT_EQ(0, highlighted()) << "an inactive record shows no selection";
  TEActivate(te_);
  EXPECT_GT(highlighted(), 9 * 3) << "an active record highlights its selection";
  TEDeactivate(te_);
  EXPECT_EQ(0, highlighted()) << "deactivation removes the highlight";
}

TEST_F(TextEditTest, CaretBlinksAtTheCaretTime) {
  tb::useVirtualClock(true);
  ShowWindow(window_);
  setText("ab");
  TESetSelect(1, 1, te_);
  TEActivate(te_);
  TEUpdate(&(*te_)->viewRect, te_);
  int x = int(std::lround((*te_)->destRect.left + charWidth_));
  auto caretPixels = [&] {
    int n = 0;
    for (int y = (*te_)->destRect.top; y < (*te_)->destRect.top + lineHeight_; ++y)
      n += window_->port.image.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
    return n;
  };
  EXPECT_EQ(lineHeight_, caretPixels()) << "the caret is a full-height black line after activation";
  TEIdle(te_);
  EXPECT_EQ(lineHeight_, caretPixels()) << "no blink before the caret time";
  tb::advanceVirtualTicks(GetCaretTime());
  TEIdle(te_);
  EXPECT_LT(caretPixels(), lineHeight_) << "the caret is off after one caret time";
  tb::advanceVirtualTicks(GetCaretTime());
  TEIdle(te_);
  EXPECT_EQ(lineHeight_, caretPixels()) << "and on again after the next";
}

}  // namespace
