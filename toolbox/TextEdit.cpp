// TextEdit: one run of Mac Roman text in one font, wrapped at the
// destination rectangle, drawn into the port the record was made in.
#include "TextEdit.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "Events.h"
#include "Scrap.h"
#include "TextUtils.h"
#include "internal/Port.h"
#include "internal/TextLayout.h"
#include "internal/WindowRecord.h"

namespace {

constexpr int kMaxLength = 32767;
constexpr unsigned char kReturn = 0x0D;
constexpr unsigned char kBackspace = 0x08;
constexpr UInt32 kAutoScrollTicks = 3;  // pace of scrolling while a drag is held outside the view
const QColor kHighlightColor(0xB4, 0xD5, 0xFE);

struct Engine {
  TERec rec{};
  TERec* master = &rec;  // *TEHandle
  std::vector<char> text;
  char* textPtr = nullptr;  // *hText
  std::vector<int> lineStarts;
  tb::TextMetrics metrics;
  QFont font;
  bool autoView = false;
  bool caretOn = false;
  UInt32 caretTick = 0;
  UInt32 lastClickTick = 0;
  int lastClickOffset = -1;
  // destRect.top without its 16-bit limit: a long log scrolls further than
  // 32767 pixels. destRect.top holds its low 16 bits.
  int top = 0;
};

// The private paste buffer shared by every record.
struct Scrap {
  std::vector<char> bytes;
  char* ptr = nullptr;
};

Scrap& scrap() {
  static Scrap s;
  return s;
}

void setScrap(const char* data, size_t count) {
  Scrap& s = scrap();
  s.bytes.assign(data, data + count);
  s.bytes.reserve(1);  // a valid pointer even when empty
  s.ptr = s.bytes.data();
}

Engine& engineOf(TEHandle h) { return *static_cast<Engine*>((*h)->engine); }

const unsigned char* bytes(const Engine& e) { return reinterpret_cast<const unsigned char*>(e.text.data()); }
int length(const Engine& e) { return int(e.text.size()); }
int lineCount(const Engine& e) { return int(e.lineStarts.size()); }
int lineEnd(const Engine& e, int line) {
  return line + 1 < lineCount(e) ? e.lineStarts[size_t(line) + 1] : length(e);
}
bool endsWithReturn(const Engine& e) { return !e.text.empty() && static_cast<unsigned char>(e.text.back()) == kReturn; }
// Laid-out lines plus the empty line after a final return, where the caret can be.
int shownLines(const Engine& e) { return lineCount(e) + (endsWithReturn(e) ? 1 : 0); }

int lineOf(const Engine& e, int offset) {
  if (offset >= length(e) && (length(e) == 0 || endsWithReturn(e))) return lineCount(e);
  auto it = std::upper_bound(e.lineStarts.begin(), e.lineStarts.end(), offset);
  return std::max(0, int(it - e.lineStarts.begin()) - 1);
}

// The layout's top; a caller that set destRect.top itself sets it anew.
int destTop(const Engine& e) { return short(e.top) == e.rec.destRect.top ? e.top : e.rec.destRect.top; }

int lineTop(const Engine& e, int line) { return destTop(e) + line * e.rec.lineHeight; }

double caretX(const Engine& e, int offset) {
  int line = lineOf(e, offset);
  double x = line < lineCount(e) ? tb::offsetToX(bytes(e), e.lineStarts[size_t(line)], offset, e.metrics) : 0;
  return e.rec.destRect.left + x;
}

// The shown line under `pt`; points above or below the text take the first
// or last line.
int lineAt(const Engine& e, Point pt) {
  int line = int(std::floor(double(pt.v - destTop(e)) / e.rec.lineHeight));
  return std::clamp(line, 0, std::max(0, shownLines(e) - 1));
}

int offsetAt(const Engine& e, Point pt) {
  int line = lineAt(e, pt);
  if (line >= lineCount(e)) return length(e);
  return tb::xToOffset(bytes(e), e.lineStarts[size_t(line)], lineEnd(e, line), pt.h - e.rec.destRect.left,
                       e.metrics);
}

// The character under `pt`, or -1 on the empty line after a final return.
int charAtPoint(const Engine& e, Point pt) {
  int line = lineAt(e, pt);
  if (line >= lineCount(e)) return -1;
  return tb::charAt(bytes(e), e.lineStarts[size_t(line)], lineEnd(e, line), pt.h - e.rec.destRect.left, e.metrics);
}

void relayout(Engine& e) {
  double width = e.rec.destRect.right - e.rec.destRect.left;
  e.lineStarts = tb::breakLines(bytes(e), length(e), width, e.metrics);
  e.rec.nLines = short(lineCount(e));
  e.rec.teLength = short(length(e));
  e.textPtr = e.text.data();
}

// ---- drawing ----

GrafPortRecord* drawablePort(const Engine& e) {
  GrafPortRecord* port = e.rec.inPort;
  if (port == nullptr || port->image.isNull()) return nullptr;
  return port;
}

// Drawing that follows an edit or a selection is skipped while the window is
// hidden: showing it brings an update event that draws everything.
bool shouldDraw(const Engine& e) {
  GrafPortRecord* port = drawablePort(e);
  return port != nullptr && (port->window == nullptr || port->window->visible);
}

bool isPrintable(const Engine& e, unsigned char c) { return c != '\t' && e.metrics.advance[c] > 0; }

void drawHighlight(QPainter& p, const Engine& e, int line) {
  const TERec& r = e.rec;
  int start = e.lineStarts[size_t(line)], end = lineEnd(e, line);
  int from = std::max<int>(r.selStart, start), to = std::min<int>(r.selEnd, end);
  if (from >= to) return;
  double x0 = r.destRect.left + tb::offsetToX(bytes(e), start, from, e.metrics);
  bool runsOn = r.selEnd > end || (r.selEnd == end && static_cast<unsigned char>(e.text[size_t(end) - 1]) == kReturn);
  double x1 = runsOn ? r.destRect.right : r.destRect.left + tb::offsetToX(bytes(e), start, to, e.metrics);
  p.fillRect(QRectF(x0, lineTop(e, line), x1 - x0, r.lineHeight), kHighlightColor);
}

void drawLineText(QPainter& p, const Engine& e, int line, const QRect& clip) {
  int start = e.lineStarts[size_t(line)], end = lineEnd(e, line);
  double baseline = lineTop(e, line) + e.rec.fontAscent;
  double x = 0;
  for (int i = start; i < end; ++i) {
    unsigned char c = bytes(e)[i];
    double w = tb::advanceAt(c, x, e.metrics);
    double left = e.rec.destRect.left + x;
    if (left > clip.right() + 1) break;
    // Glyphs may reach a little past their advance; draw neighbours too.
    if (isPrintable(e, c) && left + 2 * w >= clip.left()) {
      p.drawText(QPointF(left, baseline), QString(QChar(char16_t(tb::macRomanToUnicode(c)))));
    }
    x += w;
  }
}

// Erases `area` (port coordinates, cut to the view) and draws what lies there.
void drawArea(Engine& e, const QRect& area) {
  GrafPortRecord* port = drawablePort(e);
  if (port == nullptr) return;
  const TERec& r = e.rec;
  QRect clip = area & tb::toQRect(r.viewRect);
  if (clip.isEmpty()) return;
  {
    QPainter p(&port->image);
    p.setClipRect(clip);
    p.fillRect(clip, tb::toQColor(port->bg));
    // One line more on each side: glyphs may overhang their line.
    int first = std::max(0, int(std::floor(double(clip.top() - destTop(e)) / r.lineHeight)) - 1);
    int last = std::min(lineCount(e) - 1, int(std::floor(double(clip.bottom() - destTop(e)) / r.lineHeight)) + 1);
    if (r.active && r.selStart < r.selEnd) {
      for (int line = first; line <= last; ++line) drawHighlight(p, e, line);
    }
    p.setFont(e.font);
    p.setPen(tb::toQColor(port->fg));
    for (int line = first; line <= last; ++line) drawLineText(p, e, line, clip);
    if (r.active && r.selStart == r.selEnd && e.caretOn) {
      int x = int(std::lround(caretX(e, r.selStart)));
      p.fillRect(QRect(x, lineTop(e, lineOf(e, r.selStart)), 1, r.lineHeight), tb::toQColor(port->fg));
    }
  }
  tb::portChanged(*port);
}

QRect linesArea(const Engine& e, int firstLine, int lastLine) {
  const Rect& v = e.rec.viewRect;
  int top = lineTop(e, firstLine), bottom = lineTop(e, lastLine + 1);
  return QRect(v.left, top, v.right - v.left, bottom - top);
}

// Redraws the lines from `firstLine` to the bottom of the view.
void redrawFrom(Engine& e, int firstLine) {
  if (!shouldDraw(e)) return;
  QRect view = tb::toQRect(e.rec.viewRect);
  int top = std::max(view.top(), lineTop(e, std::max(0, firstLine)));
  drawArea(e, QRect(view.left(), top, view.width(), view.bottom() + 1 - top));
}

void redrawCaret(Engine& e) {
  if (!shouldDraw(e)) return;
  int x = int(std::lround(caretX(e, e.rec.selStart)));
  int line = lineOf(e, e.rec.selStart);
  drawArea(e, QRect(x - 2, lineTop(e, line), 5, e.rec.lineHeight));
}

void restartCaret(Engine& e) {
  e.caretOn = true;
  e.caretTick = TickCount();
}

void setSelection(Engine& e, int start, int end) {
  start = std::clamp(start, 0, length(e));
  end = std::clamp(end, 0, length(e));
  if (start > end) std::swap(start, end);
  int oldStart = e.rec.selStart, oldEnd = e.rec.selEnd;
  if (start == oldStart && end == oldEnd) return;
  e.rec.selStart = short(start);
  e.rec.selEnd = short(end);
  restartCaret(e);
  if (!e.rec.active || !shouldDraw(e)) return;
  int first = lineOf(e, std::min(oldStart, start)), last = lineOf(e, std::max(oldEnd, end));
  drawArea(e, linesArea(e, first, last));
}

// Replaces the selection with `count` bytes (cut to the room left) and puts
// the insertion point after them.
void replaceSelection(Engine& e, const char* data, long count) {
  int start = e.rec.selStart, end = e.rec.selEnd;
  int firstLine = lineOf(e, start) - 1;  // a word may move back onto the line above
  e.text.erase(e.text.begin() + start, e.text.begin() + end);
  long room = kMaxLength - length(e);
  long n = std::clamp(count, 0L, room);
  if (n > 0) e.text.insert(e.text.begin() + start, data, data + n);
  relayout(e);
  e.rec.selStart = e.rec.selEnd = short(start + n);
  restartCaret(e);
  redrawFrom(e, firstLine);
}

void scrollBy(Engine& e, int dh, int dv) {
  if (dh == 0 && dv == 0) return;
  e.top = destTop(e) + dv;
  OffsetRect(&e.rec.destRect, short(dh), short(dv));
  e.rec.destRect.top = short(e.top);
  if (!shouldDraw(e)) return;
  GrafPortRecord* port = drawablePort(e);
  QRect view = tb::toQRect(e.rec.viewRect);
  if (view.isEmpty()) return;
  if (std::abs(dv) >= view.height() || std::abs(dh) >= view.width()) {
    drawArea(e, view);
    return;
  }
  // Move what is already drawn, then draw the strip that came into view.
  QImage moved = port->image.copy(view);
  {
    QPainter p(&port->image);
    p.setClipRect(view);
    p.drawImage(view.topLeft() + QPoint(dh, dv), moved);
  }
  QRegion exposed = QRegion(view).subtracted(QRegion(view.translated(dh, dv)));
  for (const QRect& strip : exposed) drawArea(e, strip);
  if (exposed.isEmpty()) tb::portChanged(*port);
}

bool isWordChar(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80; }

// What a double click on `pt` selects: the word under it, a single other
// character, or nothing past the end of a line.
void wordAt(const Engine& e, Point pt, int& start, int& end) {
  const unsigned char* t = bytes(e);
  int at = charAtPoint(e, pt);
  if (at < 0 || t[at] == kReturn) {
    start = end = offsetAt(e, pt);
    return;
  }
  start = at;
  end = at + 1;
  if (!isWordChar(t[at])) return;
  while (start > 0 && isWordChar(t[start - 1])) --start;
  while (end < length(e) && isWordChar(t[end])) ++end;
}

// One line of scrolling while a drag is held above or below the view.
void autoScrollStep(Engine& e, Point mouse) {
  const TERec& r = e.rec;
  if (mouse.v < r.viewRect.top && destTop(e) < r.viewRect.top) {
    scrollBy(e, 0, std::min<int>(r.lineHeight, r.viewRect.top - destTop(e)));
  } else if (mouse.v >= r.viewRect.bottom) {
    int textBottom = lineTop(e, shownLines(e));
    if (textBottom > r.viewRect.bottom) scrollBy(e, 0, -std::min<int>(r.lineHeight, textBottom - r.viewRect.bottom));
  }
}

}  // namespace

