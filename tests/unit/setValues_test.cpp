// The parameter dialog: the format language, the dialog as it is filled and
// sized, what OK, Cancel and the keys store, the read error, and the corner
// kept in the preference store. A person's part is played from the layer's
// waits (WhileWaiting), so no test waits on the dialog.
#include "common/setValues.h"

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/preferences.h"
#include "common/utilities.h"
#include "toolbox/internal/WidgetControls.h"
#include "toolbox/internal/WindowRecord.h"
#include "unit/while_waiting.h"

namespace {

namespace fs = std::filesystem;

std::string pascalText(ConstStr255Param p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

void setPascal(StringPtr p, const std::string& text) {
  p[0] = static_cast<unsigned char>(std::min<size_t>(text.size(), 255));
  std::memcpy(p + 1, text.data(), p[0]);
}

// ---- The format language

struct FormatCase {
  const char* name;
  std::string format;
  std::vector<std::string> labels;
  std::vector<short> codes;
};

TEST(ParseFormat, LabelsAndCodesOfEachConversion) {
  const std::vector<FormatCase> cases = {
      {"one double", "x=%lf", {"x="}, {4}},
      {"labels keep their spaces", "xmn=%lf xmx=%lf", {"xmn=", " xmx="}, {4, 4}},
      {"the bounds dialog", "xmn=%lf xmx=%lf ymn=%lf ymx=%lf", {"xmn=", " xmx=", " ymn=", " ymx="}, {4, 4, 4, 4}},
      {"µ and n (Mac Roman µ)", "\xB5 =%lf n =%d", {"\xB5 =", " n ="}, {4, 1}},
      {"circle", "\xB5=%lf om=%lf n=%d", {"\xB5=", " om=", " n="}, {4, 4, 1}},
      {"iterations", "t =%ld", {"t ="}, {2}},
      {"commas and semicolons vanish", "a, b;c=%lf", {"a bc="}, {4}},
      {"text after the last conversion is dropped", "x=%lf trailing", {"x="}, {4}},
      {"float forms", "a%e b%f c%g", {"a", " b", " c"}, {3, 3, 3}},
      {"double forms", "a%le b%lf c%lg", {"a", " b", " c"}, {4, 4, 4}},
      {"upper-case L acts as l", "a%Lf b%LD", {"a", " b"}, {4, 0}},
      {"%c, %s, %m and %b", "c%c s%s m%m%b", {"c", " s", " m", ""}, {5, 6, 7, 8}},
      {"upper-case M and B", "%M%B", {"", ""}, {7, 8}},
      {"other upper-case letters are no conversion", "%D%F%S", {"", "", ""}, {0, 0, 0}},
      {"one or two digits are read and ignored", "a%5lf b%12d", {"a", " b"}, {4, 1}},
      {"a third digit is the conversion letter", "a%123lf b%d", {"a", "lf b"}, {0, 1}},
      {"an unknown letter", "a%q b%lf", {"a", " b"}, {0, 4}},
      {"%l followed by another letter", "a%lx b%d", {"a", " b"}, {0, 1}},
      {"%% is a code 0 field", "a%%b%d", {"a", "b"}, {0, 1}},
      {"% at the very end", "a%lf b%", {"a", " b"}, {4, 0}},
      {"% and digits at the very end", "a%lf b%12", {"a", " b"}, {4, 0}},
      {"%l at the very end", "a%lf b%l", {"a", " b"}, {4, 0}},
      {"an empty label", "%lf%lf", {"", ""}, {4, 4}},
      {"no conversion", "just text", {}, {}},
      {"empty format", "", {}, {}},
      {"at most seven fields", "%d%d%d%d%d%d%d%d%d", {"", "", "", "", "", "", ""}, {1, 1, 1, 1, 1, 1, 1}},
      {"bytes outside ASCII stay in the label", "\xBD\x8E=%lf", {"\xBD\x8E="}, {4}},
  };
  for (const FormatCase& c : cases) {
    Str255 text[kMaxFields];
    short form[kMaxFields];
    short n = ParseFormat(c.format.c_str(), text, form);
    ASSERT_EQ(short(c.labels.size()), n) << c.name << ": expected " << c.labels.size() << " fields, found " << n;
    for (short j = 0; j < n; ++j) {
      EXPECT_EQ(c.labels[size_t(j)], pascalText(text[j])) << c.name << ": label of field " << j;
      EXPECT_EQ(c.codes[size_t(j)], form[j]) << c.name << ": code of field " << j;
    }
  }
}

TEST(ParseFormat, LabelsAreCutAt255Bytes) {
  std::string format = std::string(400, 'a') + "=%lf";
  Str255 text[kMaxFields];
  short form[kMaxFields];
  ASSERT_EQ(1, ParseFormat(format.c_str(), text, form)) << "fields of a format with a 400-byte label";
  EXPECT_EQ(std::string(255, 'a'), pascalText(text[0])) << "a label longer than a Str255 is cut at 255 bytes";
}

TEST(IsDigit, OnlyTheTenDigits) {
  for (int c = -128; c < 128; ++c) {
    short expected = c >= '0' && c <= '9' ? 1 : 0;
    EXPECT_EQ(expected, isDigit(char(c))) << "isDigit(" << c << ")";
  }
}

// ---- The dialog

// Each test gets a preference store of its own.
class ParameterDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    if (old != nullptr) savedXdg_ = old;
    char pattern[] = "/tmp/vantor-dialog-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr) << "cannot make a temporary directory";
    dir_ = pattern;
    setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    FlushEvents(everyEvent, 0);
  }
  void TearDown() override {
    dismissSheets();
    if (WindowRef d = ParameterDialog()) HideWindow(d);
    if (savedXdg_) setenv("XDG_CONFIG_HOME", savedXdg_->c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(dir_);
    FlushEvents(everyEvent, 0);
  }

  static bool dialogOpen() {
    WindowRef d = ParameterDialog();
    return d != nullptr && IsWindowVisible(d) && tb::modalWindow() == d;
  }
  static ControlRef control(short id) { return GetWindowControlRef(ParameterDialog(), id); }
  static std::string textOf(short id) {
    Str255 s;
    GetControlPString(ParameterDialog(), id, s);
    return pascalText(s);
  }
  static Rect content() {
    Rect r;
    GetWindowBounds(ParameterDialog(), kWindowContentRgn, &r);
    return r;
  }
  static WindowRef sheetOnDialog() { return tb::attachedSheet(ParameterDialog()); }
  static std::string sheetMessage(WindowRef sheet) {
    for (ControlRef c : tb::widgetControls(sheet)) {
      if (tb::widgetKind(c) == tb::WidgetKind::StaticText) return tb::controlText(c);
    }
    return {};
  }
  // Presses the sheet's OK and lets its handler run, as the event loop would.
  static void dismissSheets() {
    for (int tries = 0; tries < 10; ++tries) {
      WindowRef sheet = nullptr;
      for (WindowRecord* w : tb::windowManager().windows) {
        if (tb::isSheet(w) && w->visible) sheet = w;
      }
      if (sheet == nullptr) return;
      ControlRef ok = nullptr;
      GetWindowDefaultButton(sheet, &ok);
      tb::clickControl(ok);
      tb::frontend().pump(0);
    }
  }

  // Steps of a person at the dialog.
  static WhileWaiting::Step fill(short row, std::string text) {
    return [row, text] {
      if (!dialogOpen()) return false;
      Str255 s;
      setPascal(s, text);
      SetControlPString(ParameterDialog(), row + 3, s);
      return true;
    };
  }
  static WhileWaiting::Step press(short id) {
    return [id] { return dialogOpen() && tb::clickControl(control(id)); };
  }
  static WhileWaiting::Step look(std::function<void()> check) {
    return [check] {
      if (!dialogOpen()) return false;
      check();
      return true;
    };
  }
  static WhileWaiting::Step key(unsigned char keyCode, unsigned char charCode, EventModifiers modifiers = 0) {
    return [=] {
      if (!dialogOpen()) return false;
      tb::RawInput in;
      in.kind = tb::InputKind::KeyDown;
      in.keyCode = keyCode;
      in.charCode = charCode;
      in.modifiers = modifiers;
      tb::postInput(in);
      in.kind = tb::InputKind::KeyUp;
      tb::postInput(in);
      return true;
    };
  }

  std::string dir_;
  std::optional<std::string> savedXdg_;
};

Str255* desc(const char* text) {
  static Str255 s;
  CopyCStringToPascal(text, s);
  return &s;
}

TEST_F(ParameterDialogTest, OneFieldShowsItsValueAndOkKeepsIt) {
  double x = 0.5;
  std::string label, field, description;
  int rows = -1;
  WhileWaiting person;
  person.then(look([&] {
    label = textOf(13);
    field = textOf(3);
    description = textOf(12);
    rows = 0;
    for (short id = 3; id <= 9; ++id) rows += IsControlVisible(control(id)) ? 1 : 0;
  }));
  person.then(press(1));
  EXPECT_EQ(1, GetParams(*desc("Initial Condition"), "x=%lf", &x)) << "result of OK without editing";
  EXPECT_TRUE(person.finished()) << "expected the dialog to take every step";
  EXPECT_EQ("x=", label) << "label of row 0";
  EXPECT_EQ("0.5", field) << "field of row 0";
  EXPECT_EQ("Initial Condition", description) << "description";
  EXPECT_EQ(1, rows) << "visible rows";
  EXPECT_EQ(0.5, x) << "x after OK without editing";
  EXPECT_FALSE(IsWindowVisible(ParameterDialog())) << "the dialog is hidden after OK";
}

TEST_F(ParameterDialogTest, CancelStoresNothingAndStillSavesTheCorner) {
  double x = 0.5;
  WhileWaiting person;
  person.then(fill(0, "0.25")).then(press(2));
  EXPECT_EQ(0, GetParams(*desc("Initial Condition"), "x=%lf", &x)) << "result of Cancel";
  EXPECT_EQ(0.5, x) << "x after Cancel";
  Point corner{0, 0};
  ASSERT_TRUE(ReadPreference(kDataDialogCorner, &corner)) << "expected DataDialogCorner saved after Cancel, found none";
  Rect r = content();
  EXPECT_EQ(r.left, corner.h) << "saved corner, horizontal";
  EXPECT_EQ(r.top, corner.v) << "saved corner, vertical";
}

// What typing a text into one field stores, for each kind of field.
struct StoreCase {
  const char* name;
  const char* format;
  std::string typed;
  short result;
  double expected;  // the variable afterwards
};

TEST_F(ParameterDialogTest, TypedTextsAreStoredByTheFieldsRules) {
  const std::string digits300(300, '1');
  const std::vector<StoreCase> cases = {
      {"%d plain", "n =%d", "12", 1, 12},
      {"%d negative", "n =%d", "-1", 1, -1},
      {"%d 70000 keeps the low 16 bits", "n =%d", "70000", 1, 4464},
      {"%d 40000 keeps the low 16 bits", "n =%d", "40000", 1, -25536},
      {"%d at the top of 16 bits", "n =%d", "32767", 1, 32767},
      {"%d at the bottom of 16 bits", "n =%d", "-32768", 1, -32768},
      {"%d one past the top", "n =%d", "32768", 1, -32768},
      {"%d beyond 32 bits saturates first", "n =%d", "5000000000", 1, -1},
      {"%ld at the top of 32 bits", "t =%ld", "2147483647", 1, 2147483647.0},
      {"%ld at the bottom of 32 bits", "t =%ld", "-2147483648", 1, -2147483648.0},
      {"%ld beyond 32 bits saturates", "t =%ld", "3000000000", 1, 2147483647.0},
      {"%ld below 32 bits saturates", "t =%ld", "-3000000000", 1, -2147483648.0},
      {"%lf plain", "x=%lf", "0.125", 1, 0.125},
      {"%lf exponent form", "x=%lf", "2.5e-6", 1, 2.5e-6},
      {"%lf huge but finite", "x=%lf", "1e300", 1, 1e300},
      {"%lf beyond the double range", "x=%lf", "1e400", 0, 7},
      {"%lf nan", "x=%lf", "nan", 0, 7},
      {"%lf inf", "x=%lf", "inf", 0, 7},
      {"%lf empty", "x=%lf", "", 0, 7},
      {"%lf letters", "x=%lf", "abc", 0, 7},
      {"%lf bytes outside ASCII", "x=%lf", "\xB5\x8E", 0, 7},
      {"%lf a text of 300 digits is read as its first 255", "x=%lf", digits300, 1, 1.1111111111111111e254},
      {"%f within the float range", "x=%f", "0.5", 1, 0.5},
      {"%f beyond the float range is refused", "x=%f", "1e300", 0, 7},
  };
  for (const StoreCase& c : cases) {
    short n16 = 7;
    SInt32 n32 = 7;
    float f = 7;
    double d = 7;
    Str255 s;
    setPascal(s, c.typed);
    short result;
    {
      WhileWaiting person;
      person.then([&] {
        if (!dialogOpen()) return false;
        SetControlData(control(3), kControlEntireControl, kControlEditTextTextTag, Size(c.typed.size()),
                       c.typed.data());
        return true;
      });
      person.then(press(1));
      std::string format = c.format;
      if (format.find("%ld") != std::string::npos) result = GetParams(*desc(c.name), c.format, &n32);
      else if (format.find("%d") != std::string::npos) result = GetParams(*desc(c.name), c.format, &n16);
      else if (format.find("%lf") != std::string::npos) result = GetParams(*desc(c.name), c.format, &d);
      else result = GetParams(*desc(c.name), c.format, &f);
      EXPECT_TRUE(person.finished()) << c.name << ": expected the dialog to take every step";
    }
    double found = std::string(c.format).find("%ld") != std::string::npos ? double(n32)
                   : std::string(c.format).find("%d") != std::string::npos ? double(n16)
                   : std::string(c.format).find("%lf") != std::string::npos ? d
                                                                              : double(f);
    EXPECT_EQ(c.result, result) << c.name << ": result (typed \"" << c.typed.substr(0, 20) << "\")";
    if (c.expected == 0 || std::fabs(c.expected) < 1e200) {
      EXPECT_EQ(c.expected, found) << c.name << ": stored value";
    } else {
      EXPECT_NEAR(c.expected, found, std::fabs(c.expected) * 1e-12) << c.name << ": stored value";
    }
    WindowRef sheet = sheetOnDialog();
    if (c.result == 0) {
      ASSERT_NE(nullptr, sheet) << c.name << ": expected the read error on the dialog, found no sheet";
      EXPECT_EQ(READERR, sheetMessage(sheet)) << c.name << ": sheet message";
      EXPECT_TRUE(IsWindowVisible(ParameterDialog())) << c.name << ": the dialog stays behind the sheet";
      dismissSheets();
      EXPECT_FALSE(IsWindowVisible(ParameterDialog())) << c.name << ": dismissing the sheet hides the dialog";
    } else {
      EXPECT_EQ(nullptr, sheet) << c.name << ": expected no sheet after a good number";
    }
  }
}

TEST_F(ParameterDialogTest, AFailedFieldStopsTheFieldsBeforeItNotThoseAfter) {
  double xmn = -0.05, xmx = 1.05, ymn = -0.05, ymx = 1.05;
  WhileWaiting person;
  person.then(fill(0, "0.1")).then(fill(1, "not a number")).then(fill(2, "-2")).then(fill(3, "3")).then(press(1));
  EXPECT_EQ(0, GetParams(*desc("Choose Window Bounds"), "xmn=%lf xmx=%lf ymn=%lf ymx=%lf", &xmn, &xmx, &ymn, &ymx))
      << "result with a bad xmx";
  EXPECT_EQ(-0.05, xmn) << "xmn, before the failed field, keeps its value";
  EXPECT_EQ(1.05, xmx) << "xmx, the failed field, keeps its value";
  EXPECT_EQ(-2, ymn) << "ymn, after the failed field, is stored";
  EXPECT_EQ(3, ymx) << "ymx, after the failed field, is stored";
  ASSERT_NE(nullptr, sheetOnDialog()) << "expected the read error sheet, found none";
  EXPECT_EQ(READERR, sheetMessage(sheetOnDialog())) << "sheet message";
  EXPECT_EQ(ParameterDialog(), GetNextWindow(sheetOnDialog())) << "the sheet lies just in front of the dialog";

  // The next call fills the fields again from its arguments.
  dismissSheets();
  std::string shown;
  WhileWaiting again;
  again.then(look([&] { shown = textOf(4); })).then(press(2));
  GetParams(*desc("Choose Window Bounds"), "xmn=%lf xmx=%lf ymn=%lf ymx=%lf", &xmn, &xmx, &ymn, &ymx);
  EXPECT_EQ("1.05", shown) << "the xmx field of the next call";
}

TEST_F(ParameterDialogTest, TheWindowShrinksAndGrowsWithTheRows) {
  double a = 1, b = 2, c = 3, d = 4;
  int fourRows = 0, oneRow = 0;
  std::vector<bool> shownAfterOne;
  Rect okFour{}, okOne{};
  {
    WhileWaiting person;
    person.then(look([&] {
      fourRows = content().bottom - content().top;
      GetControlBounds(control(1), &okFour);
    }));
    person.then(press(2));
    GetParams(*desc("four"), "a=%lf b=%lf c=%lf d=%lf", &a, &b, &c, &d);
  }
  {
    WhileWaiting person;
    person.then(look([&] {
      oneRow = content().bottom - content().top;
      GetControlBounds(control(1), &okOne);
      for (short id = 3; id <= 9; ++id) shownAfterOne.push_back(IsControlVisible(control(id)));
    }));
    person.then(press(2));
    GetParams(*desc("one"), "a=%lf", &a);
  }
  EXPECT_EQ(75, fourRows - oneRow) << "content height lost from four rows to one";
  EXPECT_EQ(75, okFour.top - okOne.top) << "the OK button follows the bottom edge";
  ASSERT_EQ(7u, shownAfterOne.size());
  EXPECT_TRUE(shownAfterOne[0]) << "row 0 shown";
  for (size_t j = 1; j < 7; ++j) EXPECT_FALSE(shownAfterOne[j]) << "row " << j << " hidden after a one-row call";
  QWidget* ok = tb::controlWidget(control(1));
  ASSERT_NE(nullptr, ok);
  WhileWaiting person;
  int sevenRows = 0;
  person.then(look([&] { sevenRows = content().bottom - content().top; })).then(press(2));
  short s[7] = {};
  GetParams(*desc("seven"), "%d%d%d%d%d%d%d", &s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &s[6]);
  EXPECT_EQ(150, sevenRows - oneRow) << "content height gained from one row to seven";
}

TEST_F(ParameterDialogTest, StringCharSymmetryAndColourFields) {
  Str255 name;
  setPascal(name, "orbit");
  SInt32 symmetry = 3;
  std::string rowZero, rowOne;
  bool colourShown = false, arrowsShown = false, symmetryRowShown = true;
  SInt16 arrowsValue = 0;
  WhileWaiting person;
  person.then(look([&] {
    rowZero = textOf(3);
    rowOne = textOf(4);
    colourShown = IsControlVisible(control(10));
    arrowsShown = IsControlVisible(control(11));
    arrowsValue = GetControlValue(control(11));
    symmetryRowShown = IsControlVisible(control(5));
  }));
  person.then(fill(0, "renamed"));
  person.then([&] {
    if (!dialogOpen()) return false;
    auto* spin = qobject_cast<QAbstractSpinBox*>(tb::controlWidget(control(11)));
    if (spin == nullptr) return false;
    spin->stepBy(2);  // a person clicks the up arrow twice
    return true;
  });
  person.then(press(1));
  EXPECT_EQ(1, GetParams(*desc("mixed"), "name %s c%c sym%m%b", name, &symmetry)) << "result";
  EXPECT_EQ("orbit", rowZero) << "the %s field shows the string";
  EXPECT_EQ("", rowOne) << "the %c field shows nothing";
  EXPECT_TRUE(colourShown) << "the colour button with %b";
  EXPECT_TRUE(arrowsShown) << "the symmetry control with a non-zero %m";
  EXPECT_EQ(3, arrowsValue) << "the symmetry control's value";
  EXPECT_FALSE(symmetryRowShown) << "the %m row itself";
  EXPECT_EQ("renamed", pascalText(name)) << "the %s buffer after OK";
  EXPECT_EQ(5, symmetry) << "the %m value after two clicks up";

  // Without %b and with %m 0 neither control shows.
  SInt32 zero = 0;
  double x = 1;
  WhileWaiting plain;
  plain.then(look([&] {
    colourShown = IsControlVisible(control(10));
    arrowsShown = IsControlVisible(control(11));
  }));
  plain.then(press(2));
  GetParams(*desc("plain"), "x=%lf sym%m", &x, &zero);
  EXPECT_FALSE(colourShown) << "the colour button without %b";
  EXPECT_FALSE(arrowsShown) << "the symmetry control with %m 0";
}

TEST_F(ParameterDialogTest, ReturnEscapeAndTabWorkAsInAnyDialog) {
  double mu = 3.5;
  short n = 1;
  ControlRef focusAfterTab = nullptr;
  // Return presses OK: typing replaces the selected first field.
  {
    WhileWaiting person;
    person.then(key(0x14, '3'))            // 3
        .then(key(0x2F, '.'))              // .
        .then(key(0x12, '1'))              // 1
        .then(key(kVK_Tab, '\t'))
        .then(look([&] { GetKeyboardFocus(ParameterDialog(), &focusAfterTab); }))
        .then(key(0x15, '4'))
        .then(key(kVK_Return, '\r'));
    EXPECT_EQ(1, GetParams(*desc("Input \xB5 and n"), "\xB5 =%lf n =%d", &mu, &n)) << "Return presses OK";
    EXPECT_TRUE(person.finished()) << "expected the dialog to take every key";
  }
  EXPECT_EQ(control(4), focusAfterTab) << "Tab moves the focus to the second field";
  EXPECT_EQ(3.1, mu) << "typed over the selected first field";
  EXPECT_EQ(4, n) << "typed over the second field, selected by Tab";
  // Escape presses Cancel.
  {
    WhileWaiting person;
    person.then(key(0x14, '9')).then(key(kVK_Escape, 0x1B));
    EXPECT_EQ(0, GetParams(*desc("Input \xB5 and n"), "\xB5 =%lf n =%d", &mu, &n)) << "Escape presses Cancel";
  }
  EXPECT_EQ(3.1, mu) << "mu after Escape";
  // Command-period presses Cancel too; Shift-Tab goes backwards, wrapping.
  {
    WhileWaiting person;
    person.then(key(kVK_Tab, '\t', shiftKey))
        .then(look([&] { GetKeyboardFocus(ParameterDialog(), &focusAfterTab); }))
        .then(key(0x2F, '.', cmdKey));
    EXPECT_EQ(0, GetParams(*desc("Input \xB5 and n"), "\xB5 =%lf n =%d", &mu, &n)) << "Command-period cancels";
  }
  EXPECT_EQ(control(4), focusAfterTab) << "Shift-Tab from the first field wraps to the last";
}

TEST_F(ParameterDialogTest, KeysTypedIntoTheFieldWidgetReachTheDialog) {
  double x = 0.5;
  WhileWaiting person;
  person.then([&] {
    if (!dialogOpen()) return false;
    auto* edit = qobject_cast<QLineEdit*>(tb::controlWidget(control(3)));
    if (edit == nullptr) return false;
    QKeyEvent type(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, "7");
    QCoreApplication::sendEvent(edit, &type);  // replaces the selected text
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &enter);
    return true;
  });
  EXPECT_EQ(1, GetParams(*desc("Initial Condition"), "x=%lf", &x)) << "Return in the field presses OK";
  EXPECT_EQ(7, x) << "x typed into the field widget";
}

