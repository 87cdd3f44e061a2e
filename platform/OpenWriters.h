#pragma once
// Which other processes hold a file open for writing, as /proc shows it. Programs that take no
// lock (PAF under Wine) are seen this way. Used only within platform/.
#include <cstdint>

namespace platform {

// True when a process other than this one has a descriptor open for writing (O_WRONLY or
// O_RDWR) on the file with this device and inode. Processes whose descriptors cannot be read
// (another user's, a hidden /proc) are not seen.
bool anotherProcessWrites(std::uint64_t device, std::uint64_t inode);

}  // namespace platform
