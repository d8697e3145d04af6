// Widget-backed controls: the Control Manager keeps each control's record;
// a peer owns the Qt widget that shows it on the desktop, over its window's
// content, and turns clicks into control hits delivered from the event loop.
#include "WidgetControls.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <cstring>
#include <map>

#include "Events.h"
#include "Frontend.h"
#include "TextUtils.h"
#include "Windows.h"
#include "internal/ControlPeer.h"
#include "internal/EventQueue.h"
#include "internal/WidgetControls.h"
#include "internal/WindowRecord.h"
#include "qt/QtFrontend.h"

namespace tb {

namespace {

class WidgetPeer;

struct WindowControlState {
  ControlRef focus = nullptr;
  ControlRef defaultButton = nullptr;
  ControlRef cancelButton = nullptr;
};

struct Registry {
  std::vector<WidgetPeer*> peers;  // first made first
  std::map<WindowRecord*, WindowControlState> windows;
  unsigned long nextSerial = 1;
  bool syncing = false;
};

Registry& registry() {
  static Registry r;
  return r;
}

QWidget* desktopWidget() {
  QtFrontend* qt = qtFrontend();
  return qt != nullptr && qt->mainWindow() != nullptr ? qt->mainWindow()->centralWidget() : nullptr;
}

QString toQString(const std::string& macRoman) { return QString::fromStdString(macRomanToUtf8(macRoman)); }
std::string fromQString(const QString& s) { return utf8ToMacRoman(s.toStdString()); }

WidgetPeer* peerOf(ControlRef control);
void syncPeer(WidgetPeer& p);
void queueHit(unsigned long serial, ControlPartCode part);

// Keys that a field hands to its window: the dialog keys a person expects.
class FieldKeys : public QObject {
 public:
  explicit FieldKeys(unsigned long serial, QObject* parent) : QObject(parent), serial_(serial) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  unsigned long serial_;
};

class WidgetPeer : public ControlPeer {
 public:
  WidgetPeer(ControlRef c, WindowRecord* w, WidgetKind k) : control(c), owner(w), kind(k) {
    serial = registry().nextSerial++;
    layoutHeight = w->content.bottom - w->content.top;
    registry().peers.push_back(this);
  }
  ~WidgetPeer() override {
    auto& peers = registry().peers;
    peers.erase(std::remove(peers.begin(), peers.end(), this), peers.end());
    for (auto& [window, state] : registry().windows) {
      if (state.focus == control) state.focus = nullptr;
      if (state.defaultButton == control) state.defaultButton = nullptr;
      if (state.cancelButton == control) state.cancelButton = nullptr;
    }
    if (widget) {
      if (widget->hasFocus()) {
        if (QWidget* desk = desktopWidget()) desk->setFocus();
      }
      widget->hide();
      widget->deleteLater();
    }
  }
  void changed() override {
    if (!registry().syncing) syncPeer(*this);
  }

