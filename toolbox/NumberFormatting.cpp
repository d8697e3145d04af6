// Number formatting: the number-parts table, the format compiler and
// NumToString. Writing and reading numbers through a compiled format are in
// NumberFormattingWrite.cpp and NumberFormattingRead.cpp.
#include "NumberFormatting.h"

#include <charconv>
#include <cstring>
#include <set>
#include <string>

#include "internal/NumberFormat.h"

namespace {

// US conventions. The separators are fixed rather than taken from the
// user's locale, so that texts written by one user read the same for all.
constexpr NumberParts kUSNumberParts = {
    curNumberPartsVersion, '.', ',', '-', '+', 'e', '%', ';', '\'', '\\', '#', '0', '^',
};

enum class Zone { prefix, integer, fraction, exponent, suffix };

struct SectionCompiler {
  const NumberParts& parts;
  NumFormatSection& section;
  Zone zone = Zone::prefix;

  FormatStatus addLiteral(char c) {
    if (zone != Zone::prefix) zone = Zone::suffix;
    UInt8& length = zone == Zone::prefix ? section.prefixLength : section.suffixLength;
    char* text = zone == Zone::prefix ? section.prefix : section.suffix;
    if (length >= kMaxFormatLiteral) return fFormatOverflow;
    text[length++] = c;
    return fFormatOK;
  }

  FormatStatus addDigit(char symbol) {
    UInt8* count;
    char* digits;
    int limit = kMaxFormatDigits;
    switch (zone) {
      case Zone::prefix:
        zone = Zone::integer;
        [[fallthrough]];
      case Zone::integer:
        count = &section.integerCount, digits = section.integerDigits;
        break;
      case Zone::fraction:
        count = &section.fractionCount, digits = section.fractionDigits;
        break;
      case Zone::exponent:
        count = &section.exponentCount, digits = section.exponentDigits, limit = kMaxExponentDigits;
        break;
      default:
        return fOutOfSynch;  // digits after the number's closing literal
    }
    if (*count >= limit) return fFormatOverflow;
    digits[(*count)++] = symbol;
    return fFormatOK;
  }

  // One section's bytes, free of unquoted section separators.
  FormatStatus compile(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      const bool inNumber = zone == Zone::integer || zone == Zone::fraction || zone == Zone::exponent;
      FormatStatus status = fFormatOK;
      if (c == parts.quote) {
        const size_t close = text.find(static_cast<char>(parts.quote), i + 1);
        if (close == std::string::npos) return fMissingDelimiter;
        for (size_t k = i + 1; k < close && status == fFormatOK; ++k) status = addLiteral(text[k]);
        i = close;
      } else if (c == parts.escape) {
        if (++i == text.size()) return fMissingLiteral;
        status = addLiteral(text[i]);
      } else if (tb::isDigitSymbol(parts, c)) {
        status = addDigit(static_cast<char>(c));
      } else if (c == parts.thousandsSeparator) {
        if (zone != Zone::prefix && zone != Zone::integer) return fOutOfSynch;
        zone = Zone::integer;
        section.grouping = true;
      } else if (c == parts.decimalSeparator) {
        if (section.hasDecimal) return fExtraDecimal;
        if (zone == Zone::exponent || zone == Zone::suffix) return fOutOfSynch;
        zone = Zone::fraction;
        section.hasDecimal = true;
      } else if (inNumber && tb::isExponentSymbol(parts, c) && i + 1 < text.size() &&
                 (text[i + 1] == char(parts.plusSign) || text[i + 1] == char(parts.minusSign))) {
        if (section.hasExponent) return fExtraExp;
        section.hasExponent = true;
        section.exponentSymbol = static_cast<char>(c);
        section.exponentSignAlways = text[i + 1] == char(parts.plusSign);
        zone = Zone::exponent;
        ++i;
      } else if (c == parts.percentSign) {
        if (section.percent) return fExtraPercent;
        section.percent = true;
        status = addLiteral(static_cast<char>(c));
      } else {
        status = addLiteral(static_cast<char>(c));
      }
      if (status != fFormatOK) return status;
    }
    if (section.hasExponent && section.exponentCount == 0) return fOutOfSynch;
    if (section.integerCount + section.fractionCount == 0) return fOutOfSynch;  // no number at all
    section.present = true;
    return fFormatOK;
  }
};

