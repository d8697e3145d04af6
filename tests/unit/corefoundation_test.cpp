// Core Foundation objects: strings, numbers, arrays, booleans, reference
// counts, and the text form of the preferences store.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "toolbox/CoreFoundation.h"
#include "toolbox/internal/CFPropertyListText.h"

namespace {

// Fails the test when the body leaks or over-releases objects.
class CoreFoundationTest : public testing::Test {
 protected:
  void SetUp() override { liveAtStart_ = tb::cfLiveObjectCount(); }
  void TearDown() override {
    EXPECT_EQ(tb::cfLiveObjectCount(), liveAtStart_) << "objects alive after the test (expected as many as before)";
  }

 private:
  long liveAtStart_ = 0;
};

std::string utf8Of(CFStringRef s) {
  char buffer[512];
  return CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer : "<not convertible>";
}

// --- Strings

using CFStringTest = CoreFoundationTest;

TEST_F(CFStringTest, MacRomanTextBecomesUnicodeAndBack) {
  CFStringRef s = CFStringCreateWithCString(kCFAllocatorDefault, "\xB5 = 3.5", kCFStringEncodingMacRoman);
  ASSERT_NE(s, nullptr) << "a Mac Roman text always converts";
  EXPECT_EQ(utf8Of(s), "\xC2\xB5 = 3.5") << "UTF-8 form of a Mac Roman mu";
  EXPECT_EQ(CFStringGetLength(s), 7) << "length in characters";
  char roman[16];
  ASSERT_TRUE(CFStringGetCString(s, roman, sizeof roman, kCFStringEncodingMacRoman)) << "back to Mac Roman";
  EXPECT_STREQ(roman, "\xB5 = 3.5") << "Mac Roman bytes after the round trip";
  CFRelease(s);
}

TEST_F(CFStringTest, CreationRefusesMalformedInput) {
  EXPECT_EQ(CFStringCreateWithCString(nullptr, "a\xC3", kCFStringEncodingUTF8), nullptr)
      << "malformed UTF-8 must give no string";
  EXPECT_EQ(CFStringCreateWithCString(nullptr, nullptr, kCFStringEncodingUTF8), nullptr) << "a null text";
  EXPECT_EQ(CFStringCreateWithCString(nullptr, "abc", 0x1234), nullptr) << "an unknown encoding";
}

TEST_F(CFStringTest, LengthCountsUtf16Units) {
  const struct {
    const char* utf8;
    CFIndex length;
  } cases[] = {{"", 0}, {"abc", 3}, {"\xC2\xB5", 1}, {"\xE2\x82\xAC", 1}, {"\xF0\x9F\x98\x80", 2}};
  for (const auto& c : cases) {
    CFStringRef s = CFStringCreateWithCString(nullptr, c.utf8, kCFStringEncodingUTF8);
    EXPECT_EQ(CFStringGetLength(s), c.length) << "length of \"" << c.utf8 << "\"";
    CFRelease(s);
  }
}

TEST_F(CFStringTest, ConversionFailsCleanlyWhenItCannotFit) {
  CFStringRef s = CFStringCreateWithCString(nullptr, "hello", kCFStringEncodingUTF8);
  char small[5] = "xxxx";
  EXPECT_FALSE(CFStringGetCString(s, small, sizeof small, kCFStringEncodingUTF8)) << "5 bytes cannot hold hello+NUL";
  EXPECT_STREQ(small, "") << "the buffer is left empty on failure";
  unsigned char pascal[6];
  EXPECT_TRUE(CFStringGetPascalString(s, pascal, sizeof pascal, kCFStringEncodingUTF8)) << "6 bytes hold 5+length";
  EXPECT_EQ(std::string(reinterpret_cast<char*>(pascal + 1), pascal[0]), "hello") << "Pascal form";
  CFRelease(s);

  CFStringRef han = CFStringCreateWithCString(nullptr, "\xE4\xB8\xAD", kCFStringEncodingUTF8);
  char roman[8];
  EXPECT_FALSE(CFStringGetCString(han, roman, sizeof roman, kCFStringEncodingMacRoman))
      << "a character without a Mac Roman code must not become '?' silently";
  CFRelease(han);

  const std::string longText(300, 'a');
  CFStringRef big = CFStringCreateWithCString(nullptr, longText.c_str(), kCFStringEncodingUTF8);
  Str255 tooShort;
  EXPECT_FALSE(CFStringGetPascalString(big, tooShort, sizeof tooShort, kCFStringEncodingUTF8))
      << "300 characters do not fit a Str255";
  EXPECT_EQ(tooShort[0], 0) << "the Pascal buffer is left empty";
  CFRelease(big);
}

TEST_F(CFStringTest, PascalStringsConvertBothWays) {
  const unsigned char pascal[] = {3, 'a', 0xB9, 'b'};
  CFStringRef s = CFStringCreateWithPascalString(nullptr, pascal, kCFStringEncodingMacRoman);
  EXPECT_EQ(utf8Of(s), "a\xCF\x80" "b") << "pi in the middle";
  CFRelease(s);
}

TEST_F(CFStringTest, ConstantsAreSharedAndNeverFreed) {
  CFStringRef a = CFSTR("DataDialogCorner");
  CFStringRef b = CFSTR("DataDialogCorner");
  EXPECT_EQ(a, b) << "the same literal gives the same constant";
  CFRelease(a);
  CFRelease(a);
  EXPECT_EQ(utf8Of(a), "DataDialogCorner") << "a constant outlives any number of releases";
  CFStringRef made = CFStringCreateWithCString(nullptr, "DataDialogCorner", kCFStringEncodingUTF8);
  EXPECT_TRUE(CFEqual(a, made)) << "equal texts compare equal";
  EXPECT_FALSE(CFEqual(a, CFSTR("other"))) << "different texts differ";
  CFRelease(made);
}

// --- Numbers

using CFNumberTest = CoreFoundationTest;

TEST_F(CFNumberTest, ConversionsSaturateAndReportExactness) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    bool fromDouble;
    int64_t integer;
    double real;
    CFNumberType target;
    double expected;  // every expected value here is exact in a double
    bool exact;
  } cases[] = {
      {"short fits", false, -1, 0, kCFNumberShortType, -1, true},
      {"short too large", false, 40000, 0, kCFNumberShortType, 32767, false},
      {"short too small", false, -40000, 0, kCFNumberShortType, -32768, false},
      {"char too large", false, 300, 0, kCFNumberCharType, 127, false},
      {"int from int64 max", false, INT64_MAX, 0, kCFNumberIntType, INT32_MAX, false},
      {"long keeps 2^40", false, int64_t(1) << 40, 0, kCFNumberLongType, 1099511627776.0, true},
      {"int from 5.0", true, 0, 5.0, kCFNumberIntType, 5, true},
      {"int from 3.7 cuts", true, 0, 3.7, kCFNumberIntType, 3, false},
      {"int from -3.7 cuts", true, 0, -3.7, kCFNumberIntType, -3, false},
      {"int from 1e300", true, 0, 1e300, kCFNumberIntType, INT32_MAX, false},
      {"int from -inf", true, 0, -INFINITY, kCFNumberIntType, INT32_MIN, false},
      {"int from NaN", true, 0, nan, kCFNumberIntType, 0, false},
      {"int64 from -2^63", true, 0, -0x1p63, kCFNumberSInt64Type, -0x1p63, true},
      {"int64 from 2^63", true, 0, 0x1p63, kCFNumberSInt64Type, 9223372036854775807.0, false},
      {"double from 2^53", false, int64_t(1) << 53, 0, kCFNumberDoubleType, 0x1p53, true},
      {"double from int64 max", false, INT64_MAX, 0, kCFNumberDoubleType, 0x1p63, false},
      {"float from 0.5", true, 0, 0.5, kCFNumberFloatType, 0.5, true},
      {"float from 0.1", true, 0, 0.1, kCFNumberFloatType, double(0.1f), false},
      {"float from 1e300", true, 0, 1e300, kCFNumberFloat32Type, INFINITY, false},
  };
  for (const auto& c : cases) {
    CFNumberRef n = c.fromDouble ? CFNumberCreate(nullptr, kCFNumberDoubleType, &c.real)
                                 : CFNumberCreate(nullptr, kCFNumberSInt64Type, &c.integer);
    ASSERT_NE(n, nullptr) << c.name;
    double found = 0;
    bool exact = false;
    switch (c.target) {
      case kCFNumberShortType: {
        short v = 0;
        exact = CFNumberGetValue(n, c.target, &v);
        found = v;
        break;
      }
      case kCFNumberCharType: {
        signed char v = 0;
        exact = CFNumberGetValue(n, c.target, &v);
        found = v;
        break;
      }
      case kCFNumberIntType: {
        int v = 0;
        exact = CFNumberGetValue(n, c.target, &v);
        found = v;
        break;
      }
      case kCFNumberLongType:
      case kCFNumberSInt64Type: {
        int64_t v = 0;
        exact = CFNumberGetValue(n, c.target, &v);
        found = static_cast<double>(v);
        break;
      }
      case kCFNumberFloatType:
      case kCFNumberFloat32Type: {
        float v = 0;
        exact = CFNumberGetValue(n, c.target, &v);
        found = v;
        break;
      }
      default: {
        double v = 0;
        exact = CFNumberGetValue(n, c.target, &v);
        found = v;
      }
    }
    EXPECT_EQ(found, c.expected) << c.name << ": value";
    EXPECT_EQ(exact, c.exact) << c.name << ": exactness";
    CFRelease(n);
  }
}

