// Helpers shared by the number-formatting sources.
#pragma once

#include "../NumberFormatting.h"

namespace tb {

// A table whose token characters are all set and distinct.
bool validNumberParts(const NumberParts* parts);
inline bool isCompiled(const NumFormatString* format) {
  return format != nullptr && format->fVersion == fVNumber && format->positive.present;
}
inline bool isDigitSymbol(const NumberParts& parts, unsigned char c) {
  return c == parts.nonLeaderDigit || c == parts.zeroLeaderDigit || c == parts.spaceLeaderDigit;
}
// The exponent symbol in either case.
inline bool isExponentSymbol(const NumberParts& parts, unsigned char c) {
  auto lower = [](unsigned char x) { return (x >= 'A' && x <= 'Z') ? x - 'A' + 'a' : int(x); };
  return lower(c) == lower(parts.exponentSymbol);
}

}  // namespace tb
