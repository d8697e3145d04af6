#include "DesktopWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "../Events.h"
#include "../TextUtils.h"
#include "../internal/EventQueue.h"
#include "../internal/Tracking.h"
#include "../internal/WindowRecord.h"
#include "KeyMapping.h"

namespace tb {

namespace {

const QColor kDesktopColor(0x5B, 0x6E, 0x86);
const QColor kActiveTitle(0xD8, 0xDC, 0xE2);
const QColor kInactiveTitle(0xEE, 0xEE, 0xEE);
const QColor kFrame(0x40, 0x40, 0x40);

void paintTitleBox(QPainter& p, const QRect& box, bool close, bool pressed) {
  p.setPen(QPen(kFrame, 1));
  p.setBrush(pressed ? QColor(0x90, 0x90, 0x90) : QColor(0xFA, 0xFA, 0xFA));
  p.drawRect(box.adjusted(0, 0, -1, -1));
  p.setPen(QPen(kFrame, 1.4));
  QRect inner = box.adjusted(3, 3, -4, -4);
  if (close) {
    p.drawLine(inner.topLeft(), inner.bottomRight());
    p.drawLine(inner.topRight(), inner.bottomLeft());
  } else {
    p.setBrush(Qt::NoBrush);
    p.drawRect(inner);
  }
}

void paintGrowBox(QPainter& p, const QRect& box) {
  p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
  for (int i = 4; i <= 12; i += 4) {
    p.drawLine(box.right() - i, box.bottom() - 1, box.right() - 1, box.bottom() - i);
  }
}

}  // namespace

DesktopWidget::DesktopWidget(int menuBarHeight, QWidget* parent) : QWidget(parent), menuBarHeight_(menuBarHeight) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void DesktopWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kDesktopColor);
  // Layer coordinates count from the top of the menu bar.
  p.translate(0, -menuBarHeight_);
  const auto& windows = windowManager().windows;
  WindowRecord* front = nullptr;
  for (WindowRecord* w : windows) {
    if (w->visible) {
      front = w;
      break;
    }
  }
  const TrackingState& track = tracking();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    WindowRecord* w = *it;
    if (!w->visible) continue;
    QRect frame = toQRect(structureRect(*w));
    p.setPen(Qt::NoPen);
    p.fillRect(frame.translated(2, 2), QColor(0, 0, 0, 60));  // a soft shadow
    p.fillRect(frame, kFrame);
    QRect bar = toQRect(titleBarRect(*w));
    if (!bar.isEmpty()) {
      bool active = w == front;
      p.fillRect(bar, active ? kActiveTitle : kInactiveTitle);
      if (active) {
        p.setPen(QColor(0xB0, 0xB4, 0xBA));
        for (int y = bar.top() + 5; y < bar.bottom() - 4; y += 3) p.drawLine(bar.left() + 28, y, bar.right() - 28, y);
      }
      QString title = QString::fromStdString(macRomanToUtf8(w->title));
      QFont font("DejaVu Sans");
      font.setPixelSize(12);
      font.setBold(active);
      p.setFont(font);
      QFontMetrics metrics(font);
      QString shown = metrics.elidedText(title, Qt::ElideRight, bar.width() - 64);
      QRect textRect(bar.center().x() - metrics.horizontalAdvance(shown) / 2 - 6, bar.top(),
                     metrics.horizontalAdvance(shown) + 12, bar.height());
      if (!shown.isEmpty()) p.fillRect(textRect, active ? kActiveTitle : kInactiveTitle);
      p.setPen(active ? Qt::black : QColor(0x80, 0x80, 0x80));
      p.drawText(textRect, Qt::AlignCenter, shown);
      bool pressed = track.pressedWindow == w && track.pressedInside;
      QRect close = toQRect(closeBoxRect(*w)), zoom = toQRect(zoomBoxRect(*w));
      if (active && !close.isEmpty()) paintTitleBox(p, close, true, pressed && track.pressedBox.left == close.left());
      if (active && !zoom.isEmpty()) paintTitleBox(p, zoom, false, pressed && track.pressedBox.left == zoom.left());
    }
    QRect content = toQRect(w->content);
    p.drawImage(content.topLeft(), w->port.image);
    QRect grow = toQRect(growBoxRect(*w));
    if (!grow.isEmpty()) paintGrowBox(p, grow);
  }
  if (track.outlineWindow != nullptr) {
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(toQRect(track.outline).adjusted(0, 0, -1, -1));
  }
}

void postMouse(int kind, QPoint globalPoint, Qt::KeyboardModifiers modifiers) {
  RawInput in;
  in.kind = InputKind(kind);
  in.where = Point{short(globalPoint.y()), short(globalPoint.x())};
  in.modifiers = macModifiersFor(modifiers);
  postInput(in);
}

void postKey(QKeyEvent* event, bool down) {
  bool shift = event->modifiers() & Qt::ShiftModifier;
  MacKey key = macKeyFor(event->key(), event->text(), shift);
  if (key.keyCode == 0xFF && key.charCode == 0) return;
  RawInput in;
  in.kind = !down ? InputKind::KeyUp : event->isAutoRepeat() ? InputKind::AutoKey : InputKind::KeyDown;
  in.charCode = key.charCode;
  in.keyCode = key.keyCode;
  in.modifiers = macModifiersFor(event->modifiers());
  postInput(in);
}

void DesktopWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  postMouse(int(InputKind::MouseDown), event->position().toPoint() + QPoint(0, menuBarHeight_), event->modifiers());
}

void DesktopWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  postMouse(int(InputKind::MouseUp), event->position().toPoint() + QPoint(0, menuBarHeight_), event->modifiers());
}

void DesktopWidget::mouseMoveEvent(QMouseEvent* event) {
  postMouse(int(InputKind::MouseMove), event->position().toPoint() + QPoint(0, menuBarHeight_), event->modifiers());
}

void DesktopWidget::keyPressEvent(QKeyEvent* event) { postKey(event, true); }
void DesktopWidget::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) postKey(event, false);
}

}  // namespace tb
