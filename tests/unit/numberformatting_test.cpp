// The number format language: compiling formats, writing numbers through
// them and reading texts back.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "toolbox/NumberFormatting.h"

namespace {

NumberParts usParts() {
  Handle table = nullptr;
  long offset = -1, length = 0;
  GetIntlResourceTable(smSystemScript, iuNumberPartsTable, &table, &offset, &length);
  NumberParts parts{};
  if (table != nullptr && length >= long(sizeof parts)) std::memcpy(&parts, *table + offset, sizeof parts);
  return parts;
}

void toPascal(const std::string& text, Str255 out) {
  out[0] = static_cast<unsigned char>(std::min<size_t>(text.size(), 255));
  std::memcpy(out + 1, text.data(), out[0]);
}

std::string fromPascal(ConstStr255Param p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

FormatStatus compile(const std::string& pattern, NumFormatString& format) {
  const NumberParts parts = usParts();
  Str255 text;
  toPascal(pattern, text);
  return StringToFormatRec(text, &parts, &format);
}

struct Written {
  FormatStatus status;
  std::string text;
};

Written write(const std::string& pattern, long double value) {
  NumFormatString format;
  const FormatStatus compiled = compile(pattern, format);
  if (compiled != fFormatOK) return {compiled, "<format did not compile>"};
  const NumberParts parts = usParts();
  Str255 out;
  const FormatStatus status = ExtendedToString(&value, &format, &parts, out);
  return {status, fromPascal(out)};
}

struct Read {
  FormatStatus status;
  long double value;
};

Read read(const std::string& pattern, const std::string& text, long double untouched = 42) {
  NumFormatString format;
  const FormatStatus compiled = compile(pattern, format);
  if (compiled != fFormatOK) return {compiled, untouched};
  const NumberParts parts = usParts();
  Str255 source;
  toPascal(text, source);
  long double value = untouched;
  const FormatStatus status = StringToExtended(source, &format, &parts, &value);
  return {status, value};
}

const char* const kFixed13 = "###,##0.#############";
const char* const kExponent13 = "#.#############e+###";

// --- The number-parts table

TEST(NumberParts, SystemTableHasUsConventions) {
  const NumberParts parts = usParts();
  EXPECT_EQ(parts.version, curNumberPartsVersion) << "table version";
  EXPECT_EQ(parts.decimalSeparator, '.') << "decimal separator";
  EXPECT_EQ(parts.thousandsSeparator, ',') << "thousands separator";
  EXPECT_EQ(parts.minusSign, '-') << "minus sign";
  EXPECT_EQ(parts.plusSign, '+') << "plus sign";
  EXPECT_EQ(parts.exponentSymbol, 'e') << "exponent symbol";
}

TEST(NumberParts, OtherTablesDoNotExistAndTheTableCannotBeSpoilt) {
  Handle table = reinterpret_cast<Handle>(1);
  long offset = -1, length = -1;
  GetIntlResourceTable(smSystemScript, iuWordWrapTable, &table, &offset, &length);
  EXPECT_EQ(table, nullptr) << "only the number-parts table exists";
  EXPECT_EQ(length, 0) << "length of a missing table";

  GetIntlResourceTable(smSystemScript, iuNumberPartsTable, &table, &offset, &length);
  ASSERT_NE(table, nullptr) << "number-parts table";
  reinterpret_cast<NumberParts*>(*table)->decimalSeparator = ',';  // a careless caller
  EXPECT_EQ(usParts().decimalSeparator, '.') << "the next caller must get the US table again";
}

TEST(NumberParts, FaultyTablesAreRefused) {
  NumberParts duplicate = usParts();
  duplicate.thousandsSeparator = '.';
  NumberParts oldVersion = usParts();
  oldVersion.version = 0;
  Str255 pattern;
  toPascal("#.#", pattern);
  NumFormatString format;
  for (const NumberParts* parts : {&duplicate, &oldVersion, static_cast<NumberParts*>(nullptr)})
    EXPECT_EQ(StringToFormatRec(pattern, parts, &format), fBadPartsTable) << "a faulty table must be refused";
}

// --- Compiling formats

TEST(FormatCompiler, CanonicalFormatsCompileToTheirParts) {
  NumFormatString f;
  ASSERT_EQ(compile(kFixed13, f), fFormatOK) << kFixed13;
  EXPECT_EQ(f.positive.integerCount, 6) << "integer digit symbols of " << kFixed13;
  EXPECT_EQ(f.positive.fractionCount, 13) << "fraction digit symbols of " << kFixed13;
  EXPECT_TRUE(f.positive.grouping) << "grouping of " << kFixed13;
  EXPECT_FALSE(f.positive.hasExponent) << "exponent of " << kFixed13;
  EXPECT_FALSE(f.negative.present || f.zero.present) << "only one section in " << kFixed13;

  ASSERT_EQ(compile(kExponent13, f), fFormatOK) << kExponent13;
  EXPECT_EQ(f.positive.integerCount, 1) << "integer digit symbols of " << kExponent13;
  EXPECT_EQ(f.positive.fractionCount, 13) << "fraction digit symbols of " << kExponent13;
  EXPECT_TRUE(f.positive.hasExponent && f.positive.exponentSignAlways) << "e+ exponent of " << kExponent13;
  EXPECT_EQ(f.positive.exponentCount, 3) << "exponent digit symbols of " << kExponent13;

  ASSERT_EQ(compile("'$'#,##0.00;(#,##0.00);'none'0", f), fFormatOK) << "three sections with literals";
  EXPECT_EQ(std::string(f.positive.prefix, f.positive.prefixLength), "$") << "prefix of the positive section";
  EXPECT_EQ(std::string(f.negative.prefix, f.negative.prefixLength), "(") << "prefix of the negative section";
  EXPECT_EQ(std::string(f.negative.suffix, f.negative.suffixLength), ")") << "suffix of the negative section";
  EXPECT_EQ(std::string(f.zero.prefix, f.zero.prefixLength), "none") << "prefix of the zero section";
}

TEST(FormatCompiler, FaultyFormatsReportTheirFault) {
  const struct {
    std::string pattern;
    FormatStatus status;
  } cases[] = {
      {"", fEmptyFormatString},
      {";#", fEmptyFormatString},
      {"#.#.#", fExtraDecimal},
      {"#e+#e+#", fExtraExp},
      {"#%%", fExtraPercent},
      {"#;#;#;#", fExtraSeparator},
      {"'abc", fMissingDelimiter},
      {"#\\", fMissingLiteral},
      {"#'-'#", fOutOfSynch},
      {"#e+", fOutOfSynch},
      {"'text only'", fOutOfSynch},
      {"#.#,#", fOutOfSynch},
      {"#e+#.#", fOutOfSynch},
      {std::string(41, '#'), fFormatOverflow},
      {"#e+######", fFormatOverflow},
      {"'" + std::string(40, 'x') + "'#", fFormatOverflow},
  };
  for (const auto& c : cases) {
    NumFormatString f;
    EXPECT_EQ(compile(c.pattern, f), c.status) << "format \"" << c.pattern << "\"";
    long double value = 1;
    const NumberParts parts = usParts();
    Str255 out;
    EXPECT_EQ(ExtendedToString(&value, &f, &parts, out), fEmptyFormatString)
        << "a record that failed to compile must not format; format \"" << c.pattern << "\"";
  }
}

TEST(FormatCompiler, QuotesAndEscapesHideTokens) {
  NumFormatString f;
  ASSERT_EQ(compile("'a;b.'#\\;", f), fFormatOK) << "quoted ; and . and an escaped ;";
  EXPECT_FALSE(f.negative.present) << "a quoted ; must not start a section";
  EXPECT_EQ(std::string(f.positive.prefix, f.positive.prefixLength), "a;b.") << "quoted prefix";
  EXPECT_EQ(std::string(f.positive.suffix, f.positive.suffixLength), ";") << "escaped suffix";
}

// --- Writing

TEST(ExtendedToString, WritesThroughFormats) {
  const struct {
    const char* pattern;
    long double value;
    const char* text;
  } cases[] = {
      {kFixed13, 1234.5, "1,234.5"},
      {kFixed13, 0.5, "0.5"},
      {kFixed13, 3.5699456, "3.5699456"},
      {kFixed13, 1.0 / 3.0, "0.3333333333333"},
      {kFixed13, 0.1 + 0.2, "0.3"},
      {kFixed13, -1234.5, "-1,234.5"},
      {kFixed13, 100000, "100,000"},
      {kFixed13, 1234567.25, "1,234,567.25"},  // more integer digits than symbols: all shown
      {kFixed13, 0, "0"},
      {kFixed13, -0.0, "0"},
      {kFixed13, -4e-14, "0"},  // rounds to zero: no minus sign
      {kFixed13, 0.99999999999999, "1"},
      {"###,###", 1234.4, "1,234"},
      {"###,###", 999.6, "1,000"},
      {"###,###", 0.3, "0"},  // nothing would be shown: a zero stands in
      {"###,###", 2.5, "2"},  // ties go to the even digit, as printf does
      {"0.00", 1.5, "1.50"},
      {"#.##", 0.5, ".5"},
      {"^^^0.0^", 5.2, "   5.2 "},
      {"^^^0.0^", -5.2, "   -5.2 "},  // padding first, so the sign stays with the digits
      {"0^^", 5, "005"},                // from the leftmost 0 on, zeros: no space between digits
      {"^0#", 5, " 05"},
      {"^^^,^^0", 12345, " 12,345"},
      {"0.0e+^0", 12345, "1.2e+4"},  // no spaces inside an exponent
      {"^^", 0, " 0"},  // never without a digit
      {"^.^", 0, "0"},
      {"'$'#,##0.00", 1234.5, "$1,234.50"},
      {"'$'#,##0.00", -1234.5, "-$1,234.50"},
      {"#,##0.00;(#,##0.00)", -5, "(5.00)"},
      {"#,##0.00;(#,##0.00)", 5, "5.00"},
      {"#,##0.00;(#,##0.00)", -0.001, "0.00"},  // rounds to zero: not a negative zero
      {"#.#;-#.#;'zero'0", 0, "zero0"},
      {"#0%", 0.25, "25%"},
      {"#0' km'", 12, "12 km"},
      {kExponent13, 0.0000025, "2.5e-6"},
      {kExponent13, 123456.5, "1.234565e+5"},
      {kExponent13, 0, "0e+0"},
      {kExponent13, -2.5e-6, "-2.5e-6"},
      {kExponent13, 1e300, "1e+300"},
      {kExponent13, 999999.99999999999, "1e+6"},
      {kExponent13, 1e4000L, "1e+4000"},
      {"#.##e-##", 12345, "1.23e4"},
      {"#.##e-##", 0.0012, "1.2e-3"},
      {"0.00E+00", 12345, "1.23E+04"},
      {"#.e+###", 7.7, "8e+0"},
  };
  for (const auto& c : cases) {
    const Written w = write(c.pattern, c.value);
    EXPECT_EQ(w.status, fFormatOK) << "format \"" << c.pattern << "\", value " << double(c.value);
    EXPECT_EQ(w.text, c.text) << "format \"" << c.pattern << "\", value " << double(c.value);
  }
}

TEST(ExtendedToString, ValuesThatCannotBeWritten) {
  const long double inf = std::numeric_limits<long double>::infinity();
  const struct {
    const char* pattern;
    long double value;
    FormatStatus status;
    const char* text;
  } cases[] = {
      {kFixed13, std::numeric_limits<long double>::quiet_NaN(), fFormStrIsNAN, "NaN"},
      {kFixed13, inf, fFormatOverflow, "Inf"},
      {kExponent13, -inf, fFormatOverflow, "-Inf"},
      {"###,##0.##", 1e300, fFormatOverflow, ""},  // no room for 301 digits
      {"###,##0.##", 1e200, fFormatOverflow, ""},  // 201 digits and 66 separators
      {"#%", std::numeric_limits<long double>::max(), fFormatOverflow, ""},
  };
  for (const auto& c : cases) {
    const Written w = write(c.pattern, c.value);
    EXPECT_EQ(w.status, c.status) << "format \"" << c.pattern << "\", value " << double(c.value);
    EXPECT_EQ(w.text, c.text) << "format \"" << c.pattern << "\", value " << double(c.value);
  }
}

// --- Reading

TEST(StringToExtended, ReadsTextsExactlyOrAsBestGuess) {
  const struct {
    const char* pattern;
    std::string text;
    FormatStatus status;
    long double value;
  } cases[] = {
      {kFixed13, "1,234.5", fFormatOK, 1234.5L},
      {kFixed13, "1234.5", fFormatOK, 1234.5L},
      {kFixed13, "0.5", fFormatOK, 0.5L},
      {kFixed13, ".5", fFormatOK, 0.5L},
      {kFixed13, "5.", fFormatOK, 5},
      {kFixed13, "007", fFormatOK, 7},
      {kFixed13, "-3.25", fFormatOK, -3.25L},
      {kFixed13, "+3.25", fBestGuess, 3.25L},
      {kFixed13, " 3.25 ", fBestGuess, 3.25L},
      {kFixed13, "1234567", fBestGuess, 1234567},
      {kFixed13, "1,234,567", fBestGuess, 1234567},
      {kFixed13, "0.12345678901234", fBestGuess, 0.12345678901234L},
      {kFixed13, "2.5e-6", fBestGuess, 2.5e-6L},
      {"###,###", "1,234", fFormatOK, 1234},
      {"###,###", "3.7", fBestGuess, 3.7L},
      {kExponent13, "2.5e-6", fFormatOK, 2.5e-6L},
      {kExponent13, "2.5E-6", fFormatOK, 2.5e-6L},
      {kExponent13, "2.5e+6", fFormatOK, 2.5e6L},
      {kExponent13, "2.5e6", fBestGuess, 2.5e6L},
      {kExponent13, "25e-7", fBestGuess, 2.5e-6L},
      {kExponent13, "2.5", fBestGuess, 2.5L},
      {kExponent13, "1e+4000", fBestGuess, 1e4000L},  // more exponent digits than symbols
      {"#.##e-##", "1.5e+3", fBestGuess, 1500},
      {"'$'#,##0.00", "$1,234.50", fFormatOK, 1234.5L},
      {"'$'#,##0.00", "-$5.00", fFormatOK, -5},
      {"'$'#,##0.00", "1234.5", fBestGuess, 1234.5L},
      {"#,##0.00;(#,##0.00)", "(5.00)", fFormatOK, -5},
      {"#,##0.00;(#,##0.00)", "-5", fBestGuess, -5},
      {"#0%", "25%", fFormatOK, 0.25L},
      {"#0' km'", "12 km", fFormatOK, 12},
      {"^^^0.0^", "   -5.2 ", fFormatOK, -5.2L},  // the format's own padding
      {"###", " 5", fBestGuess, 5},
  };
  for (const auto& c : cases) {
    const Read r = read(c.pattern, c.text);
    EXPECT_EQ(r.status, c.status) << "text \"" << c.text << "\" through \"" << c.pattern << "\"";
    EXPECT_LE(std::fabs(r.value - c.value), std::fabs(c.value) * 1e-15L)
        << "text \"" << c.text << "\" through \"" << c.pattern << "\": expected " << c.value << ", found " << r.value;
  }
}

TEST(StringToExtended, RefusesWhatIsNotANumberAndLeavesTheTarget) {
  const struct {
    std::string text;
    FormatStatus status;
  } cases[] = {
      {"", fSpuriousChars},
      {".", fSpuriousChars},
      {"-", fSpuriousChars},
      {"abc", fSpuriousChars},
      {"nan", fSpuriousChars},
      {"inf", fSpuriousChars},
      {"-Inf", fSpuriousChars},
      {"\xB5", fSpuriousChars},
      {"3 4", fSpuriousChars},
      {"0,5", fOutOfSynch},  // a European decimal comma is not a thousands separator
      {"12,34", fOutOfSynch},
      {"1,234,56", fOutOfSynch},
      {",123", fOutOfSynch},
      {"1,,234", fOutOfSynch},
      {"1.5,3", fOutOfSynch},
      {"1.2.3", fExtraDecimal},
      {"1e5.5", fExtraDecimal},
      {"1e5e5", fExtraExp},
      {"1e", fOutOfSynch},
      {"1e+", fOutOfSynch},
      {"1e+99999", fFormatOverflow},
      {"1e-99999", fFormatOverflow},
      {"1e+" + std::string(250, '9'), fFormatOverflow},
  };
  for (const char* pattern : {kFixed13, kExponent13}) {
    for (const auto& c : cases) {
      const Read r = read(pattern, c.text, 42);
      EXPECT_EQ(r.status, c.status) << "text \"" << c.text << "\" through \"" << pattern << "\"";
      EXPECT_EQ(double(r.value), 42.0) << "text \"" << c.text << "\" must leave the target untouched";
    }
  }
}

TEST(StringToExtended, RefusesUncompiledRecordsAndFaultyTables) {
  NumFormatString empty{};
  const NumberParts parts = usParts();
  Str255 text;
  toPascal("1", text);
  long double value = 7;
  EXPECT_EQ(StringToExtended(text, &empty, &parts, &value), fEmptyFormatString) << "an uncompiled record";
  NumberParts bad = parts;
  bad.version = 9;
  NumFormatString f;
  ASSERT_EQ(compile("#", f), fFormatOK);
  EXPECT_EQ(StringToExtended(text, &f, &bad, &value), fBadPartsTable) << "a faulty parts table";
  EXPECT_EQ(double(value), 7.0) << "the target stays untouched";
}

// What the writer produces reads back, to the digits it shows: writing the
// value read gives the same text again.
TEST(NumberFormatRoundTrip, WrittenTextsReadBackToTheDigitsShown) {
  const long double values[] = {0.001L, 0.5L, 1, 3.5699456L, 1234.5L, 99999.999L, 100000, -0.25L,
                                1.0L / 3, 2.5e-6L, 6.02214076e23L, -1e-300L, 123456.5L, 1e4000L};
  for (const char* pattern : {kFixed13, kExponent13, "#.##e-##", "0.00", "#,##0.00;(#,##0.00)"}) {
    for (long double v : values) {
      const Written w = write(pattern, v);
      if (w.status != fFormatOK) continue;  // e.g. 1e4000 in a fixed form
      const Read r = read(pattern, w.text);
      // Digits beyond the format's symbols make a best guess; both are accepted.
      EXPECT_TRUE(r.status == fFormatOK || r.status == fBestGuess)
          << "\"" << w.text << "\" written through \"" << pattern << "\" reads with status " << r.status;
      const Written again = write(pattern, r.value);
      EXPECT_EQ(again.text, w.text) << "value read from \"" << w.text << "\" writes differently through \""
                                    << pattern << "\"";
    }
  }
}

TEST(NumToString, WritesPlainIntegers) {
  const struct {
    long value;
    const char* text;
  } cases[] = {{0, "0"}, {7, "7"}, {-7, "-7"}, {LONG_MAX, "9223372036854775807"}, {LONG_MIN, "-9223372036854775808"}};
  for (const auto& c : cases) {
    Str255 out;
    NumToString(c.value, out);
    EXPECT_EQ(fromPascal(out), c.text) << "NumToString(" << c.value << ")";
  }
}

}  // namespace
