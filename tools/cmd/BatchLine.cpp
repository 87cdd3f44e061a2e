#include "tools/cmd/BatchLine.h"

namespace tools::cmd {
namespace {

bool isHandleDigit(char c) { return c >= '0' && c <= '2'; }

// The target of a redirection from text[pos] on: blanks skipped, then up to a blank or the next
// "<" / ">" outside quotes. pos is left after it.
std::string readTarget(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && isBlank(text[pos])) ++pos;
  std::string target;
  bool quoted = false;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '"') quoted = !quoted;
    if (!quoted && (isBlank(c) || c == '<' || c == '>')) break;
    target += c;
  }
  return target;
}

}  // namespace

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string BatchLine::shown() const {
  std::string text = command;
  for (const Redirection& redirection : redirections) {
    text += ' ';
    text += static_cast<char>('0' + redirection.handle);
    text += redirection.handle == 0 ? "<" : (redirection.append ? ">>" : ">");
    text += redirection.target;
  }
  return text;
}

BatchLine parseLine(std::string_view line) {
  BatchLine parsed;
  std::size_t pos = 0;
  while (pos < line.size() && (isBlank(line[pos]) || line[pos] == '@')) {
    if (line[pos] == '@') parsed.hidden = true;
    ++pos;
  }

  bool quoted = false;
  while (pos < line.size()) {
    const char c = line[pos];
    if (c == '"') quoted = !quoted;
    if (quoted || (c != '<' && c != '>')) {
      parsed.command += c;
      ++pos;
      continue;
    }
    Redirection redirection;
    redirection.handle = c == '<' ? 0 : 1;
    // "2>" names the handle when the digit stands on its own before the operator.
    const std::size_t length = parsed.command.size();
    if (length > 0 && isHandleDigit(parsed.command.back()) && (length == 1 || isBlank(parsed.command[length - 2]))) {
      redirection.handle = parsed.command.back() - '0';
      parsed.command.pop_back();
    }
    ++pos;
    if (c == '>' && pos < line.size() && line[pos] == '>') {
      redirection.append = true;
      ++pos;
    }
    redirection.target = readTarget(line, pos);
    if (redirection.target.empty()) parsed.malformed = true;
    parsed.redirections.push_back(std::move(redirection));
  }
  return parsed;
}

CommandWord splitCommandWord(std::string_view command) {
  CommandWord word;
  std::size_t pos = 0;
  bool quoted = false;
  for (; pos < command.size(); ++pos) {
    const char c = command[pos];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && isBlank(c)) {
      break;
    }
  }
  word.written = std::string(command.substr(0, pos));
  word.name = unquote(word.written);
  word.rest = std::string(command.substr(pos));
  return word;
}

std::vector<std::string> splitWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (!quoted && isBlank(c)) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

std::string unquote(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c != '"') result += c;
  }
  return result;
}

}  // namespace tools::cmd
