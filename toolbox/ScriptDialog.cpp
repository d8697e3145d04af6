// Script steps for modal dialogs, sheets and the preference store
// (docs/automation.md). A dialog is found as a person sees it: its fields
// are its visible edit fields from the top, a field's label is the text to
// its left on the same row, its buttons are known by their titles.
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>

#include "CoreFoundation.h"
#include "TextUtils.h"
#include "Windows.h"
#include "internal/Script.h"
#include "internal/WidgetControls.h"
#include "internal/WindowRecord.h"

namespace tb::script {

namespace {

// The program waits for a person, not in the middle of some work.
bool settled(Phase phase) { return phase == Phase::Idle || phase == Phase::Tracking; }

std::string trimmedText(const std::string& s) {
  size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::string utf8Text(ControlRef c) { return macRomanToUtf8(controlText(c)); }

Rect boundsOf(ControlRef c) {
  Rect r;
  GetControlBounds(c, &r);
  return r;
}

std::vector<ControlRef> visible(WindowRef w, WidgetKind kind) {
  std::vector<ControlRef> out;
  for (ControlRef c : widgetControls(w)) {
    if (widgetKind(c) == kind && IsControlVisible(c)) out.push_back(c);
  }
  std::stable_sort(out.begin(), out.end(), [](ControlRef a, ControlRef b) { return boundsOf(a).top < boundsOf(b).top; });
  return out;
}

// The static text on a field's row, left of it.
ControlRef labelOf(WindowRef w, ControlRef field) {
  Rect f = boundsOf(field);
  short middle = short((f.top + f.bottom) / 2);
  ControlRef best = nullptr;
  for (ControlRef c : visible(w, WidgetKind::StaticText)) {
    Rect r = boundsOf(c);
    if (r.top <= middle && middle < r.bottom && r.right <= f.left && (best == nullptr || r.right > boundsOf(best).right))
      best = c;
  }
  return best;
}

// A field by row (from 1) or by its label.
struct FieldSelector {
  int row = 0;
  std::string label;
  std::string describe() const { return row > 0 ? "field " + std::to_string(row) : "field " + quote(label); }
};

bool parseField(Line& line, FieldSelector& field) {
  if (line.nextIsQuoted()) {
    field.label = line.text("a field's label");
  } else {
    long row = line.integer("a field's row (from 1) or its label in quotes");
    if (!line.failed() && (row < 1 || row > 100)) line.fail("rows count from 1");
    field.row = int(row);
  }
  return !line.failed();
}

ControlRef findField(WindowRef w, const FieldSelector& field, std::string& found) {
  std::vector<ControlRef> fields = visible(w, WidgetKind::EditText);
  if (field.row > 0) {
    if (size_t(field.row) <= fields.size()) return fields[size_t(field.row - 1)];
    found = "a dialog with " + std::to_string(fields.size()) + " fields";
    return nullptr;
  }
  std::string labels;
  for (ControlRef f : fields) {
    ControlRef label = labelOf(w, f);
    std::string text = label != nullptr ? utf8Text(label) : std::string();
    if (text == field.label || trimmedText(text) == trimmedText(field.label)) return f;
    labels += (labels.empty() ? "" : ", ") + quote(text);
  }
  found = "fields labelled " + (labels.empty() ? std::string("nothing") : labels);
  return nullptr;
}

// The open dialog, or why there is none. Alerts come first, as they have
// the focus.
Outcome dialogOrWhy(Context& context, WindowRef& dialog) {
  dialog = modalWindow();
  if (dialog != nullptr && context.phase != Phase::Alert) return Outcome::done();
  if (context.phase == Phase::Idle) return Outcome::fail("a modal dialog open", "no dialog");
  return Outcome::notNow();
}

WindowRef frontSheet() {
  for (WindowRecord* w : windowManager().windows) {
    if (w->visible && isSheet(w)) return w;
  }
  return nullptr;
}

std::string sheetMessage(WindowRef sheet) {
  std::vector<ControlRef> texts = visible(sheet, WidgetKind::StaticText);
  return texts.empty() ? std::string() : utf8Text(texts.front());
}

ControlRef buttonTitled(WindowRef w, const std::string& title, std::string& found) {
  std::string titles;
  for (ControlRef c : visible(w, WidgetKind::Button)) {
    std::string text = utf8Text(c);
    if (text == title) return c;
    titles += (titles.empty() ? "" : ", ") + quote(text);
  }
  found = "buttons " + (titles.empty() ? std::string("none") : titles);
  return nullptr;
}

// Presses OK, Cancel or a titled button of a window.
Outcome press(WindowRef w, const std::string& which) {
  ControlRef button = nullptr;
  std::string found;
  if (which == "ok") {
    GetWindowDefaultButton(w, &button);
    found = "no default button";
  } else if (which == "cancel") {
    GetWindowCancelButton(w, &button);
    found = "no cancel button";
  } else {
    button = buttonTitled(w, which, found);
  }
  if (button == nullptr) return Outcome::fail("a button " + (which == "ok" || which == "cancel" ? which : quote(which)), found);
  if (!clickControl(button)) return Outcome::fail("button " + quote(utf8Text(button)) + " enabled", "it disabled");
  return Outcome::yield();
}

std::string valueText(CFTypeRef value) {
  if (value == nullptr) return "missing";
  CFTypeID type = CFGetTypeID(value);
  if (type == CFNumberGetTypeID()) {
    double d = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberDoubleType, &d);
    return formatNumber(d);
  }
  if (type == CFStringGetTypeID()) {
    CFStringRef s = static_cast<CFStringRef>(value);
    std::string text(size_t(CFStringGetLength(s)) * 4 + 1, '\0');
    CFStringGetCString(s, text.data(), CFIndex(text.size()), kCFStringEncodingUTF8);
    return quote(text.c_str());
  }
  if (type == CFBooleanGetTypeID()) return CFBooleanGetValue(static_cast<CFBooleanRef>(value)) ? "true" : "false";
  if (type == CFArrayGetTypeID()) {
    CFArrayRef array = static_cast<CFArrayRef>(value);
    std::string out;
    for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
      out += (i == 0 ? "" : " ") + valueText(CFArrayGetValueAtIndex(array, i));
    }
    return out;
  }
  return "?";
}

std::string preferenceText(const std::string& key) {
  CFStringRef name = CFStringCreateWithCString(nullptr, key.c_str(), kCFStringEncodingUTF8);
  if (name == nullptr) return "missing";
  CFPropertyListRef value = CFPreferencesCopyAppValue(name, kCFPreferencesCurrentApplication);
  std::string text = valueText(value);
  if (value != nullptr) CFRelease(value);
  CFRelease(name);
  return text;
}

}  // namespace

