// The quit Apple event: the platform's request to end the program.
#include "appleEvents.h"

static AEEventHandlerUPP doQuitAppEventUPP = nullptr;

void doInstallAEHandlers() {
  doQuitAppEventUPP = NewAEEventHandlerUPP(doQuitAppEvent);
  AEInstallEventHandler(kCoreEventClass, kAEQuitApplication, doQuitAppEventUPP, 0, false);
}

OSErr doQuitAppEvent(const AppleEvent* appEvent, AppleEvent* reply, SRefCon handlerRefcon) {
  (void)reply;
  (void)handlerRefcon;
  OSErr err = doHasGotRequiredParams(appEvent);
  if (err == noErr) ExitToShell();
  return err;
}

OSErr requiredParamsResult(OSErr missedAttributeLookup) {
  // No missed-keyword attribute means every required parameter was read.
  if (missedAttributeLookup == errAEDescNotFound) return noErr;
  if (missedAttributeLookup == noErr) return errAEParamMissed;
  return missedAttributeLookup;
}

OSErr doHasGotRequiredParams(const AppleEvent* appEvent) {
  DescType returnedType = 0;
  Size actualSize = 0;
  OSErr lookup =
      AEGetAttributePtr(appEvent, keyMissedKeywordAttr, typeWildCard, &returnedType, nullptr, 0, &actualSize);
  return requiredParamsResult(lookup);
}
