// StringToExtended: a text read as a number through a compiled format.
//
// A text that has the format's shape reads as fFormatOK. A text that is a
// plain number but not of that shape reads as fBestGuess with its full
// value: spaces around it (unless the format pads with ^), a + sign, thousands separators the format does
// not have, more integer or fraction digits than the format shows, a
// decimal separator or an exponent the format does not have (or lacks),
// an exponent sign the format would not write, missing literals. Anything
// else is an error and leaves the target untouched: stray characters,
// misplaced thousands separators (so "0,5" is never read as 5), a second
// decimal separator or exponent, no digits, and values beyond the extended
// range. "NaN" and "Inf" are not numbers a user can type.
#include <charconv>
#include <string>
#include <vector>

#include "NumberFormatting.h"
#include "internal/NumberFormat.h"

namespace {

struct Scan {
  std::string integerDigits;
  std::string fractionDigits;
  std::string exponentDigits;
  bool grouped = false;
  bool hasDecimal = false;
  bool hasExponent = false;
  bool exponentNegative = false;
  bool exponentPlus = false;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

size_t significantCount(const std::string& digits) {
  const size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? 0 : digits.size() - first;
}

// Groups of a grouped integer part: 1 to 3 digits, then groups of exactly 3.
bool validGroups(const std::vector<size_t>& groups) {
  if (groups.empty() || groups[0] < 1 || groups[0] > 3) return false;
  for (size_t k = 1; k < groups.size(); ++k)
    if (groups[k] != 3) return false;
  return true;
}

// The number itself, without signs and literals.
FormatStatus scanCore(const std::string& core, const NumberParts& parts, Scan& scan) {
  const auto is = [&](size_t i, unsigned char token) { return i < core.size() && (unsigned char)core[i] == token; };
  size_t i = 0;
  std::vector<size_t> groups;
  size_t current = 0;
  for (; i < core.size(); ++i) {
    if (isDigit(core[i])) {
      scan.integerDigits += core[i];
      ++current;
    } else if (is(i, parts.thousandsSeparator)) {
      if (current == 0) return fOutOfSynch;
      groups.push_back(current);
      current = 0;
      scan.grouped = true;
    } else {
      break;
    }
  }
  if (scan.grouped) {
    groups.push_back(current);
    if (!validGroups(groups)) return fOutOfSynch;
  }
  if (is(i, parts.decimalSeparator)) {
    scan.hasDecimal = true;
    for (++i; i < core.size() && isDigit(core[i]); ++i) scan.fractionDigits += core[i];
  }
  if (i < core.size() && tb::isExponentSymbol(parts, (unsigned char)core[i])) {
    scan.hasExponent = true;
    ++i;
    if (is(i, parts.plusSign) || is(i, parts.minusSign)) {
      scan.exponentNegative = is(i, parts.minusSign);
      scan.exponentPlus = !scan.exponentNegative;
      ++i;
    }
    for (; i < core.size() && isDigit(core[i]); ++i) scan.exponentDigits += core[i];
    if (scan.exponentDigits.empty()) return fOutOfSynch;
  }
  if (i < core.size()) {
    if (is(i, parts.decimalSeparator)) return fExtraDecimal;
    if (tb::isExponentSymbol(parts, (unsigned char)core[i])) return fExtraExp;
    if (is(i, parts.thousandsSeparator)) return fOutOfSynch;
    return fSpuriousChars;
  }
  if (scan.integerDigits.empty() && scan.fractionDigits.empty()) return fSpuriousChars;
  return fFormatOK;
}

// Whether the scanned number has the section's shape.
bool hasShape(const Scan& scan, const NumFormatSection& s) {
  const size_t integerPlaces = s.integerCount > 0 ? s.integerCount : 1;
  if (scan.grouped && !s.grouping) return false;
  if (significantCount(scan.integerDigits) > integerPlaces) return false;
  if (scan.hasDecimal && !s.hasDecimal) return false;
  if (scan.fractionDigits.size() > s.fractionCount) return false;
  if (scan.hasExponent != bool(s.hasExponent)) return false;
  if (scan.hasExponent) {
    if (s.exponentSignAlways && !scan.exponentNegative && !scan.exponentPlus) return false;
    if (!s.exponentSignAlways && scan.exponentPlus) return false;
    if (significantCount(scan.exponentDigits) > s.exponentCount) return false;
  }
  return true;
}

FormatStatus valueOf(const Scan& scan, long double& value) {
  std::string text = scan.integerDigits.empty() ? "0" : scan.integerDigits;
  text += '.' + scan.fractionDigits;
  if (scan.hasExponent) text += std::string("e") + (scan.exponentNegative ? "-" : "") + scan.exponentDigits;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return fFormatOverflow;
  return fFormatOK;
}

enum class Role { positive, negative, zero };

FormatStatus readSection(const std::string& text, const NumFormatSection& s, Role role, bool ownNegative,
                         const NumberParts& parts, long double& value) {
  // Spaces around the number are the format's own when it pads with ^.
  bool padded = false;
  for (int k = 0; k < s.integerCount; ++k) padded = padded || (unsigned char)s.integerDigits[k] == parts.spaceLeaderDigit;
  for (int k = 0; k < s.fractionCount; ++k)
    padded = padded || (unsigned char)s.fractionDigits[k] == parts.spaceLeaderDigit;
  bool exact = true;
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin, exact = padded;
  while (end > begin && text[end - 1] == ' ') --end, exact = exact && padded;

  const std::string prefix(s.prefix, s.prefixLength);
  const std::string suffix(s.suffix, s.suffixLength);
  bool prefixFound = prefix.empty();
  const auto takePrefix = [&] {
    if (!prefixFound && text.compare(begin, prefix.size(), prefix) == 0 && end - begin >= prefix.size())
      begin += prefix.size(), prefixFound = true;
  };
  takePrefix();
  char sign = 0;
  if (begin < end && ((unsigned char)text[begin] == parts.minusSign || (unsigned char)text[begin] == parts.plusSign)) {
    sign = text[begin++];
    takePrefix();
  }
  if (!suffix.empty() && end - begin >= suffix.size() && text.compare(end - suffix.size(), suffix.size(), suffix) == 0)
    end -= suffix.size();
  else if (!suffix.empty())
    exact = false;
  exact = exact && prefixFound;

  Scan scan;
  if (FormatStatus status = scanCore(text.substr(begin, end - begin), parts, scan); status != fFormatOK) return status;
  long double magnitude;
  if (FormatStatus status = valueOf(scan, magnitude); status != fFormatOK) return status;
  if (s.percent) magnitude /= 100;

  const bool minus = sign != 0 && (unsigned char)sign == parts.minusSign;
  // The writer puts a minus sign only before a positive section, and only
  // when the format has no negative section of its own.
  const bool signAsWritten = sign == 0 || (minus && role == Role::positive && !ownNegative);
  exact = exact && signAsWritten && hasShape(scan, s) && (role != Role::zero || magnitude == 0);
  value = (role == Role::negative || minus) ? -magnitude : magnitude;
  return exact ? fFormatOK : fBestGuess;
}

}  // namespace

FormatStatus StringToExtended(ConstStr255Param source, const NumFormatString* myCanonical,
                              const NumberParts* partsTable, extended80* x) {
  if (!tb::validNumberParts(partsTable)) return fBadPartsTable;
  if (!tb::isCompiled(myCanonical)) return fEmptyFormatString;
  if (source == nullptr || x == nullptr) return fSpuriousChars;
  const std::string text(reinterpret_cast<const char*>(source + 1), source[0]);

  const struct {
    const NumFormatSection& section;
    Role role;
  } candidates[] = {{myCanonical->positive, Role::positive},
                    {myCanonical->negative, Role::negative},
                    {myCanonical->zero, Role::zero}};
  const bool ownNegative = myCanonical->negative.present;
  FormatStatus firstError = fFormatOK;
  bool haveGuess = false;
  long double guess = 0;
  for (const auto& candidate : candidates) {
    if (!candidate.section.present) continue;
    long double value = 0;
    const FormatStatus status = readSection(text, candidate.section, candidate.role, ownNegative, *partsTable, value);
    if (status == fFormatOK) {
      *x = value;
      return fFormatOK;
    }
    if (status == fBestGuess && !haveGuess) {
      haveGuess = true;
      guess = value;
    } else if (status != fBestGuess && firstError == fFormatOK) {
      firstError = status;
    }
  }
  if (!haveGuess) return firstError;
  *x = guess;
  return fBestGuess;
}
