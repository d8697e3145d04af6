// The Control Manager's scroll bar: drawn and hit-tested by the Qt style
// into its window's port, tracked through the layer's event queue.
#include "Controls.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSizeGrip>
#include <QStyleOptionSlider>
#include <algorithm>
#include <string>

#include "Events.h"
#include "internal/ControlPeer.h"
#include "internal/Hooks.h"
#include "internal/WindowRecord.h"

struct ControlRecord {
  WindowRecord* owner = nullptr;
  Rect bounds{0, 0, 0, 0};
  std::string title;  // Mac Roman
  bool visible = false;
  SInt16 value = 0;
  SInt16 minimum = 0;
  SInt16 maximum = 0;
  SInt16 procID = scrollBarProc;
  SRefCon refCon = 0;
  ControlPartCode pressedPart = kControlNoPart;  // drawn pressed while tracked
  tb::ControlPeer* peer = nullptr;  // a control shown by a real widget (WidgetControls.cpp), owned
};

namespace {

constexpr UInt32 kFirstRepeatTicks = 20;  // a held arrow waits this long before repeating
constexpr UInt32 kRepeatTicks = 3;

QStyle* style() {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  return app != nullptr ? QApplication::style() : nullptr;
}

QStyle::SubControl subControlOf(ControlPartCode part) {
  switch (part) {
    case kControlUpButtonPart: return QStyle::SC_ScrollBarSubLine;
    case kControlDownButtonPart: return QStyle::SC_ScrollBarAddLine;
    case kControlPageUpPart: return QStyle::SC_ScrollBarSubPage;
    case kControlPageDownPart: return QStyle::SC_ScrollBarAddPage;
    case kControlIndicatorPart: return QStyle::SC_ScrollBarSlider;
    default: return QStyle::SC_None;
  }
}

ControlPartCode partOf(QStyle::SubControl sc) {
  switch (sc) {
    case QStyle::SC_ScrollBarSubLine: return kControlUpButtonPart;
    case QStyle::SC_ScrollBarAddLine: return kControlDownButtonPart;
    case QStyle::SC_ScrollBarSubPage: return kControlPageUpPart;
    case QStyle::SC_ScrollBarAddPage: return kControlPageDownPart;
    case QStyle::SC_ScrollBarSlider: return kControlIndicatorPart;
    default: return kControlNoPart;
  }
}

// The style's description of the bar, in coordinates local to the bar. The
// thumb keeps the style's smallest size, as the classic bar's did.
QStyleOptionSlider optionFor(const ControlRecord& c) {
  QStyleOptionSlider opt;
  QRect r = tb::toQRect(c.bounds);
  opt.rect = QRect(0, 0, r.width(), r.height());
  opt.orientation = r.height() >= r.width() ? Qt::Vertical : Qt::Horizontal;
  opt.minimum = c.minimum;
  opt.maximum = c.maximum;
  opt.sliderPosition = c.value;
  opt.sliderValue = c.value;
  opt.singleStep = 1;
  opt.pageStep = 0;
  opt.subControls = QStyle::SC_All;
  opt.state = QStyle::State_Active;
  if (opt.orientation == Qt::Horizontal) opt.state |= QStyle::State_Horizontal;
  if (c.maximum > c.minimum) opt.state |= QStyle::State_Enabled;
  if (c.pressedPart != kControlNoPart) {
    opt.activeSubControls = subControlOf(c.pressedPart);
    opt.state |= QStyle::State_Sunken;
  }
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) opt.palette = app->palette();
  return opt;
}

bool canDraw(const ControlRecord& c) {
  return c.owner != nullptr && !c.owner->port.image.isNull() && style() != nullptr;
}

void draw(ControlRecord& c) {
  if (c.peer != nullptr) return c.peer->changed();  // the widget draws itself
  if (!c.visible || !canDraw(c)) return;
  QRect r = tb::toQRect(c.bounds);
  QStyleOptionSlider opt = optionFor(c);
  {
    QPainter p(&c.owner->port.image);
    p.setClipRect(r);
    p.translate(r.topLeft());
    style()->drawComplexControl(QStyle::CC_ScrollBar, &opt, &p, nullptr);
  }
  tb::portChanged(c.owner->port);
}

void erase(ControlRecord& c) {
  if (c.peer != nullptr) return c.peer->changed();
  if (c.owner == nullptr || c.owner->port.image.isNull()) return;
  {
    QPainter p(&c.owner->port.image);
    p.fillRect(tb::toQRect(c.bounds), tb::toQColor(c.owner->port.bg));
  }
  tb::portChanged(c.owner->port);
}

