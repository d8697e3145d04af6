// The application's resource file is read on each request: it is small and
// tests point the resource directory elsewhere.
#include "Resources.h"

#include <QCoreApplication>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "TextUtils.h"
#include "internal/Nib.h"

namespace {

OSErr lastError = noErr;

struct Resource {
  ResType type = 0;
  short id = 0;
  std::string bytes;
};


bool parseLine(const std::vector<std::string>& w, Resource& r) {
  if (w.size() < 2 || w[0].size() != 4) return false;
  r.type = FOUR_CHAR_CODE({w[0][0], w[0][1], w[0][2], w[0][3], 0});
  try {
    r.id = short(std::stoi(w[1]));
  } catch (const std::exception&) {
    return false;
  }
  for (size_t i = 2; i < w.size(); i += 2) {
    if (i + 1 >= w.size()) return false;
    const std::string& part = w[i];
    const std::string& value = w[i + 1];
    if (part == "name") continue;
    if (part == "hex") {
      if (value.size() % 2 != 0) return false;
      for (size_t k = 0; k < value.size(); k += 2) {
        char* end = nullptr;
        std::string pair = value.substr(k, 2);
        long byte = std::strtol(pair.c_str(), &end, 16);
        if (end != pair.c_str() + 2) return false;
        r.bytes.push_back(char(byte));
      }
    } else if (part == "pstring") {
      std::string text = tb::utf8ToMacRoman(value);
      if (text.size() > 255) return false;
      r.bytes.push_back(char(text.size()));
      r.bytes += text;
    } else if (part == "cstring") {
      r.bytes += tb::utf8ToMacRoman(value);
      r.bytes.push_back('\0');
    } else {
      return false;
    }
  }
  return true;
}

// The resources of the application's file; false when it cannot be read.
bool readResources(std::vector<Resource>& out) {
  std::string name = QCoreApplication::applicationName().toStdString();
  if (name.empty()) name = "Vantor";
  std::ifstream file(tb::resourceDirectory() + "/" + name + ".rsrc");
  if (!file) return false;
  std::string line;
  while (std::getline(file, line)) {
    std::vector<std::string> w = tb::resourceWords(line);
    if (w.empty()) continue;
    Resource r;
    if (!parseLine(w, r)) return false;  // a damaged file gives nothing
    out.push_back(std::move(r));
  }
  return true;
}

Handle handleOf(const Resource& r) {
  Handle h = NewHandle(Size(r.bytes.size()));
  if (h == nullptr) {
    lastError = memFullErr;
    return nullptr;
  }
  if (!r.bytes.empty()) std::memcpy(*h, r.bytes.data(), r.bytes.size());
  lastError = noErr;
  return h;
}

}  // namespace

short Count1Resources(ResType type) {
  std::vector<Resource> all;
  if (!readResources(all)) {
    lastError = resFNotFound;
    return 0;
  }
  short count = 0;
  for (const Resource& r : all) count = short(count + (r.type == type ? 1 : 0));
  lastError = noErr;
  return count;
}

Handle Get1IndResource(ResType type, short index) {
  std::vector<Resource> all;
  if (!readResources(all)) {
    lastError = resFNotFound;
    return nullptr;
  }
  short seen = 0;
  for (const Resource& r : all) {
    if (r.type == type && ++seen == index) return handleOf(r);
  }
  lastError = resNotFound;
  return nullptr;
}

Handle Get1Resource(ResType type, short id) {
  std::vector<Resource> all;
  if (!readResources(all)) {
    lastError = resFNotFound;
    return nullptr;
  }
  for (const Resource& r : all) {
    if (r.type == type && r.id == id) return handleOf(r);
  }
  lastError = resNotFound;
  return nullptr;
}

void ReleaseResource(Handle resource) { DisposeHandle(resource); }

OSErr ResError() { return lastError; }
