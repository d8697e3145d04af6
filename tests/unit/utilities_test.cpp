// The toolkit helpers: the key map test, the usable screen, showing windows
// and the length-prefixed string copies.
#include "common/utilities.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "toolbox/internal/WidgetControls.h"
#include "toolbox/internal/WindowRecord.h"
#include "toolbox/internal/EventQueue.h"
#include "unit/keys.h"
#include "unit/while_waiting.h"

namespace {

std::string pascalText(ConstStr255Param p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

void setPascal(StringPtr p, const std::string& text) {
  p[0] = static_cast<unsigned char>(text.size());
  std::memcpy(p + 1, text.data(), text.size());
}

TEST(IsPressed, ReadsBitKMod8OfByteKDiv8) {
  // Codes at the edges of bytes and of the map, and the two the cancel poll
  // reads (period 0x2F: bit 7 of byte 5; Command 0x37: bit 7 of byte 6).
  const std::vector<unsigned char> codes = {0x00, 0x07, 0x08, 0x2F, 0x37, 0x40, 0x7F};
  for (unsigned char code : codes) {
    HeldKeys keys;
    keys.press(code, code == kVK_Command ? cmdKey : 0);
    EXPECT_EQ(1, isPressed(code)) << "key 0x" << std::hex << int(code) << " held down";
    for (int other : {code - 1, code + 1}) {
      if (other < 0 || other > 127) continue;
      EXPECT_EQ(0, isPressed(static_cast<unsigned short>(other)))
          << "key 0x" << std::hex << other << " while only 0x" << int(code) << " is held";
    }
    keys.release(code);
    EXPECT_EQ(0, isPressed(code)) << "key 0x" << std::hex << int(code) << " after its release";
  }
}

TEST(IsPressed, CodesBeyondTheMapAreNeverDown) {
  HeldKeys keys;
  keys.press(0x00);  // bit 0 of byte 0: what a wrapped index would hit
  for (unsigned short code : {128, 200, 0xFFFF}) {
    EXPECT_EQ(0, isPressed(code)) << "key code " << code << " lies beyond the 128-key map";
  }
}

TEST(ScreenBounds, IsTheDesktopBelowTheMenuBar) {
  const Rect r = ScreenBounds();
  EXPECT_EQ(GetMBarHeight(), r.top) << "top of the usable area";
  EXPECT_EQ(0, r.left) << "left of the usable area";
  EXPECT_EQ(768, r.bottom) << "bottom of the 1024 x 768 test desktop";
  EXPECT_EQ(1024, r.right) << "right of the 1024 x 768 test desktop";
}

TEST(Show, MakesVisibleAndFrontmost) {
  const Rect a{100, 100, 200, 200}, b{150, 150, 250, 250};
  WindowRef first = nullptr, second = nullptr;
  ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &a, &first));
  ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &b, &second));

  Show(first);
  EXPECT_TRUE(IsWindowVisible(first)) << "a hidden window after Show";
  Show(second);
  EXPECT_EQ(second, FrontWindow()) << "front window after showing the second";
  Show(first);
  EXPECT_EQ(first, FrontWindow()) << "Show on a visible window brings it to the front";
  EXPECT_TRUE(IsWindowVisible(second)) << "the other window stays visible";

  DisposeWindow(first);
  DisposeWindow(second);
  FlushEvents(everyEvent, 0);
}

TEST(OpenWindowFromNib, MissingNibOrWindowGivesNone) {
  EXPECT_EQ(nullptr, OpenWindowFromNib(CFSTR("NoSuchNib"), CFSTR("Splash"))) << "window from a missing nib";
  EXPECT_EQ(nullptr, OpenWindowFromNib(CFSTR("Vantor"), CFSTR("NoSuchWindow"))) << "missing window of a nib";
}

struct AppendCase {
  const char* name;
  std::string destination;
  std::string source;
  std::string expected;
};