// The part under `where` (the owner's local coordinates), 0 for none.
ControlPartCode hitPart(const ControlRecord& c, Point where) {
  if (c.peer != nullptr) return kControlNoPart;  // its widget takes its own clicks
  if (!PtInRect(where, &c.bounds) || style() == nullptr) return kControlNoPart;
  QStyleOptionSlider opt = optionFor(c);
  QPoint local(where.h - c.bounds.left, where.v - c.bounds.top);
  return partOf(style()->hitTestComplexControl(QStyle::CC_ScrollBar, &opt, local, nullptr));
}

void setPressed(ControlRecord& c, ControlPartCode part) {
  if (c.pressedPart == part) return;
  c.pressedPart = part;
  draw(c);
}

// Where the button went up: the pending mouse-up's place when StillDown
// stopped in front of it, else the last known mouse position.
Point releasePoint() {
  Point where;
  const tb::RawInput* next = tb::peekInput();
  if (next != nullptr && next->kind == tb::InputKind::MouseUp) {
    where = next->where;
    GlobalToLocal(&where);
  } else {
    GetMouse(&where);
  }
  return where;
}

bool tickReached(UInt32 now, UInt32 due) { return SInt32(now - due) >= 0; }

ControlPartCode trackThumb(ControlRecord& c, Point start) {
  QStyleOptionSlider opt = optionFor(c);
  QRect groove = style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarGroove, nullptr);
  QRect thumb = style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, nullptr);
  bool vertical = opt.orientation == Qt::Vertical;
  int grab = vertical ? start.v - c.bounds.top - thumb.top() : start.h - c.bounds.left - thumb.left();
  int span = vertical ? groove.height() - thumb.height() : groove.width() - thumb.width();
  auto follow = [&](Point mouse) {
    int pos = vertical ? mouse.v - c.bounds.top - groove.top() - grab : mouse.h - c.bounds.left - groove.left() - grab;
    if (span > 0) SetControlValue(&c, SInt16(QStyle::sliderValueFromPosition(c.minimum, c.maximum, pos, span)));
  };
  setPressed(c, kControlIndicatorPart);
  while (StillDown()) {
    Point mouse;
    GetMouse(&mouse);
    follow(mouse);
  }
  follow(releasePoint());
  setPressed(c, kControlNoPart);
  return kControlIndicatorPart;
}

// Arrows and page areas: the action runs at once, then after a pause
// repeatedly while the button is held, with part 0 while the mouse is off
// the part.
ControlPartCode trackPart(ControlRecord& c, ControlPartCode part, ControlActionUPP action) {
  setPressed(c, part);
  // The pauses count from the start of each action: a slow action repeats
  // at its own pace.
  UInt32 due = TickCount() + kFirstRepeatTicks;
  if (action != nullptr) action(&c, part);
  while (StillDown()) {
    Point mouse;
    GetMouse(&mouse);
    ControlPartCode under = hitPart(c, mouse) == part ? part : ControlPartCode(kControlNoPart);
    setPressed(c, under);
    if (tickReached(TickCount(), due)) {
      due = TickCount() + kRepeatTicks;
      if (action != nullptr) action(&c, under);
    }
  }
  bool inside = hitPart(c, releasePoint()) == part;
  setPressed(c, kControlNoPart);
  return inside ? part : ControlPartCode(kControlNoPart);
}

}  // namespace

ControlRef NewControl(WindowRef owner, const Rect* bounds, ConstStr255Param title, Boolean visible, SInt16 value,
                      SInt16 min, SInt16 max, SInt16 procID, SRefCon refCon) {
  if (owner == nullptr || bounds == nullptr) return nullptr;
  auto* c = new ControlRecord;
  c->owner = owner;
  c->bounds = *bounds;
  if (title != nullptr) c->title.assign(reinterpret_cast<const char*>(title + 1), title[0]);
  c->visible = visible;
  c->minimum = min;
  c->maximum = std::max(min, max);
  c->value = std::clamp(value, c->minimum, c->maximum);
  c->procID = procID;
  c->refCon = refCon;
  owner->controls.push_back(c);
  draw(*c);
  return c;
}

void DisposeControl(ControlRef control) {
  if (control == nullptr) return;
  if (control->visible) erase(*control);
  if (control->owner != nullptr) {
    auto& list = control->owner->controls;
    list.erase(std::remove(list.begin(), list.end(), control), list.end());
  }
  delete control->peer;
  delete control;
}

SInt16 GetControlValue(ControlRef control) { return control->value; }

