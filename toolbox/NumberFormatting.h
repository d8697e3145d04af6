// Number formatting of the Text Utilities: number format strings compiled
// into records, and numbers converted to and from text through them.
//
// Implemented:
// - The number-parts table of the system script, fixed to US conventions
//   (. decimal, , thousands, - and + signs, e exponent), handed out through
//   GetIntlResourceTable.
// - StringToFormatRec: compiles a format of up to three sections separated
//   by ; (positive, negative, zero). A section is literal text, one number
//   and literal text. The number holds digit symbols (# shown only when
//   significant, 0 always shown, ^ shown as a space when not significant),
//   thousands separators among the integer digits (groups of three), one
//   decimal separator, an optional exponent (e+ sign always shown, e- sign
//   shown only when negative) with its own digit symbols. Literal text is
//   quoted ('...'), escaped (\c) or any other character; % is a literal that
//   also scales the value by 100.
// - ExtendedToString and StringToExtended on compiled records. Writing
//   rounds correctly at the last fraction symbol (ties to even), drops
//   insignificant zeros, shows every integer digit even beyond the symbols,
//   never shows a number without a digit nor a negative zero, and writes
//   NaN and infinities as NaN, Inf and -Inf with an error status. Reading
//   tells exact texts from best guesses (see NumberFormattingRead.cpp).
// - NumToString for plain integers.
// Left out: literals between digit symbols (phone-number patterns), more
// than one integer digit before an exponent, other scripts' tables,
// FormatRecToString, StringToNum, and the 80-bit byte layout: the extended
// type is the C++ long double.
#pragma once

#include "MacTypes.h"

typedef long double extended80;
typedef short FormatStatus;

enum FormatResultType : short {
  fFormatOK = 0,
  fBestGuess = 1,
  fOutOfSynch = 2,
  fSpuriousChars = 3,
  fMissingDelimiter = 4,
  fExtraDecimal = 5,
  fMissingLiteral = 6,
  fExtraExp = 7,
  fFormatOverflow = 8,
  fFormStrIsNAN = 9,
  fBadPartsTable = 10,
  fExtraPercent = 11,
  fExtraSeparator = 12,
  fEmptyFormatString = 13,
};

// The characters of one script's number conventions; all are Mac Roman bytes.
struct NumberParts {
  short version;
  unsigned char decimalSeparator;
  unsigned char thousandsSeparator;
  unsigned char minusSign;
  unsigned char plusSign;
  unsigned char exponentSymbol;  // the text accepts either case of it
  unsigned char percentSign;
  unsigned char sectionSeparator;
  unsigned char quote;
  unsigned char escape;
  unsigned char nonLeaderDigit;  // #
  unsigned char zeroLeaderDigit;  // 0
  unsigned char spaceLeaderDigit;  // ^
};
enum { curNumberPartsVersion = 1 };

// One section of a compiled format. The digit arrays hold the format's digit
// symbols in the order they were written.
enum { kMaxFormatDigits = 40, kMaxExponentDigits = 5, kMaxFormatLiteral = 31 };
struct NumFormatSection {
  Boolean present;
  Boolean grouping;
  Boolean hasDecimal;
  Boolean hasExponent;
  Boolean exponentSignAlways;
  Boolean percent;
  char exponentSymbol;  // as the format wrote it, e or E
  UInt8 integerCount;
  UInt8 fractionCount;
  UInt8 exponentCount;
  UInt8 prefixLength;
  UInt8 suffixLength;
  char integerDigits[kMaxFormatDigits];
  char fractionDigits[kMaxFormatDigits];
  char exponentDigits[kMaxExponentDigits];
  char prefix[kMaxFormatLiteral];
  char suffix[kMaxFormatLiteral];
};

// A compiled number format. fVersion tells a compiled record from an empty one.
struct NumFormatString {
  UInt8 fLength;
  UInt8 fVersion;
  NumFormatSection positive;
  NumFormatSection negative;
  NumFormatSection zero;
};
enum { fVNumber = 0x56 };

typedef short ScriptCode;
enum { smSystemScript = -1, smRoman = 0 };
enum { iuWordSelectTable = 0, iuWordWrapTable = 1, iuNumberPartsTable = 2, iuUnTokenTable = 3, iuWhiteSpaceList = 4 };

// Gives the handle of an international table of a script. The tables are
// read-only and live for the whole run, so the handle needs no release.
// Only the number-parts table of the Roman (system) script exists.
void GetIntlResourceTable(ScriptCode script, short tableCode, Handle* itlHandle, long* offset, long* length);

FormatStatus StringToFormatRec(ConstStr255Param inString, const NumberParts* partsTable, NumFormatString* outString);
FormatStatus ExtendedToString(const extended80* x, const NumFormatString* myCanonical, const NumberParts* partsTable,
                              Str255 outString);
FormatStatus StringToExtended(ConstStr255Param source, const NumFormatString* myCanonical,
                              const NumberParts* partsTable, extended80* x);

// The platform's widening and narrowing between double and the extended type.
inline void dtox80(const double* x, extended80* x80) { *x80 = *x; }
inline double x80tod(const extended80* x80) { return static_cast<double>(*x80); }

// A plain decimal integer: a minus sign for negative values, then digits.
void NumToString(long theNum, Str255 theString);