TEST(PascalStrings, LengthCopyAndAppend) {
  Str255 s, d;
  setPascal(s, "Vantor");
  EXPECT_EQ(6, pStrLength(s)) << "length byte of \"Vantor\"";
  pStrCopy(s, d);
  EXPECT_EQ("Vantor", pascalText(d)) << "copy of \"Vantor\"";

  const std::vector<AppendCase> cases = {
      {"plain append", "map ", "logistic", "map logistic"},
      {"empty source", "map", "", "map"},
      {"empty destination", "", "tent", "tent"},
      {"sum of 255 fits exactly", std::string(250, 'a'), "bcdef", std::string(250, 'a') + "bcdef"},
      {"sum beyond 255 is cut at 255", std::string(250, 'a'), "bcdefgh", std::string(250, 'a') + "bcdef"},
      {"full destination stays", std::string(255, 'a'), "x", std::string(255, 'a')},
  };
  for (const AppendCase& c : cases) {
    Str255 src, dst;
    setPascal(src, c.source);
    setPascal(dst, c.destination);
    pStrAppend(src, dst);
    EXPECT_EQ(c.expected, pascalText(dst)) << c.name;
  }
}

TEST(PascalStrings, CopyMayOverlap) {
  // Copy a string one byte further into its own buffer.
  unsigned char buffer[16] = {5, 'a', 'b', 'c', 'd', 'e'};
  pStrCopy(buffer, buffer + 1);
  EXPECT_EQ("abcde", pascalText(buffer + 1)) << "overlapping copy";
}

TEST(CStrings, LengthAndCopy) {
  const std::vector<std::string> texts = {"", "x", "Window Bounds"};
  for (const std::string& text : texts) {
    EXPECT_EQ(int(text.size()), cStrLength(text.c_str())) << "length of \"" << text << "\"";
    char copy[32];
    std::memset(copy, '#', sizeof copy);
    cStrCopy(text.c_str(), copy);
    EXPECT_EQ(text, std::string(copy)) << "copy of \"" << text << "\"";
    EXPECT_EQ('\0', copy[text.size()]) << "terminator of the copy of \"" << text << "\"";
  }
}


// ---- Controls by ID

// A nib window with two fields and a button, made for these tests.
class NibControls : public testing::Test {
 protected:
  void SetUp() override {
    dialog_ = OpenWindowFromNib(CFSTR("Common"), CFSTR("Parameters"));
    ASSERT_NE(nullptr, dialog_) << "the parameter dialog from the nib Common";
  }
  void TearDown() override {
    DisposeWindow(dialog_);
    FlushEvents(everyEvent, 0);
  }
  WindowRef dialog_ = nullptr;
};

TEST_F(NibControls, EveryControlOfTheDialogIsFoundByItsId) {
  const std::vector<std::pair<short, tb::WidgetKind>> expected = {
      {1, tb::WidgetKind::Button},       {2, tb::WidgetKind::Button},      {10, tb::WidgetKind::Button},
      {11, tb::WidgetKind::LittleArrows}, {12, tb::WidgetKind::StaticText},
  };
  for (auto [id, kind] : expected) {
    ControlRef c = GetWindowControlRef(dialog_, id);
    ASSERT_NE(nullptr, c) << "control Kelp " << id;
    EXPECT_EQ(int(kind), int(tb::widgetKind(c))) << "kind of control Kelp " << id;
  }
  for (short row = 0; row < 7; ++row) {
    ControlRef field = GetWindowControlRef(dialog_, short(row + 3)), label = GetWindowControlRef(dialog_, short(row + 13));
    ASSERT_NE(nullptr, field) << "field of row " << row;
    ASSERT_NE(nullptr, label) << "label of row " << row;
    EXPECT_EQ(int(tb::WidgetKind::EditText), int(tb::widgetKind(field))) << "field of row " << row;
    Rect f, l;
    GetControlBounds(field, &f);
    GetControlBounds(label, &l);
    EXPECT_EQ(12 + 25 * row, f.top) << "top of row " << row << " (rows 25 pixels apart)";
    EXPECT_EQ(f.top, l.top) << "label and field of row " << row << " on one line";
  }
  EXPECT_EQ(nullptr, GetWindowControlRef(dialog_, 99)) << "an id that is not there";
  ControlID other{FOUR_CHAR_CODE("Xelp"), 1};
  ControlRef c = nullptr;
  EXPECT_EQ(errUnknownControl, GetControlByID(dialog_, &other, &c)) << "another signature";
}

