// QuickDraw on QPainter: each window's port owns a QImage of its content.
#include "QuickDraw.h"

#include <QFontMetrics>
#include <QPainter>

#include "Frontend.h"
#include "TextUtils.h"
#include "internal/Pictures.h"
#include "internal/Port.h"
#include "internal/WindowRecord.h"

namespace {

struct QuickDrawState {
  GrafPtr current = nullptr;
  RegionRecord gray;
};

QuickDrawState& qd() {
  static QuickDrawState state;
  return state;
}

// Where the current port's (0, 0) lies on the desktop.
QPoint portOrigin() {
  GrafPtr port = qd().current;
  if (port == nullptr || port->window == nullptr) return QPoint(0, 0);
  return QPoint(port->window->content.left, port->window->content.top);
}

QString toQString(const unsigned char* bytes, int count) {
  return QString::fromStdString(tb::macRomanToUtf8(std::string(reinterpret_cast<const char*>(bytes), size_t(count))));
}

template <typename Draw>
void paintInPort(Draw draw) {
  GrafPtr port = qd().current;
  if (port == nullptr || port->image.isNull()) return;
  {
    QPainter painter(&port->image);
    draw(painter, *port);
  }
  tb::portChanged(*port);
}

}  // namespace

namespace tb {

void resizePort(GrafPortRecord& port, int width, int height) {
  if (port.image.width() == width && port.image.height() == height) return;
  QImage resized(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  resized.fill(toQColor(port.bg));
  if (!port.image.isNull() && !resized.isNull()) {
    QPainter painter(&resized);
    painter.drawImage(0, 0, port.image);
  }
  port.image = resized;
}

QFont fontFor(short fontNumber, short size, Style face) {
  QFont font;
  switch (fontNumber) {
    case kFontIDMonaco:
    case 22:  // Courier
      font.setFamily("DejaVu Sans Mono");
      font.setStyleHint(QFont::Monospace);
      break;
    case kFontIDTimes:
      font.setFamily("DejaVu Serif");
      font.setStyleHint(QFont::Serif);
      break;
    default:
      font.setFamily("DejaVu Sans");
      font.setStyleHint(QFont::SansSerif);
      break;
  }
  font.setPixelSize(size > 0 ? size : 12);
  font.setBold(face & bold);
  font.setItalic(face & italic);
  font.setUnderline(face & underline);
  return font;
}

void portChanged(GrafPortRecord&) { frontend().desktopChanged(); }

}  // namespace tb

void SetPort(GrafPtr port) { qd().current = port; }
void GetPort(GrafPtr* port) {
  if (port != nullptr) *port = qd().current;
}
GrafPtr GetQDGlobalsThePort() { return qd().current; }
void SetPortWindowPort(WindowRef window) {
  if (window != nullptr) qd().current = &window->port;
}
CGrafPtr GetWindowPort(WindowRef window) { return window != nullptr ? &window->port : nullptr; }
WindowRef GetWindowFromPort(CGrafPtr port) { return port != nullptr ? port->window : nullptr; }

Rect* GetPortBounds(CGrafPtr port, Rect* bounds) {
  if (port != nullptr && bounds != nullptr) {
    *bounds = Rect{0, 0, short(port->image.height()), short(port->image.width())};
  }
  return bounds;
}

void GlobalToLocal(Point* pt) {
  QPoint o = portOrigin();
  pt->h = short(pt->h - o.x());
  pt->v = short(pt->v - o.y());
}

void LocalToGlobal(Point* pt) {
  QPoint o = portOrigin();
  pt->h = short(pt->h + o.x());
  pt->v = short(pt->v + o.y());
}

void SetRect(Rect* r, short left, short top, short right, short bottom) { *r = Rect{top, left, bottom, right}; }
void OffsetRect(Rect* r, short dh, short dv) {
  r->left = short(r->left + dh);
  r->right = short(r->right + dh);
  r->top = short(r->top + dv);
  r->bottom = short(r->bottom + dv);
}
void InsetRect(Rect* r, short dh, short dv) {
  r->left = short(r->left + dh);
  r->right = short(r->right - dh);
  r->top = short(r->top + dv);
  r->bottom = short(r->bottom - dv);
}
Boolean PtInRect(Point pt, const Rect* r) {
  return pt.h >= r->left && pt.h < r->right && pt.v >= r->top && pt.v < r->bottom;
}
Boolean EmptyRect(const Rect* r) { return r->bottom <= r->top || r->right <= r->left; }
Boolean SectRect(const Rect* a, const Rect* b, Rect* dst) {
  Rect s{std::max(a->top, b->top), std::max(a->left, b->left), std::min(a->bottom, b->bottom),
         std::min(a->right, b->right)};
  if (EmptyRect(&s)) s = Rect{0, 0, 0, 0};
  *dst = s;
  return !EmptyRect(&s);
}
Boolean EqualRect(const Rect* a, const Rect* b) {
  return a->top == b->top && a->left == b->left && a->bottom == b->bottom && a->right == b->right;
}

RgnHandle NewRgn() { return new RegionRecord; }
void DisposeRgn(RgnHandle rgn) { delete rgn; }
void RectRgn(RgnHandle rgn, const Rect* r) { rgn->rgn = EmptyRect(r) ? QRegion() : QRegion(tb::toQRect(*r)); }
void SetEmptyRgn(RgnHandle rgn) { rgn->rgn = QRegion(); }
void CopyRgn(RgnHandle src, RgnHandle dst) { dst->rgn = src->rgn; }
void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst) { dst->rgn = a->rgn.subtracted(b->rgn); }
void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst) { dst->rgn = a->rgn.united(b->rgn); }
void OffsetRgn(RgnHandle rgn, short dh, short dv) { rgn->rgn.translate(dh, dv); }
Boolean PtInRgn(Point pt, RgnHandle rgn) { return rgn != nullptr && rgn->rgn.contains(QPoint(pt.h, pt.v)); }
Boolean EmptyRgn(RgnHandle rgn) { return rgn->rgn.isEmpty(); }
Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds) {
  *bounds = rgn->rgn.isEmpty() ? Rect{0, 0, 0, 0} : tb::toRect(rgn->rgn.boundingRect());
  return bounds;
}

