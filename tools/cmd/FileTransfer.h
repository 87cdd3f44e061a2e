#pragma once
// The file work behind the interpreter's copy and move, on host paths.
#include <string>
#include <vector>

namespace tools::cmd {

// Writes the sources one after another, byte for byte, into a new file in the target's folder
// that then takes the target's place, so a reader never sees half a result and a target that
// is also a source contributes its old bytes. A target named "*.exe" is marked executable
// (where it is readable); when it is a stub program followed by a zip archive (the last source
// starts with a zip entry, the first does not), Info-ZIP's "zip -A" moves the archive's
// offsets past the stub, so that every zip reader, not only the stub, takes it as it is.
// Returns 0, or the errno of the failure; nothing of the target changes then.
// REQUIRES: at least one source.
int concatenateFiles(const std::vector<std::string>& hostSources, const std::string& hostTarget);

// Renames the source to the target, replacing a file there. Across file systems a file is
// copied and its source deleted. Returns 0 or the errno of the failure.
int moveFile(const std::string& hostSource, const std::string& hostTarget);

}  // namespace tools::cmd