TEST_F(NibControls, PascalTextsGoInAndComeOutCutAt255) {
  struct TextCase {
    const char* name;
    std::string text;
    std::string expected;
  };
  const std::vector<TextCase> cases = {
      {"empty", "", ""},
      {"plain", "0.5", "0.5"},
      {"Mac Roman bytes", "\xB5\xBD\xB9", "\xB5\xBD\xB9"},
      {"255 bytes", std::string(255, 'x'), std::string(255, 'x')},
  };
  for (const TextCase& c : cases) {
    Str255 in, out;
    setPascal(in, c.text);
    SetControlPString(dialog_, 3, in);
    GetControlPString(dialog_, 3, out);
    EXPECT_EQ(c.expected, pascalText(out)) << c.name;
  }
  // A field holding 300 bytes gives its first 255.
  std::string long300;
  for (int i = 0; i < 300; ++i) long300 += char('a' + i % 26);
  ControlRef field = GetWindowControlRef(dialog_, 3);
  ASSERT_EQ(noErr, SetControlData(field, kControlEntireControl, kControlEditTextTextTag, Size(long300.size()), long300.data()));
  Str255 out;
  GetControlPString(dialog_, 3, out);
  EXPECT_EQ(long300.substr(0, 255), pascalText(out)) << "a 300-byte field read into a Str255";
  Size size = 0;
  GetControlDataSize(field, kControlEntireControl, kControlEditTextTextTag, &size);
  EXPECT_EQ(300, size) << "the field keeps all 300 bytes";

  // A control that is not there: nothing set, the empty string read.
  Str255 before;
  setPascal(before, "unchanged");
  SetControlPString(dialog_, 99, before);
  setPascal(out, "stale");
  GetControlPString(dialog_, 99, out);
  EXPECT_EQ("", pascalText(out)) << "text of a missing control";
  SetControlCFString(dialog_, 12, CFSTR("Choose Window Bounds"));
  GetControlPString(dialog_, 12, out);
  EXPECT_EQ("Choose Window Bounds", pascalText(out)) << "a static text set from a CFString";
}

TEST_F(NibControls, SelectEditTextControlSelectsAllAndFocuses) {
  Str255 text;
  setPascal(text, "3.5699456");
  SetControlPString(dialog_, 4, text);
  SelectEditTextControl(dialog_, 4);
  ControlRef focus = nullptr;
  GetKeyboardFocus(dialog_, &focus);
  EXPECT_EQ(GetWindowControlRef(dialog_, 4), focus) << "the focused field";
  ControlEditTextSelectionRec selection{-1, -1};
  GetControlData(focus, kControlEntireControl, kControlEditTextSelectionTag, sizeof selection, &selection, nullptr);
  EXPECT_EQ(0, selection.selStart) << "selection start";
  EXPECT_EQ(9, selection.selEnd) << "selection end: the whole text";
}

// ---- Sheets and alerts

class Alerts : public testing::Test {
 protected:
  void SetUp() override {
    const Rect r{200, 200, 400, 600};
    ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &r, &parent_));
    ShowWindow(parent_);
  }
  void TearDown() override {
    for (WindowRecord* w : std::vector<WindowRecord*>(tb::windowManager().windows)) {
      if (tb::isSheet(w)) DisposeWindow(w);
    }
    DisposeWindow(parent_);
    FlushEvents(everyEvent, 0);
  }
  WindowRef sheet() const { return tb::attachedSheet(parent_); }
  static std::string message(WindowRef sheet) {
    for (ControlRef c : tb::widgetControls(sheet)) {
      if (tb::widgetKind(c) == tb::WidgetKind::StaticText) return tb::controlText(c);
    }
    return {};
  }
  // Presses a sheet button and lets the event loop deliver the hit.
  static bool pressSheet(WindowRef sheet, bool cancel) {
    ControlRef button = nullptr;
    if (cancel) GetWindowCancelButton(sheet, &button);
    else GetWindowDefaultButton(sheet, &button);
    if (!tb::clickControl(button)) return false;
    tb::frontend().pump(0);
    return true;
  }
  WindowRef parent_ = nullptr;
};

