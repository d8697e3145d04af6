// Acts for a person while the program waits inside a modal loop (a drag, the
// colour picker, an alert): each time the layer waits for input, the next
// step runs. A step returns false to be tried again at the next wait.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <utility>

#include "toolbox/internal/EventQueue.h"
#include "toolbox/internal/Hooks.h"
#include "toolbox/internal/WidgetControls.h"
#include "toolbox/qt/QtFrontend.h"

class WhileWaiting {
 public:
  using Step = std::function<bool()>;

  WhileWaiting() {
    tb::setIdleHook([this](bool) { runNext(); });
  }
  ~WhileWaiting() { tb::setIdleHook(nullptr); }
  WhileWaiting(const WhileWaiting&) = delete;
  WhileWaiting& operator=(const WhileWaiting&) = delete;

  WhileWaiting& then(Step step) {
    steps_.push_back(std::move(step));
    ++total_;
    return *this;
  }
  bool finished() const { return steps_.empty(); }

 private:
  // A loop that waits for something no step brings would hang the tests:
  // after this many waits without progress, every dialog is cancelled and
  // the button released.
  static constexpr int kPatience = 400;

  void runNext() {
    if (steps_.empty()) return;
    if (steps_.front()()) {
      steps_.pop_front();
      idleWaits_ = 0;
      return;
    }
    if (++idleWaits_ < kPatience) return;
    ADD_FAILURE() << "expected the program to take step " << stepsDone() + 1 << " of the person's actions, found it "
                  << "still waiting after " << kPatience << " waits";
    steps_.clear();
    giveUp();
  }
  int stepsDone() const { return int(total_ - steps_.size()); }

  static void giveUp() {
    if (tb::QtFrontend* fe = tb::qtFrontend()) {
      fe->answerColorPicker(nullptr);
      fe->pressAlertButton(1);
    }
    if (WindowRef dialog = tb::modalWindow()) {
      ControlRef cancel = nullptr;
      GetWindowCancelButton(dialog, &cancel);
      tb::clickControl(cancel);
    }
    tb::RawInput up;
    up.kind = tb::InputKind::MouseUp;
    up.where = tb::lastMouse();
    tb::postInput(up);
  }

  std::deque<Step> steps_;
  size_t total_ = 0;
  int idleWaits_ = 0;
};

// Shows an application-modal alert from `show` and returns its message.
inline std::string modalMessage(const std::function<void()>& show) {
  std::string message;
  WhileWaiting person;
  person.then([&] {
    tb::QtFrontend* fe = tb::qtFrontend();
    if (!fe->alertOpen()) return false;
    message = fe->alertMessage();
    return fe->pressAlertButton(1);
  });
  show();
  EXPECT_TRUE(person.finished()) << "expected an application-modal alert";
  return message;
}
