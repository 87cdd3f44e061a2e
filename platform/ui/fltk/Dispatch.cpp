#include "platform/ui/fltk/Dispatch.h"

#include <FL/Fl.H>

namespace ui::fltk {
namespace {

std::exception_ptr g_pending;

}  // namespace

void keepException(std::exception_ptr error) {
  if (!g_pending) g_pending = std::move(error);
}

void rethrowPending() {
  if (!g_pending) return;
  std::exception_ptr error = std::move(g_pending);
  g_pending = nullptr;
  std::rethrow_exception(error);
}

void waitOnce() {
  Fl::wait();
  rethrowPending();
}

}  // namespace ui::fltk
