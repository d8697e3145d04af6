// Widget-backed controls, window event handlers and application-modal
// loops: widgets follow their controls and windows, control hits reach the
// handlers from the event loop, modal loops take the desktop's input.
#include "toolbox/WidgetControls.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "toolbox/Carbon.h"
#include "toolbox/internal/WidgetControls.h"
#include "toolbox/internal/WindowRecord.h"
#include "toolbox/qt/QtFrontend.h"
#include "unit/while_waiting.h"

namespace {

class WidgetControlsTest : public testing::Test {
 protected:
  void SetUp() override {
    const Rect r{100, 100, 300, 400};
    ASSERT_EQ(noErr, CreateNewWindow(kMovableModalWindowClass, kWindowNoAttributes, &r, &window_));
    ShowWindow(window_);
  }
  void TearDown() override {
    DisposeWindow(window_);
    FlushEvents(everyEvent, 0);
  }
  ControlRef field(short top, const char* text = "") {
    Rect r{top, 10, short(top + 22), 200};
    ControlRef c = nullptr;
    CFStringRef s = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
    EXPECT_EQ(noErr, CreateEditUnicodeTextControl(window_, &r, s, false, nullptr, &c));
    CFRelease(s);
    return c;
  }
  ControlRef button(const Rect& r, CFStringRef title) {
    ControlRef c = nullptr;
    EXPECT_EQ(noErr, CreatePushButtonControl(window_, &r, title, &c));
    return c;
  }
  static QRect expectedGeometry(WindowRef w, ControlRef c) {
    Rect b;
    GetControlBounds(c, &b);
    return QRect(w->content.left + b.left, w->content.top + b.top - tb::frontend().menuBarHeight(), b.right - b.left,
                 b.bottom - b.top);
  }
  WindowRef window_ = nullptr;
};

TEST_F(WidgetControlsTest, WidgetsFollowTheirControlAndWindow) {
  ControlRef c = field(20, "abc");
  QWidget* w = tb::controlWidget(c);
  ASSERT_NE(nullptr, w);
  EXPECT_EQ(expectedGeometry(window_, c), w->geometry()) << "widget over the control's bounds";
  EXPECT_FALSE(w->isHidden()) << "a visible control of a visible window";

  MoveWindow(window_, 300, 250, false);
  EXPECT_EQ(expectedGeometry(window_, c), w->geometry()) << "after the window moved";
  MoveControl(c, 40, 60);
  EXPECT_EQ(expectedGeometry(window_, c), w->geometry()) << "after the control moved";

  HideWindow(window_);
  EXPECT_TRUE(w->isHidden()) << "hidden with its window";
  ShowWindow(window_);
  EXPECT_FALSE(w->isHidden()) << "shown again with its window";
  HideControl(c);
  EXPECT_TRUE(w->isHidden()) << "hidden with its control";
  EXPECT_FALSE(IsControlVisible(c)) << "the record says hidden";
  ShowControl(c);
  EXPECT_FALSE(w->isHidden()) << "shown with its control";
}

TEST_F(WidgetControlsTest, WindowsInFrontClipTheWidget) {
  ControlRef c = field(20);
  QWidget* w = tb::controlWidget(c);
  ASSERT_NE(nullptr, w);
  EXPECT_TRUE(w->mask().isEmpty()) << "no window in front: no clipping";
  // A window over the right half of the field.
  Rect over{50, 200, 400, 600};
  WindowRef front = nullptr;
  ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &over, &front));
  ShowWindow(front);
  SelectWindow(front);
  QRegion mask = w->mask();
  EXPECT_FALSE(mask.isEmpty()) << "expected a clipping mask, found none";
  EXPECT_TRUE(mask.contains(QPoint(5, 5))) << "the uncovered left part shows";
  EXPECT_FALSE(mask.contains(QPoint(w->width() - 5, 5))) << "the covered right part is clipped";
  // A window over all of it hides it.
  MoveWindow(front, 50, 80, false);
  EXPECT_TRUE(w->isHidden()) << "a fully covered widget is hidden";
  DisposeWindow(front);
  EXPECT_FALSE(w->isHidden()) << "shown again when the window in front goes";
  EXPECT_TRUE(w->mask().isEmpty()) << "no clipping left";
}

