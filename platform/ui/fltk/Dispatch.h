#pragma once
// Model code runs inside FLTK's callbacks (a click, a menu pick, a timer). An exception must not
// unwind through FLTK's event dispatch, which is not written for it: guarded() keeps it, and the
// loop that waits rethrows it once FLTK has returned (waitOnce, rethrowPending). So an
// exception leaves the backend where the model called into it (runMainLoop, runModal, a
// message box, a file dialog), as it leaves the test backend, and the application's own
// exception display sees it.
#include <exception>
#include <utility>

namespace ui::fltk {

// Keeps the exception for the waiting loop; a second one while the first waits is dropped.
void keepException(std::exception_ptr error);

template <class F>
void guarded(F&& action) {
  try {
    std::forward<F>(action)();
  } catch (...) {
    keepException(std::current_exception());
  }
}

// Throws the kept exception, if any, and forgets it.
void rethrowPending();

// One turn of the event loop: waits for an event or a due timer, handles it, then rethrows what
// a callback kept.
void waitOnce();

}  // namespace ui::fltk
