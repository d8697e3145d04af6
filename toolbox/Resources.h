// Resource Manager: the application's own resource file,
// resources/<application>.rsrc, a text file with one resource a line:
//
//   TYPE ID [name "Name"] PART...
//
// where TYPE is four characters and each PART adds bytes: `hex 0A1B...`,
// `pstring "text"` (a length byte and the text in Mac Roman) or `cstring
// "text"` (the text and a NUL). `#` starts a comment.
//
// Implemented: Count1Resources, Get1IndResource, Get1Resource, ReleaseResource,
// ResError; resources come as new handles (Memory.h) that ReleaseResource
// disposes of.
// Left out: writing, other resource files, resource attributes.
#pragma once

#include "MacTypes.h"
#include "Memory.h"

typedef FourCharCode ResType;
enum { resNotFound = -192, resFNotFound = -193 };

short Count1Resources(ResType type);
// The index-th (from 1) resource of a type in file order, or null.
Handle Get1IndResource(ResType type, short index);
Handle Get1Resource(ResType type, short id);
void ReleaseResource(Handle resource);
OSErr ResError();
