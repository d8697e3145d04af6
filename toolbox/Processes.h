// Process Manager: the list of running processes as the layer knows it,
// which is this application alone (other programs of the desktop are not
// ours to see or to bring forward).
//
// Implemented: GetNextProcess, GetProcessInformation (name, serial number,
// type 'APPL', signature from the bundle's CFBundleSignature, else '????'),
// SetFrontProcess, GetCurrentProcess, SameProcess.
// Left out: launching, other processes' information, process events.
#pragma once

#include "MacTypes.h"

struct ProcessSerialNumber {
  UInt32 highLongOfPSN;
  UInt32 lowLongOfPSN;
};
enum { kNoProcess = 0, kSystemProcess = 1, kCurrentProcess = 2 };
enum { procNotFound = -600 };

struct ProcessInfoRec {
  UInt32 processInfoLength;  // set by the caller: how much of the record to fill
  StringPtr processName;     // a Str31 buffer or null
  ProcessSerialNumber processNumber;
  UInt32 processType;
  OSType processSignature;
  UInt32 processMode;
  Ptr processLocation;
  UInt32 processSize;
  UInt32 processFreeMem;
  ProcessSerialNumber processLauncher;
  UInt32 processLaunchDate;
  UInt32 processActiveTime;
  void* processAppSpec;  // a buffer for the application file, or null; left as it is
};

OSErr GetCurrentProcess(ProcessSerialNumber* psn);
// From kNoProcess, the first process; after the last, procNotFound.
OSErr GetNextProcess(ProcessSerialNumber* psn);
// Fills the record up to processInfoLength bytes; paramErr when that does
// not reach processSignature.
OSErr GetProcessInformation(const ProcessSerialNumber* psn, ProcessInfoRec* info);
OSErr SetFrontProcess(const ProcessSerialNumber* psn);
OSErr SameProcess(const ProcessSerialNumber* a, const ProcessSerialNumber* b, Boolean* result);
