// The Apple Event Manager: a table of installed handlers and the dispatch of
// the high-level events the Event Manager makes (the quit request).
#include "AppleEvents.h"

#include <map>
#include <utility>

namespace {

struct Handler {
  AEEventHandlerUPP proc;
  SRefCon refcon;
};

std::map<std::pair<AEEventClass, AEEventID>, Handler>& handlers() {
  static std::map<std::pair<AEEventClass, AEEventID>, Handler> table;
  return table;
}

}  // namespace

OSErr AEInstallEventHandler(AEEventClass theAEEventClass, AEEventID theAEEventID, AEEventHandlerUPP handler,
                            SRefCon handlerRefcon, Boolean) {
  if (handler == nullptr) return paramErr;
  handlers()[{theAEEventClass, theAEEventID}] = Handler{handler, handlerRefcon};
  return noErr;
}

OSErr AEProcessAppleEvent(const EventRecord* ev) {
  if (ev == nullptr || ev->what != kHighLevelEvent) return paramErr;
  // The event class travels in the message, the event ID in the where field.
  AEEventClass eventClass = AEEventClass(ev->message);
  AEEventID eventID = (AEEventID(UInt16(ev->where.v)) << 16) | UInt16(ev->where.h);
  auto it = handlers().find({eventClass, eventID});
  if (it == handlers().end()) return errAEEventNotHandled;
  AppleEvent event{eventID, nullptr};
  AppleEvent reply{0, nullptr};
  return it->second.proc(&event, &reply, it->second.refcon);
}

OSErr AEGetAttributePtr(const AppleEvent* theAppleEvent, AEKeyword theAEKeyword, DescType, DescType* typeCode,
                        void*, Size, Size* actualSize) {
  if (theAppleEvent == nullptr) return paramErr;
  // The events the layer makes carry no parameters, so none can be missed:
  // the missed-keyword attribute does not exist.
  if (typeCode != nullptr) *typeCode = 0;
  if (actualSize != nullptr) *actualSize = 0;
  (void)theAEKeyword;
  return errAEDescNotFound;
}
