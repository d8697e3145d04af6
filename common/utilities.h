// Small toolkit helpers: nib windows, controls by ID, showing windows, the
// usable screen, alerts and sheets, the file-error alert, the process
// search, the animated cursor, the keyboard map, Pascal and C strings, the
// version string and the about box.
#pragma once

#include "../toolbox/Carbon.h"

#ifndef AppName
#define AppName "Vantor"
#endif

// Every control the toolkit looks up carries this signature.
enum : OSType { kControlSignature = FOUR_CHAR_CODE("Kelp") };

// File-system error messages of FileErrorAlert.
#define DISKFULL "Disk is full."
#define FILELOCKED "File or Directory is Locked."
#define FILEISBUSY "Can't Open File. It is busy."
#define DUPLICATEFILENAME "Duplicate File Name Error."
#define FILEISOPEN "File is Already Open, perhaps in another Application?"
#define UNABLETOOPEN "Unable to Open File."
#define UNABLETOWRITE "Unable to Write to File."
#define FILENOTFOUND "File cannot be found."
#define FILEALREADYEXISTS "File already exists."
#define FILESYSTEMERR "There has been an error opening this file. Error #"
#define CANTGETFINDER "I can't contact the Finder."

// The application's nib windows; none when the nib or window is missing.
WindowRef OpenWindowFromNib(CFStringRef nibName, CFStringRef wTitle);

// Controls by ID (Kelp, id). A control that is not there: the setters set
// nothing and GetControlPString gives the empty string.
ControlRef GetWindowControlRef(WindowRef theW, short cmdType);
void SetControlPString(WindowRef window, SInt32 id, ConstStr255Param aString);
void SetControlCFString(WindowRef window, SInt32 id, CFStringRef aString);
// At most 255 bytes of the control's text.
void GetControlPString(WindowRef window, SInt32 id, StringPtr aStr);
// Selects the whole text of field `item` and gives it the keyboard focus.
void SelectEditTextControl(WindowRef theW, int item);

// Shows a hidden window; in every case brings it to the front.
void Show(WindowRef theW);
// The part of the desktop where windows may be placed.
Rect ScreenBounds();

// An application-modal note alert with an OK button; returns when dismissed.
void Advise(CFStringRef theCFStr);
// A standard alert of theType (0 stop, 1 note, 2 caution) as a sheet on
// parent with an OK button; returns at once. Pressing OK closes the sheet
// and, with `close`, hides the parent too. Without a visible parent there
// is nothing to attach to: the alert is then application-modal and waits.
void SheetAlert(AlertType theType, Boolean close, WindowRef parent, CFStringRef theCFStr);
void StopAlert(WindowRef parent, CFStringRef theCFStr);     // a note alert without a parent
void CautionAlert(WindowRef parent, CFStringRef theCFStr);  // a note alert without a parent
// The text, a space and the number.
void StopAlertWithNumber(WindowRef parent, CFStringRef theCFStr, OSErr theErr);
void FileErrorAlert(OSErr theErr);
// A note sheet with OK and Cancel; returns at once. Cancel sets
// *buttonPushed to 0, OK leaves it.
void NoteAlertWithCancel(WindowRef parent, CFStringRef theCFStr, int* buttonPushed);

// The first process with that signature and file type; procNotFound when
// there is none.
OSStatus FindProcess(OSType creator, OSType type, ProcessSerialNumber* outProcess);
void BringFinderToFront();
// The next frame of an animated theme cursor, at most one every 30 ticks.
void AnimateCursor(ThemeCursor theCursor);

// 1 when the key with Mac virtual key code k (0-127) is down.
short isPressed(unsigned short k);

int pStrLength(ConstStr255Param p1);
void pStrCopy(ConstStr255Param p1, StringPtr p2);
void pStrAppend(ConstStr255Param p1, StringPtr p2);
int cStrLength(const char* aStr);
void cStrCopy(const char* p1, char* p2);

// The application's version as a Pascal string of at most 19 characters in
// a buffer of at least 20 bytes: the bundle's CFBundleVersion, else the
// short version of the first 'vers' resource. 0 when found, -1 otherwise
// (aStr untouched).
OSStatus GetVersionString(StringPtr aStr);
// The splash window with the version in white; waits for a click.
void DoAboutBox();
