// The main bundle reads its information file when asked, so that a changed
// resource directory (VANTOR_RESOURCES) is seen at once.
#include "Bundles.h"

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "internal/CFPropertyListText.h"
#include "internal/Nib.h"

struct CFBundleRecord {
  std::string path;  // of the information file last read
  bool readable = false;
  tb::PreferenceValues values;
};

namespace {

void refresh(CFBundleRecord& bundle) {
  std::string path = tb::resourceDirectory() + "/Info.conf";
  std::ifstream file(path, std::ios::binary);
  bundle.path = path;
  bundle.values.clear();
  bundle.readable = false;
  if (!file) return;
  std::stringstream text;
  text << file.rdbuf();
  bundle.readable = tb::decodePreferences(text.str(), bundle.values);
}

std::string utf8Of(CFStringRef s) {
  if (s == nullptr) return {};
  std::string out(size_t(CFStringGetLength(s)) * 4 + 1, '\0');
  if (!CFStringGetCString(s, out.data(), CFIndex(out.size()), kCFStringEncodingUTF8)) return {};
  return out.c_str();
}

}  // namespace

CFBundleRef CFBundleGetMainBundle() {
  static CFBundleRecord main;
  return &main;
}

Boolean CFBundleHasInfoDictionary(CFBundleRef bundle) {
  if (bundle == nullptr) return false;
  refresh(*bundle);
  return bundle->readable;
}

CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key) {
  if (bundle == nullptr || key == nullptr) return nullptr;
  refresh(*bundle);
  auto it = bundle->values.find(utf8Of(key));
  return it != bundle->values.end() ? it->second.get() : nullptr;
}
