// Script steps that act as a person: the mouse, the keyboard, menu choices
// and alert buttons. Every one posts raw input to the layer's queue or
// presses the real toolkit widget, so the program sees what a person makes.
#include <QString>
#include <memory>

#include "Events.h"
#include "TextUtils.h"
#include "internal/EventQueue.h"
#include "internal/MenuBar.h"
#include "internal/Script.h"
#include "qt/KeyMapping.h"
#include "qt/QtFrontend.h"

namespace tb::script {

namespace {

// A person's hands reach the program while it waits in its event loop or
// follows a held button; menus and alerts have steps of their own.
bool takesInput(Phase phase) { return phase == Phase::Idle || phase == Phase::Tracking; }

RawInput mouse(InputKind kind, Point where, EventModifiers modifiers) {
  RawInput in;
  in.kind = kind;
  in.where = where;
  in.modifiers = modifiers;
  return in;
}

// Menu choices post at once: the menu's own loop takes what it needs.
void post(InputKind kind, Point where, EventModifiers modifiers) { postInput(mouse(kind, where, modifiers)); }

EventModifiers parseModifierWords(Line& line) {
  EventModifiers m = 0;
  for (;;) {
    if (line.accept("cmd")) m |= cmdKey;
    else if (line.accept("shift")) m |= shiftKey;
    else if (line.accept("option")) m |= optionKey;
    else if (line.accept("control")) m |= controlKey;
    else return m;
  }
}

}  // namespace

std::function<Outcome(Context&)> parseMouseCommand(const std::string& command, Line& line) {
  EventModifiers modifiers = parseModifierWords(line);
  Place from;
  parsePlace(line, from);
  if (command != "drag") {
    InputKind kind = command == "down" ? InputKind::MouseDown : command == "up" ? InputKind::MouseUp : InputKind::MouseMove;
    bool click = command == "click";
    return [=](Context& context) {
      if (!takesInput(context.phase)) return Outcome::notNow();
      Point where;
      std::string found;
      if (!resolvePlace(from, where, found)) return Outcome::fail("a window for " + from.describe(), found);
      if (click) {
        context.input.push_back(mouse(InputKind::MouseDown, where, modifiers));
        context.input.push_back(mouse(InputKind::MouseUp, where, modifiers));
      } else {
        context.input.push_back(mouse(kind, where, modifiers));
      }
      return Outcome::yield();
    };
  }
  Place to;
  bool relative = false;
  int dh = 0, dv = 0;
  if (line.accept("by")) {
    relative = true;
    dh = int(line.integer("the horizontal distance"));
    dv = int(line.integer("the vertical distance"));
  } else if (line.accept("to")) {
    parsePlace(line, to);
  } else if (!line.failed()) {
    line.fail("expected `to PLACE` or `by DH DV` after the start of a drag");
  }
  int moves = 8;
  if (line.accept("steps")) {
    moves = int(line.integer("the number of moves"));
    if (moves < 1) line.fail("a drag needs at least 1 move");
  }
  return [=](Context& context) {
    if (!takesInput(context.phase)) return Outcome::notNow();
    Point start, end;
    std::string found;
    if (!resolvePlace(from, start, found)) return Outcome::fail("a window for " + from.describe(), found);
    if (relative) {
      end = Point{short(start.v + dv), short(start.h + dh)};
    } else if (!resolvePlace(to, end, found)) {
      return Outcome::fail("a window for " + to.describe(), found);
    }
    context.input.push_back(mouse(InputKind::MouseDown, start, modifiers));
    for (int i = 1; i <= moves; ++i) {
      Point p{short(start.v + (end.v - start.v) * i / moves), short(start.h + (end.h - start.h) * i / moves)};
      context.input.push_back(mouse(InputKind::MouseMove, p, modifiers));
    }
    context.input.push_back(mouse(InputKind::MouseUp, end, modifiers));
    return Outcome::yield();
  };
}

namespace {

struct KeyStroke {
  unsigned char charCode = 0;
  unsigned char keyCode = 0;
  EventModifiers modifiers = 0;
};

struct NamedKey {
  const char* name;
  int qtKey;
};

const NamedKey kNamedKeys[] = {
    {"up", Qt::Key_Up},         {"down", Qt::Key_Down},         {"left", Qt::Key_Left},
    {"right", Qt::Key_Right},   {"space", Qt::Key_Space},       {"return", Qt::Key_Return},
    {"enter", Qt::Key_Enter},   {"tab", Qt::Key_Tab},           {"escape", Qt::Key_Escape},
    {"delete", Qt::Key_Backspace}, {"forwarddelete", Qt::Key_Delete}, {"home", Qt::Key_Home},
    {"end", Qt::Key_End},       {"pageup", Qt::Key_PageUp},     {"pagedown", Qt::Key_PageDown},
};

// The key a person presses for one character, through the same mapping as
// the toolkit's key events; false when no key makes it.
bool strokeForCharacter(QChar c, EventModifiers modifiers, KeyStroke& stroke) {
  char16_t u = c.unicode();
  int qtKey = 0;
  if (u >= 'a' && u <= 'z') {
    qtKey = Qt::Key_A + (u - 'a');
  } else if (u >= 'A' && u <= 'Z') {
    qtKey = Qt::Key_A + (u - 'A');
    modifiers |= shiftKey;
  } else if (u > 0x20 && u < 0x7F) {
    qtKey = u;
  } else if (u == ' ') {
    qtKey = Qt::Key_Space;
  }
  MacKey key = macKeyFor(qtKey, QString(c), (modifiers & shiftKey) != 0);
  if (key.charCode == 0 && key.keyCode == 0xFF) return false;
  stroke = KeyStroke{key.charCode, key.keyCode, modifiers};
  return true;
}

void queueStroke(std::deque<RawInput>& queue, const KeyStroke& k, int repeats) {
  RawInput in;
  in.charCode = k.charCode;
  in.keyCode = k.keyCode;
  in.modifiers = k.modifiers;
  in.kind = InputKind::KeyDown;
  queue.push_back(in);
  in.kind = InputKind::AutoKey;
  for (int i = 0; i < repeats; ++i) queue.push_back(in);
  in.kind = InputKind::KeyUp;
  queue.push_back(in);
}

}  // namespace

std::function<Outcome(Context&)> parseKeyCommand(const std::string& command, Line& line) {
  if (command == "type") {
    QString text = QString::fromStdString(line.text("the text to type"));
    std::vector<KeyStroke> strokes;
    for (QChar c : text) {
      KeyStroke k;
      if (!strokeForCharacter(c, 0, k)) line.fail("no key types " + quote(QString(c).toStdString()));
      strokes.push_back(k);
    }
    return [strokes](Context& context) {
      if (!takesInput(context.phase)) return Outcome::notNow();
      for (const KeyStroke& k : strokes) queueStroke(context.input, k, 0);
      return Outcome::yield();
    };
  }
  std::string keyText = line.any("a key");
  EventModifiers modifiers = 0;
  // Modifiers come first, joined by '+': cmd+shift+n. A '+' at the end is the key itself.
  for (size_t plus; (plus = keyText.find('+')) != std::string::npos && plus + 1 < keyText.size();) {
    std::string m = keyText.substr(0, plus);
    if (m == "cmd") modifiers |= cmdKey;
    else if (m == "shift") modifiers |= shiftKey;
    else if (m == "option") modifiers |= optionKey;
    else if (m == "control") modifiers |= controlKey;
    else line.fail("unknown modifier " + m + " (cmd, shift, option or control)");
    keyText = keyText.substr(plus + 1);
  }
  KeyStroke stroke;
  bool known = false;
  for (const NamedKey& named : kNamedKeys) {
    if (keyText == named.name) {
      MacKey key = macKeyFor(named.qtKey, QString(), (modifiers & shiftKey) != 0);
      stroke = KeyStroke{key.charCode, key.keyCode, modifiers};
      known = true;
    }
  }
  QString character = QString::fromStdString(keyText);
  if (!known && character.size() == 1) known = strokeForCharacter(character[0], modifiers, stroke);
  if (!known && !line.failed()) line.fail("unknown key " + keyText + " (a character or a key name such as up, space, return)");
  int repeats = 0;
  if (line.accept("repeat")) {
    repeats = int(line.integer("the number of repeats"));
    if (repeats < 0) line.fail("the number of repeats must not be negative");
  }
  return [stroke, repeats](Context& context) {
    if (!takesInput(context.phase)) return Outcome::notNow();
    queueStroke(context.input, stroke, repeats);
    return Outcome::yield();
  };
}

namespace {

struct MenuChoice {
  bool byTitle = false;
  std::string title;  // UTF-8
  long id = 0;
  bool itemByText = false;
  std::string itemText;  // UTF-8
  long item = 0;         // 0: open the menu and close it without a choice
  // Between pressing the title and choosing the item:
  bool pressed = false;
  int index = -1;
  int itemNumber = 0;
  Point at{0, 0};
};

std::string menuName(const MenuRecord& m) { return quote(macRomanToUtf8(m.model.title)); }

}  // namespace

std::function<Outcome(Context&)> parseMenuCommand(Line& line) {
  auto choice = std::make_shared<MenuChoice>();
  if (line.nextIsQuoted()) {
    choice->byTitle = true;
    choice->title = line.text("a menu title");
  } else {
    choice->id = line.integer("a menu (its \"title\" or its number)");
  }
  if (line.nextIsQuoted()) {
    choice->itemByText = true;
    choice->itemText = line.text("a menu item");
  } else if (!line.atEnd()) {
    choice->item = line.integer("a menu item (its \"text\" or its number)");
    if (choice->item < 1) line.fail("menu items count from 1");
  }
  return [choice](Context& context) {
    MenuChoice& c = *choice;
    QtFrontend* qt = qtFrontend();
    if (qt == nullptr) return Outcome::fail("the Qt front end", "none");
    if (!c.pressed) {
      // A person pulls a menu down from the event loop only.
      if (context.phase != Phase::Idle) return Outcome::notNow();
      const auto& menus = menuBar().menus;
      c.index = -1;
      for (size_t i = 0; i < menus.size(); ++i) {
        bool match = c.byTitle ? macRomanToUtf8(menus[i]->model.title) == c.title : menus[i]->model.id == c.id;
        if (match) c.index = int(i);
      }
      if (c.index < 0) {
        std::string found = "the menus";
        for (MenuRecord* m : menus) found += " " + menuName(*m) + " (" + std::to_string(m->model.id) + ")";
        return Outcome::fail(c.byTitle ? "a menu " + quote(c.title) : "a menu " + std::to_string(c.id), found);
      }
      const MenuRecord& menu = *menus[size_t(c.index)];
      c.itemNumber = int(c.item);
      if (c.itemByText) {
        c.itemNumber = 0;
        std::string found = "the items";
        for (size_t i = 0; i < menu.model.items.size(); ++i) {
          const MenuItemModel& item = menu.model.items[i];
          if (item.separator) continue;
          if (macRomanToUtf8(item.text) == c.itemText) c.itemNumber = int(i + 1);
          found += " " + quote(macRomanToUtf8(item.text));
        }
        if (c.itemNumber == 0) return Outcome::fail("an item " + quote(c.itemText) + " in menu " + menuName(menu), found);
      } else if (c.itemNumber > int(menu.model.items.size())) {
        return Outcome::fail("an item " + std::to_string(c.itemNumber) + " in menu " + menuName(menu),
                             std::to_string(menu.model.items.size()) + " items");
      }
      // The press on the title pulls the menu down; the release comes with the choice.
      c.at = qt->menuTitleCenter(c.index);
      post(InputKind::MouseDown, c.at, 0);
      c.pressed = true;
      return Outcome::pending();
    }
    if (context.phase == Phase::Idle) {
      c.pressed = false;
      return Outcome::fail("menu " + menuName(*menuBar().menus[size_t(c.index)]) + " pulled down",
                           "the program back in its event loop with no menu open");
    }
    if (context.phase != Phase::Menu) return Outcome::notNow();
    c.pressed = false;
    int open = qt->openMenuIndex();
    if (open != c.index) {
      post(InputKind::MouseUp, c.at, 0);
      const auto& menus = menuBar().menus;
      return Outcome::fail("menu " + menuName(*menus[size_t(c.index)]) + " open",
                           open < 0 || size_t(open) >= menus.size() ? "another menu" : "menu " + menuName(*menus[size_t(open)]));
    }
    bool chosen = qt->clickMenuItem(c.itemNumber);
    post(InputKind::MouseUp, c.at, 0);
    if (c.itemNumber > 0 && !chosen) {
      const MenuRecord& menu = *menuBar().menus[size_t(c.index)];
      return Outcome::fail("item " + std::to_string(c.itemNumber) + " of menu " + menuName(menu) + " enabled",
                           "it cannot be chosen (disabled or a separator)");
    }
    return Outcome::yield();
  };
}

std::function<Outcome(Context&)> parseAlertCommand(Line& line) {
  std::string button = line.word("an alert button (ok or cancel)");
  if (!line.failed() && button != "ok" && button != "cancel") line.fail("expected ok or cancel, found " + button);
  int which = button == "cancel" ? 2 : 1;
  return [which, button](Context& context) {
    QtFrontend* qt = qtFrontend();
    if (context.phase == Phase::Idle) return Outcome::fail("an alert open for `alert " + button + "`", "no alert");
    if (context.phase != Phase::Alert) return Outcome::notNow();
    if (qt == nullptr || !qt->pressAlertButton(which)) {
      return Outcome::fail("a " + button + " button on the alert",
                           "an alert " + (qt ? quote(qt->alertMessage()) : std::string()) + " without one");
    }
    return Outcome::yield();
  };
}

}  // namespace tb::script
