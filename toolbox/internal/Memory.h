// Test and script access to the Memory Manager's budget. Toolbox, its tests
// and the script driver only.
#pragma once

#include <cstddef>

namespace tb {

// The most bytes that all blocks may hold together; a request beyond it
// fails with memFullErr. There is no limit at start.
void setMemoryLimit(size_t bytes);
void clearMemoryLimit();
// Bytes held by all blocks now.
size_t memoryInUse();

}  // namespace tb
