// ExtendedToString: a number written through a compiled format. The digits
// come from std::to_chars, which rounds the exact binary value correctly
// and does not depend on the C locale; the format decides which of them
// are shown and where the separators go.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "NumberFormatting.h"
#include "internal/NumberFormat.h"

namespace {

// Beyond this the fixed form cannot fit a Str255 anyway.
constexpr long double kLargestFixed = 1e250L;

// Digits of the integer part, right-aligned under the format's digit
// symbols: significant digits always, insignificant positions as the
// symbol says (# nothing, ^ a space, 0 a zero, and from the leftmost 0 on
// every position a zero, so that no space ends up between digits). Digits
// beyond the symbols are all shown, since dropping them would change the
// value. Exponents have no room for spaces: there ^ acts as #.
std::string renderInteger(const std::string& significant, const char* symbols, int count, bool grouping,
                          bool spaces, const NumberParts& parts) {
  int firstZero = count;
  for (int i = 0; i < count && firstZero == count; ++i)
    if (static_cast<unsigned char>(symbols[i]) == parts.zeroLeaderDigit) firstZero = i;
  std::string reversed;
  const int length = static_cast<int>(significant.size());
  int digitsPlaced = 0;
  for (int k = 0; k < std::max(length, count); ++k) {
    const int index = count - 1 - k;  // the symbol under this position
    char shown;
    if (k < length)
      shown = significant[static_cast<size_t>(length - 1 - k)];
    else if (index >= firstZero)
      shown = '0';
    else if (spaces && static_cast<unsigned char>(symbols[index]) == parts.spaceLeaderDigit)
      shown = ' ';
    else
      continue;
    if (grouping && shown != ' ' && digitsPlaced > 0 && digitsPlaced % 3 == 0)
      reversed += static_cast<char>(parts.thousandsSeparator);
    reversed += shown;
    if (shown != ' ') ++digitsPlaced;
  }
  return std::string(reversed.rbegin(), reversed.rend());
}

// Fraction digits with insignificant trailing zeros dropped (#) or turned
// into spaces (^); zeros under a 0 symbol and before it stay.
std::string renderFraction(const std::string& digits, const char* symbols, const NumberParts& parts) {
  size_t keep = digits.size();
  while (keep > 0 && digits[keep - 1] == '0' && static_cast<unsigned char>(symbols[keep - 1]) != parts.zeroLeaderDigit)
    --keep;
  std::string shown = digits.substr(0, keep);
  for (size_t k = keep; k < digits.size(); ++k)
    if (static_cast<unsigned char>(symbols[k]) == parts.spaceLeaderDigit) shown += ' ';
  return shown;
}

std::string withoutLeadingZeros(const std::string& digits) {
  const size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? std::string() : digits.substr(first);
}

bool hasDigit(const std::string& text) { return text.find_first_of("0123456789") != std::string::npos; }

bool allZeros(const std::string& digits) { return digits.find_first_not_of("0 ") == std::string::npos; }

struct Body {
  std::string text;
  bool isZero = false;  // every digit shown is zero: no minus sign then
};

Body fixedBody(long double value, const NumFormatSection& s, const NumberParts& parts) {
  char buffer[320];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, s.fractionCount);
  const std::string digits(buffer, result.ec == std::errc() ? result.ptr : buffer);
  const size_t point = digits.find('.');
  const std::string integerDigits = digits.substr(0, point);
  const std::string fractionDigits = point == std::string::npos ? "" : digits.substr(point + 1);

  const std::string significant = withoutLeadingZeros(integerDigits);
  std::string text = renderInteger(significant, s.integerDigits, s.integerCount, s.grouping, true, parts);
  std::string fraction = renderFraction(fractionDigits, s.fractionDigits, parts);
  // A number is never shown without a digit: the units place shows a zero.
  if (!hasDigit(text) && !hasDigit(fraction)) {
    if (!text.empty() && text.back() == ' ')
      text.back() = '0';
    else
      text.push_back('0');
    fraction.clear();
  }
  if (s.hasDecimal && !fraction.empty()) {
    text += static_cast<char>(parts.decimalSeparator);
    text += fraction;
  }
  return {text, significant.empty() && allZeros(fraction)};
}

