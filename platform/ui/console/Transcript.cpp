#include "platform/ui/console/Transcript.h"

#include <istream>
#include <ostream>

#include "platform/Cp1252.h"

namespace ui {
namespace {

constexpr std::string_view kPromptMarker = "? ";
constexpr std::string_view kEchoMarker = "> ";
constexpr std::string_view kExactMarker = "| ";
constexpr std::string_view kNoticeMarker = "! ";
constexpr std::string_view kProgressMarker = "~ ";
// A live progress line stays within an 80-column terminal: marker plus text.
constexpr std::size_t kProgressWidth = 80 - 1 - kProgressMarker.size();
// Terminal control: back to the line's start, and erase to the line's end.
constexpr std::string_view kLineStart = "\r";
constexpr std::string_view kEraseToEnd = "\033[K";

}  // namespace

std::string terminalText(std::string_view ansi) {
  if (std::optional<std::string> utf8 = platform::ansiToUtf8(ansi)) return *utf8;
  std::string out;
  for (char c : ansi) {
    const std::optional<std::string> one = platform::ansiToUtf8(std::string_view(&c, 1));
    out += one ? *one : "?";
  }
  return out;
}

Transcript::Transcript(std::istream& in, std::ostream& out, ConsoleOptions options)
    : in_(in), out_(out), options_(options) {}

void Transcript::write(std::string_view utf8Line) {
  endProgressLine();
  out_ << utf8Line << '\n' << std::flush;
}

void Transcript::line(std::string_view ansi) { write(terminalText(ansi)); }

void Transcript::exactText(std::string_view ansi) {
  std::string_view::size_type start = 0;
  while (true) {
    const std::string_view::size_type end = ansi.find('\n', start);
    const std::string_view piece = ansi.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    write(std::string(kExactMarker) + terminalText(piece));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
}

void Transcript::notice(std::string_view ansi) { write(std::string(kNoticeMarker) + terminalText(ansi)); }

std::optional<std::string> Transcript::ask(std::string_view question) {
  write(std::string(kPromptMarker) + terminalText(question));
  if (endOfInput_) return std::nullopt;
  if (!options_.echoAnswers) out_ << kEchoMarker << std::flush;
  std::string answer;
  if (!std::getline(in_, answer)) {
    endOfInput_ = true;
    if (!options_.echoAnswers) out_ << '\n' << std::flush;  // the terminal's cursor sits after "> "
    return std::nullopt;
  }
  if (!answer.empty() && answer.back() == '\r') answer.pop_back();  // a line from a CR LF file
  if (options_.echoAnswers) write(std::string(kEchoMarker) + answer);
  return answer;
}

void Transcript::progress(std::string_view ansi) {
  if (!options_.liveProgress) return;
  const auto now = std::chrono::steady_clock::now();
  if (progressLineOpen_ && now - lastProgress_ < kProgressInterval) return;
  lastProgress_ = now;
  std::string shown(ansi.substr(0, kProgressWidth));
  for (char& c : shown) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  out_ << kLineStart << kProgressMarker << terminalText(shown) << kEraseToEnd << std::flush;
  progressLineOpen_ = true;
}

void Transcript::endProgressLine() {
  if (!progressLineOpen_) return;
  out_ << kLineStart << kEraseToEnd;
  progressLineOpen_ = false;
}

}  // namespace ui