TEST_F(CFNumberTest, KeepsIntegersAndRealsApart) {
  const short s = 7;
  const double d = 7;
  CFNumberRef a = CFNumberCreate(nullptr, kCFNumberShortType, &s);
  CFNumberRef b = CFNumberCreate(nullptr, kCFNumberDoubleType, &d);
  EXPECT_FALSE(CFNumberIsFloatType(a)) << "a short is an integer";
  EXPECT_TRUE(CFNumberIsFloatType(b)) << "a double is a real";
  EXPECT_EQ(CFNumberGetType(a), kCFNumberSInt64Type) << "integers are held in 64 bits";
  EXPECT_EQ(CFNumberCreate(nullptr, 99, &s), nullptr) << "an unknown number type creates nothing";
  int out = -1;
  EXPECT_FALSE(CFNumberGetValue(a, 99, &out)) << "an unknown target type converts nothing";
  EXPECT_EQ(out, -1) << "the target is untouched for an unknown type";
  CFRelease(a);
  CFRelease(b);
}

// --- Arrays and booleans

using CFArrayTest = CoreFoundationTest;

TEST_F(CFArrayTest, TypeCallbacksRetainTheValues) {
  const int one = 1;
  CFNumberRef n = CFNumberCreate(nullptr, kCFNumberIntType, &one);
  const void* values[] = {n, kCFBooleanTrue};
  CFArrayRef array = CFArrayCreate(nullptr, values, 2, &kCFTypeArrayCallBacks);
  EXPECT_EQ(CFGetRetainCount(n), 2) << "the array holds its own reference";
  CFRelease(n);
  EXPECT_EQ(CFArrayGetCount(array), 2) << "count";
  EXPECT_EQ(CFArrayGetValueAtIndex(array, 0), n) << "element 0 alive through the array";
  EXPECT_EQ(CFArrayGetValueAtIndex(array, 1), kCFBooleanTrue) << "element 1";
  EXPECT_EQ(CFArrayGetValueAtIndex(array, 2), nullptr) << "index past the end";
  EXPECT_EQ(CFArrayGetValueAtIndex(array, -1), nullptr) << "negative index";
  CFRelease(array);  // releases n too; the fixture finds a leak or a double release
}

