// Posts key presses into the layer's input queue for tests of the key map,
// and releases every key it pressed when it goes.
#pragma once

#include <set>

#include "toolbox/Carbon.h"
#include "toolbox/internal/EventQueue.h"

class HeldKeys {
 public:
  HeldKeys() = default;
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;
  ~HeldKeys() {
    for (unsigned char code : held_) post(tb::InputKind::KeyUp, code, 0);
    FlushEvents(everyEvent, 0);
  }

  // Modifier keys are posted with their modifier bit, as a keyboard does.
  void press(unsigned char code, EventModifiers modifiers = 0) {
    held_.insert(code);
    post(tb::InputKind::KeyDown, code, modifiers);
  }
  void release(unsigned char code, EventModifiers modifiers = 0) {
    held_.erase(code);
    post(tb::InputKind::KeyUp, code, modifiers);
  }

 private:
  static void post(tb::InputKind kind, unsigned char code, EventModifiers modifiers) {
    tb::RawInput in;
    in.kind = kind;
    in.keyCode = code;
    in.modifiers = modifiers;
    tb::postInput(in);
  }
  std::set<unsigned char> held_;
};
