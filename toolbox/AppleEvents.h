// Apple Event Manager: the one high-level event the program handles, the
// quit request. The layer turns a close of the application window, SIGTERM
// and SIGINT into a 'quit' event of class 'aevt'.
//
// Implemented: installing handlers by class and ID, dispatching a
// high-level event record to its handler, the missed-keyword attribute.
// Left out: sending events, descriptors beyond what the quit event carries.
#pragma once

#include "Events.h"
#include "MacTypes.h"

typedef FourCharCode AEEventClass;
typedef FourCharCode AEEventID;
typedef FourCharCode AEKeyword;
typedef FourCharCode DescType;
typedef long Size;

struct AEDesc {
  DescType descriptorType;
  void* dataHandle;
};
typedef AEDesc AppleEvent;

typedef OSErr (*AEEventHandlerProcPtr)(const AppleEvent* theAppleEvent, AppleEvent* reply, SRefCon handlerRefcon);
typedef AEEventHandlerProcPtr AEEventHandlerUPP;
inline AEEventHandlerUPP NewAEEventHandlerUPP(AEEventHandlerProcPtr p) { return p; }

constexpr AEEventClass kCoreEventClass = FOUR_CHAR_CODE("aevt");
constexpr AEEventID kAEQuitApplication = FOUR_CHAR_CODE("quit");
constexpr AEKeyword keyMissedKeywordAttr = FOUR_CHAR_CODE("miss");
constexpr DescType typeWildCard = FOUR_CHAR_CODE("****");
enum { errAEDescNotFound = -1701, errAEParamMissed = -1715, errAEEventNotHandled = -1708 };

OSErr AEInstallEventHandler(AEEventClass theAEEventClass, AEEventID theAEEventID, AEEventHandlerUPP handler,
                            SRefCon handlerRefcon, Boolean isSysHandler);
OSErr AEProcessAppleEvent(const EventRecord* theEventRecord);
OSErr AEGetAttributePtr(const AppleEvent* theAppleEvent, AEKeyword theAEKeyword, DescType desiredType,
                        DescType* typeCode, void* dataPtr, Size maximumSize, Size* actualSize);
