#pragma once
// The interpreter's own texts, as its console window shows them.
#include <string_view>

namespace tools::cmd::messages {

// Follows the command word as written, in quotes: 'X' is not recognized ...
constexpr std::string_view kNotRecognized =
    "' is not recognized as an internal or external command,\noperable program or batch file.";
constexpr std::string_view kFileNotFound = "The system cannot find the file specified.";
constexpr std::string_view kPathNotFound = "The system cannot find the path specified.";
constexpr std::string_view kAccessDenied = "Access is denied.";
constexpr std::string_view kDiskFull = "There is not enough space on the disk.";
constexpr std::string_view kCannotWrite = "The system cannot write to the specified device.";
constexpr std::string_view kCannotExecute = "The system cannot execute the specified program.";
constexpr std::string_view kSyntaxError = "The syntax of the command is incorrect.";
constexpr std::string_view kDirectoryNameInvalid = "The directory name is invalid.";
constexpr std::string_view kCopyOntoItself = "The file cannot be copied onto itself.";
constexpr std::string_view kInvalidSwitch = "Invalid switch - ";  // then the switch
constexpr std::string_view kNoneCopied = "        0 file(s) copied.";
constexpr std::string_view kOneCopied = "        1 file(s) copied.";
constexpr std::string_view kOneMoved = "        1 file(s) moved.";
constexpr std::string_view kOneFolderMoved = "        1 dir(s) moved.";
constexpr std::string_view kEchoIsOn = "ECHO is on.";
constexpr std::string_view kEchoIsOff = "ECHO is off.";

// The message for a failed file operation's errno.
std::string_view forError(int error);

}  // namespace tools::cmd::messages