TEST_F(CFArrayTest, NullCallbacksKeepRawValues) {
  static const int raw[2] = {4, 5};
  const void* values[] = {&raw[0], &raw[1]};
  CFArrayRef array = CFArrayCreate(nullptr, values, 2, nullptr);
  EXPECT_EQ(CFArrayGetValueAtIndex(array, 1), &raw[1]) << "raw pointer kept as given";
  CFRelease(array);
  EXPECT_EQ(CFArrayCreate(nullptr, nullptr, 3, nullptr), nullptr) << "values missing for a non-empty array";
}

TEST_F(CFArrayTest, EqualityLooksAtElements) {
  const int a = 1, b = 2;
  CFNumberRef na = CFNumberCreate(nullptr, kCFNumberIntType, &a);
  CFNumberRef nb = CFNumberCreate(nullptr, kCFNumberIntType, &b);
  const void* ab[] = {na, nb};
  const void* ba[] = {nb, na};
  CFArrayRef x = CFArrayCreate(nullptr, ab, 2, &kCFTypeArrayCallBacks);
  CFArrayRef y = CFArrayCreate(nullptr, ab, 2, &kCFTypeArrayCallBacks);
  CFArrayRef z = CFArrayCreate(nullptr, ba, 2, &kCFTypeArrayCallBacks);
  EXPECT_TRUE(CFEqual(x, y)) << "same elements in the same order";
  EXPECT_FALSE(CFEqual(x, z)) << "same elements in another order";
  EXPECT_FALSE(CFEqual(x, na)) << "an array and a number";
  EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue)) << "true";
  EXPECT_FALSE(CFBooleanGetValue(kCFBooleanFalse)) << "false";
  for (CFTypeRef cf : {CFTypeRef(na), CFTypeRef(nb), CFTypeRef(x), CFTypeRef(y), CFTypeRef(z)}) CFRelease(cf);
}

// --- The store's text form

using StoreTextTest = CoreFoundationTest;

tb::CFOwned number(int64_t v) { return tb::CFOwned(CFNumberCreate(nullptr, kCFNumberSInt64Type, &v)); }
tb::CFOwned real(double v) { return tb::CFOwned(CFNumberCreate(nullptr, kCFNumberDoubleType, &v)); }
tb::CFOwned text(const char* utf8) {
  return tb::CFOwned(CFStringCreateWithCString(nullptr, utf8, kCFStringEncodingUTF8));
}

