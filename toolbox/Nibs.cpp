// Nibs are text files, resources/<name>.nib, read when they are opened. The
// format is described in resources/README.md.
#include "Nibs.h"

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Frontend.h"
#include "TextUtils.h"
#include "Windows.h"
#include "internal/MenuBar.h"
#include "internal/Nib.h"
#include "internal/Port.h"
#include "internal/WidgetControls.h"
#include "internal/WindowRecord.h"

namespace tb {

std::string resourceDirectory() {
  if (const char* dir = std::getenv("VANTOR_RESOURCES"); dir != nullptr && *dir != 0) return dir;
  return VANTOR_RESOURCE_DIR;
}

// Splits a line into words; "quoted text" is one word.
std::vector<std::string> resourceWords(const std::string& line) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < line.size()) {
    if (std::isspace(static_cast<unsigned char>(line[i]))) {
      ++i;
    } else if (line[i] == '#') {
      break;
    } else if (line[i] == '"') {
      size_t end = line.find('"', i + 1);
      if (end == std::string::npos) end = line.size();
      out.push_back(line.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      size_t end = i;
      while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
      out.push_back(line.substr(i, end - i));
      i = end;
    }
  }
  return out;
}

namespace {


bool parseNib(std::istream& in, NibRecord& nib) {
  enum { None, InMenuBar, InWindow } section = None;
  std::string line;
  NibMenuBar* bar = nullptr;
  NibWindow* window = nullptr;
  while (std::getline(in, line)) {
    std::vector<std::string> w = resourceWords(line);
    if (w.empty()) continue;
    const std::string& key = w[0];
    if (key == "end") {
      section = None;
    } else if (key == "menubar" && w.size() == 2) {
      section = InMenuBar;
      bar = &nib.menuBars[w[1]];
    } else if (key == "window" && w.size() == 2) {
      section = InWindow;
      window = &nib.windows[w[1]];
      window->name = w[1];
    } else if (section == InMenuBar && key == "menu" && w.size() == 3) {
      MenuModel menu;
      menu.id = MenuID(std::stoi(w[1]));
      menu.title = utf8ToMacRoman(w[2]);
      bar->menus.push_back(menu);
    } else if (section == InMenuBar && key == "item" && w.size() >= 2 && !bar->menus.empty()) {
      MenuItemModel item;
      item.text = utf8ToMacRoman(w[1]);
      for (size_t i = 2; i < w.size(); ++i) {
        if (w[i] == "key" && i + 1 < w.size()) item.commandKey = w[++i][0];
        else if (w[i] == "disabled") item.enabled = false;
        else return false;
      }
      bar->menus.back().items.push_back(item);
    } else if (section == InMenuBar && key == "separator" && !bar->menus.empty()) {
      MenuItemModel item;
      item.separator = true;
      item.enabled = false;
      bar->menus.back().items.push_back(item);
    } else if (section == InWindow && key == "size" && w.size() == 3) {
      window->width = std::stoi(w[1]);
      window->height = std::stoi(w[2]);
    } else if (section == InWindow && key == "class" && w.size() == 2) {
      window->plain = w[1] == "plain";
    } else if (section == InWindow && key == "title" && w.size() == 2) {
      window->title = utf8ToMacRoman(w[1]);
    } else if (section == InWindow && key == "background" && w.size() == 4) {
      window->background = RGBColor{UInt16(std::stoi(w[1])), UInt16(std::stoi(w[2])), UInt16(std::stoi(w[3]))};
    } else if (section == InWindow) {
      window->extra.push_back(w);
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

// control SIG ID KIND "text" rect TOP LEFT BOTTOM RIGHT [options]
bool createNibControl(WindowRef window, const std::vector<std::string>& w) {
  if (w.size() < 10 || w[1].size() != 4 || w[5] != "rect") return false;
  ControlID id{FOUR_CHAR_CODE({w[1][0], w[1][1], w[1][2], w[1][3], 0}), std::stoi(w[2])};
  const std::string& kind = w[3];
  Rect r{short(std::stoi(w[6])), short(std::stoi(w[7])), short(std::stoi(w[8])), short(std::stoi(w[9]))};
  SInt32 minimum = 0, maximum = 100, value = 0;
  UInt32 command = 0;
  bool bottom = false, isDefault = false, isCancel = false, hidden = false, right = false;
  for (size_t i = 10; i < w.size(); ++i) {
    const std::string& option = w[i];
    bool hasArgument = i + 1 < w.size();
    if (option == "bottom") bottom = true;
    else if (option == "default") isDefault = true;
    else if (option == "cancel") isCancel = true;
    else if (option == "hidden") hidden = true;
    else if (option == "right") right = true;
    else if (option == "min" && hasArgument) minimum = std::stoi(w[++i]);
    else if (option == "max" && hasArgument) maximum = std::stoi(w[++i]);
    else if (option == "value" && hasArgument) value = std::stoi(w[++i]);
    else if (option == "command" && hasArgument && w[i + 1].size() == 4) {
      const std::string& c = w[++i];
      command = FOUR_CHAR_CODE({c[0], c[1], c[2], c[3], 0});
    } else return false;
  }
  CFStringRef text = CFStringCreateWithCString(nullptr, w[4].c_str(), kCFStringEncodingUTF8);
  if (text == nullptr) return false;
  ControlRef control = nullptr;
  OSStatus err = paramErr;
  if (kind == "button") err = CreatePushButtonControl(window, &r, text, &control);
  else if (kind == "edittext") err = CreateEditUnicodeTextControl(window, &r, text, false, nullptr, &control);
  else if (kind == "statictext") err = CreateStaticTextControl(window, &r, text, nullptr, &control);
  else if (kind == "arrows") err = CreateLittleArrowsControl(window, &r, value, minimum, maximum, 1, &control);
  CFRelease(text);
  if (err != noErr) return false;
  SetControlID(control, &id);
  if (command != 0) SetControlCommandID(control, command);
  if (bottom) bindToBottom(control);
  if (right) alignStaticTextRight(control);
  if (isDefault) SetWindowDefaultButton(window, control);
  if (isCancel) SetWindowCancelButton(window, control);
  if (hidden) HideControl(control);
  return true;
}

}  // namespace tb

OSStatus CreateNibReference(CFStringRef nibName, IBNibRef* outNibRef) {
  *outNibRef = nullptr;
  char name[256];
  if (nibName == nullptr || !CFStringGetCString(nibName, name, sizeof name, kCFStringEncodingUTF8)) return paramErr;
  std::ifstream file(tb::resourceDirectory() + "/" + name + ".nib");
  if (!file) return -43;  // file not found
  auto* nib = new NibRecord;
  try {
    if (!tb::parseNib(file, *nib)) {
      delete nib;
      return paramErr;
    }
  } catch (const std::exception&) {  // a number that does not read
    delete nib;
    return paramErr;
  }
  *outNibRef = nib;
  return noErr;
}

void DisposeNibReference(IBNibRef nibRef) { delete nibRef; }

OSStatus SetMenuBarFromNib(IBNibRef nibRef, CFStringRef name) {
  char key[256];
  if (nibRef == nullptr || !CFStringGetCString(name, key, sizeof key, kCFStringEncodingUTF8)) return paramErr;
  auto it = nibRef->menuBars.find(key);
  if (it == nibRef->menuBars.end() || it->second.menus.empty()) return -10960;  // no such object in the nib
  tb::installMenuBar(it->second.menus);
  return noErr;
}

OSStatus CreateWindowFromNib(IBNibRef nibRef, CFStringRef name, WindowRef* outWindow) {
  *outWindow = nullptr;
  char key[256];
  if (nibRef == nullptr || !CFStringGetCString(name, key, sizeof key, kCFStringEncodingUTF8)) return paramErr;
  auto it = nibRef->windows.find(key);
  if (it == nibRef->windows.end()) return -10960;
  const NibWindow& nw = it->second;
  // Nib windows open centred on the usable desktop.
  int deskW = tb::frontend().desktopWidth(), deskH = tb::frontend().desktopHeight();
  int top = GetMBarHeight() + std::max(0, (deskH - GetMBarHeight() - nw.height) / 3);
  int left = std::max(0, (deskW - nw.width) / 2);
  Rect content{short(top), short(left), short(top + nw.height), short(left + nw.width)};
  WindowRef window;
  CreateNewWindow(nw.plain ? kAlertWindowClass : kMovableModalWindowClass, kWindowNoAttributes, &content, &window);
  window->port.bg = nw.background;
  window->port.image.fill(tb::toQColor(nw.background));
  window->title = nw.title;
  for (const std::vector<std::string>& line : nw.extra) {
    bool made = true;
    try {
      made = line.empty() || line[0] != "control" || tb::createNibControl(window, line);
    } catch (const std::exception&) {  // a number that does not read
      made = false;
    }
    if (!made) {
      DisposeWindow(window);
      return paramErr;  // a control line that does not read
    }
  }
  *outWindow = window;
  return noErr;
}