  ControlRef control;
  WindowRecord* owner;
  WidgetKind kind;
  unsigned long serial = 0;
  QPointer<QWidget> widget;
  ControlID id{0, 0};
  UInt32 command = 0;
  std::string text;  // Mac Roman
  ControlEditTextSelectionRec selection{0, 0};
  bool bindBottom = false;
  int layoutHeight = 0;  // the content height the bounds were laid out for
  bool settingText = false;
  bool shown = false;
};

WidgetPeer* peerOf(ControlRef control) {
  if (control == nullptr) return nullptr;
  for (WidgetPeer* p : registry().peers) {
    if (p->control == control) return p;
  }
  return nullptr;
}

WidgetPeer* peerBySerial(unsigned long serial) {
  for (WidgetPeer* p : registry().peers) {
    if (p->serial == serial) return p;
  }
  return nullptr;
}

QLineEdit* lineEdit(WidgetPeer* p) {
  return p != nullptr && p->kind == WidgetKind::EditText ? qobject_cast<QLineEdit*>(p->widget.data()) : nullptr;
}

void showText(WidgetPeer& p) {
  if (!p.widget) return;
  p.settingText = true;
  switch (p.kind) {
    case WidgetKind::Button: static_cast<QPushButton*>(p.widget.data())->setText(toQString(p.text)); break;
    case WidgetKind::StaticText: static_cast<QLabel*>(p.widget.data())->setText(toQString(p.text)); break;
    case WidgetKind::EditText: static_cast<QLineEdit*>(p.widget.data())->setText(toQString(p.text)); break;
    default: break;
  }
  p.settingText = false;
}

void applySelection(WidgetPeer& p) {
  QLineEdit* edit = lineEdit(&p);
  if (edit == nullptr) return;
  int size = int(edit->text().size());
  int start = std::clamp<int>(p.selection.selStart, 0, size);
  int end = std::clamp<int>(p.selection.selEnd, start, size);
  p.settingText = true;
  if (end > start) edit->setSelection(start, end - start);
  else edit->setCursorPosition(start);
  p.settingText = false;
}

void noteSelection(WidgetPeer& p) {
  QLineEdit* edit = lineEdit(&p);
  if (edit == nullptr || p.settingText || !edit->hasFocus()) return;
  if (edit->hasSelectedText()) {
    p.selection.selStart = SInt16(edit->selectionStart());
    p.selection.selEnd = SInt16(edit->selectionStart() + edit->selectedText().size());
  } else {
    p.selection.selStart = p.selection.selEnd = SInt16(edit->cursorPosition());
  }
}

WindowControlState& stateOf(WindowRecord* w) { return registry().windows[w]; }

// Gives the Qt focus to the layer's focused field of a window when the
// field can take it, with the selection the layer keeps.
void applyFocus(WidgetPeer& p) {
  if (!p.widget || p.widget->isHidden() || !p.widget->isEnabled()) return;
  p.widget->setFocus(Qt::OtherFocusReason);
  applySelection(p);
}

bool isFocusable(WidgetPeer* p) {
  return p != nullptr && p->kind == WidgetKind::EditText && IsControlVisible(p->control);
}

void syncPeer(WidgetPeer& p) {
  QWidget* widget = p.widget;
  if (widget == nullptr || !isAlive(p.owner)) return;
  const int menuBar = frontend().menuBarHeight();
  Rect b;
  GetControlBounds(p.control, &b);
  QRect layer(p.owner->content.left + b.left, p.owner->content.top + b.top, b.right - b.left, b.bottom - b.top);
  QRect geometry = layer.translated(0, -menuBar);
  // What the windows in front leave of it, within its window's content.
  QRegion seen = QRegion(layer) & QRegion(toQRect(p.owner->content));
  for (WindowRecord* w : windowManager().windows) {
    if (w == p.owner) break;
    if (w->visible) seen -= QRegion(toQRect(structureRect(*w)));
  }
  bool visible = IsControlVisible(p.control) && p.owner->visible && !seen.isEmpty();
  bool enabled = attachedSheet(p.owner) == nullptr;
  if (widget->geometry() != geometry) widget->setGeometry(geometry);
  QRegion local = seen.translated(-layer.left(), -layer.top());
  if (local == QRegion(widget->rect())) {
    if (!widget->mask().isEmpty()) widget->clearMask();
  } else if (widget->mask() != local) {
    widget->setMask(local);
  }
  if (widget->isEnabled() != enabled) widget->setEnabled(enabled);
  if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
    if (spin->minimum() != GetControlMinimum(p.control) || spin->maximum() != GetControlMaximum(p.control)) {
      QSignalBlocker block(spin);
      spin->setRange(GetControlMinimum(p.control), GetControlMaximum(p.control));
    }
    if (spin->value() != GetControlValue(p.control)) {
      QSignalBlocker block(spin);
      spin->setValue(GetControlValue(p.control));
    }
  }
  if (!visible && widget->hasFocus()) {
    if (QWidget* desk = desktopWidget()) desk->setFocus();
  }
  if (widget->isHidden() == visible) widget->setVisible(visible);
  bool becameShown = visible && !p.shown;
  p.shown = visible;
  if (becameShown && stateOf(p.owner).focus == p.control) applyFocus(p);
}

void queueHit(unsigned long serial, ControlPartCode part) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [serial, part] {
        if (WidgetPeer* p = peerBySerial(serial)) dispatchControlHit(p->control, part);
      },
      Qt::QueuedConnection);
}

