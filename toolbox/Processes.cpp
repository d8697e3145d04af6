// The process list holds this application alone, with serial number 1.
#include "Processes.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <cstddef>
#include <cstring>
#include <string>

#include "Bundles.h"
#include "CoreFoundation.h"
#include "TextUtils.h"
#include "qt/QtFrontend.h"

namespace {

constexpr UInt32 kOurSerial = 1;

bool isOurs(const ProcessSerialNumber* psn) {
  return psn != nullptr && psn->highLongOfPSN == 0 &&
         (psn->lowLongOfPSN == kOurSerial || psn->lowLongOfPSN == kCurrentProcess);
}

OSType ourSignature() {
  CFTypeRef value = CFBundleGetValueForInfoDictionaryKey(CFBundleGetMainBundle(), CFSTR("CFBundleSignature"));
  char text[8];
  if (value != nullptr && CFGetTypeID(value) == CFStringGetTypeID() &&
      CFStringGetCString(static_cast<CFStringRef>(value), text, sizeof text, kCFStringEncodingMacRoman) &&
      std::strlen(text) == 4) {
    return FOUR_CHAR_CODE({text[0], text[1], text[2], text[3], 0});
  }
  return FOUR_CHAR_CODE("????");
}

}  // namespace

OSErr GetCurrentProcess(ProcessSerialNumber* psn) {
  if (psn == nullptr) return paramErr;
  *psn = ProcessSerialNumber{0, kOurSerial};
  return noErr;
}

OSErr GetNextProcess(ProcessSerialNumber* psn) {
  if (psn == nullptr) return paramErr;
  if (psn->highLongOfPSN == 0 && psn->lowLongOfPSN == kNoProcess) {
    *psn = ProcessSerialNumber{0, kOurSerial};
    return noErr;
  }
  if (!isOurs(psn)) return paramErr;
  *psn = ProcessSerialNumber{0, kNoProcess};
  return procNotFound;
}

OSErr GetProcessInformation(const ProcessSerialNumber* psn, ProcessInfoRec* info) {
  if (info == nullptr) return paramErr;
  if (!isOurs(psn)) return procNotFound;
  if (info->processInfoLength < offsetof(ProcessInfoRec, processSignature) + sizeof(OSType)) return paramErr;
  if (info->processName != nullptr) {
    std::string name = tb::utf8ToMacRoman(QCoreApplication::applicationName().toStdString()).substr(0, 31);
    info->processName[0] = static_cast<unsigned char>(name.size());
    std::memcpy(info->processName + 1, name.data(), name.size());
  }
  info->processNumber = ProcessSerialNumber{0, kOurSerial};
  info->processType = FOUR_CHAR_CODE("APPL");
  info->processSignature = ourSignature();
  if (info->processInfoLength >= offsetof(ProcessInfoRec, processMode) + sizeof(UInt32)) info->processMode = 0;
  return noErr;
}

OSErr SetFrontProcess(const ProcessSerialNumber* psn) {
  if (!isOurs(psn)) return procNotFound;
  if (tb::QtFrontend* qt = tb::qtFrontend()) {
    if (QMainWindow* window = qt->mainWindow()) {
      window->raise();
      window->activateWindow();
    }
  }
  return noErr;
}

OSErr SameProcess(const ProcessSerialNumber* a, const ProcessSerialNumber* b, Boolean* result) {
  if (a == nullptr || b == nullptr || result == nullptr) return paramErr;
  auto serial = [](const ProcessSerialNumber* p) { return p->lowLongOfPSN == kCurrentProcess ? kOurSerial : p->lowLongOfPSN; };
  *result = a->highLongOfPSN == b->highLongOfPSN && serial(a) == serial(b);
  return noErr;
}