// One integer digit, the fraction, the exponent symbol, the exponent's sign
// and its digits. Integer symbols beyond the first are not used: the
// mantissa is always normalised to one digit.
Body exponentBody(long double value, const NumFormatSection& s, const NumberParts& parts) {
  char buffer[96];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, s.fractionCount);
  // d[.ddd]e(+|-)xx; the buffer holds the longest such text.
  const std::string digits(buffer, result.ptr);
  const size_t e = digits.find('e');
  const size_t point = digits.find('.');
  const std::string lead = digits.substr(0, 1);
  const std::string fractionDigits = point == std::string::npos ? "" : digits.substr(point + 1, e - point - 1);
  const bool negativeExponent = digits[e + 1] == '-';
  const std::string exponent = withoutLeadingZeros(digits.substr(e + 2));

  std::string text = lead;
  const std::string fraction = renderFraction(fractionDigits, s.fractionDigits, parts);
  if (s.hasDecimal && !fraction.empty()) {
    text += static_cast<char>(parts.decimalSeparator);
    text += fraction;
  }
  text += s.exponentSymbol;
  if (negativeExponent)
    text += static_cast<char>(parts.minusSign);
  else if (s.exponentSignAlways)
    text += static_cast<char>(parts.plusSign);
  const std::string exponentText = renderInteger(exponent, s.exponentDigits, s.exponentCount, false, false, parts);
  text += exponentText.empty() ? "0" : exponentText;
  return {text, lead == "0" && allZeros(fraction)};
}

FormatStatus writeBody(long double value, const NumFormatSection& section, const NumberParts& parts, Body& body) {
  long double magnitude = std::fabs(value);
  if (section.percent) magnitude *= 100;
  if (std::isinf(magnitude) || (!section.hasExponent && magnitude >= kLargestFixed)) return fFormatOverflow;
  body = section.hasExponent ? exponentBody(magnitude, section, parts) : fixedBody(magnitude, section, parts);
  return fFormatOK;
}

void setText(Str255 out, const std::string& text) {
  const size_t length = std::min<size_t>(text.size(), 255);
  std::memcpy(out + 1, text.data(), length);
  out[0] = static_cast<unsigned char>(length);
}

}  // namespace

FormatStatus ExtendedToString(const extended80* x, const NumFormatString* myCanonical, const NumberParts* partsTable,
                              Str255 outString) {
  if (outString == nullptr) return fEmptyFormatString;
  outString[0] = 0;
  if (!tb::validNumberParts(partsTable)) return fBadPartsTable;
  if (!tb::isCompiled(myCanonical) || x == nullptr) return fEmptyFormatString;
  const NumberParts& parts = *partsTable;
  const long double value = *x;

  // Non-numbers are shown so the user sees them, and reported.
  if (std::isnan(value)) {
    setText(outString, "NaN");
    return fFormStrIsNAN;
  }
  const std::string minus(1, static_cast<char>(parts.minusSign));
  if (std::isinf(value)) {
    setText(outString, value < 0 ? minus + "Inf" : "Inf");
    return fFormatOverflow;
  }

  const bool negative = value < 0;
  const NumFormatSection* section = &myCanonical->positive;
  if (value == 0 && myCanonical->zero.present)
    section = &myCanonical->zero;
  else if (negative && myCanonical->negative.present)
    section = &myCanonical->negative;

  Body body;
  if (FormatStatus status = writeBody(value, *section, parts, body); status != fFormatOK) return status;
  // A value that rounds to zero is shown as zero, never as a negative zero.
  if (body.isZero && section == &myCanonical->negative) {
    section = myCanonical->zero.present ? &myCanonical->zero : &myCanonical->positive;
    if (FormatStatus status = writeBody(value, *section, parts, body); status != fFormatOK) return status;
  }
  // A negative section of its own shows the sign through its literals.
  const bool addMinus = negative && !body.isZero && section == &myCanonical->positive;
  // Padding spaces (^) go first, as printf pads, so that the sign and the
  // digits stay together.
  const size_t padding = std::min(body.text.find_first_not_of(' '), body.text.size());
  std::string text = body.text.substr(0, padding);
  if (addMinus) text += minus;
  text.append(section->prefix, section->prefixLength);
  text.append(body.text, padding);
  text.append(section->suffix, section->suffixLength);
  if (text.size() > 255) return fFormatOverflow;
  setText(outString, text);
  return fFormatOK;
}