std::function<Outcome(Context&)> parseDialogCommand(const std::string& command, Line& line) {
  if (command == "sheet") {
    std::string which = line.any("ok, cancel or a button's title in quotes");
    return [which](Context& context) {
      if (!settled(context.phase)) return Outcome::notNow();
      WindowRef sheet = frontSheet();
      if (sheet == nullptr) {
        return context.phase == Phase::Idle ? Outcome::fail("a sheet open", "no sheet") : Outcome::notNow();
      }
      return press(sheet, which);
    };
  }
  if (line.accept("set")) {
    FieldSelector field;
    parseField(line, field);
    std::string text = line.text("the field's new text");
    return [field, text](Context& context) {
      WindowRef dialog = nullptr;
      Outcome why = dialogOrWhy(context, dialog);
      if (dialog == nullptr || why.kind != Outcome::Done) return why;
      std::string found;
      ControlRef f = findField(dialog, field, found);
      if (f == nullptr) return Outcome::fail(field.describe(), found);
      auto* edit = qobject_cast<QLineEdit*>(controlWidget(f));
      if (edit == nullptr || !edit->isEnabled()) return Outcome::fail(field.describe() + " enabled", "it disabled");
      // As a person: select everything and type the new text over it.
      edit->selectAll();
      edit->insert(QString::fromStdString(text));
      return Outcome::done();
    };
  }
  if (line.accept("value")) {
    long value = line.integer("the little arrows' value");
    return [value](Context& context) {
      WindowRef dialog = nullptr;
      Outcome why = dialogOrWhy(context, dialog);
      if (dialog == nullptr || why.kind != Outcome::Done) return why;
      std::vector<ControlRef> arrows = visible(dialog, WidgetKind::LittleArrows);
      if (arrows.empty()) return Outcome::fail("little arrows in the dialog", "none shown");
      auto* spin = qobject_cast<QSpinBox*>(controlWidget(arrows.front()));
      if (spin == nullptr) return Outcome::fail("little arrows in the dialog", "no widget");
      spin->setValue(int(value));
      return Outcome::yield();
    };
  }
  std::string which = line.any("ok, cancel, set, value or a button's title in quotes");
  return [which](Context& context) {
    WindowRef dialog = nullptr;
    Outcome why = dialogOrWhy(context, dialog);
    if (dialog == nullptr || why.kind != Outcome::Done) return why;
    return press(dialog, which);
  };
}

