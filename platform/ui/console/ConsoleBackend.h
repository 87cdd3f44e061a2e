#pragma once
// The console backend: the component model in a terminal, or driven through a pipe. It writes
// a transcript of what the program shows (the main window's caption, menu, memo and labels,
// message boxes, modal forms, file dialogs) and reads one answer line per prompt. The format
// is stable, because scripts and end-to-end tests read it; the README's "Console front end"
// describes it for them.
//
// At end of input every prompt still gets an answer: a message box its first button, a file
// dialog Cancel, a modal form its button captioned "OK" (then its close box, if it is still
// open), and the main window is closed. Timers tick only in the main loop, which waits for
// every running timer to stop (an archive batch, as a user would wait for its report) before
// it asks for the next command.
//
//   auto console = ui::makeConsoleBackend();  // installed; the previous backend comes back when it goes
//   Application->run();
#include <chrono>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/console/Transcript.h"
#include "platform/vcl/Backend.h"

namespace vcl {
class TMenuItem;
class TWinControl;
}  // namespace vcl

namespace ui {

class ConsoleBackend final : public vcl::Backend {
 public:
  // Installs itself as the backend in use. in and out must outlive it.
  ConsoleBackend(std::istream& in, std::ostream& out, ConsoleOptions options = {});
  ~ConsoleBackend() override;  // puts the previous backend back

  // vcl::Backend
  int messageBox(const std::string& text, const std::string& caption, unsigned buttons) override;
  std::optional<vcl::FileDialogChoice> runFileDialog(const vcl::TOpenDialog& dialog) override;
  void runModal(vcl::TForm& form) override;
  void runMainLoop(vcl::TApplication& app) override;
  void formShown(vcl::TForm& form) override;
  void repaint(vcl::TControl& control) override;
  void timerChanged(vcl::TTimer& timer) override;
  void destroying(vcl::TComponent& component) override;

 private:
  using Clock = std::chrono::steady_clock;
  struct Window {
    const vcl::TComponent* component;  // for destroying()
    vcl::TForm* form;
    std::optional<std::string> captionShown;  // nullopt until the transcript names the window
  };
  struct Timer {
    vcl::TComponent* component;  // for destroying(), where the timer is no TTimer any more
    vcl::TTimer* timer;
    Clock::time_point due;
  };

  // Writes what changed on the shown windows since the transcript last showed them: a window
  // not named yet or with a new caption, memos and labels with another text. Runs before
  // every prompt.
  void showChanges();
  void showChangesIn(const vcl::TWinControl& parent);
  void showMainWindow(vcl::TForm& form);

  // One answer to a modal form or the main window; an answer not understood gets a notice.
  void answerForm(vcl::TForm& form, const std::string& answer);
  void endOfInputInForm(vcl::TForm& form);
  void answerMainWindow(vcl::TForm& form, const std::string& answer);
  void pickMenuItem(vcl::TForm& form, vcl::TMenuItem& item, const std::string& shownAs);

  // The Windows path a file dialog answer names, or nullopt (with a notice) when it names none
  // the dialog accepts.
  std::optional<std::string> chosenFile(const vcl::TOpenDialog& dialog, const std::string& answer);
  bool confirmReplace(const vcl::TOpenDialog& dialog, const std::string& path);

  bool anyTimerRunning() const;
  // Ticks the running timers, each on its interval, until none runs or the application ends.
  void waitForTimers(const vcl::TApplication& app);

  vcl::Backend* previous_;
  Transcript transcript_;
  std::vector<Window> shownWindows_;  // forms shown modelessly, in the order first shown
  std::map<const vcl::TComponent*, std::vector<std::string>> memosShown_;
  std::map<const vcl::TComponent*, std::string> labelsShown_;
  std::vector<Timer> timers_;
};

// A console backend over the given streams, installed as the backend in use.
std::unique_ptr<vcl::Backend> makeConsoleBackend(std::istream& in, std::ostream& out, ConsoleOptions options = {});

// A console backend over the process's standard input and output, installed as the backend in
// use: answers are echoed when standard input is not a terminal, label repaints show live when
// standard output is one.
std::unique_ptr<vcl::Backend> makeConsoleBackend();

}  // namespace ui