TEST_F(ParameterDialogTest, WidgetKeysEscapeAndTabActOnTheDialog) {
  double a = 1, b = 2;
  ControlRef focus = nullptr;
  WhileWaiting person;
  person.then([&] {
    if (!dialogOpen()) return false;
    auto* edit = qobject_cast<QLineEdit*>(tb::controlWidget(control(3)));
    if (edit == nullptr) return false;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &tab);
    GetKeyboardFocus(ParameterDialog(), &focus);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(tb::controlWidget(control(4)), &escape);
    return true;
  });
  EXPECT_EQ(0, GetParams(*desc("two"), "a=%lf b=%lf", &a, &b)) << "Escape in a field presses Cancel";
  EXPECT_EQ(control(4), focus) << "Tab in the first field focuses the second";
}

TEST_F(ParameterDialogTest, ACallWhileTheReadErrorIsUpEndsWithTheSheet) {
  double x = 0.5;
  {
    WhileWaiting person;
    person.then(fill(0, "?")).then(press(1));
    ASSERT_EQ(0, GetParams(*desc("Initial Condition"), "x=%lf", &x)) << "a bad number";
  }
  ASSERT_NE(nullptr, sheetOnDialog()) << "the read error is up";
  // The program asks again before the person answered the sheet: the
  // dialog can only be answered through the sheet, which hides it.
  WhileWaiting person;
  person.then([&] {
    if (!dialogOpen()) return false;
    ControlRef ok = nullptr;
    GetWindowDefaultButton(sheetOnDialog(), &ok);
    return tb::clickControl(ok);
  });
  EXPECT_EQ(0, GetParams(*desc("Initial Condition"), "x=%lf", &x)) << "result when the sheet hid the dialog";
  EXPECT_TRUE(person.finished()) << "expected the person's step to run";
  EXPECT_EQ(0.5, x) << "x untouched";
  EXPECT_FALSE(IsWindowVisible(ParameterDialog())) << "the dialog is hidden";
  EXPECT_EQ(nullptr, tb::modalWindow()) << "no modal loop left running";
}

