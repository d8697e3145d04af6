// The text form of a preferences store: one `key = value` line per key,
// blank lines and lines starting with # ignored.
//
//   DataDialogCorner = [100, 40]
//   "key with spaces" = "a string\n"
//   ratio = 0.25
//   enabled = true
//
// Keys are bare (letters, digits, '.', '_', '-') or quoted. Values are
// integers (64-bit), reals (with '.' or an exponent; nan, inf, -inf),
// strings in double quotes (escapes \" \\ \n \r \t \xHH; UTF-8 otherwise),
// true, false, and arrays of values in brackets.
#pragma once

#include <map>
#include <string>

#include "CFRuntime.h"

namespace tb {

using PreferenceValues = std::map<std::string, CFOwned>;  // key in UTF-8

// Whether a value can be written: a string, number, boolean or an array of
// those made with kCFTypeArrayCallBacks.
bool isEncodable(CFTypeRef value);
// False when a value is not a string, number, boolean or array of those.
bool encodePreferences(const PreferenceValues& values, std::string& text);
// False when any line is malformed; `values` is then left empty.
bool decodePreferences(const std::string& text, PreferenceValues& values);

}  // namespace tb