TEHandle TENew(const Rect* destRect, const Rect* viewRect) {
  auto* e = new Engine;
  TERec& r = e->rec;
  r.engine = e;
  r.destRect = *destRect;
  e->top = destRect->top;
  r.viewRect = *viewRect;
  GrafPtr port = nullptr;
  GetPort(&port);
  r.inPort = port;
  r.txFont = port != nullptr ? port->txFont : short(0);
  r.txSize = port != nullptr ? port->txSize : short(12);
  r.txFace = port != nullptr ? port->txFace : Style(normal);
  e->font = tb::fontFor(r.txFont, r.txSize, r.txFace);
  e->metrics = tb::measureFont(e->font);
  QFontMetrics fm(e->font);
  r.fontAscent = short(fm.ascent());
  r.lineHeight = short(std::max(1, fm.ascent() + fm.descent() + std::max(0, fm.leading())));
  e->text.reserve(kMaxLength + 1);
  r.hText = &e->textPtr;
  relayout(*e);
  return &e->master;
}

void TEDispose(TEHandle hTE) {
  if (hTE == nullptr) return;
  delete &engineOf(hTE);
}

void TESetSelect(long selStart, long selEnd, TEHandle hTE) {
  Engine& e = engineOf(hTE);
  setSelection(e, int(std::clamp(selStart, 0L, long(kMaxLength))), int(std::clamp(selEnd, 0L, long(kMaxLength))));
}

