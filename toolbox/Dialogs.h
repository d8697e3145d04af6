// Dialog Manager: standard alerts as real Qt message boxes, run modally
// through the layer's event queue so that every input path reaches them.
//
// Implemented: CreateStandardAlert and RunStandardAlert (note, caution and
// stop alerts with an OK button and an optional Cancel button), SysBeep.
// Left out: DITL-based dialogs; the parameter dialog is a nib window.
#pragma once

#include "CoreFoundation.h"
#include "MacTypes.h"

typedef SInt16 AlertType;
enum { kAlertStopAlert = 0, kAlertNoteAlert = 1, kAlertCautionAlert = 2, kAlertPlainAlert = 3 };
typedef SInt16 DialogItemIndex;
enum { kAlertStdAlertOKButton = 1, kAlertStdAlertCancelButton = 2 };

struct AlertStdCFStringAlertParamRec {
  UInt32 version;
  Boolean movable;
  Boolean helpButton;
  CFStringRef defaultText;
  CFStringRef cancelText;
  CFStringRef otherText;
  SInt16 defaultButton;
  SInt16 cancelButton;
  UInt16 position;
  UInt32 flags;
};

struct AlertRecord;
typedef AlertRecord* DialogRef;

OSStatus GetStandardAlertDefaultParams(AlertStdCFStringAlertParamRec* param, UInt32 version);
OSStatus CreateStandardAlert(AlertType type, CFStringRef error, CFStringRef explanation,
                             const AlertStdCFStringAlertParamRec* param, DialogRef* outAlert);
OSStatus RunStandardAlert(DialogRef alert, void* filterProc, DialogItemIndex* outItemHit);
void SysBeep(short duration);
