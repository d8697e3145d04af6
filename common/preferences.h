// Small values kept between runs in the application's preferences.
// Readers return true only when a value of the expected kind was found and
// stored into the target, which is otherwise left as it was. Writers return
// true when the value reached permanent storage.
#pragma once

#include "../toolbox/CoreFoundation.h"

Boolean ReadPreference(CFStringRef key, Boolean* theFlag);
Boolean ReadPreference(CFStringRef key, int* theValue);
Boolean ReadPreference(CFStringRef key, long* theValue);
Boolean ReadPreference(CFStringRef key, Point* thePt);  // stored as [h, v]
Boolean ReadPreference(CFStringRef key, RGBColor* theColor);  // stored as [red, green, blue], 16-bit signed

Boolean WritePreference(CFStringRef key, Boolean theflag);  // stored as the number 0 or 1
Boolean WritePreference(CFStringRef key, int theValue);
Boolean WritePreference(CFStringRef key, long theValue);
Boolean WritePreference(CFStringRef key, Point thePt);
Boolean WritePreference(CFStringRef key, RGBColor theColor);