// Goes in before the selection and leaves the same characters selected.
void TEInsert(const void* text, long length, TEHandle hTE) {
  Engine& e = engineOf(hTE);
  long n = std::min<long>(length, kMaxLength - ::length(e));
  if (text == nullptr || n <= 0) return;
  int at = e.rec.selStart;
  int firstLine = lineOf(e, at) - 1;
  const char* data = static_cast<const char*>(text);
  e.text.insert(e.text.begin() + at, data, data + n);
  relayout(e);
  e.rec.selStart = short(e.rec.selStart + n);
  e.rec.selEnd = short(e.rec.selEnd + n);
  restartCaret(e);
  redrawFrom(e, firstLine);
  TESelView(hTE);
}

void TEDelete(TEHandle hTE) {
  Engine& e = engineOf(hTE);
  if (e.rec.selStart == e.rec.selEnd) return;
  replaceSelection(e, nullptr, 0);
  TESelView(hTE);
}

void TEKey(short key, TEHandle hTE) {
  Engine& e = engineOf(hTE);
  if (key == kBackspace) {
    if (e.rec.selStart == e.rec.selEnd && e.rec.selStart > 0) e.rec.selStart = short(e.rec.selStart - 1);
    replaceSelection(e, nullptr, 0);
  } else {
    char c = char(key);
    replaceSelection(e, &c, 1);
  }
  TESelView(hTE);
}

