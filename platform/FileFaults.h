#pragma once
// For tests only: faults injected into File::writeAt, the one place the file layer writes
// positioned bytes, so that tests can show how callers survive a short write, a full disk or
// a failing one.
#include <cstddef>
#include <cstdint>
#include <functional>

namespace platform {

// Called before each File::writeAt that would write something, with its offset and size;
// returns how many of the bytes reach the file. With fewer than size, writeAt writes only
// those and reports them, as a full (ENOSPC) or failing (EIO) disk does; 0 writes nothing.
using WriteFaultHook = std::function<std::size_t(std::int64_t offset, std::size_t size)>;

// Installs the hook (an empty one removes it) and returns the previous one. Set it before the
// code under test runs; it is not guarded against other threads.
WriteFaultHook setWriteFaultHook(WriteFaultHook hook);

}  // namespace platform
