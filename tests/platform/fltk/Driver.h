#pragma once
// Drives real FLTK widgets the way a user would, from a timer of FLTK's own: the code under
// test sits in its event loops (a modal form, a message box, a file dialog) and the script's
// steps run inside them, one per tick, each waiting until what it needs is on the screen.
#include <FL/Fl_Button.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>

#include <functional>
#include <string>
#include <vector>

namespace corvane::testing {

// The shown window with that title; nullptr when there is none.
Fl_Window* findWindow(const std::string& title);

// Every widget of kind W below a group (in drawing order), and the first with that label.
template <class W>
void collect(Fl_Group& group, std::vector<W*>& found) {
  for (int i = 0; i < group.children(); ++i) {
    Fl_Widget* child = group.child(i);
    if (auto* w = dynamic_cast<W*>(child)) found.push_back(w);
    if (Fl_Group* inner = child->as_group()) collect(*inner, found);
  }
}
template <class W>
std::vector<W*> widgetsOf(Fl_Group& group) {
  std::vector<W*> found;
  collect(group, found);
  return found;
}
template <class W = Fl_Widget>
W* findWidget(Fl_Group& group, const std::string& label) {
  for (W* w : widgetsOf<W>(group)) {
    if (w->label() != nullptr && label == w->label()) return w;
  }
  return nullptr;
}

// The innermost widget of kind W whose box holds the point (window coordinates).
template <class W = Fl_Widget>
W* widgetAt(Fl_Group& group, int x, int y) {
  W* found = nullptr;
  for (W* w : widgetsOf<W>(group)) {
    if (x >= w->x() && x < w->x() + w->w() && y >= w->y() && y < w->y() + w->h()) found = w;
  }
  return found;
}

// What a mouse click does to a button: a toggle button changes, a radio button turns on and
// its group's others off; then the callback runs.
void click(Fl_Button& button);

// The item of a menu bar at a path of labels ({"&File", "E&xit"}); nullptr when none.
const Fl_Menu_Item* menuItem(Fl_Menu_Bar& bar, const std::vector<std::string>& path);

// Dark pixels in an area of a shown window, as it is on the screen now.
int darkPixels(Fl_Window& window, int x, int y, int w, int h);

// Saves a shown window as a PNG with ImageMagick's import; false when that fails.
bool screenshot(Fl_Window& window, const std::string& pngPath);

// The folder screenshots go to (from $CORVANE_SCREENSHOT_DIR, else the current folder).
std::string screenshotFolder();

class Script {
 public:
  // A step waits until ready() holds, then acts. A user's action (click, pick, type, close
  // box, file choice) may not return until later steps have run (it may open a modal form); the
  // script goes on meanwhile. Any other step (a check, a screenshot) runs whole before the next
  // one, even when it turns the event loop.
  struct Step {
    std::string what;
    std::function<bool()> ready;
    std::function<void()> act;
    bool userAction = false;
  };

  explicit Script(double timeoutSeconds = 20.0);
  ~Script();
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;

  Script& step(std::string what, std::function<bool()> ready, std::function<void()> act);
  // Runs a check once the script gets here (while later prompts are not up yet).
  Script& check(std::string what, std::function<void()> check);
  // The button of that label in the window of that title, once both are up and the button is
  // active.
  Script& click(const std::string& title, const std::string& label);
  // The menu bar's item at the path, in the window of that title.
  Script& pick(const std::string& title, const std::vector<std::string>& path);
  // Types into the input at a point of the window (its model's place), as keystrokes would.
  Script& type(const std::string& title, int x, int y, const std::string& text);
  // The window's close box.
  Script& closeBox(const std::string& title);
  // In FLTK's file chooser of that title: the file name field gets the host path, then OK.
  Script& chooseFile(const std::string& title, const std::string& hostPath);
  // Waits until the window of that title is gone.
  Script& waitGone(const std::string& title);

  // Starts ticking; the code under test then enters its loop. After the last step the script
  // goes on watching until it is destroyed: code under test that does not return in time
  // fails, as a step that waits too long does.
  void start();
  bool finished() const { return next_ == steps_.size(); }
  // What the script waits for, when it has not finished.
  std::string waitingFor() const;

 private:
  static void tick(void* script);
  void run();

  std::vector<Step> steps_;
  Script& action(std::string what, std::function<bool()> ready, std::function<void()> act);

  std::size_t next_ = 0;
  int inStep_ = 0;  // a step that is not a user's action is running
  double timeoutSeconds_;
  double waited_ = 0.0;
};

}  // namespace corvane::testing
