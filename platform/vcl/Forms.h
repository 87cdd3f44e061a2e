#pragma once
// Forms and the application object.
//
// A form is a window built in its constructor: the derived class creates its components with
// `new`, with the form (or a panel on it) as parent, and keeps plain pointers to them; the
// form deletes them with itself. Forms made by TApplication::createForm belong to the
// application; the first of them is the main window, and closing it ends the message loop.
#include <string>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/Controls.h"

namespace vcl {

class TApplication;
class TMainMenu;

struct TFont {
  std::string name = "MS Sans Serif";
  int height = -11;  // negative: character height in pixels, as the VCL stores it
};

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner, std::string name = "");
  ~TForm() override;

  const std::string& caption() const { return controlText(); }
  void setCaption(std::string caption) { setControlText(std::move(caption)); }

  // Bounds are the window's outer size and position on the screen, frame included.
  TBorderStyle borderStyle() const { return borderStyle_; }
  void setBorderStyle(TBorderStyle style);
  TFont& font() { return font_; }
  const TFont& font() const { return font_; }

  TMainMenu* menu() const { return menu_; }
  void setMenu(TMainMenu* menu);

  // Showing a form builds its menu for display (see Menus.h).
  void show() { setVisible(true); }
  void hide() { setVisible(false); }
  void setVisible(bool visible) override;

  // Shows the form modally: the backend lets the user work in it until the modal result is
  // not mrNone (a button with a modal result, setModalResult, or close()). The form is hidden
  // again and the result returned. Throws vcl::Exception when the form is already visible.
  TModalResult showModal();
  bool modal() const { return modal_; }
  TModalResult modalResult() const { return modalResult_; }
  void setModalResult(TModalResult result) { modalResult_ = result; }

  // What the close box does: a modal form ends with mrCancel; any other form is hidden, and
  // when it is the application's main form the application terminates (its message loop ends
  // once the running handler returns).
  void close();

  // Fires OnCreate. TApplication::createForm calls it once the constructor has finished, as
  // the VCL fires OnCreate after the form is loaded; a form made otherwise calls it itself.
  void afterConstruction();

  TNotifyEvent OnCreate;
  TNotifyEvent OnResize;

 protected:
  void resized() override;

 private:
  TMainMenu* menu_ = nullptr;
  TBorderStyle borderStyle_ = bsSizeable;
  TFont font_;
  bool modal_ = false;
  TModalResult modalResult_ = mrNone;
};

class TApplication : public TComponent {
 public:
  // The first application object made becomes vcl::Application until it goes.
  TApplication();
  ~TApplication() override;

  void initialize() {}
  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }

  // Creates a form owned by the application and stores it in reference before its OnCreate
  // fires; the first form created is the main form.
  template <class F>
  void createForm(F*& reference) {
    F* form = new F(this);
    reference = form;
    if (mainForm_ == nullptr) mainForm_ = form;
    form->afterConstruction();
  }

  TForm* mainForm() const { return mainForm_; }

  // Shows the main form and runs the backend's message loop until the application terminates.
  void run();
  void terminate() { terminated_ = true; }
  bool terminated() const { return terminated_; }

  // The standard exception display: a message box with the application's title as caption
  // and the exception's message, a full stop added when it ends in a character above "."
  // (a letter or digit, not "!" or "?"), as the VCL does.
  void showException(const Exception& error);

 private:
  friend class TForm;
  std::string title_;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
};

// The application object in use (nullptr when none exists).
extern TApplication* Application;

}  // namespace vcl
