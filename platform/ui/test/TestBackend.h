#pragma once
// The test backend: runs the component model in-process, without a screen. A test writes a
// script of answers in advance; every prompt (message box, file dialog, modal form) and every
// turn of the main loop takes the next step, and a step that does not fit what is shown, or a
// prompt with no step left, fails the test by throwing UnexpectedPrompt with what was shown.
// Everything shown is recorded with its exact text and caption. The main loop (TApplication::
// run) takes steps until the application terminates or the script has none left; a test may
// then look at the state, add steps and run again.
//
//   ui::TestBackend ui;
//   ui.click("cbToFile").click("btnOK");   // the options form, shown modally
//   ui.press(vcl::IDOK);                    // the message box that follows
//   form->packDatabase();
//   EXPECT_EQ(ui.shown(ui::Shown::Kind::MessageBox).back().caption, "Done");
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/vcl/Backend.h"

namespace ui {

// One thing the code under test showed, as it stood when shown.
struct Shown {
  enum class Kind { MessageBox, OpenDialog, SaveDialog, Form, ModalForm, Repaint };
  Kind kind = Kind::MessageBox;
  std::string name;     // the form, dialog or repainted control ("" for a message box)
  std::string caption;  // message box caption, form caption, dialog title
  std::string text;     // message box text; a repainted control's caption or text
  unsigned buttons = 0;  // message box: vcl::MB_OK or vcl::MB_OKCANCEL
  // File dialogs.
  std::string filter;
  int filterIndex = 0;
  std::string fileName;
  std::string initialDir;
  std::string defaultExt;
  unsigned options = 0;
  // How the script answered: "OK", "Cancel", "close box", the picked file, "" for no prompt.
  std::string answer;

  std::string describe() const;
};

// A prompt the script did not foresee, or a step that does not fit what is shown. Not a
// vcl::Exception, so that no exception display of the code under test swallows it.
class UnexpectedPrompt : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

class TestBackend final : public vcl::Backend {
 public:
  TestBackend();            // installs itself as the backend in use
  ~TestBackend() override;  // puts the previous one back

  // The script, taken in the order written.

  // A message box: press vcl::IDOK or vcl::IDCANCEL (Cancel only where the box has it).
  TestBackend& press(int button);
  // A file dialog: confirm the file (a Windows path); filterIndex 0 keeps the filter shown. A
  // file-open dialog with ofFileMustExist accepts only a file that exists.
  TestBackend& pick(std::string windowsPath, int filterIndex = 0);
  // A file dialog: Cancel.
  TestBackend& cancel();
  // A modal form or the main window: click the control or menu item of that name (it must be
  // visible and enabled, as must everything above it). A menu item is picked from a menu built
  // for display, accelerators assigned.
  TestBackend& click(std::string name);
  // A modal form or the main window: replace the text of the edit box of that name.
  TestBackend& type(std::string name, std::string text);
  // The close box of what is shown: a message box (Cancel, or OK when it has no Cancel), a
  // file dialog (cancel), a modal form or the main window (TForm::close).
  TestBackend& closeBox();
  // A modal form or the main window: one tick of every running timer.
  TestBackend& tick();

  // One tick of every running timer, in the order they were made; returns how many ticked.
  int tickTimers();

  const std::vector<Shown>& shown() const { return shown_; }
  std::vector<Shown> shown(Shown::Kind kind) const;
  // Repaints are recorded unless turned off (a long disk search repaints a label per entry).
  void recordRepaints(bool record) { recordRepaints_ = record; }

  // The steps not used yet, described; empty when the script was used up.
  std::vector<std::string> unusedSteps() const;

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
  struct Step {
    enum class Kind { Press, Pick, Cancel, Click, Type, CloseBox, Tick };
    Kind kind;
    int button = 0;
    std::string target;  // picked file, or the control's name
    std::string text;
    int filterIndex = 0;
    std::string describe() const;
  };
  struct Timer {
    vcl::TComponent* component;  // for destroying(), where the timer is no TTimer any more
    vcl::TTimer* timer;
  };

  TestBackend& add(Step step);
  Step take(const std::string& waiting);
  // Runs one step meant for a form that waits for input (the modal form or the main window).
  void act(vcl::TForm& form, const std::string& waiting);
  [[noreturn]] void fail(const std::string& what) const;

  vcl::Backend* previous_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  std::vector<Shown> shown_;
  std::vector<Timer> timers_;
  bool recordRepaints_ = true;
};

}  // namespace ui
