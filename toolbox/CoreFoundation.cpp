// Core Foundation objects: the runtime (retain, release, type, equality),
// strings, booleans and arrays. Numbers are in CFNumber.cpp, preferences in
// CFPreferences.cpp.
#include "CoreFoundation.h"

#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "TextUtils.h"
#include "internal/CFRuntime.h"

namespace {

std::atomic<long> liveObjects{0};

// UTF-16 units of valid UTF-8: one per sequence, two for four-byte ones.
CFIndex utf16Length(const std::string& utf8) {
  CFIndex units = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++units;  // a lead byte starts a character
    if ((c & 0xF8) == 0xF0) ++units;  // beyond the basic plane: a surrogate pair
  }
  return units;
}

// The text in the requested encoding, or false when it has no form there.
bool encodeText(const std::string& utf8, CFStringEncoding encoding, std::string& out) {
  if (encoding == kCFStringEncodingUTF8) {
    out = utf8;
    return true;
  }
  if (encoding == kCFStringEncodingMacRoman) {
    out = tb::utf8ToMacRoman(utf8);
    return tb::macRomanToUtf8(out) == utf8;  // lossless only when it comes back unchanged
  }
  return false;
}

CFStringRef createFromBytes(const char* bytes, size_t length, CFStringEncoding encoding) {
  std::string text(bytes, length);
  if (encoding == kCFStringEncodingMacRoman) return tb::cfStringFromUtf8(tb::macRomanToUtf8(text));
  if (encoding == kCFStringEncodingUTF8 && tb::isValidUtf8(text)) return tb::cfStringFromUtf8(std::move(text));
  return nullptr;
}

const void* retainValue(CFAllocatorRef, const void* value) { return CFRetain(value); }
void releaseValue(CFAllocatorRef, const void* value) { CFRelease(value); }

}  // namespace

// --- Runtime

CFObject::CFObject(CFTypeID id, bool isConstant) : typeID(id), constant(isConstant) {
  if (!constant) ++liveObjects;
}

CFObject::~CFObject() {
  if (!constant) --liveObjects;
}

long tb::cfLiveObjectCount() { return liveObjects.load(); }

CFTypeRef CFRetain(CFTypeRef cf) {
  const CFObject* object = tb::cfObject(cf);
  if (object != nullptr && !object->constant) ++const_cast<CFObject*>(object)->retainCount;
  return cf;
}

void CFRelease(CFTypeRef cf) {
  const CFObject* object = tb::cfObject(cf);
  if (object == nullptr || object->constant) return;
  if (--const_cast<CFObject*>(object)->retainCount == 0) delete object;
}

CFIndex CFGetRetainCount(CFTypeRef cf) {
  const CFObject* object = tb::cfObject(cf);
  if (object == nullptr) return 0;
  return object->constant ? LONG_MAX : object->retainCount.load();
}

CFTypeID CFGetTypeID(CFTypeRef cf) {
  const CFObject* object = tb::cfObject(cf);
  return object != nullptr ? object->typeID : 0;
}

Boolean CFEqual(CFTypeRef cf1, CFTypeRef cf2) {
  if (cf1 == cf2) return true;
  if (cf1 == nullptr || cf2 == nullptr || CFGetTypeID(cf1) != CFGetTypeID(cf2)) return false;
  if (auto* a = tb::cfStringRecord(cf1)) return a->utf8 == tb::cfStringRecord(cf2)->utf8;
  if (auto* a = tb::cfNumberRecord(cf1)) {
    const CFNumberRecord* b = tb::cfNumberRecord(cf2);
    if (a->isFloat != b->isFloat) return false;
    return a->isFloat ? a->real == b->real : a->integer == b->integer;
  }
  if (auto* a = tb::cfArrayRecord(cf1)) {
    const CFArrayRecord* b = tb::cfArrayRecord(cf2);
    if (a->values.size() != b->values.size()) return false;
    for (size_t i = 0; i < a->values.size(); ++i)
      if (!CFEqual(a->values[i], b->values[i])) return false;
    return true;
  }
  return false;  // booleans are the two constants, equal only to themselves
}

namespace tb {

template <class Record>
static const Record* recordOfType(CFTypeRef cf, CFTypeID id) {
  const CFObject* object = cfObject(cf);
  return object != nullptr && object->typeID == id ? static_cast<const Record*>(object) : nullptr;
}

const CFStringRecord* cfStringRecord(CFTypeRef cf) { return recordOfType<CFStringRecord>(cf, kCFStringTypeID); }
const CFNumberRecord* cfNumberRecord(CFTypeRef cf) { return recordOfType<CFNumberRecord>(cf, kCFNumberTypeID); }
const CFArrayRecord* cfArrayRecord(CFTypeRef cf) { return recordOfType<CFArrayRecord>(cf, kCFArrayTypeID); }
const CFBooleanRecord* cfBooleanRecord(CFTypeRef cf) { return recordOfType<CFBooleanRecord>(cf, kCFBooleanTypeID); }

CFStringRef cfStringFromUtf8(std::string utf8) { return new CFStringRecord(std::move(utf8), false); }

}  // namespace tb

