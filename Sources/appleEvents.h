// The quit Apple event.
#pragma once

#include "../toolbox/Carbon.h"

void doInstallAEHandlers();
OSErr doQuitAppEvent(const AppleEvent* appEvent, AppleEvent* reply, SRefCon handlerRefcon);
OSErr doHasGotRequiredParams(const AppleEvent* appEvent);
// What the required-parameter check answers for the result of looking up the
// event's missed-keyword attribute.
OSErr requiredParamsResult(OSErr missedAttributeLookup);
