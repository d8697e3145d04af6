// Text utilities: Pascal string copies and the Mac Roman character set.
//
// Implemented: C <-> Pascal string copies (in place too, as the classic calls
// allow), Mac Roman <-> UTF-8 and Mac Roman -> Unicode for single bytes.
// Left out: other script systems and the Text Encoding Converter.
#include "TextUtils.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

namespace {

// Unicode code points of Mac Roman bytes 0x80..0xFF, current mapping
// (0xDB is the euro sign, 0xF0 the Apple logo in the private use area).
constexpr std::array<char16_t, 128> kHighHalf = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,  // 0x80
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,  // 0x88
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,  // 0x90
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,  // 0x98
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,  // 0xA0
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,  // 0xA8
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,  // 0xB0
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,  // 0xB8
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,  // 0xC0
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,  // 0xC8
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,  // 0xD0
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,  // 0xD8
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,  // 0xE0
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,  // 0xE8
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,  // 0xF0
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,  // 0xF8
};

const std::unordered_map<char32_t, unsigned char>& unicodeToHighByte() {
  static const std::unordered_map<char32_t, unsigned char> table = [] {
    std::unordered_map<char32_t, unsigned char> t;
    for (unsigned i = 0; i < kHighHalf.size(); ++i) t[kHighHalf[i]] = static_cast<unsigned char>(0x80 + i);
    // The old mapping put the currency sign at 0xDB; accept it on the way in.
    t[0x00A4] = 0xDB;
    return t;
  }();
  return table;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at s[i]; malformed, overlong or surrogate
// sequences yield U+FFFD and consume one byte so decoding resynchronises.
char32_t decodeUtf8(const std::string& s, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  int extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + extra >= s.size()) {  // truncated sequence
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k <= extra; ++k) {
    const unsigned char c = byte(i + k);
    if ((c & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return 0xFFFD;
  }
  i += extra + 1;
  return cp;
}

}  // namespace

void CopyCStringToPascal(const char* src, Str255 dst) {
  const size_t length = std::min<size_t>(std::strlen(src), 255);
  std::memmove(dst + 1, src, length);  // memmove: the classic call works in place
  dst[0] = static_cast<unsigned char>(length);
}

void CopyPascalStringToC(ConstStr255Param src, char* dst) {
  const size_t length = src[0];
  std::memmove(dst, src + 1, length);
  dst[length] = '\0';
}

namespace tb {

char32_t macRomanToUnicode(unsigned char c) { return c < 0x80 ? c : kHighHalf[c - 0x80]; }

std::string macRomanToUtf8(const std::string& macRoman) {
  std::string out;
  out.reserve(macRoman.size());
  for (char c : macRoman) appendUtf8(out, macRomanToUnicode(static_cast<unsigned char>(c)));
  return out;
}

bool isValidUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const size_t start = i;
    // A well-formed U+FFFD is three bytes; a one-byte step means a fault.
    if (decodeUtf8(text, i) == 0xFFFD && i - start == 1) return false;
  }
  return true;
}

std::string utf8ToMacRoman(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  const auto& table = unicodeToHighByte();
  size_t i = 0;
  while (i < utf8.size()) {
    const char32_t cp = decodeUtf8(utf8, i);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    const auto found = table.find(cp);
    out += found != table.end() ? static_cast<char>(found->second) : '?';
  }
  return out;
}

}  // namespace tb
