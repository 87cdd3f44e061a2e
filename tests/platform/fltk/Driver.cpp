#include "tests/platform/fltk/Driver.h"

#include <FL/Fl.H>
#include <FL/Fl_File_Input.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "platform/ui/fltk/Dispatch.h"

namespace corvane::testing {
namespace {

constexpr double kTickSeconds = 0.02;
constexpr int kDarkBelow = 96;
constexpr int kMapTries = 100;  // a pixel darker than this in every channel is text

bool sameLabel(const char* label, const std::string& wanted) { return label != nullptr && wanted == label; }

}  // namespace

Fl_Window* findWindow(const std::string& title) {
  for (Fl_Window* w = Fl::first_window(); w != nullptr; w = Fl::next_window(w)) {
    if (w->shown() && sameLabel(w->label(), title)) return w;
  }
  return nullptr;
}

void click(Fl_Button& button) {
  if (button.type() == FL_TOGGLE_BUTTON) button.value(button.value() == 0 ? 1 : 0);
  if (button.type() == FL_RADIO_BUTTON) button.setonly();
  button.do_callback();
}

const Fl_Menu_Item* menuItem(Fl_Menu_Bar& bar, const std::vector<std::string>& path) {
  const Fl_Menu_Item* level = bar.menu();
  const Fl_Menu_Item* found = nullptr;
  for (const std::string& label : path) {
    found = nullptr;
    for (const Fl_Menu_Item* item = level; item != nullptr && item->text != nullptr; item = item->next()) {
      if (label == item->text) {
        found = item;
        break;
      }
    }
    if (found == nullptr) return nullptr;
    level = found->submenu() ? found + 1 : nullptr;
  }
  return found;
}

int darkPixels(Fl_Window& window, int x, int y, int w, int h) {
  window.make_current();
  std::unique_ptr<uchar[]> pixels(fl_read_image(nullptr, x, y, w, h));
  int dark = 0;
  for (int i = 0; i < w * h; ++i) {
    const uchar* p = pixels.get() + 3 * i;
    if (p[0] < kDarkBelow && p[1] < kDarkBelow && p[2] < kDarkBelow) ++dark;
  }
  return dark;
}

bool screenshot(Fl_Window& window, const std::string& pngPath) {
  // FLTK draws a window only once the server has shown it (its first Expose); then whole, now.
  window.wait_for_expose();
  window.redraw();
  Fl::flush();
  XSync(fl_display, False);
  std::ostringstream command;
  command << "import -window 0x" << std::hex << fl_xid(&window) << " '" << pngPath << "' 2>/dev/null";
  return std::system(command.str().c_str()) == 0;
}

std::string screenshotFolder() {
  const char* folder = std::getenv("CORVANE_SCREENSHOT_DIR");
  return folder != nullptr && *folder != '\0' ? folder : ".";
}

Script::Script(double timeoutSeconds) : timeoutSeconds_(timeoutSeconds) {}

Script::~Script() { Fl::remove_timeout(&Script::tick, this); }

Script& Script::step(std::string what, std::function<bool()> ready, std::function<void()> act) {
  steps_.push_back({std::move(what), std::move(ready), std::move(act), false});
  return *this;
}

Script& Script::action(std::string what, std::function<bool()> ready, std::function<void()> act) {
  steps_.push_back({std::move(what), std::move(ready), std::move(act), true});
  return *this;
}

Script& Script::check(std::string what, std::function<void()> check) {
  return step(std::move(what), [] { return true; }, std::move(check));
}

Script& Script::click(const std::string& title, const std::string& label) {
  auto button = [title, label]() -> Fl_Button* {
    Fl_Window* window = findWindow(title);
    Fl_Button* b = window != nullptr ? findWidget<Fl_Button>(*window, label) : nullptr;
    return b != nullptr && b->active_r() && b->visible_r() ? b : nullptr;
  };
  return action("click \"" + label + "\" in \"" + title + "\"", [button] { return button() != nullptr; },
              [button] { testing::click(*button()); });
}

Script& Script::pick(const std::string& title, const std::vector<std::string>& path) {
  auto item = [title, path]() -> std::pair<Fl_Menu_Bar*, const Fl_Menu_Item*> {
    Fl_Window* window = findWindow(title);
    if (window == nullptr) return {nullptr, nullptr};
    std::vector<Fl_Menu_Bar*> bars = widgetsOf<Fl_Menu_Bar>(*window);
    if (bars.empty()) return {nullptr, nullptr};
    const Fl_Menu_Item* found = menuItem(*bars.front(), path);
    return {bars.front(), found != nullptr && found->active() ? found : nullptr};
  };
  std::string what = "pick";
  for (const std::string& label : path) what += " \"" + label + "\"";
  return action(what + " in \"" + title + "\"", [item] { return item().second != nullptr; },
              [item] {
                auto [bar, found] = item();
                bar->picked(found);
              });
}

Script& Script::type(const std::string& title, int x, int y, const std::string& text) {
  auto input = [title, x, y]() -> Fl_Input* {
    Fl_Window* window = findWindow(title);
    return window != nullptr ? widgetAt<Fl_Input>(*window, x, y) : nullptr;
  };
  return action("type \"" + text + "\" in \"" + title + "\"", [input] { return input() != nullptr; },
              [input, text] {
                Fl_Input* field = input();
                field->value(text.c_str());
                field->set_changed();
                field->do_callback();
              });
}

Script& Script::closeBox(const std::string& title) {
  // What FLTK does when the window manager asks a window to close.
  return action("close box of \"" + title + "\"", [title] { return findWindow(title) != nullptr; },
              [title] { Fl::handle(FL_CLOSE, findWindow(title)); });
}

Script& Script::chooseFile(const std::string& title, const std::string& hostPath) {
  auto chooser = [title]() -> Fl_Window* {
    Fl_Window* window = findWindow(title);
    return window != nullptr && !widgetsOf<Fl_File_Input>(*window).empty() ? window : nullptr;
  };
  return action("choose " + hostPath + " in \"" + title + "\"", [chooser] { return chooser() != nullptr; },
              [chooser, hostPath] {
                Fl_Window* window = chooser();
                Fl_File_Input* name = widgetsOf<Fl_File_Input>(*window).front();
                name->value(hostPath.c_str());
                widgetsOf<Fl_Return_Button>(*window).front()->do_callback();
              });
}

Script& Script::waitGone(const std::string& title) {
  return step("wait until \"" + title + "\" is gone", [title] { return findWindow(title) == nullptr; }, [] {});
}

void Script::start() {
  Fl::remove_timeout(&Script::tick, this);
  Fl::add_timeout(kTickSeconds, &Script::tick, this);
}

std::string Script::waitingFor() const { return finished() ? "nothing" : steps_[next_].what; }

void Script::tick(void* data) {
  Fl::repeat_timeout(kTickSeconds, &Script::tick, data);
  auto* script = static_cast<Script*>(data);
  if (script->inStep_ == 0) script->run();
}

void Script::run() {
  // After the last step the script keeps watching: the code under test must return within the
  // time a step may wait.
  Step* step = finished() ? nullptr : &steps_[next_];
  if (step == nullptr || !step->ready()) {
    waited_ += kTickSeconds;
    if (waited_ < timeoutSeconds_) return;
    // Stuck: every window goes, so that whatever loop waits ends, and the backend's loop
    // throws this out of the code under test.
    Fl::remove_timeout(&Script::tick, this);
    while (Fl_Window* window = Fl::first_window()) window->hide();
    const std::string what = step == nullptr ? "the code under test still waits after the last step" : "script stuck at: " + step->what;
    ui::fltk::keepException(std::make_exception_ptr(std::runtime_error(what)));
    return;
  }
  waited_ = 0.0;
  ++next_;  // before acting: a user's action may wait in a loop of its own while later steps run
  if (step->userAction) {
    step->act();
    return;
  }
  ++inStep_;
  step->act();
  --inStep_;
}

}  // namespace corvane::testing
