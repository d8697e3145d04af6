// Mac Roman <-> Unicode and the Pascal string copies.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "toolbox/TextUtils.h"

namespace {

std::string hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
    out += ' ';
  }
  return out;
}

TEST(MacRomanTable, KnownBytesMapToTheirCodePoints) {
  const struct {
    unsigned char byte;
    char32_t codePoint;
  } cases[] = {
      {0x00, 0x0000}, {0x41, 0x0041}, {0x7F, 0x007F}, {0x80, 0x00C4}, {0xA5, 0x2022},
      {0xB5, 0x00B5},  // µ
      {0xB9, 0x03C0},  // π
      {0xBD, 0x03A9},  // Ω
      {0xCA, 0x00A0}, {0xD0, 0x2013}, {0xDB, 0x20AC}, {0xDE, 0xFB01}, {0xF0, 0xF8FF},
      {0xF5, 0x0131}, {0xFF, 0x02C7},
  };
  for (const auto& c : cases)
    EXPECT_EQ(tb::macRomanToUnicode(c.byte), c.codePoint)
        << "byte 0x" << std::hex << int(c.byte) << ": expected U+" << uint32_t(c.codePoint) << ", found U+"
        << uint32_t(tb::macRomanToUnicode(c.byte));
}

TEST(MacRomanTable, HighHalfIsOneToOneOutsideAscii) {
  std::set<char32_t> seen;
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const char32_t cp = tb::macRomanToUnicode(static_cast<unsigned char>(byte));
    EXPECT_GE(cp, 0x80u) << "byte 0x" << std::hex << byte << " maps into ASCII";
    EXPECT_TRUE(seen.insert(cp).second) << "byte 0x" << std::hex << byte << " shares U+" << uint32_t(cp);
  }
}

TEST(MacRomanTable, EveryByteSurvivesTheTripThroughUtf8) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  const std::string utf8 = tb::macRomanToUtf8(all);
  EXPECT_TRUE(tb::isValidUtf8(utf8)) << "the UTF-8 form of all 256 bytes is malformed";
  const std::string back = tb::utf8ToMacRoman(utf8);
  EXPECT_EQ(back, all) << "expected the 256 bytes back, found " << hex(back);
}

TEST(MacRomanTable, Utf8ToMacRomanHandlesUnmappableAndMalformedInput) {
  const struct {
    const char* name;
    std::string utf8;
    std::string macRoman;
  } cases[] = {
      {"ascii", "x=1", "x=1"},
      {"mu", "\xC2\xB5", "\xB5"},
      {"pi and omega", "\xCF\x80\xCE\xA9", "\xB9\xBD"},
      {"euro", "\xE2\x82\xAC", "\xDB"},
      {"old currency sign", "\xC2\xA4", "\xDB"},
      {"no Mac Roman form", "\xE4\xB8\xAD", "?"},
      {"outside the basic plane", "\xF0\x9F\x98\x80", "?"},
      {"truncated sequence", "a\xC3", "a?"},
      {"stray continuation byte", "a\x80z", "a?z"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"surrogate", "\xED\xA0\x80", "???"},
      {"byte never in UTF-8", "a\xFF" "b", "a?b"},
      {"empty", "", ""},
  };
  for (const auto& c : cases) {
    const std::string found = tb::utf8ToMacRoman(c.utf8);
    EXPECT_EQ(found, c.macRoman) << c.name << ": expected " << hex(c.macRoman) << ", found " << hex(found);
  }
}

TEST(MacRomanTable, RecognisesWellFormedUtf8) {
  const struct {
    std::string text;
    bool valid;
  } cases[] = {
      {"", true},
      {"plain", true},
      {"\xC2\xB5", true},
      {"\xEF\xBF\xBD", true},  // U+FFFD itself is well formed
      {"\xF4\x8F\xBF\xBF", true},
      {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
      {"\xC2", false},
      {"\xE0\x80\x80", false},
      {"\xED\xBF\xBF", false},
      {"\xB5", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(tb::isValidUtf8(c.text), c.valid) << "text " << hex(c.text) << ": expected valid=" << c.valid;
}

TEST(PascalStringConversion, CStringToPascalCopiesAndCuts) {
  const struct {
    std::string text;
    size_t length;
  } cases[] = {{"", 0}, {"abc", 3}, {std::string(255, 'x'), 255}, {std::string(300, 'y'), 255}};
  for (const auto& c : cases) {
    Str255 p;
    CopyCStringToPascal(c.text.c_str(), p);
    EXPECT_EQ(p[0], c.length) << "length byte for a text of " << c.text.size();
    EXPECT_EQ(std::string(reinterpret_cast<char*>(p + 1), p[0]), c.text.substr(0, c.length))
        << "bytes for a text of " << c.text.size();
  }
}

TEST(PascalStringConversion, PascalToCStringCopiesAndTerminates) {
  Str255 p;
  p[0] = 4;
  std::memcpy(p + 1, "a\xB5" "cd", 4);
  char c[256];
  std::memset(c, 'Z', sizeof c);
  CopyPascalStringToC(p, c);
  EXPECT_STREQ(c, "a\xB5" "cd") << "expected the four bytes and a NUL";

  p[0] = 0;
  CopyPascalStringToC(p, c);
  EXPECT_STREQ(c, "") << "an empty Pascal string gives an empty C string";
}

TEST(PascalStringConversion, BothCopiesWorkInPlace) {
  unsigned char buffer[256];
  std::strcpy(reinterpret_cast<char*>(buffer), "hello");
  CopyCStringToPascal(reinterpret_cast<char*>(buffer), buffer);
  EXPECT_EQ(buffer[0], 5) << "length byte after converting in place";
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer + 1), 5), "hello") << "text after converting in place";

  CopyPascalStringToC(buffer, reinterpret_cast<char*>(buffer));
  EXPECT_STREQ(reinterpret_cast<char*>(buffer), "hello") << "text after converting back in place";
}

}  // namespace