std::function<Outcome(Context&)> parseDialogExpect(Line& line) {
  if (line.accept("preference")) {
    std::string key = line.any("a preference key");
    std::string expected;
    if (line.accept("missing")) {
      expected = "missing";
    } else {
      while (!line.atEnd() && !line.failed()) {
        std::string item = line.nextIsQuoted() ? quote(line.text("a text")) : formatNumber(line.number("a number"));
        expected += (expected.empty() ? "" : " ") + item;
      }
      if (expected.empty()) line.fail("expected the preference's value or missing");
    }
    return [key, expected](Context& context) {
      if (!settled(context.phase)) return Outcome::notNow();
      std::string found = preferenceText(key);
      if (found == expected) return Outcome::done();
      return Outcome::fail("preference " + quote(key) + " " + expected, found);
    };
  }
  if (line.accept("sheet")) {
    if (line.accept("none")) {
      return [](Context& context) {
        if (!settled(context.phase)) return Outcome::notNow();
        WindowRef sheet = frontSheet();
        if (sheet == nullptr) return Outcome::done();
        return Outcome::fail("no sheet", "a sheet " + quote(sheetMessage(sheet)));
      };
    }
    std::string expected = line.text("the sheet's message");
    return [expected](Context& context) {
      if (!settled(context.phase)) return Outcome::notNow();
      WindowRef sheet = frontSheet();
      if (sheet == nullptr) {
        return context.phase == Phase::Idle ? Outcome::fail("a sheet " + quote(expected), "no sheet") : Outcome::notNow();
      }
      std::string found = sheetMessage(sheet);
      if (found == expected) return Outcome::done();
      return Outcome::fail("a sheet " + quote(expected), "a sheet " + quote(found));
    };
  }
  line.word("dialog");
  if (line.accept("closed")) {
    return [](Context& context) {
      if (!settled(context.phase)) return Outcome::notNow();
      WindowRef dialog = modalWindow();
      if (dialog == nullptr) return Outcome::done();
      return Outcome::fail("no modal dialog", "a dialog " + quote(windowTitle(dialog)) + " open");
    };
  }
  enum Kind { Open, Rows, Field, Label, Says, Buttons } kind;
  FieldSelector field;
  std::string text;
  long rows = 0;
  if (line.accept("open")) {
    kind = Open;
  } else if (line.accept("rows")) {
    kind = Rows;
    rows = line.integer("the number of rows");
  } else if (line.accept("field")) {
    kind = Field;
    parseField(line, field);
    text = line.text("the field's text");
  } else if (line.accept("label")) {
    kind = Label;
    long row = line.integer("a row from 1");
    field.row = int(row);
    text = line.text("the label");
  } else if (line.accept("says")) {
    kind = Says;
    text = line.text("a text the dialog shows");
  } else {
    kind = Buttons;
    std::string word = line.word("open, closed, rows, field, label, says or buttons");
    if (!line.failed() && word != "buttons") line.fail("expected open, closed, rows, field, label, says or buttons, found " + word);
    while (!line.atEnd() && !line.failed()) text += (text.empty() ? "" : " ") + quote(line.text("a button's title"));
  }
  return [kind, field, text, rows](Context& context) {
    WindowRef dialog = nullptr;
    Outcome why = dialogOrWhy(context, dialog);
    if (dialog == nullptr || why.kind != Outcome::Done) return why;
    switch (kind) {
      case Open: return Outcome::done();
      case Rows: {
        long count = long(visible(dialog, WidgetKind::EditText).size());
        if (count == rows) return Outcome::done();
        return Outcome::fail("a dialog with " + std::to_string(rows) + " rows", std::to_string(count) + " rows");
      }
      case Field: {
        std::string found;
        ControlRef f = findField(dialog, field, found);
        if (f == nullptr) return Outcome::fail(field.describe(), found);
        std::string shown = utf8Text(f);
        if (shown == text) return Outcome::done();
        return Outcome::fail(field.describe() + " showing " + quote(text), quote(shown));
      }
      case Label: {
        std::string found;
        ControlRef f = findField(dialog, field, found);
        if (f == nullptr) return Outcome::fail(field.describe(), found);
        ControlRef label = labelOf(dialog, f);
        std::string shown = label != nullptr ? utf8Text(label) : std::string();
        if (shown == text) return Outcome::done();
        return Outcome::fail("row " + std::to_string(field.row) + " labelled " + quote(text), quote(shown));
      }
      case Says: {
        std::string all;
        for (ControlRef c : visible(dialog, WidgetKind::StaticText)) {
          if (utf8Text(c) == text) return Outcome::done();
          all += (all.empty() ? "" : ", ") + quote(utf8Text(c));
        }
        return Outcome::fail("the dialog showing " + quote(text), "texts " + all);
      }
      case Buttons: {
        std::string shown;
        // Buttons in the order they stand, left to right.
        std::vector<ControlRef> buttons = visible(dialog, WidgetKind::Button);
        std::stable_sort(buttons.begin(), buttons.end(),
                         [](ControlRef a, ControlRef b) { return boundsOf(a).left < boundsOf(b).left; });
        for (ControlRef c : buttons) shown += (shown.empty() ? "" : " ") + quote(utf8Text(c));
        if (shown == text) return Outcome::done();
        return Outcome::fail("buttons " + text, shown.empty() ? "none" : shown);
      }
    }
    return Outcome::done();
  };
}

}  // namespace tb::script
