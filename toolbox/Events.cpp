// The Event Manager: raw input becomes event records; activate and update
// events come from the window list. Waiting always sleeps in the front end
// until input, a timer or the next caret blink, so an idle program uses no
// CPU although it asks for a sleep of 0.
#include "Events.h"

#include <atomic>
#include <chrono>
#include <cstring>

#include "AppleEvents.h"
#include "Frontend.h"
#include "internal/EventQueue.h"
#include "internal/Hooks.h"
#include "internal/WindowRecord.h"

namespace tb {

namespace {

struct EventState {
  std::deque<RawInput> queue;
  KeyMap keys{};
  EventModifiers modifiers = 0;  // as posted
  Point mouse{0, 0};             // as taken by the program
  bool button = false;           // as taken by the program
  bool buttonPosted = false;     // as posted
  bool virtualClock = false;
  UInt32 virtualTicks = 0;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point lastKeyRefresh{};
  std::function<void(bool)> idleHook;
};

EventState& events() {
  static EventState state;
  return state;
}

void setKey(unsigned char code, bool down) {
  if (code >= 128) return;
  if (down) events().keys[code / 8] |= (1u << (code % 8));
  else events().keys[code / 8] &= ~(1u << (code % 8));
}

// Modifier keys follow the modifiers of every posted input, so that a
// modifier pressed outside the program does not stay down forever.
void syncModifierKeys(EventModifiers m) {
  setKey(kVK_Command, m & cmdKey);
  setKey(kVK_Shift, m & shiftKey);
  setKey(kVK_Option, m & optionKey);
  setKey(kVK_Control, m & controlKey);
}

std::atomic<bool> quitRequested{false};

}  // namespace

void postInput(const RawInput& input) {
  EventState& s = events();
  s.modifiers = input.modifiers;
  switch (input.kind) {
    case InputKind::KeyDown:
    case InputKind::AutoKey:
      syncModifierKeys(input.modifiers);
      setKey(input.keyCode, true);
      break;
    case InputKind::KeyUp:
      syncModifierKeys(input.modifiers);
      setKey(input.keyCode, false);
      break;
    case InputKind::MouseDown: s.buttonPosted = true; syncModifierKeys(input.modifiers); break;
    case InputKind::MouseUp: s.buttonPosted = false; syncModifierKeys(input.modifiers); break;
    default: break;
  }
  s.queue.push_back(input);
}

void requestQuit() { quitRequested = true; }

bool hasInput() { return !events().queue.empty(); }

bool takeQuitRequest() { return quitRequested.exchange(false); }

bool takeInput(RawInput& out) {
  EventState& s = events();
  if (s.queue.empty()) return false;
  out = s.queue.front();
  s.queue.pop_front();
  switch (out.kind) {
    case InputKind::MouseDown: s.button = true; s.mouse = out.where; break;
    case InputKind::MouseUp: s.button = false; s.mouse = out.where; break;
    case InputKind::MouseMove: s.mouse = out.where; break;
    default: break;
  }
  return true;
}

const RawInput* peekInput() { return events().queue.empty() ? nullptr : &events().queue.front(); }

void waitForInput(int timeoutMs) { waitForInputWhen(false, timeoutMs); }

void waitForInputWhen(bool mainLoopIdle, int timeoutMs) {
  frontend().pump(0);
  if (hasInput() || (mainLoopIdle && quitRequested)) return;
  if (events().idleHook) {
    events().idleHook(mainLoopIdle);
    if (hasInput() || (mainLoopIdle && quitRequested)) return;
  }
  if (events().virtualClock && events().idleHook) {
    // Scripted runs never sleep: time passes only as the program waits.
    advanceVirtualTicks(UInt32(timeoutMs * 60 / 1000));
    return;
  }
  frontend().pump(timeoutMs);
}

void waitForDialog(int timeoutMs) {
  frontend().pump(0);
  if (events().idleHook) {
    events().idleHook(false);
    if (events().virtualClock) {
      advanceVirtualTicks(UInt32(timeoutMs * 60 / 1000));
      return;
    }
  }
  frontend().pump(timeoutMs);
}

void setIdleHook(std::function<void(bool)> hook) { events().idleHook = std::move(hook); }

EventModifiers currentModifiers() { return events().modifiers; }
Point lastMouse() { return events().mouse; }
bool buttonDown() { return events().button; }
bool buttonPosted() { return events().buttonPosted; }

void forgetButton() {
  events().button = false;
  events().buttonPosted = false;
}

void useVirtualClock(bool on) { events().virtualClock = on; }
bool virtualClock() { return events().virtualClock; }

UInt32 nowTicks() {
  EventState& s = events();
  if (s.virtualClock) return s.virtualTicks;
  auto elapsed = std::chrono::steady_clock::now() - s.start;
  return UInt32(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() * 60 / 1000);
}

void advanceVirtualTicks(UInt32 ticks) { events().virtualTicks += ticks; }

void flushAllInput() { events().queue.clear(); }

}  // namespace tb

