#include "tools/cmd/Messages.h"

#include <cerrno>

namespace tools::cmd::messages {

std::string_view forError(int error) {
  switch (error) {
    case EACCES: case EPERM: case EROFS: case EISDIR: case ETXTBSY:
      return kAccessDenied;
    case ENOSPC: case EDQUOT: case EFBIG:
      return kDiskFull;
    case ENOENT: case ENOTDIR:
      return kPathNotFound;
    default:
      return kCannotWrite;
  }
}

}  // namespace tools::cmd::messages
