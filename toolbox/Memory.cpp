// Memory Manager: every block is a std::vector behind a master pointer that
// the handle points to, so *h is the block's data as callers expect.
#include "Memory.h"

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "internal/Memory.h"

namespace {

struct Block {
  char* master = nullptr;  // *handle
  std::vector<char> bytes;
  bool locked = false;
};

struct MemoryState {
  std::unordered_map<Handle, std::unique_ptr<Block>> blocks;
  size_t inUse = 0;
  std::optional<size_t> limit;
  OSErr lastError = noErr;
};

MemoryState& memory() {
  static MemoryState state;
  return state;
}

OSErr setResult(OSErr err) {
  memory().lastError = err;
  return err;
}

Block* blockOf(Handle h) {
  if (h == nullptr) return nullptr;
  auto found = memory().blocks.find(h);
  return found != memory().blocks.end() ? found->second.get() : nullptr;
}

bool fits(size_t oldBytes, size_t newBytes) {
  const MemoryState& m = memory();
  return !m.limit || m.inUse - oldBytes + newBytes <= *m.limit;
}

// Resizes a block's bytes; the master pointer follows the data.
void resize(Block& b, size_t bytes) {
  memory().inUse = memory().inUse - b.bytes.size() + bytes;
  b.bytes.resize(bytes);
  b.bytes.reserve(1);  // a valid master pointer even for an empty block
  b.master = b.bytes.data();
}

}  // namespace

namespace tb {

void setMemoryLimit(size_t bytes) { memory().limit = bytes; }
void clearMemoryLimit() { memory().limit.reset(); }
size_t memoryInUse() { return memory().inUse; }

}  // namespace tb

Handle NewHandle(Size byteCount) {
  if (byteCount < 0) {
    setResult(paramErr);
    return nullptr;
  }
  if (!fits(0, size_t(byteCount))) {
    setResult(memFullErr);
    return nullptr;
  }
  auto block = std::make_unique<Block>();
  resize(*block, size_t(byteCount));
  Handle h = &block->master;
  memory().blocks.emplace(h, std::move(block));
  setResult(noErr);
  return h;
}

Handle NewHandleClear(Size byteCount) {
  // std::vector value-initialises, so every new block is already zeroed.
  return NewHandle(byteCount);
}

void DisposeHandle(Handle h) {
  Block* b = blockOf(h);
  if (b == nullptr) {
    setResult(nilHandleErr);
    return;
  }
  memory().inUse -= b->bytes.size();
  memory().blocks.erase(h);
  setResult(noErr);
}

Size GetHandleSize(Handle h) {
  Block* b = blockOf(h);
  if (b == nullptr) {
    setResult(nilHandleErr);
    return 0;
  }
  setResult(noErr);
  return Size(b->bytes.size());
}

void SetHandleSize(Handle h, Size newSize) {
  Block* b = blockOf(h);
  if (b == nullptr) {
    setResult(nilHandleErr);
    return;
  }
  if (newSize < 0) {
    setResult(paramErr);
    return;
  }
  if (size_t(newSize) == b->bytes.size()) {
    setResult(noErr);
    return;
  }
  if (b->locked) {
    setResult(memLockedErr);
    return;
  }
  if (!fits(b->bytes.size(), size_t(newSize))) {
    setResult(memFullErr);
    return;
  }
  resize(*b, size_t(newSize));
  setResult(noErr);
}

void HLock(Handle h) {
  Block* b = blockOf(h);
  if (b != nullptr) b->locked = true;
  setResult(b != nullptr ? OSErr(noErr) : OSErr(nilHandleErr));
}

void HUnlock(Handle h) {
  Block* b = blockOf(h);
  if (b != nullptr) b->locked = false;
  setResult(b != nullptr ? OSErr(noErr) : OSErr(nilHandleErr));
}

OSErr MemError() { return memory().lastError; }
