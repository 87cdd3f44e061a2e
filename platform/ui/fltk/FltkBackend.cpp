#include "platform/ui/fltk/FltkBackend.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

#include "platform/ui/fltk/Dispatch.h"
#include "platform/ui/fltk/FileDialog.h"
#include "platform/ui/fltk/FormView.h"
#include "platform/ui/fltk/MessageBox.h"
#include "platform/ui/fltk/Metrics.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

namespace ui {
namespace {

// The window class a desktop matches the program's windows to its desktop entry by.
constexpr const char* kWindowClass = "corvane";
constexpr double kMillisecondsPerSecond = 1000.0;

class FltkBackend final : public vcl::Backend {
 public:
  FltkBackend() : previous_(vcl::setBackend(this)) {
    fltk::registerFaces();
    Fl_Window::default_xclass(kWindowClass);
  }

  ~FltkBackend() override {
    forms_.clear();
    for (auto& [component, timer] : timers_) Fl::remove_timeout(&FltkBackend::timerFired, timer.get());
    timers_.clear();
    Fl::do_widget_deletion();
    vcl::setBackend(previous_);
  }

  int messageBox(const std::string& text, const std::string& caption, unsigned buttons) override {
    return fltk::runMessageBox(text, caption, buttons);
  }

  std::optional<vcl::FileDialogChoice> runFileDialog(const vcl::TOpenDialog& dialog) override {
    return fltk::runFileDialog(dialog);
  }

  void runModal(vcl::TForm& form) override {
    while (form.modalResult() == vcl::mrNone) {
      // The loop also ends when nothing can end it any more: the application is ending, or the
      // form was hidden by code.
      if ((vcl::Application != nullptr && vcl::Application->terminated()) || !form.visible()) {
        form.setModalResult(vcl::mrCancel);
        break;
      }
      fltk::waitOnce();
    }
  }

  void runMainLoop(vcl::TApplication& app) override {
    while (!app.terminated() && app.mainForm() != nullptr) fltk::waitOnce();
  }

  void formShown(vcl::TForm& form) override {
    fltk::FormView* view = viewOf(&form);
    if (view == nullptr) {
      forms_.push_back(std::make_unique<fltk::FormView>(form));
      view = forms_.back().get();
    }
    view->show();
  }

  void formHidden(vcl::TForm& form) override {
    if (fltk::FormView* view = viewOf(&form)) view->hide();
  }

  void changed(vcl::TComponent& component) override {
    for (const auto& view : forms_) {
      if (view->holds(component)) view->changed(component);
    }
  }

  void repaint(vcl::TControl& control) override {
    if (fltk::FormView* view = viewOf(control.parentForm())) view->repaint(control);
  }

  void timerChanged(vcl::TTimer& timer) override {
    std::unique_ptr<Timer>& entry = timers_[&timer];
    if (entry == nullptr) entry = std::make_unique<Timer>(Timer{&timer, 0.0});
    Fl::remove_timeout(&FltkBackend::timerFired, entry.get());
    if (!timer.running()) return;
    entry->seconds = timer.interval() / kMillisecondsPerSecond;
    Fl::add_timeout(entry->seconds, &FltkBackend::timerFired, entry.get());
  }

  // Called from the component's destructor: only its address may be used.
  void destroying(vcl::TComponent& component) override {
    const vcl::TComponent* key = &component;
    if (const auto timer = timers_.find(key); timer != timers_.end()) {
      Fl::remove_timeout(&FltkBackend::timerFired, timer->second.get());
      timers_.erase(timer);
    }
    std::erase_if(forms_, [key](const std::unique_ptr<fltk::FormView>& view) { return view->key() == key; });
    for (const auto& view : forms_) view->forget(component);
  }

 private:
  struct Timer {
    vcl::TTimer* timer;
    double seconds;
  };

  // A due tick. The next one is set first: the handler may stop or change the timer (which
  // takes that one away again), delete it, or wait in a message box while ticks go on.
  static void timerFired(void* data) {
    auto* entry = static_cast<Timer*>(data);
    Fl::repeat_timeout(entry->seconds, &FltkBackend::timerFired, data);
    vcl::TTimer* timer = entry->timer;
    fltk::guarded([timer] { timer->tick(); });
  }

  fltk::FormView* viewOf(const vcl::TForm* form) const {
    if (form == nullptr) return nullptr;
    const vcl::TComponent* key = form;
    for (const auto& view : forms_) {
      if (view->key() == key) return view.get();
    }
    return nullptr;
  }

  vcl::Backend* previous_;
  std::vector<std::unique_ptr<fltk::FormView>> forms_;
  std::map<const vcl::TComponent*, std::unique_ptr<Timer>> timers_;
};

}  // namespace

bool fltkDisplayAvailable() {
  if (fl_display != nullptr) return true;
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return false;
  Display* display = XOpenDisplay(name);
  if (display == nullptr) return false;
  // FLTK keeps this connection. Closing it and letting FLTK open its own would race with a
  // server that resets when its last client leaves (a bare Xvfb does), and FLTK ends the
  // process when it cannot connect.
  fl_open_display(display);
  return true;
}

std::unique_ptr<vcl::Backend> makeFltkBackend() { return std::make_unique<FltkBackend>(); }

}  // namespace ui
