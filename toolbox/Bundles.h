// Core Foundation bundles: the application's own bundle and its
// information dictionary, read from resources/Info.conf (the text form of
// the preferences store, one `key = value` line per key).
//
// Implemented: CFBundleGetMainBundle, CFBundleGetValueForInfoDictionaryKey.
// Left out: other bundles, resource URLs, localized keys.
#pragma once

#include "CoreFoundation.h"

struct CFBundleRecord;
typedef CFBundleRecord* CFBundleRef;

// The application's bundle; never null.
CFBundleRef CFBundleGetMainBundle();
// The value of an information key, owned by the bundle (not retained), or
// null when the key is missing or the information file cannot be read.
CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key);
// Whether the bundle has an information dictionary at all.
Boolean CFBundleHasInfoDictionary(CFBundleRef bundle);