TEST_F(StoreTextTest, ValuesAreWrittenReadably) {
  const struct {
    const char* key;
    tb::CFOwned (*make)();
    const char* line;
  } cases[] = {
      {"int", [] { return number(-5); }, "int = -5"},
      {"big", [] { return number(INT64_MIN); }, "big = -9223372036854775808"},
      {"half", [] { return real(0.5); }, "half = 0.5"},
      {"whole", [] { return real(1.0); }, "whole = 1.0"},
      {"tiny", [] { return real(1e-300); }, "tiny = 1e-300"},
      {"nan", [] { return real(NAN); }, "nan = nan"},
      {"minusInf", [] { return real(-INFINITY); }, "minusInf = -inf"},
      {"yes", [] { return tb::CFOwned(CFRetain(kCFBooleanTrue)); }, "yes = true"},
      {"quote", [] { return text("say \"hi\"\\\n\x01"); }, "quote = \"say \\\"hi\\\"\\\\\\n\\x01\""},
      {"mu", [] { return text("\xC2\xB5"); }, "mu = \"\xC2\xB5\""},
      {"key with space", [] { return number(1); }, "\"key with space\" = 1"},
  };
  for (const auto& c : cases) {
    tb::PreferenceValues values;
    values[c.key] = c.make();
    std::string written;
    ASSERT_TRUE(tb::encodePreferences(values, written)) << c.key;
    EXPECT_NE(written.find(std::string(c.line) + "\n"), std::string::npos)
        << c.key << ": expected the line " << c.line << ", found:\n" << written;

    tb::PreferenceValues readBack;
    ASSERT_TRUE(tb::decodePreferences(written, readBack)) << c.key << ": cannot read back:\n" << written;
    ASSERT_EQ(readBack.count(c.key), 1u) << c.key << ": key missing after reading back";
    const CFTypeRef original = values[c.key].get();
    const CFTypeRef found = readBack[c.key].get();
    const bool bothNaN = CFNumberIsFloatType(static_cast<CFNumberRef>(original)) &&
                         CFNumberIsFloatType(static_cast<CFNumberRef>(found)) && std::string(c.key) == "nan";
    EXPECT_TRUE(bothNaN || CFEqual(original, found)) << c.key << ": value changed on the way through the file";
  }
}

TEST_F(StoreTextTest, NestedArraysSurvive) {
  const std::string written = "a = [1, [2.5, \"x\"], [], true]\n";
  tb::PreferenceValues values;
  ASSERT_TRUE(tb::decodePreferences(written, values)) << "a nested array must read";
  std::string again;
  ASSERT_TRUE(tb::encodePreferences(values, again)) << "and write";
  EXPECT_NE(again.find(written), std::string::npos) << "expected " << written << "found " << again;
}

TEST_F(StoreTextTest, MalformedTextReadsAsNothing) {
  const char* cases[] = {
      "DataDialogCorner = [100, 40",
      "= 5",
      "key 5",
      "key = ",
      "key = 5 6",
      "key = \"unterminated",
      "key = \"bad escape \\q\"",
      "key = \"\\xZZ\"",
      "key = \"\xC3\"",
      "key = 0x10",
      "key = 1e999",
      "key = 99999999999999999999",
      "key = [1,,2]",
      "key = yes",
      "ke y = 1",
      "key = [[[[[[[[[[[[[[[[[[1]]]]]]]]]]]]]]]]]]",
  };
  for (const char* c : cases) {
    tb::PreferenceValues values;
    const std::string store = std::string("good = 1\n") + c + "\n";
    EXPECT_FALSE(tb::decodePreferences(store, values)) << "expected the store to be refused because of: " << c;
    EXPECT_TRUE(values.empty()) << "a refused store must give no values, not even the good line; line: " << c;
  }
}

TEST_F(StoreTextTest, CommentsBlankLinesAndCarriageReturnsAreIgnored) {
  tb::PreferenceValues values;
  ASSERT_TRUE(tb::decodePreferences("# note\r\n\r\n  x = 3\r\n\ty=[1]\n", values)) << "a store with comments";
  EXPECT_EQ(values.size(), 2u) << "expected the keys x and y";
}

TEST_F(StoreTextTest, ArraysOfRawPointersCannotBeWritten) {
  static const int raw = 3;
  const void* values[] = {&raw};
  tb::PreferenceValues store;
  store["raw"] = tb::CFOwned(CFArrayCreate(nullptr, values, 1, nullptr));
  std::string written;
  EXPECT_FALSE(tb::encodePreferences(store, written)) << "an array of raw pointers has no text form";
}

}  // namespace
