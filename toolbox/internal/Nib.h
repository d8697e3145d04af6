// A parsed nib file.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "../Frontend.h"

struct NibMenuBar {
  std::vector<tb::MenuModel> menus;
};

struct NibWindow {
  std::string name;
  std::string title;  // Mac Roman
  int width = 200;
  int height = 100;
  bool plain = false;  // no title bar
  RGBColor background{65535, 65535, 65535};
  std::vector<std::vector<std::string>> extra;  // lines for the window's controls
};

struct NibRecord {
  std::map<std::string, NibMenuBar> menuBars;
  std::map<std::string, NibWindow> windows;
};

namespace tb {
std::string resourceDirectory();
// Splits a line of a resource file into words; "quoted text" is one word
// and # starts a comment.
std::vector<std::string> resourceWords(const std::string& line);
}