TEST_F(WidgetControlsTest, BottomBoundControlsKeepTheirDistanceToTheBottom) {
  Rect r{160, 10, 186, 90};
  ControlRef bound = button(r, CFSTR("OK"));
  ControlRef free = button(Rect{10, 10, 36, 90}, CFSTR("Top"));
  tb::bindToBottom(bound);
  for (short height : {150, 250, 200}) {
    SizeWindow(window_, 300, height, false);
    Rect b, f;
    GetControlBounds(bound, &b);
    GetControlBounds(free, &f);
    EXPECT_EQ(height - 40, b.top) << "bound button's top at content height " << height;
    EXPECT_EQ(10, f.top) << "unbound button's top at content height " << height;
    EXPECT_EQ(expectedGeometry(window_, bound), tb::controlWidget(bound)->geometry()) << "widget at height " << height;
  }
}

TEST_F(WidgetControlsTest, DataTagsByKind) {
  ControlRef f = field(20, "µ=");
  ControlRef b = button(Rect{60, 10, 86, 90}, CFSTR("OK"));
  Size size = 0;
  ASSERT_EQ(noErr, GetControlDataSize(f, kControlEntireControl, kControlEditTextTextTag, &size));
  EXPECT_EQ(2, size) << "a UTF-8 µ= is two Mac Roman bytes";
  char buffer[8] = {};
  Size actual = 0;
  EXPECT_EQ(noErr, GetControlData(f, kControlEntireControl, kControlEditTextTextTag, 1, buffer, &actual));
  EXPECT_EQ('\xB5', buffer[0]) << "the first byte, Mac Roman µ";
  EXPECT_EQ(2, actual) << "the whole size is told with a small buffer";

  CFStringRef out = nullptr;
  ASSERT_EQ(noErr, GetControlData(f, kControlEntireControl, kControlEditTextCFStringTag, sizeof out, &out, nullptr));
  char utf8[16];
  CFStringGetCString(out, utf8, sizeof utf8, kCFStringEncodingUTF8);
  EXPECT_STREQ("µ=", utf8) << "the text as a CFString";
  CFRelease(out);

  const struct {
    const char* name;
    ControlRef control;
    ResType tag;
    Size size;
    OSStatus expected;
  } cases[] = {
      {"text of a button", b, kControlEditTextTextTag, 2, errDataNotSupported},
      {"selection of a button", b, kControlEditTextSelectionTag, Size(sizeof(ControlEditTextSelectionRec)),
       errDataNotSupported},
      {"selection of the wrong size", f, kControlEditTextSelectionTag, 2, errDataSizeMismatch},
      {"an unknown tag", f, FOUR_CHAR_CODE("zzzz"), 2, errDataNotSupported},
      {"a negative size", f, kControlEditTextTextTag, -1, paramErr},
      {"no control", nullptr, kControlEditTextTextTag, 2, errUnknownControl},
  };
  for (const auto& c : cases) {
    char data[8] = {'a', 'b', 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(c.expected, SetControlData(c.control, kControlEntireControl, c.tag, c.size, data)) << c.name;
  }
  QLineEdit* edit = qobject_cast<QLineEdit*>(tb::controlWidget(f));
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(QString::fromUtf8("µ="), edit->text()) << "the widget keeps the text after refused calls";
}

TEST_F(WidgetControlsTest, FocusMovesAmongVisibleFieldsAndWraps) {
  ControlRef a = field(10, "one"), b = field(40, "two"), c = field(70, "three");
  ControlRef focus = nullptr;
  ASSERT_EQ(noErr, SetKeyboardFocus(window_, a, kControlFocusNextPart));
  GetKeyboardFocus(window_, &focus);
  EXPECT_EQ(a, focus) << "focus given to the first field";
  HideControl(b);
  AdvanceKeyboardFocus(window_);
  GetKeyboardFocus(window_, &focus);
  EXPECT_EQ(c, focus) << "Tab skips a hidden field";
  ControlEditTextSelectionRec sel{};
  GetControlData(c, kControlEntireControl, kControlEditTextSelectionTag, sizeof sel, &sel, nullptr);
  EXPECT_EQ(0, sel.selStart) << "a field reached by Tab: selection start";
  EXPECT_EQ(5, sel.selEnd) << "a field reached by Tab: selection end";
  AdvanceKeyboardFocus(window_);
  GetKeyboardFocus(window_, &focus);
  EXPECT_EQ(a, focus) << "Tab from the last field wraps to the first";
  ReverseKeyboardFocus(window_);
  GetKeyboardFocus(window_, &focus);
  EXPECT_EQ(c, focus) << "Shift-Tab from the first field wraps to the last";
  SetKeyboardFocus(window_, nullptr, kControlFocusNoPart);
  GetKeyboardFocus(window_, &focus);
  EXPECT_EQ(nullptr, focus) << "the focus taken away";
  ControlRef button = this->button(Rect{100, 10, 126, 90}, CFSTR("OK"));
  EXPECT_EQ(errCouldntSetFocus, SetKeyboardFocus(window_, button, kControlFocusNextPart)) << "a button takes no focus";
}

// ---- Handlers and modal loops

struct Hits {
  std::vector<std::string> calls;
  OSStatus answer = noErr;
  std::string name;
};

OSStatus recordHit(EventHandlerCallRef, EventRef event, void* userData) {
  auto* hits = static_cast<Hits*>(userData);
  ControlRef control = nullptr;
  EXPECT_EQ(noErr, GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control, nullptr,
                                     &control));
  ControlPartCode part = 0;
  GetEventParameter(event, kEventParamControlPart, typeControlPartCode, nullptr, sizeof part, nullptr, &part);
  UInt32 command = 0;
  GetControlCommandID(control, &command);
  hits->calls.push_back(hits->name + ":" + std::to_string(command) + ":" + std::to_string(part));
  return hits->answer;
}

