#pragma once
// The console front end's two streams: the transcript it writes and the answer lines it reads.
// The system's texts are code page 1252; the terminal speaks UTF-8, so every text goes out
// converted, and answers come in as UTF-8 for the caller to convert where the system takes them.
//
// What must stay true, because scripts read the transcript (see the README's "Console front
// end"): every line ends in "\n"; a prompt is one line starting "? " and is followed by exactly
// one read; a text shown exactly stands in lines starting "| "; the front end's own remarks
// start "! ".
#include <chrono>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

struct ConsoleOptions {
  // Write each answer read back into the transcript as "> answer", for input that nobody sees
  // typed (a pipe). When false (a person types at a terminal, which shows the typing), "> " is
  // written before reading instead, so that the screen reads the same.
  bool echoAnswers = true;
  // Show label repaints at once on a line of their own that the next one overwrites (at most
  // every kProgressInterval), for a person watching a terminal. When false, labels show only
  // in their last state before the next prompt, so that a transcript does not depend on timing.
  bool liveProgress = false;
};

class Transcript {
 public:
  static constexpr std::chrono::milliseconds kProgressInterval{250};

  Transcript(std::istream& in, std::ostream& out, ConsoleOptions options);

  // One line of code page 1252 text.
  void line(std::string_view ansi);
  // A text shown exactly: each of its "\n"-separated pieces as a line "| piece".
  void exactText(std::string_view ansi);
  // A remark of the front end itself: "! text".
  void notice(std::string_view ansi);

  // Writes the prompt "? question" and reads one answer line (UTF-8, without its line end).
  // nullopt at end of input, and for every question after it.
  std::optional<std::string> ask(std::string_view question);

  // A progress text shown at once when live progress is on and the last one is at least
  // kProgressInterval old; dropped otherwise.
  void progress(std::string_view ansi);

 private:
  void write(std::string_view utf8Line);
  void endProgressLine();

  std::istream& in_;
  std::ostream& out_;
  ConsoleOptions options_;
  bool endOfInput_ = false;
  bool progressLineOpen_ = false;
  std::chrono::steady_clock::time_point lastProgress_{};
};

// UTF-8 form of a code page 1252 text for the terminal; the five bytes 1252 leaves undefined
// show as "?".
std::string terminalText(std::string_view ansi);

}  // namespace ui