void SetControlValue(ControlRef control, SInt16 value) {
  SInt16 clamped = std::clamp(value, control->minimum, control->maximum);
  if (clamped == control->value) return;
  control->value = clamped;
  draw(*control);
}

SInt16 GetControlMinimum(ControlRef control) { return control->minimum; }

// The range never inverts: a minimum above the maximum raises the maximum.
void SetControlMinimum(ControlRef control, SInt16 min) {
  control->minimum = min;
  control->maximum = std::max(control->maximum, min);
  control->value = std::clamp(control->value, control->minimum, control->maximum);
  draw(*control);
}

SInt16 GetControlMaximum(ControlRef control) { return control->maximum; }

// A maximum below the minimum is taken as the minimum.
void SetControlMaximum(ControlRef control, SInt16 max) {
  control->maximum = std::max(max, control->minimum);
  control->value = std::clamp(control->value, control->minimum, control->maximum);
  draw(*control);
}

Rect* GetControlBounds(ControlRef control, Rect* bounds) {
  *bounds = control->bounds;
  return bounds;
}

void MoveControl(ControlRef control, SInt16 h, SInt16 v) {
  if (control->visible) erase(*control);
  OffsetRect(&control->bounds, short(h - control->bounds.left), short(v - control->bounds.top));
  draw(*control);
}

void SizeControl(ControlRef control, SInt16 w, SInt16 h) {
  if (control->visible) erase(*control);
  control->bounds.right = short(control->bounds.left + w);
  control->bounds.bottom = short(control->bounds.top + h);
  draw(*control);
}

void ShowControl(ControlRef control) {
  if (control->visible) return;
  control->visible = true;
  draw(*control);
}

void HideControl(ControlRef control) {
  if (!control->visible) return;
  control->visible = false;
  erase(*control);
}

Boolean IsControlVisible(ControlRef control) { return control->visible; }

void Draw1Control(ControlRef control) { draw(*control); }

void DrawControls(WindowRef window) {
  if (window == nullptr) return;
  for (ControlRecord* c : window->controls) draw(*c);
}

// The size grip in the bottom-right corner, where the Window Manager finds
// the grow box.
void DrawGrowIcon(WindowRef window) {
  if (window == nullptr || !(window->attributes & kWindowResizableAttribute) || window->port.image.isNull()) return;
  const QImage& image = window->port.image;
  QRect box(image.width() - tb::kGrowBoxSize, image.height() - tb::kGrowBoxSize, tb::kGrowBoxSize, tb::kGrowBoxSize);
  {
    QPainter p(&window->port.image);
    p.fillRect(box, tb::toQColor(window->port.bg));
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawLine(box.topLeft(), box.topRight());
    p.drawLine(box.topLeft(), box.bottomLeft());
    if (QStyle* s = style()) {
      QStyleOptionSizeGrip grip;
      grip.rect = box.adjusted(1, 1, 0, 0);
      grip.corner = Qt::BottomRightCorner;
      grip.state = QStyle::State_Enabled;
      grip.palette = QApplication::palette();
      s->drawControl(QStyle::CE_SizeGrip, &grip, &p, nullptr);
    }
  }
  tb::portChanged(window->port);
}

ControlPartCode FindControl(Point where, WindowRef window, ControlRef* control) {
  if (control != nullptr) *control = nullptr;
  if (window == nullptr) return kControlNoPart;
  // The last made lies on top.
  for (auto it = window->controls.rbegin(); it != window->controls.rend(); ++it) {
    ControlRecord* c = *it;
    if (!c->visible) continue;
    ControlPartCode part = hitPart(*c, where);
    if (part != kControlNoPart) {
      if (control != nullptr) *control = c;
      return part;
    }
  }
  return kControlNoPart;
}

ControlPartCode TrackControl(ControlRef control, Point startPoint, ControlActionUPP action) {
  if (control == nullptr || control->owner == nullptr) return kControlNoPart;
  ControlPartCode part = hitPart(*control, startPoint);
  if (part == kControlNoPart) return kControlNoPart;
  // Mouse positions are read in the owner's coordinates.
  GrafPtr saved;
  GetPort(&saved);
  SetPortWindowPort(control->owner);
  ControlPartCode result =
      part == kControlIndicatorPart ? trackThumb(*control, startPoint) : trackPart(*control, part, action);
  SetPort(saved);
  return result;
}

namespace tb {
void attachControlPeer(ControlRef control, ControlPeer* peer) {
  if (control != nullptr) control->peer = peer;
}
ControlPeer* controlPeer(ControlRef control) { return control != nullptr ? control->peer : nullptr; }
}  // namespace tb
