// Core Foundation: the small subset the program uses, in plain C++ (no Qt),
// so that it can be built and tested on its own.
//
// Implemented:
// - Reference-counted immutable objects: strings (UTF-8 inside; created from
//   and converted to Mac Roman or UTF-8), numbers (integers of up to 64 bits
//   or doubles), arrays and the two booleans. CFSTR literals live for the
//   whole run; CFRetain/CFRelease on them do nothing.
// - CFNumberGetValue converts between number types and saturates at the
//   target's limits; its result tells whether the conversion was exact.
// - Preferences of the current application: a per-user text file
//   ($XDG_CONFIG_HOME, else ~/.config, then vantor/preferences.conf), one
//   `key = value` line per key. Values set are held until synchronised;
//   synchronising writes a temporary file and renames it over the store, so
//   the store on disk is always either the old or the new one. A store that
//   cannot be read as a whole reads as empty.
// Left out: allocators (the argument is ignored), mutable objects,
// dictionaries, the other preference domains (any host, all users) and
// everything else until a caller needs it.
//
// Departures from the platform, for safety: CFRelease(nullptr) and CFRetain
// (nullptr) do nothing, an index outside an array gives nullptr, and a
// string that is not valid in its stated encoding is refused (nullptr).
#pragma once

#include "MacTypes.h"

struct CFStringRecord;
struct CFNumberRecord;
struct CFArrayRecord;
struct CFBooleanRecord;
typedef const CFStringRecord* CFStringRef;
typedef const CFNumberRecord* CFNumberRef;
typedef const CFArrayRecord* CFArrayRef;
typedef const CFBooleanRecord* CFBooleanRef;
typedef const void* CFTypeRef;
typedef const void* CFPropertyListRef;
typedef UInt32 CFStringEncoding;
typedef long CFIndex;
typedef unsigned long CFTypeID;
typedef void* CFAllocatorRef;
inline constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;
enum { kCFStringEncodingMacRoman = 0, kCFStringEncodingUTF8 = 0x08000100 };

// --- Objects of every type
CFTypeRef CFRetain(CFTypeRef cf);
void CFRelease(CFTypeRef cf);
CFIndex CFGetRetainCount(CFTypeRef cf);
CFTypeID CFGetTypeID(CFTypeRef cf);
// Same type and same contents; arrays compare element by element.
Boolean CFEqual(CFTypeRef cf1, CFTypeRef cf2);

// --- Strings
CFTypeID CFStringGetTypeID();
// A string that lives for the whole run (CFSTR("...") in UTF-8 source).
CFStringRef __CFStringMakeConstantString(const char* utf8);
#define CFSTR(s) __CFStringMakeConstantString("" s "")

CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr, CFStringEncoding encoding);
CFStringRef CFStringCreateWithPascalString(CFAllocatorRef alloc, ConstStr255Param pStr, CFStringEncoding encoding);
// False when the buffer is too small or a character has no Mac Roman code;
// the buffer then holds an empty string.
Boolean CFStringGetCString(CFStringRef s, char* buffer, CFIndex bufferSize, CFStringEncoding encoding);
Boolean CFStringGetPascalString(CFStringRef s, StringPtr buffer, CFIndex bufferSize, CFStringEncoding encoding);
// The length in UTF-16 units, as the platform counts.
CFIndex CFStringGetLength(CFStringRef s);

// --- Numbers
typedef CFIndex CFNumberType;
enum {
  kCFNumberSInt8Type = 1,
  kCFNumberSInt16Type = 2,
  kCFNumberSInt32Type = 3,
  kCFNumberSInt64Type = 4,
  kCFNumberFloat32Type = 5,
  kCFNumberFloat64Type = 6,
  kCFNumberCharType = 7,
  kCFNumberShortType = 8,
  kCFNumberIntType = 9,
  kCFNumberLongType = 10,
  kCFNumberLongLongType = 11,
  kCFNumberFloatType = 12,
  kCFNumberDoubleType = 13,
  kCFNumberCFIndexType = 14,
};
CFTypeID CFNumberGetTypeID();
// nullptr for an unknown type.
CFNumberRef CFNumberCreate(CFAllocatorRef alloc, CFNumberType theType, const void* valuePtr);
// kCFNumberSInt64Type for integers, kCFNumberFloat64Type for floating values.
CFNumberType CFNumberGetType(CFNumberRef number);
Boolean CFNumberIsFloatType(CFNumberRef number);
// Stores the value converted to theType: integers saturate at the type's
// limits, floating values are cut toward zero (NaN gives 0). Returns true
// only when the stored value equals the number exactly.
Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void* valuePtr);

// --- Booleans
CFTypeID CFBooleanGetTypeID();
extern const CFBooleanRef kCFBooleanTrue;
extern const CFBooleanRef kCFBooleanFalse;
Boolean CFBooleanGetValue(CFBooleanRef boolean);

// --- Arrays
typedef const void* (*CFArrayRetainCallBack)(CFAllocatorRef allocator, const void* value);
typedef void (*CFArrayReleaseCallBack)(CFAllocatorRef allocator, const void* value);
// Only the retain and release callbacks are kept; description and equality
// callbacks of the platform are left out.
struct CFArrayCallBacks {
  CFIndex version;
  CFArrayRetainCallBack retain;
  CFArrayReleaseCallBack release;
};
// Retains Core Foundation objects put into the array and releases them with it.
extern const CFArrayCallBacks kCFTypeArrayCallBacks;
CFTypeID CFArrayGetTypeID();
// With null callBacks the values are kept as they are, unretained.
CFArrayRef CFArrayCreate(CFAllocatorRef alloc, const void** values, CFIndex numValues,
                         const CFArrayCallBacks* callBacks);
CFIndex CFArrayGetCount(CFArrayRef theArray);
const void* CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx);

// --- Preferences
// The current application's domain; other identifiers made of letters,
// digits, '.', '_' and '-' name their own stores beside it.
extern const CFStringRef kCFPreferencesCurrentApplication;
// A new reference the caller releases, or nullptr when the key is missing,
// the store is unreadable or there is no store at all.
CFPropertyListRef CFPreferencesCopyAppValue(CFStringRef key, CFStringRef applicationID);
// True for the boolean true, a non-zero number, and the strings "true" and
// "YES" (either case); *keyExistsAndHasValidFormat tells whether the value
// was one of these forms or their false counterparts.
Boolean CFPreferencesGetAppBooleanValue(CFStringRef key, CFStringRef applicationID,
                                        Boolean* keyExistsAndHasValidFormat);
// Holds the value (retained) until the next synchronisation; nullptr removes the key.
void CFPreferencesSetAppValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID);
// Writes the held values into the store atomically; false when that failed,
// in which case the values stay held for the next attempt.
Boolean CFPreferencesAppSynchronize(CFStringRef applicationID);

namespace tb {
// Objects created and not yet released (constants do not count); tests use
// it to find leaks.
long cfLiveObjectCount();
}  // namespace tb
