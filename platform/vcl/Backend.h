#pragma once
// The one door between the component model and whatever presents it to a person (a window
// system, a terminal, a test script). The model calls the backend only through this interface
// and never knows which backend runs; a backend reads the models' properties and drives them
// back through their public operations (click, close, setText, setBounds, tick), as a user
// would.
#include <optional>
#include <string>

namespace vcl {

class TApplication;
class TComponent;
class TControl;
class TForm;
class TOpenDialog;
class TTimer;

// What the user confirmed in a file dialog.
struct FileDialogChoice {
  std::string fileName;  // full Windows path, code page 1252
  int filterIndex = 1;   // 1-based index of the filter in force when the user confirmed
};

class Backend {
 public:
  Backend() = default;
  Backend(const Backend&) = delete;
  Backend& operator=(const Backend&) = delete;
  virtual ~Backend() = default;

  // Prompts: each waits for the user.

  // A message box without owner window and without icon; buttons is MB_OK or MB_OKCANCEL.
  // Returns IDOK or IDCANCEL; closing the box counts as Cancel, or as OK when that is its only
  // button.
  virtual int messageBox(const std::string& text, const std::string& caption, unsigned buttons) = 0;

  // Shows a file-open or save-file dialog (dialog.isSaveDialog()) with the dialog's settings;
  // nullopt when the user cancels. The dialog's own state is the model's to update.
  virtual std::optional<FileDialogChoice> runFileDialog(const TOpenDialog& dialog) = 0;

  // Lets the user work in a form shown modally; returns once form.modalResult() is not mrNone.
  virtual void runModal(TForm& form) = 0;

  // Lets the user work with the application's forms; returns once app.terminated().
  virtual void runMainLoop(TApplication& app) = 0;

  // Notifications: what the model changed, so that a backend can show it. A backend that
  // builds a form's widgets does so when the form is first shown.

  virtual void formShown(TForm&) {}
  virtual void formHidden(TForm&) {}
  // A property that shows on screen changed (caption, text, state, bounds, visible, enabled).
  virtual void changed(TComponent&) {}
  // Repaint at once, even in the middle of a computation that pumps no messages.
  virtual void repaint(TControl&) {}
  // A timer was created or its interval or enabled state changed; see TTimer::running().
  virtual void timerChanged(TTimer&) {}
  // Called from TComponent's destructor: drop every reference to the component.
  virtual void destroying(TComponent&) {}
};

// The backend in use. Without one installed, prompts throw std::logic_error and notifications
// are dropped, so that models can be built and changed without any user interface.
Backend& backend();

// Installs a backend (nullptr: none) and returns the one installed before.
Backend* setBackend(Backend* backend);

}  // namespace vcl