bool FieldKeys::eventFilter(QObject*, QEvent* event) {
  WidgetPeer* p = peerBySerial(serial_);
  if (p == nullptr) return false;
  if (event->type() == QEvent::FocusIn) {
    // A click into a field moves the layer's focus there too.
    stateOf(p->owner).focus = p->control;
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  WindowControlState& state = stateOf(p->owner);
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return clickControl(state.defaultButton) || true;
    case Qt::Key_Escape:
      return clickControl(state.cancelButton) || true;
    case Qt::Key_Period:
      if (key->modifiers() & Qt::ControlModifier) return clickControl(state.cancelButton) || true;
      return false;
    case Qt::Key_Tab:
      AdvanceKeyboardFocus(p->owner);
      return true;
    case Qt::Key_Backtab:
      ReverseKeyboardFocus(p->owner);
      return true;
    default:
      return false;
  }
}

ControlRef makeControl(WindowRef window, const Rect* bounds, WidgetKind kind, SInt16 procID, SInt16 value,
                       SInt16 minimum, SInt16 maximum, const std::string& text) {
  QWidget* desk = desktopWidget();
  ControlRef control = NewControl(window, bounds, nullptr, false, value, minimum, maximum, procID, 0);
  if (control == nullptr) return nullptr;
  auto* peer = new WidgetPeer(control, window, kind);
  peer->text = text;
  attachControlPeer(control, peer);
  QWidget* widget = nullptr;
  switch (kind) {
    case WidgetKind::Button: {
      auto* button = new QPushButton(desk);
      button->setFocusPolicy(Qt::NoFocus);  // buttons never take typing from the fields
      button->setAutoDefault(false);
      unsigned long serial = peer->serial;
      QObject::connect(button, &QPushButton::clicked, [serial] { queueHit(serial, kControlButtonPart); });
      widget = button;
      break;
    }
    case WidgetKind::EditText: {
      auto* edit = new QLineEdit(desk);
      edit->setMaxLength(32767);
      unsigned long serial = peer->serial;
      edit->installEventFilter(new FieldKeys(serial, edit));
      QObject::connect(edit, &QLineEdit::textChanged, [serial](const QString& t) {
        WidgetPeer* p = peerBySerial(serial);
        if (p != nullptr && !p->settingText) p->text = fromQString(t);
      });
      QObject::connect(edit, &QLineEdit::selectionChanged, [serial] {
        if (WidgetPeer* p = peerBySerial(serial)) noteSelection(*p);
      });
      QObject::connect(edit, &QLineEdit::cursorPositionChanged, [serial](int, int) {
        if (WidgetPeer* p = peerBySerial(serial)) noteSelection(*p);
      });
      widget = edit;
      break;
    }
    case WidgetKind::StaticText: {
      auto* label = new QLabel(desk);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      widget = label;
      break;
    }
    case WidgetKind::LittleArrows: {
      auto* spin = new QSpinBox(desk);
      spin->setRange(minimum, maximum);
      spin->setValue(value);
      spin->setFocusPolicy(Qt::ClickFocus);
      unsigned long serial = peer->serial;
      QObject::connect(spin, &QSpinBox::valueChanged, [serial](int v) {
        WidgetPeer* p = peerBySerial(serial);
        if (p == nullptr) return;
        SetControlValue(p->control, SInt16(v));
        queueHit(serial, kControlUpButtonPart);
      });
      widget = spin;
      break;
    }
    case WidgetKind::None: break;
  }
  if (widget != nullptr) {
    // The desktop paints the window under the widget.
    widget->setAttribute(Qt::WA_TranslucentBackground, kind == WidgetKind::StaticText);
    widget->hide();
  }
  peer->widget = widget;
  showText(*peer);
  ShowControl(control);
  return control;
}

