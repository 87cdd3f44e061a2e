#pragma once
// Files written for people or for the command interpreter, in text mode: each "\n" is stored
// as CR LF.
#include <memory>
#include <string_view>

namespace platform {

class TextFileWriter {
 public:
  ~TextFileWriter();  // closes
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  // Creates or empties the file; nullptr when it cannot be created.
  static std::unique_ptr<TextFileWriter> create(std::string_view windowsPath);

  // Appends text, "\n" becoming CR LF. False once any write has failed.
  bool write(std::string_view text);
  // Flushes and closes; false when anything written was lost.
  bool close();

 private:
  explicit TextFileWriter(int fd) : fd_(fd) {}
  int fd_;
  bool ok_ = true;
};

}  // namespace platform