TEST_F(Alerts, SheetAlertReturnsAtOnceAndItsCloseFlagDecidesTheParent) {
  for (bool close : {true, false}) {
    ShowWindow(parent_);
    SheetAlert(kAlertStopAlert, close, parent_, CFSTR("Error reading data (bad format?). Please try again"));
    WindowRef s = sheet();
    ASSERT_NE(nullptr, s) << "close " << close << ": expected a sheet on the parent, found none";
    EXPECT_EQ("Error reading data (bad format?). Please try again", message(s)) << "close " << close;
    Rect sc, pc;
    GetWindowBounds(s, kWindowContentRgn, &sc);
    GetWindowBounds(parent_, kWindowContentRgn, &pc);
    EXPECT_EQ(pc.top, sc.top) << "close " << close << ": the sheet hangs from the parent's content top";
    EXPECT_EQ(parent_, GetNextWindow(s)) << "close " << close << ": the sheet lies just in front of its parent";
    // The parent follows no input while the sheet is up, and moves with it.
    MoveWindow(parent_, 150, 250, false);
    GetWindowBounds(s, kWindowContentRgn, &sc);
    EXPECT_EQ(250, sc.top) << "close " << close << ": the sheet follows its moved parent";
    ASSERT_TRUE(pressSheet(s, false)) << "close " << close << ": pressing OK";
    EXPECT_EQ(nullptr, sheet()) << "close " << close << ": the sheet is gone after OK";
    EXPECT_EQ(bool(close), !IsWindowVisible(parent_)) << "close " << close << ": the parent hidden exactly when asked";
  }
}

TEST_F(Alerts, TwoSheetsKeepTheirOwnCloseFlags) {
  WindowRef other = nullptr;
  const Rect r{250, 650, 400, 900};
  ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &r, &other));
  ShowWindow(other);
  SheetAlert(kAlertNoteAlert, true, parent_, CFSTR("first"));
  SheetAlert(kAlertNoteAlert, false, other, CFSTR("second"));
  WindowRef first = sheet();
  ASSERT_NE(nullptr, first);
  ASSERT_TRUE(pressSheet(first, false));
  EXPECT_FALSE(IsWindowVisible(parent_)) << "the first sheet's parent, whose flag was set, is hidden";
  WindowRef second = tb::attachedSheet(other);
  ASSERT_NE(nullptr, second);
  ASSERT_TRUE(pressSheet(second, false));
  EXPECT_TRUE(IsWindowVisible(other)) << "the second sheet's parent, whose flag was clear, stays";
  DisposeWindow(other);
}

TEST_F(Alerts, NoteAlertWithCancelTellsWhichButton) {
  for (bool cancel : {false, true}) {
    int pushed = 1;
    NoteAlertWithCancel(parent_, CFSTR("Really?"), &pushed);
    WindowRef s = sheet();
    ASSERT_NE(nullptr, s) << "cancel " << cancel;
    EXPECT_EQ(1, pushed) << "cancel " << cancel << ": nothing is told before a press";
    ASSERT_TRUE(pressSheet(s, cancel)) << "cancel " << cancel;
    EXPECT_EQ(cancel ? 0 : 1, pushed) << "cancel " << cancel << ": the int behind buttonPushed";
    EXPECT_EQ(nullptr, sheet()) << "cancel " << cancel << ": the sheet is gone";
    EXPECT_TRUE(IsWindowVisible(parent_)) << "cancel " << cancel << ": the parent stays";
  }
}


TEST_F(Alerts, WithoutAParentTheAlertsAreModal) {
  EXPECT_EQ("Stopped", modalMessage([] { StopAlert(nullptr, CFSTR("Stopped")); })) << "StopAlert without a parent";
  EXPECT_EQ("Careful", modalMessage([] { CautionAlert(nullptr, CFSTR("Careful")); })) << "CautionAlert without a parent";
  EXPECT_EQ("Nowhere", modalMessage([] { SheetAlert(kAlertStopAlert, true, nullptr, CFSTR("Nowhere")); }))
      << "SheetAlert without a parent";
  HideWindow(parent_);
  EXPECT_EQ("Hidden", modalMessage([&] { SheetAlert(kAlertStopAlert, false, parent_, CFSTR("Hidden")); }))
      << "SheetAlert on a hidden parent";
  EXPECT_EQ("Advice", modalMessage([] { Advise(CFSTR("Advice")); })) << "Advise";
  EXPECT_EQ("Code -36", modalMessage([] { StopAlertWithNumber(nullptr, CFSTR("Code"), -36); }))
      << "StopAlertWithNumber";
}