std::string textOf(CFStringRef s) {
  if (s == nullptr) return {};
  std::vector<char> buffer(size_t(CFStringGetLength(s)) * 4 + 1);
  if (!CFStringGetCString(s, buffer.data(), CFIndex(buffer.size()), kCFStringEncodingUTF8)) return {};
  return utf8ToMacRoman(buffer.data());
}

bool supportsText(WidgetPeer* p) { return p->kind == WidgetKind::EditText || p->kind == WidgetKind::StaticText; }

OSStatus moveFocus(WindowRef window, bool forward) {
  if (window == nullptr) return paramErr;
  std::vector<WidgetPeer*> fields;
  for (WidgetPeer* p : registry().peers) {
    if (p->owner == window && isFocusable(p)) fields.push_back(p);
  }
  if (fields.empty()) return errCouldntSetFocus;
  ControlRef current = stateOf(window).focus;
  auto at = std::find_if(fields.begin(), fields.end(), [&](WidgetPeer* p) { return p->control == current; });
  size_t index;
  if (at == fields.end()) index = forward ? 0 : fields.size() - 1;
  else if (forward) index = (size_t(at - fields.begin()) + 1) % fields.size();
  else index = (size_t(at - fields.begin()) + fields.size() - 1) % fields.size();
  WidgetPeer* next = fields[index];
  // A field reached with Tab has its whole text selected.
  next->selection = ControlEditTextSelectionRec{0, SInt16(std::min<size_t>(next->text.size(), 32767))};
  return SetKeyboardFocus(window, next->control, kControlFocusNextPart);
}

}  // namespace

void syncWidgetControls() {
  Registry& r = registry();
  if (r.syncing) return;
  r.syncing = true;
  syncSheets();
  for (WidgetPeer* p : std::vector<WidgetPeer*>(r.peers)) {
    if (!p->bindBottom || !isAlive(p->owner)) continue;
    int height = p->owner->content.bottom - p->owner->content.top;
    if (height == p->layoutHeight) continue;
    Rect b;
    GetControlBounds(p->control, &b);
    MoveControl(p->control, b.left, SInt16(b.top + height - p->layoutHeight));
    p->layoutHeight = height;
  }
  for (WidgetPeer* p : std::vector<WidgetPeer*>(r.peers)) syncPeer(*p);
  r.syncing = false;
}

WidgetKind widgetKind(ControlRef control) {
  WidgetPeer* p = peerOf(control);
  return p != nullptr ? p->kind : WidgetKind::None;
}

QWidget* controlWidget(ControlRef control) {
  WidgetPeer* p = peerOf(control);
  return p != nullptr ? p->widget.data() : nullptr;
}

std::string controlText(ControlRef control) {
  WidgetPeer* p = peerOf(control);
  return p != nullptr ? p->text : std::string();
}

void bindToBottom(ControlRef control) {
  if (WidgetPeer* p = peerOf(control)) p->bindBottom = true;
}

