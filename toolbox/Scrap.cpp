// Scrap Manager on the front end's clipboard. What the program put since the
// last clear is kept here only to offer every flavour together; reads go to
// the system clipboard each time.
#include "Scrap.h"

#include <QImage>
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "Frontend.h"
#include "TextUtils.h"
#include "internal/Pictures.h"

namespace {

struct ScrapState {
  uintptr_t generation = 1;  // a ScrapRef is the generation it was taken in
  std::optional<std::string> text;  // UTF-8
  std::optional<QImage> image;
};

ScrapState& scrapState() {
  static ScrapState state;
  return state;
}

bool isCurrent(ScrapRef scrap) { return reinterpret_cast<uintptr_t>(scrap) == scrapState().generation; }

bool isKnownFlavor(ScrapFlavorType type) { return type == kScrapFlavorTypeText || type == kScrapFlavorTypePicture; }

void offerToSystem() {
  ScrapState& s = scrapState();
  tb::frontend().setClipboard(s.text ? &*s.text : nullptr, s.image ? &*s.image : nullptr);
}

// The flavour's bytes as the clipboard holds them now; nullopt when absent.
std::optional<std::string> flavorBytes(ScrapFlavorType type) {
  if (type == kScrapFlavorTypeText) {
    std::string utf8;
    if (!tb::frontend().clipboardText(utf8)) return std::nullopt;
    return tb::scrapTextFromUtf8(utf8);
  }
  const QImage image = tb::frontend().clipboardImage();
  if (image.isNull()) return std::nullopt;
  const std::vector<char> bytes = tb::pictureBytes(image);
  return std::string(bytes.begin(), bytes.end());
}

OSStatus checkRead(ScrapRef scrap, ScrapFlavorType type, Size* byteCount) {
  if (byteCount == nullptr) return paramErr;
  if (!isCurrent(scrap)) return badScrapRefErr;
  if (!isKnownFlavor(type)) return illegalScrapFlavorTypeErr;
  return noErr;
}

}  // namespace

namespace tb {

std::string scrapTextFromUtf8(const std::string& utf8) {
  std::string unix;
  unix.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;  // CR LF is one line end
    unix += utf8[i] == '\n' ? '\r' : utf8[i];
  }
  return utf8ToMacRoman(unix);
}

std::string utf8FromScrapText(const std::string& macRoman) {
  std::string text = macRoman;
  std::replace(text.begin(), text.end(), '\r', '\n');
  return macRomanToUtf8(text);
}

}  // namespace tb

OSStatus ClearCurrentScrap() {
  ScrapState& s = scrapState();
  ++s.generation;
  s.text.reset();
  s.image.reset();
  offerToSystem();
  return noErr;
}

OSStatus GetCurrentScrap(ScrapRef* scrap) {
  if (scrap == nullptr) return paramErr;
  *scrap = reinterpret_cast<ScrapRef>(scrapState().generation);
  return noErr;
}

OSStatus PutScrapFlavor(ScrapRef scrap, ScrapFlavorType flavorType, ScrapFlavorFlags flavorFlags, Size flavorSize,
                        const void* flavorData) {
  if (!isCurrent(scrap)) return badScrapRefErr;
  if (!isKnownFlavor(flavorType)) return illegalScrapFlavorTypeErr;
  if (flavorFlags != kScrapFlavorMaskNone) return illegalScrapFlavorFlagsErr;
  if (flavorSize < 0) return illegalScrapFlavorSizeErr;
  if (flavorData == nullptr && flavorSize > 0) return nilScrapFlavorDataErr;
  ScrapState& s = scrapState();
  const auto* bytes = static_cast<const char*>(flavorData);
  if (flavorType == kScrapFlavorTypeText) {
    if (s.text) return duplicateScrapFlavorErr;
    s.text = tb::utf8FromScrapText(std::string(bytes, bytes + flavorSize));
  } else {
    if (s.image) return duplicateScrapFlavorErr;
    QImage image = tb::pictureImage(flavorData, size_t(flavorSize));
    if (image.isNull()) return paramErr;  // not a picture, or one that ran out of memory
    s.image = std::move(image);
  }
  offerToSystem();
  return noErr;
}

OSStatus GetScrapFlavorSize(ScrapRef scrap, ScrapFlavorType flavorType, Size* byteCount) {
  if (OSStatus err = checkRead(scrap, flavorType, byteCount); err != noErr) return err;
  const std::optional<std::string> bytes = flavorBytes(flavorType);
  *byteCount = bytes ? Size(bytes->size()) : 0;
  return bytes ? OSStatus(noErr) : OSStatus(scrapFlavorNotFoundErr);
}

OSStatus GetScrapFlavorData(ScrapRef scrap, ScrapFlavorType flavorType, Size* byteCount, void* destination) {
  if (OSStatus err = checkRead(scrap, flavorType, byteCount); err != noErr) return err;
  const std::optional<std::string> bytes = flavorBytes(flavorType);
  if (!bytes) {
    *byteCount = 0;
    return scrapFlavorNotFoundErr;
  }
  const Size count = std::min(std::max<Size>(*byteCount, 0), Size(bytes->size()));
  if (count > 0 && destination == nullptr) return paramErr;
  if (count > 0) std::memcpy(destination, bytes->data(), size_t(count));
  *byteCount = count;
  return noErr;
}