void TEIdle(TEHandle hTE) {
  Engine& e = engineOf(hTE);
  if (!e.rec.active || e.rec.selStart != e.rec.selEnd) return;
  UInt32 now = TickCount();
  if (now - e.caretTick < GetCaretTime()) return;
  e.caretOn = !e.caretOn;
  e.caretTick = now;
  redrawCaret(e);
}

void TEClick(Point pt, Boolean extend, TEHandle hTE) {
  Engine& e = engineOf(hTE);
  UInt32 now = TickCount();
  int offset = offsetAt(e, pt);
  bool byWords = !extend && offset == e.lastClickOffset && now - e.lastClickTick <= GetDblTime();
  e.lastClickTick = now;
  e.lastClickOffset = offset;

  // The part that stays selected whatever the drag does.
  int anchorStart = offset, anchorEnd = offset;
  if (extend) {
    int keep = offset < (e.rec.selStart + e.rec.selEnd) / 2 ? e.rec.selEnd : e.rec.selStart;
    anchorStart = anchorEnd = keep;
  } else if (byWords) {
    wordAt(e, pt, anchorStart, anchorEnd);
  }
  auto selectTo = [&](Point mouse) {
    int from = offsetAt(e, mouse), until = from;
    if (byWords) wordAt(e, mouse, from, until);
    setSelection(e, std::min(anchorStart, from), std::max(anchorEnd, until));
  };
  selectTo(pt);

  Point last = pt;
  UInt32 lastScroll = now;
  while (StillDown()) {
    Point mouse;
    GetMouse(&mouse);
    const Rect& view = e.rec.viewRect;
    bool moved = mouse.h != last.h || mouse.v != last.v;
    last = mouse;
    if ((mouse.v < view.top || mouse.v >= view.bottom) && (moved || TickCount() - lastScroll >= kAutoScrollTicks)) {
      autoScrollStep(e, mouse);
      lastScroll = TickCount();
    }
    // Beyond the view the selection ends on its first or last whole line.
    mouse.v = short(std::clamp<int>(mouse.v, view.top, std::max<int>(view.top, view.bottom - 1)));
    selectTo(mouse);
  }
}