const EventTypeSpec kHit[] = {{kEventClassControl, kEventControlHit}};

TEST_F(WidgetControlsTest, HitsReachTheNewestHandlerFirstFromTheEventLoop) {
  ControlRef ok = button(Rect{10, 10, 36, 90}, CFSTR("OK"));
  SetControlCommandID(ok, 7);
  Hits older{{}, noErr, "older"}, newer{{}, eventNotHandledErr, "newer"};
  std::vector<std::string> log;
  EventHandlerRef olderRef = nullptr, newerRef = nullptr;
  ASSERT_EQ(noErr, InstallWindowEventHandler(window_, recordHit, 1, kHit, &older, &olderRef));
  ASSERT_EQ(noErr, InstallWindowEventHandler(window_, recordHit, 1, kHit, &newer, &newerRef));
  ASSERT_TRUE(tb::clickControl(ok)) << "pressing a visible button";
  EXPECT_TRUE(older.calls.empty() && newer.calls.empty()) << "no handler runs inside the click itself";
  tb::frontend().pump(0);
  ASSERT_EQ(1u, newer.calls.size()) << "the newest handler first";
  EXPECT_EQ("newer:7:10", newer.calls[0]) << "event of the newest handler: command and button part";
  ASSERT_EQ(1u, older.calls.size()) << "a handler that did not handle it passes it on";

  newer.answer = noErr;
  tb::clickControl(ok);
  tb::frontend().pump(0);
  EXPECT_EQ(2u, newer.calls.size()) << "the newest handler's second call";
  EXPECT_EQ(1u, older.calls.size()) << "a handled hit goes no further";

  EXPECT_EQ(noErr, RemoveEventHandler(newerRef));
  EXPECT_EQ(eventHandlerNotFoundErr, RemoveEventHandler(newerRef)) << "removing twice";
  tb::clickControl(ok);
  tb::frontend().pump(0);
  EXPECT_EQ(2u, newer.calls.size()) << "a removed handler is not called";
  EXPECT_EQ(2u, older.calls.size()) << "the remaining handler is";

  HideControl(ok);
  EXPECT_FALSE(tb::clickControl(ok)) << "a hidden button cannot be pressed";
  RemoveEventHandler(olderRef);
}