RgnHandle GetGrayRgn() {
  RegionRecord& gray = qd().gray;
  gray.rgn = QRegion(0, 0, tb::frontend().desktopWidth(), tb::frontend().desktopHeight());
  return &gray;
}

short GetMBarHeight() { return short(tb::frontend().menuBarHeight()); }

void TextFont(short font) {
  if (qd().current) qd().current->txFont = font;
}
void TextSize(short size) {
  if (qd().current) qd().current->txSize = size;
}
void TextFace(Style face) {
  if (qd().current) qd().current->txFace = face;
}

void GetFNum(ConstStr255Param name, short* familyID) {
  std::string n(reinterpret_cast<const char*>(name + 1), name[0]);
  if (n == "Monaco") *familyID = kFontIDMonaco;
  else if (n == "Times") *familyID = kFontIDTimes;
  else if (n == "Symbol") *familyID = kFontIDSymbol;
  else if (n == "Geneva") *familyID = 3;
  else if (n == "Helvetica") *familyID = 21;
  else if (n == "Courier") *familyID = 22;
  else *familyID = 0;
}

void MoveTo(short h, short v) {
  if (qd().current) qd().current->pen = Point{v, h};
}
void Move(short dh, short dv) {
  if (qd().current) {
    qd().current->pen.h = short(qd().current->pen.h + dh);
    qd().current->pen.v = short(qd().current->pen.v + dv);
  }
}
void GetPen(Point* pt) {
  if (qd().current) *pt = qd().current->pen;
}

void DrawText(const void* text, short first, short count) {
  if (count <= 0) return;
  QString s = toQString(static_cast<const unsigned char*>(text) + first, count);
  paintInPort([&](QPainter& p, GrafPortRecord& port) {
    QFont font = tb::fontFor(port.txFont, port.txSize, port.txFace);
    p.setFont(font);
    p.setPen(tb::toQColor(port.fg));
    p.drawText(QPoint(port.pen.h, port.pen.v), s);
    port.pen.h = short(port.pen.h + QFontMetrics(font).horizontalAdvance(s));
  });
}