TEST_F(ParameterDialogTest, AFormatWithoutConversionsTouchesNothing) {
  double x = 0.5;
  short result = -1;
  std::string message = modalMessage([&] { result = GetParams(*desc("bad"), "no conversion here", &x); });
  EXPECT_EQ(0, result) << "result of a format without %";
  EXPECT_EQ(FORMERR, message) << "message";
  EXPECT_EQ(0.5, x) << "the argument is untouched";
  if (ParameterDialog() != nullptr) {
    EXPECT_FALSE(IsWindowVisible(ParameterDialog())) << "no dialog is shown";
  }
}

TEST_F(ParameterDialogTest, TheSavedCornerIsUsedOnlyOnTheAvailableScreen) {
  struct CornerCase {
    const char* name;
    Point saved;  // v, h
    bool used;
  };
  const Rect screen = ScreenBounds();
  const std::vector<CornerCase> cases = {
      {"inside", Point{200, 150}, true},
      {"at the top-left corner", Point{screen.top, screen.left}, true},
      {"under the menu bar", Point{short(screen.top - 1), 100}, false},
      {"left of the screen", Point{200, -5}, false},
      {"on the right edge", Point{200, screen.right}, false},
      {"on the bottom edge", Point{screen.bottom, 100}, false},
      {"far away", Point{30000, 30000}, false},
  };
  for (const CornerCase& c : cases) {
    ASSERT_TRUE(WritePreference(kDataDialogCorner, c.saved)) << c.name << ": writing the corner";
    if (WindowRef old = ParameterDialog()) DisposeWindow(old);
    int height = 0;
    OpenDataDialog(height);
    ASSERT_NE(nullptr, ParameterDialog()) << c.name << ": the dialog from the nib";
    EXPECT_EQ(280, height) << c.name << ": content height as loaded";
    Rect r = content();
    if (c.used) {
      EXPECT_EQ(c.saved.h, r.left) << c.name << ": left at the saved corner";
      EXPECT_EQ(c.saved.v, r.top) << c.name << ": top at the saved corner";
    } else {
      EXPECT_TRUE(r.left != c.saved.h || r.top != c.saved.v) << c.name << ": expected the nib's place, found the saved corner";
      EXPECT_TRUE(PtInRect(Point{r.top, r.left}, &screen)) << c.name << ": the nib's place is on the screen";
    }
  }
}

TEST_F(ParameterDialogTest, TheDialogIsKeptAboveTheBottomOfTheScreen) {
  short s[7] = {};
  double x = 0;
  // A one-row dialog placed low, then a seven-row call.
  {
    WhileWaiting person;
    person.then([&] {
      if (!dialogOpen()) return false;
      MoveWindow(ParameterDialog(), 100, short(ScreenBounds().bottom - 140), false);
      return true;
    });
    person.then(press(2));
    GetParams(*desc("one"), "x=%lf", &x);
  }
  Rect seen{};
  WhileWaiting person;
  person.then(look([&] { seen = content(); })).then(press(2));
  GetParams(*desc("seven"), "%d%d%d%d%d%d%d", &s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &s[6]);
  EXPECT_LE(seen.bottom + 20, ScreenBounds().bottom) << "bottom of the seven-row dialog, 20 pixels above the screen's";
  EXPECT_EQ(100, seen.left) << "the left edge stays";
}

}  // namespace
