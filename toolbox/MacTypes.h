// Basic types shared by every toolbox service: integers of fixed width,
// points, rectangles, colours and length-prefixed strings.
#pragma once

#include <cstdint>

typedef int8_t SInt8;
typedef uint8_t UInt8;
typedef int16_t SInt16;
typedef uint16_t UInt16;
typedef int32_t SInt32;
typedef uint32_t UInt32;
typedef int16_t OSErr;
typedef int32_t OSStatus;
typedef unsigned char Boolean;
typedef uint32_t OSType;
typedef uint32_t FourCharCode;
typedef intptr_t SRefCon;
typedef short MenuID;
typedef short WindowPartCode;
typedef unsigned char Style;

typedef unsigned char Str255[256];
typedef unsigned char Str63[64];
typedef unsigned char Str31[32];
typedef unsigned char* StringPtr;
typedef const unsigned char* ConstStr255Param;

typedef char* Ptr;
typedef char** Handle;

enum { noErr = 0, paramErr = -50, memFullErr = -108, userCanceledErr = -128 };

struct Point {
  short v;
  short h;
};

struct Rect {
  short top;
  short left;
  short bottom;
  short right;
};

struct RGBColor {
  unsigned short red;
  unsigned short green;
  unsigned short blue;
};

// Four-character codes written as 'abcd' literals are multi-character
// constants; this spells them portably.
constexpr uint32_t FOUR_CHAR_CODE(const char (&s)[5]) {
  return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
         (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}
