#pragma once
// One line of a batch file as the command interpreter takes it apart before it runs it: the
// "@" that keeps it from being shown, the redirections, the command word and the rest.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tools::cmd {

struct Redirection {
  int handle = 1;       // 0 standard input, 1 standard output, 2 standard error
  bool append = false;  // ">>"
  std::string target;   // as written, quotes included
};

struct BatchLine {
  bool hidden = false;  // "@" before the command: not shown even with echo on
  // The line without leading blanks, "@" and redirections. Blanks that stood before a
  // redirection stay, so "echo 44 >f" has the command "echo 44 " and writes "44 ".
  std::string command;
  std::vector<Redirection> redirections;
  bool malformed = false;  // a redirection without a target

  // The line as the interpreter shows it with echo on: the command, then each redirection
  // spelled out with its handle ("echo 44  1>f").
  std::string shown() const;
};

// Splits one line (without its line end). Quotes protect "<", ">" and blanks; they stay in
// the texts. Carriage returns are not expected here (the reader takes them out).
BatchLine parseLine(std::string_view line);

// The command word of a command and the text after it (from the first blank on).
struct CommandWord {
  std::string written;  // as written, quotes included
  std::string name;     // quotes taken out
  std::string rest;
};
CommandWord splitCommandWord(std::string_view command);

// Words separated by blanks (space, tab) outside quotes, with the quotes taken out: "a b" c
// gives two words.
std::vector<std::string> splitWords(std::string_view text);

// The text with every quote taken out.
std::string unquote(std::string_view text);

bool isBlank(char c);
std::string_view trimBlanks(std::string_view text);

}  // namespace tools::cmd
