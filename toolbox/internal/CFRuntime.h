// The records behind Core Foundation references, shared by the Core
// Foundation sources of the layer. Plain C++, no Qt.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../CoreFoundation.h"

enum : CFTypeID { kCFStringTypeID = 7, kCFNumberTypeID = 22, kCFArrayTypeID = 19, kCFBooleanTypeID = 21 };

// Every object starts with this base. Constants (CFSTR strings, the two
// booleans) are never freed and ignore retain and release.
struct CFObject {
  explicit CFObject(CFTypeID id, bool isConstant);
  virtual ~CFObject();
  CFObject(const CFObject&) = delete;
  CFObject& operator=(const CFObject&) = delete;

  const CFTypeID typeID;
  const bool constant;
  std::atomic<long> retainCount{1};
};

struct CFStringRecord : CFObject {
  CFStringRecord(std::string text, bool isConstant) : CFObject(kCFStringTypeID, isConstant), utf8(std::move(text)) {}
  const std::string utf8;  // always valid UTF-8
};

struct CFNumberRecord : CFObject {
  explicit CFNumberRecord(int64_t value) : CFObject(kCFNumberTypeID, false), isFloat(false), integer(value) {}
  explicit CFNumberRecord(double value) : CFObject(kCFNumberTypeID, false), isFloat(true), real(value) {}
  const bool isFloat;
  const int64_t integer = 0;
  const double real = 0;
};

struct CFBooleanRecord : CFObject {
  explicit CFBooleanRecord(bool v) : CFObject(kCFBooleanTypeID, true), value(v) {}
  const bool value;
};

struct CFArrayRecord : CFObject {
  CFArrayRecord(std::vector<const void*> v, const CFArrayCallBacks* callBacks);
  ~CFArrayRecord() override;
  const std::vector<const void*> values;
  const CFArrayReleaseCallBack release;
  const bool holdsObjects;  // made with kCFTypeArrayCallBacks: every value is a CF object
};

namespace tb {
// The record behind any reference, or nullptr.
inline const CFObject* cfObject(CFTypeRef cf) { return static_cast<const CFObject*>(cf); }
// The record when cf is of the given type, else nullptr.
const CFStringRecord* cfStringRecord(CFTypeRef cf);
const CFNumberRecord* cfNumberRecord(CFTypeRef cf);
const CFArrayRecord* cfArrayRecord(CFTypeRef cf);
const CFBooleanRecord* cfBooleanRecord(CFTypeRef cf);
// A new string holding UTF-8 text that the caller has already checked.
CFStringRef cfStringFromUtf8(std::string utf8);

// Owns one reference and releases it.
struct CFReleaser {
  void operator()(const void* cf) const { CFRelease(cf); }
};
using CFOwned = std::unique_ptr<const void, CFReleaser>;
}  // namespace tb
