// The layer's own port and region records. Only toolbox code includes this.
#pragma once

#include <QImage>
#include <QRegion>

#include "../QuickDraw.h"

struct RegionRecord {
  QRegion rgn;
};

struct GrafPortRecord {
  WindowRecord* window = nullptr;
  // The content pixels of the window, one per window coordinate.
  QImage image;
  Point pen{0, 0};
  short txFont = 0;
  short txSize = 12;
  Style txFace = normal;
  RGBColor fg{0, 0, 0};
  RGBColor bg{65535, 65535, 65535};
};

namespace tb {

inline QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }
inline Rect toRect(const QRect& q) {
  return Rect{short(q.top()), short(q.left()), short(q.top() + q.height()), short(q.left() + q.width())};
}
inline QColor toQColor(const RGBColor& c) { return QColor::fromRgb(c.red >> 8, c.green >> 8, c.blue >> 8); }

// Resizes a port's pixels, keeping what fits and filling the rest with the
// background colour.
void resizePort(GrafPortRecord& port, int width, int height);

// The Qt font that stands for a font number, size and face.
QFont fontFor(short fontNumber, short size, Style face);

// Tells the front end that a port's pixels changed.
void portChanged(GrafPortRecord& port);

}  // namespace tb
