// Preferences of the current application through Core Foundation. A value
// of another kind than the reader expects (a string for a number, a number
// that does not fit the target, an array of other length or with other
// elements) counts as missing, so the caller keeps its default.
#include "preferences.h"

#include <cstdint>

namespace {

// Releases the copied value when the reader returns.
struct Owned {
  CFTypeRef ref;
  ~Owned() {
    if (ref != nullptr) CFRelease(ref);
  }
};

CFNumberRef asNumber(CFTypeRef value) {
  return value != nullptr && CFGetTypeID(value) == CFNumberGetTypeID() ? static_cast<CFNumberRef>(value) : nullptr;
}

// Reads a number of exactly representable value into *out.
template <class T>
bool readNumber(CFTypeRef value, CFNumberType type, T* out) {
  CFNumberRef number = asNumber(value);
  T converted;
  if (number == nullptr || !CFNumberGetValue(number, type, &converted)) return false;
  *out = converted;
  return true;
}

// The shorts of an array of exactly `count` numbers that all fit a short.
bool readShorts(CFStringRef key, short* shorts, CFIndex count) {
  Owned value{CFPreferencesCopyAppValue(key, kCFPreferencesCurrentApplication)};
  if (value.ref == nullptr || CFGetTypeID(value.ref) != CFArrayGetTypeID()) return false;
  CFArrayRef array = static_cast<CFArrayRef>(value.ref);
  if (CFArrayGetCount(array) != count) return false;
  for (CFIndex i = 0; i < count; ++i)
    if (!readNumber(CFArrayGetValueAtIndex(array, i), kCFNumberShortType, &shorts[i])) return false;
  return true;
}

Boolean writeValue(CFStringRef key, CFTypeRef value) {
  CFPreferencesSetAppValue(key, value, kCFPreferencesCurrentApplication);
  CFRelease(value);
  return CFPreferencesAppSynchronize(kCFPreferencesCurrentApplication);
}

Boolean writeShorts(CFStringRef key, const short* shorts, CFIndex count) {
  CFTypeRef numbers[3];
  for (CFIndex i = 0; i < count; ++i) numbers[i] = CFNumberCreate(kCFAllocatorDefault, kCFNumberShortType, &shorts[i]);
  CFArrayRef array = CFArrayCreate(kCFAllocatorDefault, numbers, count, &kCFTypeArrayCallBacks);
  for (CFIndex i = 0; i < count; ++i) CFRelease(numbers[i]);
  return writeValue(key, array);
}

// The channels keep their bits as signed shorts: 65535 is stored as -1.
short channelBits(unsigned short channel) { return static_cast<short>(static_cast<int16_t>(channel)); }
unsigned short channelFromBits(short bits) { return static_cast<unsigned short>(static_cast<uint16_t>(bits)); }

}  // namespace

Boolean ReadPreference(CFStringRef key, Boolean* theFlag) {
  Boolean exists = false;
  const Boolean flag = CFPreferencesGetAppBooleanValue(key, kCFPreferencesCurrentApplication, &exists);
  if (exists) *theFlag = flag;
  return exists;
}

Boolean ReadPreference(CFStringRef key, int* theValue) {
  Owned value{CFPreferencesCopyAppValue(key, kCFPreferencesCurrentApplication)};
  return readNumber(value.ref, kCFNumberIntType, theValue);
}

Boolean ReadPreference(CFStringRef key, long* theValue) {
  Owned value{CFPreferencesCopyAppValue(key, kCFPreferencesCurrentApplication)};
  return readNumber(value.ref, kCFNumberLongType, theValue);
}

Boolean ReadPreference(CFStringRef key, Point* thePt) {
  short shorts[2];
  if (!readShorts(key, shorts, 2)) return false;
  thePt->h = shorts[0];
  thePt->v = shorts[1];
  return true;
}

Boolean ReadPreference(CFStringRef key, RGBColor* theColor) {
  short shorts[3];
  if (!readShorts(key, shorts, 3)) return false;
  theColor->red = channelFromBits(shorts[0]);
  theColor->green = channelFromBits(shorts[1]);
  theColor->blue = channelFromBits(shorts[2]);
  return true;
}

Boolean WritePreference(CFStringRef key, Boolean theflag) { return WritePreference(key, static_cast<int>(theflag)); }

Boolean WritePreference(CFStringRef key, int theValue) {
  return writeValue(key, CFNumberCreate(kCFAllocatorDefault, kCFNumberIntType, &theValue));
}

Boolean WritePreference(CFStringRef key, long theValue) {
  return writeValue(key, CFNumberCreate(kCFAllocatorDefault, kCFNumberLongType, &theValue));
}

Boolean WritePreference(CFStringRef key, Point thePt) {
  const short shorts[2] = {thePt.h, thePt.v};
  return writeShorts(key, shorts, 2);
}

Boolean WritePreference(CFStringRef key, RGBColor theColor) {
  const short shorts[3] = {channelBits(theColor.red), channelBits(theColor.green), channelBits(theColor.blue)};
  return writeShorts(key, shorts, 3);
}