TEST_F(Alerts, FileErrorAlertMessages) {
  const std::vector<std::pair<OSErr, std::string>> cases = {
      {-33, "Disk is full. -33"},
      {-34, "Disk is full. -34"},
      {-41, "Disk is full. -41"},
      {-45, "File or Directory is Locked. -45"},
      {-47, "Can't Open File. It is busy. -47"},
      {-48, "Duplicate File Name Error. -48"},
      {-49, "File is Already Open, perhaps in another Application? -49"},
      {-54, "Unable to Open File. -54"},
      {-61, "Unable to Write to File. -61"},
      {-1300, "File cannot be found. -1300"},
      {-1301, "File already exists. -1301"},
      {-43, "There has been an error opening this file. Error # -43"},
      {0, "There has been an error opening this file. Error # 0"},
  };
  for (const auto& [err, expected] : cases) {
    EXPECT_EQ(expected, modalMessage([err = err] { FileErrorAlert(err); })) << "FileErrorAlert(" << err << ")";
  }
}

// ---- Processes and the cursor

TEST(FindProcess, FindsThisApplicationAndNoFinder) {
  ProcessSerialNumber psn{9, 9};
  EXPECT_EQ(noErr, FindProcess(FOUR_CHAR_CODE("Vntr"), FOUR_CHAR_CODE("APPL"), &psn)) << "this application";
  ProcessSerialNumber current;
  GetCurrentProcess(&current);
  Boolean same = false;
  SameProcess(&psn, &current, &same);
  EXPECT_TRUE(same) << "the serial number found is this process's";
  EXPECT_EQ(procNotFound, FindProcess(FOUR_CHAR_CODE("MACS"), FOUR_CHAR_CODE("FNDR"), &psn)) << "the Finder";
  EXPECT_EQ(procNotFound, FindProcess(FOUR_CHAR_CODE("Vntr"), FOUR_CHAR_CODE("FNDR"), &psn)) << "right creator, wrong type";
  EXPECT_EQ("I can't contact the Finder.", modalMessage([] { BringFinderToFront(); })) << "BringFinderToFront";
}

TEST(AnimateCursor, AdvancesAtMostOnceEvery30Ticks) {
  tb::useVirtualClock(true);
  tb::advanceVirtualTicks(100);
  AnimateCursor(kThemeWatchCursor);
  UInt32 first = tb::lastAnimationStep();
  EXPECT_EQ(kThemeWatchCursor, tb::lastAnimatedCursor()) << "the animated cursor";
  tb::advanceVirtualTicks(10);
  AnimateCursor(kThemeWatchCursor);
  EXPECT_EQ(first, tb::lastAnimationStep()) << "a second call 10 ticks later shows no new frame";
  tb::advanceVirtualTicks(20);
  AnimateCursor(kThemeWatchCursor);
  EXPECT_EQ(first, tb::lastAnimationStep()) << "30 ticks after the last frame is not more than 30";
  tb::advanceVirtualTicks(1);
  AnimateCursor(kThemeWatchCursor);
  EXPECT_EQ(first + 1, tb::lastAnimationStep()) << "31 ticks after the last frame: the next frame";
  tb::useVirtualClock(false);
}

// ---- The version and the about box

class VersionTest : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("VANTOR_RESOURCES")) saved_ = old;
    char pattern[] = "/tmp/vantor-resources-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    dir_ = pattern;
  }
  void TearDown() override {
    if (saved_) setenv("VANTOR_RESOURCES", saved_->c_str(), 1);
    else unsetenv("VANTOR_RESOURCES");
    std::filesystem::remove_all(dir_);
  }
  void write(const std::string& name, const std::string& text) const { std::ofstream(dir_ + "/" + name) << text; }
  void use() const { setenv("VANTOR_RESOURCES", dir_.c_str(), 1); }
  std::string dir_;
  std::optional<std::string> saved_;
};

TEST_F(VersionTest, TheShippedVersionIsTheProjects) {
  Str255 version;
  ASSERT_EQ(noErr, GetVersionString(version)) << "version from the shipped information file";
  EXPECT_EQ(VANTOR_VERSION, pascalText(version)) << "CFBundleVersion of resources/Info.conf against the project's version";
  // The resource fallback carries the same version.
  Handle vers = Get1IndResource(FOUR_CHAR_CODE("vers"), 1);
  ASSERT_NE(nullptr, vers) << "the shipped 'vers' resource";
  const auto* bytes = reinterpret_cast<const unsigned char*>(*vers);
  EXPECT_EQ(VANTOR_VERSION, std::string(reinterpret_cast<const char*>(bytes + 7), bytes[6]))
      << "short version of resources/Vantor.rsrc against the project's version";
  ReleaseResource(vers);
}

