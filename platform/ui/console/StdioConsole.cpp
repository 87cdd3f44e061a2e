// The console backend over the process's own standard input and output.
#include <unistd.h>

#include <iostream>

#include "platform/ui/console/ConsoleBackend.h"

namespace ui {

std::unique_ptr<vcl::Backend> makeConsoleBackend() {
  ConsoleOptions options;
  // A terminal shows what the user types; a pipe does not, so the transcript repeats it.
  options.echoAnswers = isatty(STDIN_FILENO) == 0;
  // Progress that overwrites itself suits a person at a terminal, not a file or a script.
  options.liveProgress = isatty(STDOUT_FILENO) != 0;
  return makeConsoleBackend(std::cin, std::cout, options);
}

}  // namespace ui
