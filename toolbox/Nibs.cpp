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
#include "internal/WindowRecord.h"

namespace tb {

std::string resourceDirectory() {
  if (const char* dir = std::getenv("VANTOR_RESOURCES"); dir != nullptr && *dir != 0) return dir;
  return VANTOR_RESOURCE_DIR;
}

namespace {

// Splits a line into words; "quoted text" is one word.
std::vector<std::string> words(const std::string& line) {
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

bool parseNib(std::istream& in, NibRecord& nib) {
  enum { None, InMenuBar, InWindow } section = None;
  std::string line;
  NibMenuBar* bar = nullptr;
  NibWindow* window = nullptr;
  while (std::getline(in, line)) {
    std::vector<std::string> w = words(line);
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
  *outWindow = window;
  return noErr;
}
