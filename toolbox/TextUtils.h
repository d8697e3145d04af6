// Text utilities: Pascal strings and the Mac Roman character set, which is
// the character set of every program text; the layer converts to Unicode at
// its edge (titles, drawn text, the clipboard).
#pragma once

#include <string>

#include "MacTypes.h"

void CopyCStringToPascal(const char* src, Str255 dst);
void CopyPascalStringToC(ConstStr255Param src, char* dst);

namespace tb {
std::string macRomanToUtf8(const std::string& macRoman);
std::string utf8ToMacRoman(const std::string& utf8);  // unmappable characters become '?'
char32_t macRomanToUnicode(unsigned char c);
// Well-formed UTF-8: no overlong forms, surrogates or truncated sequences.
bool isValidUtf8(const std::string& text);
}  // namespace tb