void DrawString(ConstStr255Param s) { DrawText(s + 1, 0, s[0]); }

short TextWidth(const void* text, short first, short count) {
  GrafPtr port = qd().current;
  if (port == nullptr || count <= 0) return 0;
  QFontMetrics metrics(tb::fontFor(port->txFont, port->txSize, port->txFace));
  return short(metrics.horizontalAdvance(toQString(static_cast<const unsigned char*>(text) + first, count)));
}

short StringWidth(ConstStr255Param s) { return TextWidth(s + 1, 0, s[0]); }

void GetFontInfo(FontInfo* info) {
  GrafPtr port = qd().current;
  QFontMetrics m(port ? tb::fontFor(port->txFont, port->txSize, port->txFace) : QFont());
  *info = FontInfo{short(m.ascent()), short(m.descent()), short(m.maxWidth()), short(m.leading())};
}

void RGBForeColor(const RGBColor* c) {
  if (qd().current) qd().current->fg = *c;
}
void RGBBackColor(const RGBColor* c) {
  if (qd().current) qd().current->bg = *c;
}
void GetForeColor(RGBColor* c) {
  if (qd().current) *c = qd().current->fg;
}
void GetBackColor(RGBColor* c) {
  if (qd().current) *c = qd().current->bg;
}

void EraseRect(const Rect* r) {
  paintInPort([&](QPainter& p, GrafPortRecord& port) { p.fillRect(tb::toQRect(*r), tb::toQColor(port.bg)); });
}
void PaintRect(const Rect* r) {
  paintInPort([&](QPainter& p, GrafPortRecord& port) { p.fillRect(tb::toQRect(*r), tb::toQColor(port.fg)); });
}
void FrameRect(const Rect* r) {
  if (tb::recordFrameRect(*r)) return;  // a picture is open: recorded, not drawn
  if (EmptyRect(r)) return;
  paintInPort([&](QPainter& p, GrafPortRecord& port) {
    // A one-pixel frame inside the rectangle, as the pen of size 1 draws it.
    QColor c = tb::toQColor(port.fg);
    QRect q = tb::toQRect(*r);
    p.fillRect(QRect(q.left(), q.top(), q.width(), 1), c);
    p.fillRect(QRect(q.left(), q.bottom(), q.width(), 1), c);
    p.fillRect(QRect(q.left(), q.top(), 1, q.height()), c);
    p.fillRect(QRect(q.right(), q.top(), 1, q.height()), c);
  });
}
void InvertRect(const Rect* r) {
  paintInPort([&](QPainter& p, GrafPortRecord&) {
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(tb::toQRect(*r), Qt::white);
  });
}

OSStatus QDFlushPortBuffer(CGrafPtr port, RgnHandle) {
  if (port != nullptr) tb::portChanged(*port);
  tb::frontend().pump(0);
  return noErr;
}

struct CCrsrRecord {
  tb::CursorShape shape;
};

OSStatus SetThemeCursor(ThemeCursor cursor) {
  tb::CursorShape shape = tb::CursorShape::Arrow;
  switch (cursor) {
    case kThemeIBeamCursor: shape = tb::CursorShape::IBeam; break;
    case kThemeCrossCursor: shape = tb::CursorShape::Cross; break;
    case kThemeWatchCursor: shape = tb::CursorShape::Watch; break;
    default: break;
  }
  tb::frontend().setCursor(shape);
  return noErr;
}

// The colour cursors are the layer's own resources: 128 zoom in, 129 zoom out.
CCrsrHandle GetCCursor(short id) {
  static CCrsrRecord zoomIn{tb::CursorShape::ZoomIn}, zoomOut{tb::CursorShape::ZoomOut};
  static CCrsrRecord* zoomInPtr = &zoomIn;
  static CCrsrRecord* zoomOutPtr = &zoomOut;
  if (id == 128) return &zoomInPtr;
  if (id == 129) return &zoomOutPtr;
  return nullptr;
}

void SetCCursor(CCrsrHandle cursor) {
  if (cursor != nullptr && *cursor != nullptr) tb::frontend().setCursor((*cursor)->shape);
}

void InitCursor() { tb::frontend().setCursor(tb::CursorShape::Arrow); }