void alignStaticTextRight(ControlRef control) {
  WidgetPeer* p = peerOf(control);
  if (p == nullptr || p->kind != WidgetKind::StaticText || !p->widget) return;
  static_cast<QLabel*>(p->widget.data())->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

std::vector<ControlRef> widgetControls(WindowRef window) {
  std::vector<ControlRef> out;
  for (WidgetPeer* p : registry().peers) {
    if (p->owner == window) out.push_back(p->control);
  }
  return out;
}

bool clickControl(ControlRef control) {
  WidgetPeer* p = peerOf(control);
  if (p == nullptr || p->kind != WidgetKind::Button || !p->widget) return false;
  syncWidgetControls();
  if (p->widget->isHidden() || !p->widget->isEnabled()) return false;
  static_cast<QPushButton*>(p->widget.data())->click();
  return true;
}

bool handleWindowKey(WindowRef window, const RawInput& key) {
  if (window == nullptr || (key.kind != InputKind::KeyDown && key.kind != InputKind::AutoKey)) return false;
  WindowControlState& state = stateOf(window);
  const bool command = key.modifiers & cmdKey;
  if (key.keyCode == kVK_Escape || (command && key.keyCode == kVK_ANSI_Period)) return clickControl(state.cancelButton);
  if (key.keyCode == kVK_Return || key.keyCode == 0x4C) return clickControl(state.defaultButton);
  if (key.keyCode == kVK_Tab) {
    return (key.modifiers & shiftKey ? ReverseKeyboardFocus(window) : AdvanceKeyboardFocus(window)) == noErr;
  }
  WidgetPeer* field = peerOf(state.focus);
  QLineEdit* edit = lineEdit(field);
  if (edit == nullptr || !edit->isEnabled()) return false;
  const bool shift = key.modifiers & shiftKey;
  if (command) {
    switch (key.charCode | 0x20) {  // either case
      case 'a': edit->selectAll(); break;
      case 'c': edit->copy(); break;
      case 'v': edit->paste(); break;
      case 'x': edit->cut(); break;
      default: return false;
    }
  } else if (key.keyCode == kVK_Delete) {
    edit->backspace();
  } else if (key.keyCode == 0x75) {  // forward delete
    edit->del();
  } else if (key.keyCode == kVK_LeftArrow) {
    edit->cursorBackward(shift);
  } else if (key.keyCode == kVK_RightArrow) {
    edit->cursorForward(shift);
  } else if (key.keyCode == 0x73) {  // home
    edit->home(shift);
  } else if (key.keyCode == 0x77) {  // end
    edit->end(shift);
  } else if (key.charCode >= 0x20 && key.charCode != 0x7F) {
    edit->insert(QString(QChar(char16_t(macRomanToUnicode(key.charCode)))));
  } else {
    return false;
  }
  // Typing moves the selection as the field shows it.
  if (edit->hasSelectedText()) {
    field->selection.selStart = SInt16(edit->selectionStart());
    field->selection.selEnd = SInt16(edit->selectionStart() + edit->selectedText().size());
  } else {
    field->selection.selStart = field->selection.selEnd = SInt16(edit->cursorPosition());
  }
  return true;
}

}  // namespace tb

using tb::WidgetKind;
using tb::WidgetPeer;

OSStatus CreatePushButtonControl(WindowRef window, const Rect* bounds, CFStringRef title, ControlRef* outControl) {
  if (outControl == nullptr || window == nullptr || bounds == nullptr) return paramErr;
  *outControl = tb::makeControl(window, bounds, WidgetKind::Button, 0, 0, 0, 1, tb::textOf(title));
  return *outControl != nullptr ? noErr : paramErr;
}

OSStatus CreateEditUnicodeTextControl(WindowRef window, const Rect* bounds, CFStringRef text, Boolean isPassword,
                                      const void*, ControlRef* outControl) {
  if (outControl == nullptr || window == nullptr || bounds == nullptr) return paramErr;
  *outControl = tb::makeControl(window, bounds, WidgetKind::EditText, 912, 0, 0, 0, tb::textOf(text));
  if (*outControl == nullptr) return paramErr;
  if (isPassword) {
    if (auto* edit = qobject_cast<QLineEdit*>(tb::controlWidget(*outControl))) edit->setEchoMode(QLineEdit::Password);
  }
  return noErr;
}

OSStatus CreateStaticTextControl(WindowRef window, const Rect* bounds, CFStringRef text, const void*,
                                 ControlRef* outControl) {
  if (outControl == nullptr || window == nullptr || bounds == nullptr) return paramErr;
  *outControl = tb::makeControl(window, bounds, WidgetKind::StaticText, 288, 0, 0, 0, tb::textOf(text));
  return *outControl != nullptr ? noErr : paramErr;
}

OSStatus CreateLittleArrowsControl(WindowRef window, const Rect* bounds, SInt32 value, SInt32 minimum, SInt32 maximum,
                                   SInt32 increment, ControlRef* outControl) {
  if (outControl == nullptr || window == nullptr || bounds == nullptr) return paramErr;
  // The record holds 16-bit values: the range is cut to them.
  auto clip = [](SInt32 v) { return SInt16(std::clamp<SInt32>(v, INT16_MIN, INT16_MAX)); };
  SInt16 lo = clip(minimum), hi = std::max(lo, clip(maximum));
  *outControl = tb::makeControl(window, bounds, WidgetKind::LittleArrows, 96, std::clamp(clip(value), lo, hi), lo, hi, {});
  if (*outControl == nullptr) return paramErr;
  if (auto* spin = qobject_cast<QSpinBox*>(tb::controlWidget(*outControl))) spin->setSingleStep(std::max(1, increment));
  return noErr;
}

