// Window event handlers, control hits and application-modal loops.
#include "CarbonEvents.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Dialogs.h"
#include "Events.h"
#include "Frontend.h"
#include "Windows.h"
#include "internal/EventQueue.h"
#include "internal/WidgetControls.h"
#include "internal/WindowRecord.h"

struct EventRecordOpaque {
  UInt32 eventClass = 0;
  UInt32 eventKind = 0;
  ControlRef control = nullptr;
  ControlPartCode part = 0;
};

struct EventHandlerRecord {
  WindowRef window = nullptr;
  EventHandlerUPP proc = nullptr;
  std::vector<EventTypeSpec> types;
  void* userData = nullptr;
};

namespace tb {

namespace {

struct ModalLoop {
  WindowRef window;
  bool quit = false;
  bool state = false;  // a modal state of BeginAppModalStateForWindow, owned by the list
};

struct EventState {
  std::vector<EventHandlerRecord*> handlers;  // oldest first
  std::vector<ModalLoop*> loops;              // outermost first
};

EventState& state() {
  static EventState s;
  return s;
}

bool installed(EventHandlerRecord* h) {
  auto& list = state().handlers;
  return std::find(list.begin(), list.end(), h) != list.end();
}

bool wants(const EventHandlerRecord& h, UInt32 eventClass, UInt32 eventKind) {
  return std::any_of(h.types.begin(), h.types.end(),
                     [&](const EventTypeSpec& t) { return t.eventClass == eventClass && t.eventKind == eventKind; });
}

// The modal window or its sheet, whichever a person works in.
WindowRef keyTarget(WindowRef modal) {
  WindowRef sheet = attachedSheet(modal);
  return sheet != nullptr ? sheet : modal;
}

void takeModalInput(WindowRef modal, const RawInput& in, std::vector<RawInput>& deferred) {
  switch (in.kind) {
    case InputKind::MouseDown: {
      WindowRef hit = nullptr;
      WindowPartCode part = FindWindow(in.where, &hit);
      bool ours = hit != nullptr && (hit == modal || sheetParent(hit) == modal);
      if (!ours) {
        SysBeep(1);  // the rest of the desktop waits for the dialog
      } else if (part == inDrag) {
        DragWindow(hit, in.where, nullptr);
      }
      break;
    }
    case InputKind::KeyDown:
    case InputKind::AutoKey:
      handleWindowKey(keyTarget(modal), in);
      break;
    case InputKind::Quit:
      deferred.push_back(in);  // for the event loop, once the dialog is done
      break;
    default:
      break;
  }
}

}  // namespace

void dispatchControlHit(ControlRef control, ControlPartCode part) {
  WindowRef owner = GetControlOwner(control);
  if (owner == nullptr) return;
  EventRecordOpaque event;
  event.eventClass = kEventClassControl;
  event.eventKind = kEventControlHit;
  event.control = control;
  event.part = part;
  // Handlers may remove handlers or dispose of the window: walk a copy and
  // skip what went away.
  std::vector<EventHandlerRecord*> list = state().handlers;
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    EventHandlerRecord* h = *it;
    if (!installed(h) || h->window != owner || !wants(*h, event.eventClass, event.eventKind)) continue;
    if (!isAlive(owner) || widgetKind(control) == WidgetKind::None) return;
    if (h->proc(nullptr, &event, h->userData) != eventNotHandledErr) return;
  }
}

WindowRef modalWindow() {
  auto& loops = state().loops;
  for (auto it = loops.rbegin(); it != loops.rend(); ++it) {
    if (!(*it)->quit && isAlive((*it)->window)) return (*it)->window;
  }
  return nullptr;
}

}  // namespace tb

EventTargetRef GetWindowEventTarget(WindowRef window) { return reinterpret_cast<EventTargetRef>(window); }

OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, UInt32 numTypes,
                             const EventTypeSpec* list, void* userData, EventHandlerRef* outRef) {
  if (target == nullptr || handler == nullptr || (numTypes > 0 && list == nullptr)) return paramErr;
  auto* h = new EventHandlerRecord;
  h->window = reinterpret_cast<WindowRef>(target);
  h->proc = handler;
  h->types.assign(list, list + numTypes);
  h->userData = userData;
  tb::state().handlers.push_back(h);
  if (outRef != nullptr) *outRef = h;
  return noErr;
}

OSStatus InstallWindowEventHandler(WindowRef window, EventHandlerUPP handler, UInt32 numTypes,
                                   const EventTypeSpec* list, void* userData, EventHandlerRef* outRef) {
  return InstallEventHandler(GetWindowEventTarget(window), handler, numTypes, list, userData, outRef);
}

OSStatus RemoveEventHandler(EventHandlerRef handler) {
  auto& list = tb::state().handlers;
  auto it = std::find(list.begin(), list.end(), handler);
  if (it == list.end()) return eventHandlerNotFoundErr;
  list.erase(it);
  delete handler;
  return noErr;
}

UInt32 GetEventClass(EventRef event) { return event != nullptr ? event->eventClass : 0; }
UInt32 GetEventKind(EventRef event) { return event != nullptr ? event->eventKind : 0; }

OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* actualType, UInt32 bufferSize, UInt32* actualSize, void* data) {
  if (event == nullptr) return paramErr;
  const void* value = nullptr;
  UInt32 size = 0;
  EventParamType type = 0;
  if (name == kEventParamDirectObject && event->control != nullptr) {
    value = &event->control;
    size = sizeof event->control;
    type = typeControlRef;
  } else if (name == kEventParamControlPart && event->eventClass == kEventClassControl) {
    value = &event->part;
    size = sizeof event->part;
    type = typeControlPartCode;
  } else {
    return eventParameterNotFoundErr;
  }
  if (desiredType != type) return paramErr;  // no coercions
  if (actualType != nullptr) *actualType = type;
  if (actualSize != nullptr) *actualSize = size;
  if (data != nullptr) {
    if (bufferSize < size) return paramErr;
    std::memcpy(data, value, size);
  }
  return noErr;
}

OSStatus RunAppModalLoopForWindow(WindowRef window) {
  if (!tb::isAlive(window)) return paramErr;
  tb::ModalLoop loop{window};
  tb::state().loops.push_back(&loop);
  std::vector<tb::RawInput> deferred;
  // A hidden window could never be answered: that ends the loop too.
  while (!loop.quit && tb::isAlive(window) && IsWindowVisible(window)) {
    tb::syncWidgetControls();
    tb::RawInput in;
    if (tb::takeInput(in)) {
      tb::takeModalInput(window, in, deferred);
    } else {
      tb::waitForInput(50);
    }
  }
  auto& loops = tb::state().loops;
  loops.erase(std::find(loops.begin(), loops.end(), &loop));
  for (const tb::RawInput& in : deferred) tb::postInput(in);
  return noErr;
}

OSStatus QuitAppModalLoopForWindow(WindowRef window) {
  auto& loops = tb::state().loops;
  for (auto it = loops.rbegin(); it != loops.rend(); ++it) {
    if ((*it)->window == window && !(*it)->quit) {
      (*it)->quit = true;
      return noErr;
    }
  }
  return paramErr;
}

OSStatus BeginAppModalStateForWindow(WindowRef window) {
  if (!tb::isAlive(window)) return paramErr;
  tb::state().loops.push_back(new tb::ModalLoop{window, false, true});
  return noErr;
}

OSStatus EndAppModalStateForWindow(WindowRef window) {
  auto& loops = tb::state().loops;
  for (auto it = loops.rbegin(); it != loops.rend(); ++it) {
    if ((*it)->window == window && (*it)->state) {
      delete *it;
      loops.erase(std::next(it).base());
      return noErr;
    }
  }
  return paramErr;
}