TEST_F(WidgetControlsTest, AHitOfADisposedControlIsDropped) {
  ControlRef ok = button(Rect{10, 10, 36, 90}, CFSTR("OK"));
  Hits hits{{}, noErr, "h"};
  EventHandlerRef ref = nullptr;
  InstallWindowEventHandler(window_, recordHit, 1, kHit, &hits, &ref);
  tb::clickControl(ok);
  DisposeControl(ok);
  tb::frontend().pump(0);
  EXPECT_TRUE(hits.calls.empty()) << "expected no call for a control gone before its hit was delivered";
  RemoveEventHandler(ref);
}

OSStatus quitOnHit(EventHandlerCallRef, EventRef event, void* userData) {
  ControlRef control = nullptr;
  GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control, nullptr, &control);
  *static_cast<int*>(userData) += 1;
  QuitAppModalLoopForWindow(GetControlOwner(control));
  return noErr;
}

TEST_F(WidgetControlsTest, TheModalLoopTakesTheDesktopsInput) {
  ControlRef ok = button(Rect{10, 10, 36, 90}, CFSTR("OK"));
  ControlRef cancel = button(Rect{10, 100, 36, 180}, CFSTR("Cancel"));
  ControlRef text = field(60, "0.5");
  SetWindowDefaultButton(window_, ok);
  SetWindowCancelButton(window_, cancel);
  SetKeyboardFocus(window_, text, kControlFocusNextPart);
  ControlEditTextSelectionRec tail{1, 3};  // ".5"
  SetControlData(text, kControlEntireControl, kControlEditTextSelectionTag, sizeof tail, &tail);
  int quits = 0;
  EventHandlerRef ref = nullptr;
  InstallWindowEventHandler(window_, quitOnHit, 1, kHit, &quits, &ref);
  tb::QtFrontend* fe = tb::qtFrontend();
  int beeps = fe->beepCount();
  auto post = [](tb::InputKind kind, Point where, unsigned char keyCode = 0, unsigned char charCode = 0) {
    tb::RawInput in;
    in.kind = kind;
    in.where = where;
    in.keyCode = keyCode;
    in.charCode = charCode;
    tb::postInput(in);
  };
  WhileWaiting person;
  person.then([&] {
    if (tb::modalWindow() != window_) return false;
    post(tb::InputKind::MouseDown, Point{600, 800});  // far from the window
    post(tb::InputKind::MouseUp, Point{600, 800});
    post(tb::InputKind::Quit, Point{0, 0});
    post(tb::InputKind::KeyDown, Point{0, 0}, kVK_Delete, 8);
    post(tb::InputKind::KeyDown, Point{0, 0}, 0x17, '5');
    post(tb::InputKind::KeyDown, Point{0, 0}, 0x4C, 3);  // Enter
    return true;
  });
  EXPECT_EQ(noErr, RunAppModalLoopForWindow(window_));
  EXPECT_EQ(1, quits) << "Enter pressed the default button once";
  EXPECT_EQ(beeps + 1, fe->beepCount()) << "a click outside the modal window beeps";
  EXPECT_EQ("05", tb::controlText(text)) << "Delete removed the selected \".5\" and 5 was typed";
  EXPECT_EQ(nullptr, tb::modalWindow()) << "no modal window after the loop";
  ASSERT_TRUE(tb::hasInput()) << "the quit request waits for the event loop";
  tb::RawInput next;
  tb::takeInput(next);
  EXPECT_EQ(int(tb::InputKind::Quit), int(next.kind)) << "the deferred input";
  RemoveEventHandler(ref);
}

