// Memory Manager: relocatable blocks (handles) for the toolbox calls that
// hand memory to the program, such as pictures.
//
// Implemented: NewHandle, NewHandleClear, DisposeHandle, GetHandleSize,
// SetHandleSize, HLock, HUnlock, MemError, and a limit on the bytes all
// blocks may hold together (toolbox/internal/Memory.h) so that the
// program's out-of-memory paths can be reached.
// Left out: nonrelocatable blocks, purging, heap zones and compaction. A
// block moves only when SetHandleSize changes the size of an unlocked block;
// a locked block keeps its size (memLockedErr), as it could not move.
// Handles made elsewhere in the layer (TEScrapHandle) are not blocks of this
// unit: GetHandleSize gives 0 for them, with nilHandleErr.
#pragma once

#include "MacTypes.h"

typedef long Size;

enum { nilHandleErr = -109, memLockedErr = -117 };

Handle NewHandle(Size byteCount);
Handle NewHandleClear(Size byteCount);
void DisposeHandle(Handle h);
Size GetHandleSize(Handle h);
void SetHandleSize(Handle h, Size newSize);
void HLock(Handle h);
void HUnlock(Handle h);
// The result of the last Memory Manager call.
OSErr MemError();