namespace {

using tb::InputKind;
using tb::RawInput;

EventModifiers modifiersNow() {
  EventModifiers m = tb::currentModifiers() & (cmdKey | shiftKey | optionKey | controlKey | alphaLock);
  if (tb::buttonDown()) m |= btnState;
  return m;
}

void fillCommon(EventRecord* ev, EventKind what) {
  ev->what = what;
  ev->message = 0;
  ev->when = TickCount();
  ev->where = tb::lastMouse();
  ev->modifiers = modifiersNow();
}

// Activate and deactivate events when the front window changed.
bool takeActivateEvent(EventRecord* ev) {
  tb::WindowManager& wm = tb::windowManager();
  WindowRef front = FrontWindow();
  if (wm.lastActive == front) return false;
  if (wm.lastActive != nullptr && tb::isAlive(wm.lastActive)) {
    fillCommon(ev, activateEvt);
    ev->message = reinterpret_cast<uintptr_t>(wm.lastActive);
    ev->modifiers &= ~activeFlag;
    wm.lastActive = nullptr;
    return true;
  }
  wm.lastActive = front;
  if (front == nullptr) return false;
  fillCommon(ev, activateEvt);
  ev->message = reinterpret_cast<uintptr_t>(front);
  ev->modifiers |= activeFlag;
  return true;
}

bool takeUpdateEvent(EventRecord* ev) {
  for (WindowRecord* w : tb::windowManager().windows) {
    if (w->visible && !w->updateRgn.isEmpty()) {
      fillCommon(ev, updateEvt);
      ev->message = reinterpret_cast<uintptr_t>(w);
      return true;
    }
  }
  return false;
}

// Turns one raw input into an event record; false when it makes none.
bool convertInput(const RawInput& in, EventRecord* ev, RgnHandle mouseRgn) {
  switch (in.kind) {
    case InputKind::MouseDown:
      fillCommon(ev, mouseDown);
      ev->modifiers = EventModifiers(in.modifiers | btnState);
      return true;
    case InputKind::MouseUp:
      fillCommon(ev, mouseUp);
      ev->modifiers = in.modifiers;
      return true;
    case InputKind::KeyDown:
    case InputKind::AutoKey:
    case InputKind::KeyUp:
      fillCommon(ev, in.kind == InputKind::KeyDown ? keyDown : in.kind == InputKind::AutoKey ? autoKey : keyUp);
      ev->message = uintptr_t(in.charCode) | (uintptr_t(in.keyCode) << 8);
      ev->modifiers = EventModifiers(in.modifiers | (tb::buttonDown() ? btnState : 0));
      return true;
    case InputKind::MouseMove:
      if (mouseRgn != nullptr && !PtInRgn(in.where, mouseRgn)) {
        fillCommon(ev, osEvt);
        ev->message = uintptr_t(mouseMovedMessage) << 24;
        return true;
      }
      return false;
    case InputKind::Suspend:
    case InputKind::Resume:
      fillCommon(ev, osEvt);
      ev->message = (uintptr_t(suspendResumeMessage) << 24) | (in.kind == InputKind::Resume ? uintptr_t(resumeFlag) : 0);
      return true;
    case InputKind::Quit:
      fillCommon(ev, kHighLevelEvent);
      ev->message = kCoreEventClass;
      ev->where = Point{short(kAEQuitApplication >> 16), short(kAEQuitApplication & 0xFFFF)};
      return true;
  }
  return false;
}

bool maskAllows(EventMask mask, EventKind what) { return what < 16 ? (mask & (1u << what)) != 0 : true; }

// One pass over what is pending; true when an event was produced.
bool takeEvent(EventMask mask, EventRecord* ev, RgnHandle mouseRgn) {
  if (maskAllows(mask, activateEvt) && takeActivateEvent(ev)) return true;
  RawInput in;
  if (tb::takeQuitRequest()) {
    in.kind = InputKind::Quit;
    convertInput(in, ev, mouseRgn);
    return true;
  }
  while (tb::takeInput(in)) {
    if (convertInput(in, ev, mouseRgn) && maskAllows(mask, ev->what)) return true;
  }
  if (maskAllows(mask, updateEvt) && takeUpdateEvent(ev)) return true;
  return false;
}

}  // namespace

