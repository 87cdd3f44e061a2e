// corvane [--console] [DATABASE]
//
// Starts the main window on the window system when a display is present, else (or with
// --console) on the terminal. A database named on the command line, as a Windows path or a
// host path, starts a run on it right after start-up, as if picked with File > Open.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "app/Packer.h"
#include "app/options/Optionscrn.h"
#include "platform/Cp1252.h"
#include "platform/WinPath.h"
#include "platform/vcl/Forms.h"
#if HAVE_CORVANE_UI_CONSOLE
#include "platform/ui/console/ConsoleBackend.h"
#endif
#if HAVE_CORVANE_UI_FLTK
#include "platform/ui/fltk/FltkBackend.h"
#endif

namespace {

int usage() {
  std::fputs("usage: corvane [--console] [DATABASE]\n", stderr);
  return 2;
}

// A database argument: a Windows path ("C:\\Family\\tree.paf") as typed, or a host path, which
// goes through the drive map.
std::optional<std::string> windowsPathOfArgument(const std::string& argument) {
  if (argument.size() >= 2 && argument[1] == ':') return platform::utf8ToAnsi(argument);
  return platform::toWindowsPath(argument);
}

std::unique_ptr<vcl::Backend> chooseBackend(bool console) {
#if HAVE_CORVANE_UI_FLTK
  if (!console && ui::fltkDisplayAvailable()) return ui::makeFltkBackend();
#else
  (void)console;
#endif
#if HAVE_CORVANE_UI_CONSOLE
  return ui::makeConsoleBackend();
#else
  return nullptr;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  bool console = false;
  std::optional<std::string> database;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--console") == 0) {
      console = true;
    } else if (argv[i][0] == '-' || database) {
      return usage();
    } else {
      database = windowsPathOfArgument(argv[i]);
      if (!database) {
        std::fprintf(stderr, "corvane: %s cannot be named as a Windows path\n", argv[i]);
        return 2;
      }
    }
  }

  std::unique_ptr<vcl::Backend> backend = chooseBackend(console);
  if (backend == nullptr) {
    std::fputs("corvane: no user interface was built into this program\n", stderr);
    return 1;
  }
  vcl::setBackend(backend.get());

  vcl::TApplication application;
  try {
    application.initialize();
    application.createForm(Form1);
    application.createForm(OptionForm);
    Form1->show();
    if (database) {
      Form1->databasePath = *database;
      Form1->packDatabase();
    }
    if (!application.terminated()) application.run();
  } catch (const vcl::Exception& error) {
    application.showException(error);
  }
  vcl::setBackend(nullptr);
  return 0;
}
