#pragma once
// Files by Windows path: the database file (opened for reading and writing, shared for
// readers only), the existence test and positioned I/O. Host file descriptors never leave
// this unit.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace platform {

class File {
 public:
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens an existing file. With forWriting, the file is shared for reading only: when another
  // process (or another File of this one) already has it open for writing, the open fails, and
  // while this File is open nobody else can open it for writing (an open file description
  // lock; programs that take no lock are seen through /proc). Without forWriting no lock is
  // taken and nobody is kept out. nullptr when the path does not resolve, the file is absent or
  // not a regular file (a folder, a device, a FIFO), access is denied, or the sharing rule
  // refuses.
  static std::unique_ptr<File> openExisting(std::string_view windowsPath, bool forWriting);

  // Positioned transfers; each returns the number of bytes moved (0..size), never throws.
  // Fewer than size: end of file (read), or the system refused the rest (write: a full or
  // failing disk). A negative offset moves nothing; writeAt on a File opened for reading moves
  // nothing. writeAt is the one place this layer writes positioned bytes (see FileFaults.h).
  std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size);
  std::size_t writeAt(std::int64_t offset, const void* bytes, std::size_t size);

  // Asks the system to put the written bytes on disk; false when it reports a failure.
  bool flush();

  bool writable() const { return writable_; }

 private:
  File(int fd, bool writable) : fd_(fd), writable_(writable) {}
  int fd_;
  bool writable_;
};

// "Exists": the path opens for reading as a regular file (it is closed again at once). A
// folder does not exist in this sense.
bool fileExists(std::string_view windowsPath);

// Deletes a file by path (a symbolic link itself, not its target); false when it was not
// deleted. Never deletes a folder.
bool deleteFile(std::string_view windowsPath);

}  // namespace platform
