// A small printf into a length-prefixed string, its floating conversions
// written by the toolkit's number text conversion.
#pragma once

#include <cstdarg>

#include "../toolbox/MacTypes.h"

// Formats into outStr (a Str255): %c, %d, %ld, %s (a Str255 pointer), %e,
// %f, %g and their l/L forms; one or two digits after % set the number of
// fraction places (13 at first) for this and every later conversion of the
// call. Stops at 255 bytes. Returns the number of conversions that produced
// text.
int PrintToString(Str255 outStr, const char* formStr, ...);
int vPrintToString(Str255 outStr, const char* formStr, va_list stackPtr);
