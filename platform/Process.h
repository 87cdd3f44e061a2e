#pragma once
// The running program and the programs it starts. (Deleting a file by path is
// platform::deleteFile in File.h; ending the process is platform::endProcess in Exit.h.)
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Full host path of the running program file; nullopt when the system does not tell it.
std::optional<std::string> ownProgramHostPath();

// Full path of the running program file in Windows form ("Z:\opt\corvane\corvane"), through
// the drive map; nullopt when no drive holds it or a name of it has no Windows form.
std::optional<std::string> ownProgramPath();

// Starts a host program with its arguments the way Windows starts a program minimised for a
// batch: detached, so that the caller goes on at once and never waits for it. The program runs
// in a session of its own (it survives the caller and gets no terminal signals from it), its
// standard input is /dev/null, its standard output goes to the caller's standard error, as
// does its standard error, and it inherits no other descriptor (so no lock the caller holds
// lives on in it). It inherits the environment. A program named without "/" is looked up in
// PATH. Returns true once the program runs, false when it could not be started.
bool startDetached(const std::string& hostProgram, const std::vector<std::string>& arguments);

}  // namespace platform

namespace platform {

// Starts the command interpreter on a batch file by its Windows path, minimised and detached
// from the program: corvane-cmd from the program's own folder, its output to the program's
// standard error. False when it could not be started.
bool startBatch(const std::string& windowsBatchPath);

}  // namespace platform
