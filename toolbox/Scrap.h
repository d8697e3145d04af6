// Scrap Manager: the system clipboard.
//
// Implemented: ClearCurrentScrap, GetCurrentScrap, PutScrapFlavor,
// GetScrapFlavorSize and GetScrapFlavorData for two flavours: 'TEXT' (Mac
// Roman, lines ended by carriage returns, no terminator; other programs see
// UTF-8 text with line feeds) and 'PICT' (a picture of Pictures.h; other
// programs see a PNG image). The flavours put after one clear go onto the
// system clipboard together. Reading always looks at the system clipboard,
// so what another program copied is what the next read finds.
// Left out: other flavour types (illegalScrapFlavorTypeErr), flavour flags
// other than none (illegalScrapFlavorFlagsErr), promised flavours (null
// data), GetScrapFlavorCount/Info and scraps by name. A scrap reference goes
// stale at the next ClearCurrentScrap (badScrapRefErr), as in Carbon; a copy
// made by another program does not make it stale here.
#pragma once

#include <string>

#include "MacTypes.h"
#include "Memory.h"

struct OpaqueScrapRef;
typedef OpaqueScrapRef* ScrapRef;
typedef FourCharCode ScrapFlavorType;
typedef UInt32 ScrapFlavorFlags;

enum : ScrapFlavorType {
  kScrapFlavorTypePicture = FOUR_CHAR_CODE("PICT"),
  kScrapFlavorTypeText = FOUR_CHAR_CODE("TEXT"),
};
enum : ScrapFlavorFlags { kScrapFlavorMaskNone = 0 };

enum {
  noScrapErr = -100,
  noTypeErr = -102,
  scrapFlavorNotFoundErr = noTypeErr,
  duplicateScrapFlavorErr = -4989,
  badScrapRefErr = -4990,
  nilScrapFlavorDataErr = -4993,
  illegalScrapFlavorFlagsErr = -4996,
  illegalScrapFlavorTypeErr = -4997,
  illegalScrapFlavorSizeErr = -4998,
};

// Empties the system clipboard and starts a new scrap.
OSStatus ClearCurrentScrap();
OSStatus GetCurrentScrap(ScrapRef* scrap);
OSStatus PutScrapFlavor(ScrapRef scrap, ScrapFlavorType flavorType, ScrapFlavorFlags flavorFlags, Size flavorSize,
                        const void* flavorData);
OSStatus GetScrapFlavorSize(ScrapRef scrap, ScrapFlavorType flavorType, Size* byteCount);
// *byteCount: in, the room at destination; out, the bytes copied.
OSStatus GetScrapFlavorData(ScrapRef scrap, ScrapFlavorType flavorType, Size* byteCount, void* destination);

namespace tb {
// The clipboard's text as 'TEXT' bytes and back: carriage returns inside,
// line feeds outside; characters Mac Roman lacks become '?'.
std::string scrapTextFromUtf8(const std::string& utf8);
std::string utf8FromScrapText(const std::string& macRoman);
}  // namespace tb