void TEActivate(TEHandle hTE) {
  Engine& e = engineOf(hTE);
  if (e.rec.active) return;
  e.rec.active = true;
  restartCaret(e);
  if (shouldDraw(e)) drawArea(e, linesArea(e, lineOf(e, e.rec.selStart), lineOf(e, e.rec.selEnd)));
}

void TEDeactivate(TEHandle hTE) {
  Engine& e = engineOf(hTE);
  if (!e.rec.active) return;
  e.rec.active = false;
  if (shouldDraw(e)) drawArea(e, linesArea(e, lineOf(e, e.rec.selStart), lineOf(e, e.rec.selEnd)));
}

void TEUpdate(const Rect* rUpdate, TEHandle hTE) { drawArea(engineOf(hTE), tb::toQRect(*rUpdate)); }

void TEScroll(short dh, short dv, TEHandle hTE) { scrollBy(engineOf(hTE), dh, dv); }

long TEGetDestTop(TEHandle hTE) { return destTop(engineOf(hTE)); }

void TESelView(TEHandle hTE) {
  Engine& e = engineOf(hTE);
  if (!e.autoView) return;
  const Rect& view = e.rec.viewRect;
  int top = lineTop(e, lineOf(e, e.rec.selStart));
  int bottom = top + e.rec.lineHeight;
  if (top < view.top) scrollBy(e, 0, view.top - top);
  else if (bottom > view.bottom) scrollBy(e, 0, std::max(view.bottom - bottom, view.top - top));
}

void TEAutoView(Boolean fAuto, TEHandle hTE) { engineOf(hTE).autoView = fAuto; }

void TECalText(TEHandle hTE) { relayout(engineOf(hTE)); }

void TECopy(TEHandle hTE) {
  Engine& e = engineOf(hTE);
  setScrap(e.text.data() + e.rec.selStart, size_t(e.rec.selEnd - e.rec.selStart));
}

void TECut(TEHandle hTE) {
  TECopy(hTE);
  TEDelete(hTE);
}

void TEPaste(TEHandle hTE) {
  Engine& e = engineOf(hTE);
  const Scrap& s = scrap();
  replaceSelection(e, s.bytes.data(), long(s.bytes.size()));
  TESelView(hTE);
}

long TEGetScrapLength() { return long(scrap().bytes.size()); }

Handle TEScrapHandle() {
  if (scrap().ptr == nullptr) setScrap(nullptr, 0);
  return &scrap().ptr;
}

// The paste buffer and the system clipboard's 'TEXT'. No text can exceed a
// record's 32K, so neither can the buffer.
OSErr TEFromScrap() {
  ScrapRef ref = nullptr;
  Size size = 0;
  if (OSStatus err = GetCurrentScrap(&ref); err != noErr) return OSErr(err);
  if (OSStatus err = GetScrapFlavorSize(ref, kScrapFlavorTypeText, &size); err != noErr) return OSErr(err);
  std::vector<char> text(size_t(std::max<Size>(size, 0)));
  if (OSStatus err = GetScrapFlavorData(ref, kScrapFlavorTypeText, &size, text.data()); err != noErr) return OSErr(err);
  setScrap(text.data(), size_t(std::min<Size>(size, kMaxLength)));
  return noErr;
}

OSErr TEToScrap() {
  ScrapRef ref = nullptr;
  if (OSStatus err = ClearCurrentScrap(); err != noErr) return OSErr(err);
  if (OSStatus err = GetCurrentScrap(&ref); err != noErr) return OSErr(err);
  const Scrap& s = scrap();
  return OSErr(PutScrapFlavor(ref, kScrapFlavorTypeText, kScrapFlavorMaskNone, Size(s.bytes.size()), s.bytes.data()));
}