OSStatus SetControlID(ControlRef control, const ControlID* id) {
  WidgetPeer* p = tb::peerOf(control);
  if (p == nullptr || id == nullptr) return errUnknownControl;
  p->id = *id;
  return noErr;
}

OSStatus GetControlID(ControlRef control, ControlID* id) {
  WidgetPeer* p = tb::peerOf(control);
  if (p == nullptr || id == nullptr) return errUnknownControl;
  *id = p->id;
  return noErr;
}

OSStatus GetControlByID(WindowRef window, const ControlID* id, ControlRef* outControl) {
  if (outControl != nullptr) *outControl = nullptr;
  if (window == nullptr || id == nullptr || outControl == nullptr) return paramErr;
  const auto& peers = tb::registry().peers;
  for (auto it = peers.rbegin(); it != peers.rend(); ++it) {
    WidgetPeer* p = *it;
    if (p->owner == window && p->id.signature == id->signature && p->id.id == id->id) {
      *outControl = p->control;
      return noErr;
    }
  }
  return errUnknownControl;
}

OSStatus SetControlCommandID(ControlRef control, UInt32 commandID) {
  WidgetPeer* p = tb::peerOf(control);
  if (p == nullptr) return errUnknownControl;
  p->command = commandID;
  return noErr;
}

OSStatus GetControlCommandID(ControlRef control, UInt32* commandID) {
  WidgetPeer* p = tb::peerOf(control);
  if (p == nullptr || commandID == nullptr) return errUnknownControl;
  *commandID = p->command;
  return noErr;
}

WindowRef GetControlOwner(ControlRef control) {
  WidgetPeer* p = tb::peerOf(control);
  return p != nullptr ? p->owner : nullptr;
}

OSStatus SetControlData(ControlRef control, ControlPartCode, ResType tag, Size size, const void* data) {
  WidgetPeer* p = tb::peerOf(control);
  if (p == nullptr) return errUnknownControl;
  if (size < 0 || (size > 0 && data == nullptr)) return paramErr;
  if (tag == kControlEditTextTextTag && tb::supportsText(p)) {
    p->text.assign(static_cast<const char*>(data), size_t(size));
  } else if (tag == kControlEditTextCFStringTag && tb::supportsText(p)) {
    if (size != Size(sizeof(CFStringRef))) return errDataSizeMismatch;
    CFStringRef s;
    std::memcpy(&s, data, sizeof s);
    p->text = tb::textOf(s);
  } else if (tag == kControlEditTextSelectionTag && p->kind == WidgetKind::EditText) {
    if (size != Size(sizeof(ControlEditTextSelectionRec))) return errDataSizeMismatch;
    std::memcpy(&p->selection, data, sizeof p->selection);
    tb::applySelection(*p);
    return noErr;
  } else {
    return errDataNotSupported;
  }
  p->selection = ControlEditTextSelectionRec{0, 0};
  tb::showText(*p);
  return noErr;
}

OSStatus GetControlDataSize(ControlRef control, ControlPartCode, ResType tag, Size* size) {
  WidgetPeer* p = tb::peerOf(control);
  if (p == nullptr) return errUnknownControl;
  if (size == nullptr) return paramErr;
  if (tag == kControlEditTextTextTag && tb::supportsText(p)) *size = Size(p->text.size());
  else if (tag == kControlEditTextCFStringTag && tb::supportsText(p)) *size = Size(sizeof(CFStringRef));
  else if (tag == kControlEditTextSelectionTag && p->kind == WidgetKind::EditText)
    *size = Size(sizeof(ControlEditTextSelectionRec));
  else return errDataNotSupported;
  return noErr;
}

