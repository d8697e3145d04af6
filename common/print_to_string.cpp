// PrintToString: the conversions of a printf that the dialogs and titles
// need, into a Str255, with the toolkit's own number forms.
#include "print_to_string.h"

#include <algorithm>
#include <cstring>

#include "../toolbox/NumberFormatting.h"
#include "doubletostring.h"
#include "utilities.h"

namespace {

constexpr int kStartPlaces = 13;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int PrintToString(Str255 outStr, const char* formStr, ...) {
  va_list args;
  va_start(args, formStr);
  const int count = vPrintToString(outStr, formStr, args);
  va_end(args);
  return count;
}

int vPrintToString(Str255 outStr, const char* formStr, va_list stackPtr) {
  int length = 0;
  int count = 0;
  short places = kStartPlaces;
  const char* p = formStr != nullptr ? formStr : "";
  while (*p != '\0' && length < 255) {
    if (*p != '%') {
      outStr[1 + length++] = static_cast<unsigned char>(*p++);
      continue;
    }
    ++p;
    if (isDigit(*p)) {
      places = static_cast<short>(*p++ - '0');
      if (isDigit(*p)) places = static_cast<short>(places * 10 + (*p++ - '0'));
    }
    char conversion = *p;
    const bool longForm = conversion == 'l' || conversion == 'L';
    if (longForm) conversion = *++p;
    if (conversion == '\0') break;  // a % or %l at the very end
    ++p;
    // After l only d and the floating letters convert.
    if (longForm && std::strchr("defg", conversion) == nullptr) conversion = 0;

    Str255 piece;
    piece[0] = 0;
    switch (conversion) {
      case 'c':
        piece[0] = 1;
        piece[1] = static_cast<unsigned char>(va_arg(stackPtr, int));
        break;
      case 'd':
        NumToString(va_arg(stackPtr, int), piece);
        break;
      case 'e':
      case 'f':
      case 'g':
        ConvertDoubleToString(va_arg(stackPtr, double), piece, places);
        break;
      case 's':
        // A null pointer produces nothing instead of a crash.
        if (ConstStr255Param text = va_arg(stackPtr, ConstStr255Param); text != nullptr) pStrCopy(text, piece);
        break;
      default:
        break;  // no conversion: the byte is consumed, no argument is read
    }
    const int room = 255 - length;
    const int taken = std::min<int>(piece[0], room);
    std::memcpy(outStr + 1 + length, piece + 1, static_cast<size_t>(taken));
    length += taken;
    if (piece[0] > 0) ++count;
  }
  outStr[0] = static_cast<unsigned char>(length);
  return count;
}
