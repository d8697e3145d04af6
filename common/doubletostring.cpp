// Number text conversion through the Text Utilities' number formats. The
// parts table is fetched and the format compiled on every call: nothing is
// cached, so a change of conventions shows at once.
#include "doubletostring.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

// The fixed pattern is cut to 25 characters (17 fraction digits); the
// exponent form stops at 18, the digits a long double holds beyond the first.
constexpr size_t kFixedPatternLength = 25;
constexpr int kMostPlaces = 18;

std::string canonicalPattern(short numPlaces, const NumberParts& parts, int type) {
  const int places = numPlaces < 0 ? kMostPlaces : std::min<int>(numPlaces, 255);
  const char digit = static_cast<char>(parts.nonLeaderDigit);
  const char zero = static_cast<char>(parts.zeroLeaderDigit);
  const char thousands = static_cast<char>(parts.thousandsSeparator);
  const char point = static_cast<char>(parts.decimalSeparator);
  if (type == kExponentForm) {
    return std::string(1, digit) + point + std::string(std::min(places, kMostPlaces), digit) +
           static_cast<char>(parts.exponentSymbol) + static_cast<char>(parts.plusSign) + std::string(3, digit);
  }
  if (places == 0) return std::string(3, digit) + thousands + std::string(3, digit);
  std::string pattern = std::string(3, digit) + thousands + std::string(2, digit) + zero + point +
                        std::string(static_cast<size_t>(places), digit);
  return pattern.substr(0, kFixedPatternLength);
}

}  // namespace

FormatResultType CreateCanonicalFormat(short numPlaces, NumFormatString* theFormat, NumberParts* theParts, int type) {
  Handle table = nullptr;
  long offset = 0;
  long length = 0;
  GetIntlResourceTable(smSystemScript, iuNumberPartsTable, &table, &offset, &length);
  if (table == nullptr || length < static_cast<long>(sizeof(NumberParts))) {
    std::memset(theParts, 0, sizeof *theParts);
    return fBadPartsTable;
  }
  std::memcpy(theParts, *table + offset, sizeof *theParts);

  const std::string pattern = canonicalPattern(numPlaces, *theParts, type);
  Str255 patternText;
  patternText[0] = static_cast<unsigned char>(pattern.size());
  std::memcpy(patternText + 1, pattern.data(), pattern.size());
  return static_cast<FormatResultType>(StringToFormatRec(patternText, theParts, theFormat));
}

void ConvertDoubleToString(double theValue, Str255 theString, short numPlaces) {
  const double magnitude = std::fabs(theValue);
  // Written so that a NaN, which fails every comparison, takes the fixed form.
  const int form = (magnitude < 0.001 || magnitude > 100000) ? kExponentForm : kFixedForm;
  NumFormatString format;
  NumberParts parts;
  CreateCanonicalFormat(numPlaces, &format, &parts, form);
  extended80 value;
  dtox80(&theValue, &value);
  ExtendedToString(&value, &format, &parts, theString);
}

int ConvertStringToDouble(ConstStr255Param theString, double* dValue, short numPlaces) {
  NumFormatString format;
  NumberParts parts;
  extended80 value = 0;
  CreateCanonicalFormat(numPlaces, &format, &parts, kFixedForm);
  FormatStatus result = StringToExtended(theString, &format, &parts, &value);
  if (result != fFormatOK) {
    CreateCanonicalFormat(numPlaces, &format, &parts, kExponentForm);
    result = StringToExtended(theString, &format, &parts, &value);
  }
  if (result != fFormatOK && result != fBestGuess) return 0;
  // A value beyond the double range would reach the caller as an infinity;
  // it is refused like any other unreadable text.
  const double narrowed = x80tod(&value);
  if (!std::isfinite(narrowed)) return 0;
  *dValue = narrowed;
  return 1;
}