OSStatus GetControlData(ControlRef control, ControlPartCode, ResType tag, Size bufferSize, void* buffer,
                        Size* actualSize) {
  WidgetPeer* p = tb::peerOf(control);
  if (p == nullptr) return errUnknownControl;
  if (bufferSize < 0 || (bufferSize > 0 && buffer == nullptr)) return paramErr;
  if (tag == kControlEditTextTextTag && tb::supportsText(p)) {
    // As much as the buffer holds; the actual size tells the whole.
    std::memcpy(buffer, p->text.data(), std::min<size_t>(size_t(bufferSize), p->text.size()));
    if (actualSize != nullptr) *actualSize = Size(p->text.size());
    return noErr;
  }
  if (tag == kControlEditTextCFStringTag && tb::supportsText(p)) {
    if (bufferSize < Size(sizeof(CFStringRef))) return errDataSizeMismatch;
    CFStringRef s = CFStringCreateWithCString(kCFAllocatorDefault, p->text.c_str(), kCFStringEncodingMacRoman);
    std::memcpy(buffer, &s, sizeof s);
    if (actualSize != nullptr) *actualSize = Size(sizeof s);
    return noErr;
  }
  if (tag == kControlEditTextSelectionTag && p->kind == WidgetKind::EditText) {
    if (bufferSize < Size(sizeof(ControlEditTextSelectionRec))) return errDataSizeMismatch;
    std::memcpy(buffer, &p->selection, sizeof p->selection);
    if (actualSize != nullptr) *actualSize = Size(sizeof p->selection);
    return noErr;
  }
  return errDataNotSupported;
}

OSStatus SetKeyboardFocus(WindowRef window, ControlRef control, ControlFocusPart part) {
  if (window == nullptr) return paramErr;
  tb::WindowControlState& state = tb::stateOf(window);
  if (part == kControlFocusNoPart) {
    if (WidgetPeer* p = tb::peerOf(state.focus)) {
      if (p->widget && p->widget->hasFocus()) {
        if (QWidget* desk = tb::desktopWidget()) desk->setFocus();
      }
    }
    state.focus = nullptr;
    return noErr;
  }
  if (control == nullptr) return part == kControlFocusPrevPart ? ReverseKeyboardFocus(window) : AdvanceKeyboardFocus(window);
  WidgetPeer* p = tb::peerOf(control);
  if (p == nullptr || p->owner != window) return errUnknownControl;
  if (p->kind != WidgetKind::EditText) return errCouldntSetFocus;
  state.focus = control;
  tb::syncWidgetControls();
  tb::applyFocus(*p);
  return noErr;
}

OSStatus GetKeyboardFocus(WindowRef window, ControlRef* outControl) {
  if (window == nullptr || outControl == nullptr) return paramErr;
  *outControl = tb::stateOf(window).focus;
  return noErr;
}

OSStatus AdvanceKeyboardFocus(WindowRef window) { return tb::moveFocus(window, true); }
OSStatus ReverseKeyboardFocus(WindowRef window) { return tb::moveFocus(window, false); }

OSStatus SetWindowDefaultButton(WindowRef window, ControlRef control) {
  if (window == nullptr) return paramErr;
  tb::WindowControlState& state = tb::stateOf(window);
  if (auto* old = qobject_cast<QPushButton*>(tb::controlWidget(state.defaultButton))) old->setDefault(false);
  state.defaultButton = control;
  if (auto* button = qobject_cast<QPushButton*>(tb::controlWidget(control))) button->setDefault(true);
  return noErr;
}

OSStatus SetWindowCancelButton(WindowRef window, ControlRef control) {
  if (window == nullptr) return paramErr;
  tb::stateOf(window).cancelButton = control;
  return noErr;
}

OSStatus GetWindowDefaultButton(WindowRef window, ControlRef* outControl) {
  if (window == nullptr || outControl == nullptr) return paramErr;
  *outControl = tb::stateOf(window).defaultButton;
  return noErr;
}

OSStatus GetWindowCancelButton(WindowRef window, ControlRef* outControl) {
  if (window == nullptr || outControl == nullptr) return paramErr;
  *outControl = tb::stateOf(window).cancelButton;
  return noErr;
}