Boolean WaitNextEvent(EventMask mask, EventRecord* ev, UInt32 sleepTicks, RgnHandle mouseRgn) {
  if (takeEvent(mask, ev, mouseRgn)) return true;
  // Nothing pending: sleep until input arrives or the caret is due to blink.
  UInt32 sleep = std::max<UInt32>(sleepTicks, GetCaretTime());
  tb::waitForInputWhen(true, int(sleep * 1000 / 60));
  if (takeEvent(mask, ev, mouseRgn)) return true;
  fillCommon(ev, nullEvent);
  return false;
}

Boolean GetNextEvent(EventMask mask, EventRecord* ev) {
  tb::frontend().pump(0);
  if (takeEvent(mask, ev, nullptr)) return true;
  fillCommon(ev, nullEvent);
  return false;
}

void FlushEvents(EventMask, EventMask) {
  tb::frontend().pump(0);
  tb::flushAllInput();
}

void GetKeys(KeyMap keys) {
  // Polled once per drawn point by long redraws: look at the toolkit's
  // pending input only every few milliseconds.
  auto now = std::chrono::steady_clock::now();
  auto& last = tb::events().lastKeyRefresh;
  if (now - last > std::chrono::milliseconds(5)) {
    last = now;
    tb::frontend().pump(0);
  }
  std::memcpy(keys, tb::events().keys, sizeof(KeyMap));
}

void GetMouse(Point* mouseLoc) {
  tb::frontend().pump(0);
  *mouseLoc = tb::lastMouse();
  GlobalToLocal(mouseLoc);
}

Boolean Button() { return tb::buttonDown(); }

Boolean StillDown() {
  for (;;) {
    const RawInput* next = tb::peekInput();
    if (next != nullptr) {
      if (next->kind == InputKind::MouseUp || next->kind == InputKind::MouseDown) return false;
      RawInput taken;
      tb::takeInput(taken);
      if (taken.kind == InputKind::MouseMove) return true;
      continue;
    }
    if (!tb::buttonDown()) return false;
    if (!tb::buttonPosted() && !tb::hasInput()) return false;
    tb::waitForInput(10);
    if (!tb::hasInput()) return true;
  }
}

UInt32 TickCount() { return tb::nowTicks(); }

void Delay(UInt32 ticks, UInt32* finalTicks) {
  if (tb::virtualClock()) {
    tb::advanceVirtualTicks(ticks);
    tb::frontend().pump(0);
  } else {
    UInt32 end = TickCount() + ticks;
    while (TickCount() < end) tb::frontend().pump(int((end - TickCount()) * 1000 / 60) + 1);
  }
  if (finalTicks != nullptr) *finalTicks = TickCount();
}

UInt32 GetDblTime() { return 30; }
UInt32 GetCaretTime() { return 32; }

OSStatus TrackMouseLocation(GrafPtr port, Point* outPt, MouseTrackingResult* result) {
  GrafPtr saved;
  GetPort(&saved);
  for (;;) {
    RawInput in;
    if (!tb::takeInput(in)) {
      tb::waitForInput(50);
      continue;
    }
    MouseTrackingResult r = 0;
    switch (in.kind) {
      case InputKind::MouseDown: r = kMouseTrackingMouseDown; break;
      case InputKind::MouseUp: r = kMouseTrackingMouseUp; break;
      case InputKind::MouseMove: r = tb::buttonDown() ? kMouseTrackingMouseDragged : kMouseTrackingMouseMoved; break;
      case InputKind::KeyDown:
        if (in.keyCode == kVK_Escape || (in.keyCode == kVK_ANSI_Period && (in.modifiers & cmdKey))) {
          r = kMouseTrackingUserCancelled;
        } else if (in.keyCode >= kVK_Command && in.keyCode <= kVK_Control) {
          r = kMouseTrackingKeyModifiersChanged;
        }
        break;
      case InputKind::KeyUp:
        if (in.keyCode >= kVK_Command && in.keyCode <= kVK_Control) r = kMouseTrackingKeyModifiersChanged;
        break;
      default: break;
    }
    if (r == 0) continue;
    Point pt = in.kind == InputKind::KeyDown || in.kind == InputKind::KeyUp ? tb::lastMouse() : in.where;
    SetPort(port);
    GlobalToLocal(&pt);
    SetPort(saved);
    *outPt = pt;
    *result = r;
    return noErr;
  }
}