TEST_F(WidgetControlsTest, TheModalLoopEndsWhenItsWindowIsHidden) {
  WhileWaiting person;
  person.then([&] {
    if (tb::modalWindow() != window_) return false;
    HideWindow(window_);
    return true;
  });
  EXPECT_EQ(noErr, RunAppModalLoopForWindow(window_)) << "a loop on a window that went away";
  EXPECT_TRUE(person.finished());
  EXPECT_EQ(paramErr, QuitAppModalLoopForWindow(window_)) << "quitting a loop that is not running";
}

// ---- Nib control lines

class NibLines : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("VANTOR_RESOURCES")) saved_ = old;
    char pattern[] = "/tmp/vantor-nib-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    dir_ = pattern;
    setenv("VANTOR_RESOURCES", dir_.c_str(), 1);
  }
  void TearDown() override {
    if (saved_) setenv("VANTOR_RESOURCES", saved_->c_str(), 1);
    else unsetenv("VANTOR_RESOURCES");
    std::filesystem::remove_all(dir_);
  }
  OSStatus windowFrom(const std::string& controlLine, WindowRef* out) {
    std::ofstream(dir_ + "/Test.nib") << "window W\n  size 200 100\n  " << controlLine << "\nend\n";
    IBNibRef nib = nullptr;
    OSStatus err = CreateNibReference(CFSTR("Test"), &nib);
    if (err != noErr) return err;
    err = CreateWindowFromNib(nib, CFSTR("W"), out);
    DisposeNibReference(nib);
    return err;
  }
  std::string dir_;
  std::optional<std::string> saved_;
};

TEST_F(NibLines, ControlLinesMakeControlsOrRefuseTheWindow) {
  const struct {
    const char* name;
    const char* line;
    bool made;
  } cases[] = {
      {"a button", "control Kelp 1 button \"OK\" rect 10 10 30 80 default command \"ok  \"", true},
      {"a field", "control Kelp 3 edittext \"0.5\" rect 10 10 30 80", true},
      {"a label", "control Kelp 13 statictext \"x=\" rect 10 10 30 80 right", true},
      {"arrows", "control Kelp 11 arrows \"\" rect 10 10 30 80 min -5 max 5 value 2 hidden", true},
      {"an unknown kind", "control Kelp 1 slider \"\" rect 10 10 30 80", false},
      {"a signature of three characters", "control Kel 1 button \"OK\" rect 10 10 30 80", false},
      {"no rect word", "control Kelp 1 button \"OK\" 10 10 30 80", false},
      {"a number that does not read", "control Kelp x button \"OK\" rect 10 10 30 80", false},
      {"an unknown option", "control Kelp 1 button \"OK\" rect 10 10 30 80 shiny", false},
      {"too few words", "control Kelp 1 button", false},
  };
  for (const auto& c : cases) {
    WindowRef w = nullptr;
    OSStatus err = windowFrom(c.line, &w);
    EXPECT_EQ(c.made, err == noErr) << c.name << ": expected " << (c.made ? "a window" : "a refusal") << ", found "
                                    << err;
    if (w != nullptr) DisposeWindow(w);
  }
  WindowRef w = nullptr;
  ASSERT_EQ(noErr, windowFrom("control Kelp 11 arrows \"\" rect 10 10 30 80 min -5 max 5 value 2 hidden", &w));
  ControlID id{FOUR_CHAR_CODE("Kelp"), 11};
  ControlRef arrows = nullptr;
  ASSERT_EQ(noErr, GetControlByID(w, &id, &arrows));
  EXPECT_EQ(-5, GetControlMinimum(arrows)) << "minimum";
  EXPECT_EQ(5, GetControlMaximum(arrows)) << "maximum";
  EXPECT_EQ(2, GetControlValue(arrows)) << "value";
  EXPECT_FALSE(IsControlVisible(arrows)) << "hidden";
  DisposeWindow(w);
}

}  // namespace