TEST_F(VersionTest, BundleFirstThenResourceThenNothing) {
  struct VersionCase {
    const char* name;
    std::optional<std::string> info;
    std::optional<std::string> rsrc;
    OSStatus result;
    std::string expected;
  };
  const std::vector<VersionCase> cases = {
      {"bundle version", "CFBundleVersion = \"2.5.1\"\n", "vers 1 hex 00000000 hex 0000 pstring \"9.9\"\n", noErr,
       "2.5.1"},
      {"19 characters are drawn whole", "CFBundleVersion = \"1234567890123456789\"\n", std::nullopt, noErr,
       "1234567890123456789"},
      {"a longer version is cut at 19", "CFBundleVersion = \"1234567890123456789012345\"\n", std::nullopt, noErr,
       "1234567890123456789"},
      {"no version key: the resource", "CFBundleName = \"Vantor\"\n", "vers 1 hex 00000000 hex 0000 pstring \"9.9\"\n",
       noErr, "9.9"},
      {"a version that is no string: the resource", "CFBundleVersion = 3\n",
       "vers 1 hex 00000000 hex 0000 pstring \"9.8\"\n", noErr, "9.8"},
      {"no information file: the resource", std::nullopt, "vers 1 hex 00000000 hex 0000 pstring \"9.7 beta\"\n",
       noErr, "9.7 beta"},
      {"a long resource string is cut at 19", std::nullopt,
       "vers 1 hex 00000000 hex 0000 pstring \"abcdefghijklmnopqrstuvwxyz\"\n", noErr, "abcdefghijklmnopqrs"},
      {"a truncated resource", std::nullopt, "vers 1 hex 000000\n", -1, "untouched"},
      {"the first of two resources", std::nullopt,
       "vers 5 hex 00000000 hex 0000 pstring \"first\"\nvers 2 hex 00000000 hex 0000 pstring \"second\"\n", noErr,
       "first"},
      {"neither", std::nullopt, std::nullopt, -1, "untouched"},
      {"a damaged information file and no resources", "CFBundleVersion = = \n", std::nullopt, -1, "untouched"},
  };
  for (const VersionCase& c : cases) {
    std::filesystem::remove(dir_ + "/Info.conf");
    std::filesystem::remove(dir_ + "/Vantor.rsrc");
    if (c.info) write("Info.conf", *c.info);
    if (c.rsrc) write("Vantor.rsrc", *c.rsrc);
    use();
    Str255 version;
    setPascal(version, "untouched");
    EXPECT_EQ(c.result, GetVersionString(version)) << c.name << ": result";
    EXPECT_EQ(c.expected, pascalText(version)) << c.name << ": version";
  }
}

TEST(AboutBox, ShowsTheVersionInWhiteUntilAClick) {
  WindowRef seen = nullptr;
  bool whiteText = false;
  WhileWaiting person;
  person.then([&] {
    WindowRef front = FrontWindow();
    if (front == nullptr || front->title != "" || tb::modalWindow() != front) return false;
    seen = front;
    const QImage& image = front->port.image;
    for (int y = 85; y < 105 && !whiteText; ++y) {
      for (int x = 10; x < 60 && !whiteText; ++x) whiteText = image.pixelColor(x, y) == QColor(255, 255, 255);
    }
    return true;
  });
  person.then([&] {
    tb::RawInput key;  // keys do nothing
    key.kind = tb::InputKind::KeyDown;
    key.keyCode = kVK_Space;
    key.charCode = ' ';
    tb::postInput(key);
    return true;
  });
  person.then([&] {
    if (!tb::isAlive(seen)) return false;
    tb::RawInput click;
    click.kind = tb::InputKind::MouseDown;
    click.where = Point{300, 300};
    tb::postInput(click);
    click.kind = tb::InputKind::MouseUp;
    tb::postInput(click);
    return true;
  });
  DoAboutBox();
  EXPECT_TRUE(person.finished()) << "expected the about box to wait for the click";
  ASSERT_NE(nullptr, seen) << "expected the splash window in front, found none";
  EXPECT_TRUE(whiteText) << "expected white version text 100 pixels below the top, found none";
  EXPECT_FALSE(tb::isAlive(seen)) << "the about window is disposed of after the click";
  EXPECT_EQ(nullptr, tb::modalWindow()) << "no modal window after the about box";
  FlushEvents(everyEvent, 0);
}

}  // namespace