// Splits at unquoted, unescaped section separators; at most three sections.
FormatStatus splitSections(const std::string& text, const NumberParts& parts, std::string (&sections)[3]) {
  int index = 0;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == parts.quote) {
      quoted = !quoted;
    } else if (c == parts.escape && !quoted && i + 1 < text.size()) {
      sections[index] += text[i++];
    } else if (c == parts.sectionSeparator && !quoted) {
      if (++index == 3) return fExtraSeparator;
      continue;
    }
    sections[index] += text[i];
  }
  return fFormatOK;
}

}  // namespace

namespace tb {

bool validNumberParts(const NumberParts* parts) {
  if (parts == nullptr || parts->version != curNumberPartsVersion) return false;
  const unsigned char tokens[] = {parts->decimalSeparator, parts->thousandsSeparator, parts->minusSign,
                                  parts->plusSign,         parts->exponentSymbol,     parts->percentSign,
                                  parts->sectionSeparator, parts->quote,              parts->escape,
                                  parts->nonLeaderDigit,   parts->zeroLeaderDigit,    parts->spaceLeaderDigit};
  const std::set<unsigned char> distinct(std::begin(tokens), std::end(tokens));
  return distinct.size() == std::size(tokens) && distinct.count(0) == 0;
}

}  // namespace tb

void GetIntlResourceTable(ScriptCode script, short tableCode, Handle* itlHandle, long* offset, long* length) {
  // Restored on every call, so a caller that wrote into it cannot change
  // the conventions for everyone else.
  static NumberParts table;
  static char* master = reinterpret_cast<char*>(&table);
  const bool known = (script == smSystemScript || script == smRoman) && tableCode == iuNumberPartsTable;
  if (known) table = kUSNumberParts;
  if (itlHandle != nullptr) *itlHandle = known ? &master : nullptr;
  if (offset != nullptr) *offset = 0;
  if (length != nullptr) *length = known ? static_cast<long>(sizeof table) : 0;
}

FormatStatus StringToFormatRec(ConstStr255Param inString, const NumberParts* partsTable, NumFormatString* outString) {
  if (outString == nullptr) return fEmptyFormatString;
  std::memset(outString, 0, sizeof *outString);
  if (!tb::validNumberParts(partsTable)) return fBadPartsTable;
  if (inString == nullptr || inString[0] == 0) return fEmptyFormatString;

  const std::string text(reinterpret_cast<const char*>(inString + 1), inString[0]);
  std::string sections[3];
  if (FormatStatus status = splitSections(text, *partsTable, sections); status != fFormatOK) return status;
  if (sections[0].empty()) return fEmptyFormatString;

  NumFormatSection* targets[3] = {&outString->positive, &outString->negative, &outString->zero};
  for (int i = 0; i < 3; ++i) {
    if (sections[i].empty()) continue;  // an empty section falls back to the positive one
    SectionCompiler compiler{*partsTable, *targets[i]};
    if (FormatStatus status = compiler.compile(sections[i]); status != fFormatOK) {
      std::memset(outString, 0, sizeof *outString);
      return status;
    }
  }
  outString->fLength = inString[0];
  outString->fVersion = fVNumber;
  return fFormatOK;
}

void NumToString(long theNum, Str255 theString) {
  char* first = reinterpret_cast<char*>(theString + 1);
  const auto result = std::to_chars(first, first + 255, theNum);  // at most 20 characters
  theString[0] = static_cast<unsigned char>(result.ptr - first);
}