// --- Strings

CFTypeID CFStringGetTypeID() { return kCFStringTypeID; }

CFStringRef __CFStringMakeConstantString(const char* utf8) {
  // Interned so that a CFSTR evaluated in a loop does not grow the table.
  static std::mutex lock;
  static std::map<std::string, std::unique_ptr<CFStringRecord>> table;
  std::lock_guard<std::mutex> guard(lock);
  std::unique_ptr<CFStringRecord>& slot = table[utf8];
  if (!slot) slot = std::make_unique<CFStringRecord>(utf8, true);
  return slot.get();
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* cStr, CFStringEncoding encoding) {
  if (cStr == nullptr) return nullptr;
  return createFromBytes(cStr, std::strlen(cStr), encoding);
}

CFStringRef CFStringCreateWithPascalString(CFAllocatorRef, ConstStr255Param pStr, CFStringEncoding encoding) {
  if (pStr == nullptr) return nullptr;
  return createFromBytes(reinterpret_cast<const char*>(pStr + 1), pStr[0], encoding);
}

Boolean CFStringGetCString(CFStringRef s, char* buffer, CFIndex bufferSize, CFStringEncoding encoding) {
  if (buffer == nullptr || bufferSize <= 0) return false;
  buffer[0] = '\0';
  const CFStringRecord* record = tb::cfStringRecord(s);
  std::string text;
  if (record == nullptr || !encodeText(record->utf8, encoding, text)) return false;
  if (text.size() + 1 > static_cast<size_t>(bufferSize)) return false;
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return true;
}

Boolean CFStringGetPascalString(CFStringRef s, StringPtr buffer, CFIndex bufferSize, CFStringEncoding encoding) {
  if (buffer == nullptr || bufferSize <= 0) return false;
  buffer[0] = 0;
  const CFStringRecord* record = tb::cfStringRecord(s);
  std::string text;
  if (record == nullptr || !encodeText(record->utf8, encoding, text)) return false;
  if (text.size() > 255 || text.size() + 1 > static_cast<size_t>(bufferSize)) return false;
  std::memcpy(buffer + 1, text.data(), text.size());
  buffer[0] = static_cast<unsigned char>(text.size());
  return true;
}

CFIndex CFStringGetLength(CFStringRef s) {
  const CFStringRecord* record = tb::cfStringRecord(s);
  return record != nullptr ? utf16Length(record->utf8) : 0;
}

// --- Booleans

static const CFBooleanRecord trueRecord(true);
static const CFBooleanRecord falseRecord(false);
const CFBooleanRef kCFBooleanTrue = &trueRecord;
const CFBooleanRef kCFBooleanFalse = &falseRecord;

CFTypeID CFBooleanGetTypeID() { return kCFBooleanTypeID; }

Boolean CFBooleanGetValue(CFBooleanRef boolean) {
  const CFBooleanRecord* record = tb::cfBooleanRecord(boolean);
  return record != nullptr && record->value;
}

// --- Arrays

const CFArrayCallBacks kCFTypeArrayCallBacks = {0, retainValue, releaseValue};

CFArrayRecord::CFArrayRecord(std::vector<const void*> v, const CFArrayCallBacks* callBacks)
    : CFObject(kCFArrayTypeID, false),
      values(std::move(v)),
      release(callBacks != nullptr ? callBacks->release : nullptr),
      holdsObjects(callBacks == &kCFTypeArrayCallBacks) {
  if (callBacks != nullptr && callBacks->retain != nullptr)
    for (const void* value : values) callBacks->retain(nullptr, value);
}

CFArrayRecord::~CFArrayRecord() {
  if (release != nullptr)
    for (const void* value : values) release(nullptr, value);
}

CFTypeID CFArrayGetTypeID() { return kCFArrayTypeID; }

CFArrayRef CFArrayCreate(CFAllocatorRef, const void** values, CFIndex numValues, const CFArrayCallBacks* callBacks) {
  if (numValues < 0 || (numValues > 0 && values == nullptr)) return nullptr;
  return new CFArrayRecord(std::vector<const void*>(values, values + numValues), callBacks);
}

CFIndex CFArrayGetCount(CFArrayRef theArray) {
  const CFArrayRecord* record = tb::cfArrayRecord(theArray);
  return record != nullptr ? static_cast<CFIndex>(record->values.size()) : 0;
}

const void* CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx) {
  const CFArrayRecord* record = tb::cfArrayRecord(theArray);
  if (record == nullptr || idx < 0 || static_cast<size_t>(idx) >= record->values.size()) return nullptr;
  return record->values[static_cast<size_t>(idx)];
}
