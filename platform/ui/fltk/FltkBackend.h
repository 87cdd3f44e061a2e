#pragma once
// The window backend of the component model: every form a real window on an X display through
// FLTK, at the place and size the form gives; message boxes and file dialogs as windows of
// their own; timers on FLTK's clock. No FLTK type shows here, so the program's start-up can
// choose its front end without seeing a toolkit.
#include <memory>

#include "platform/vcl/Backend.h"

namespace ui {

// Whether an X display can be reached ($DISPLAY set and the server answering). The window
// backend needs one; FLTK itself would end the process without it.
bool fltkDisplayAvailable();

// The window backend. It installs itself as the backend in use while it lives, and puts the
// one before back when it goes; forms still alive then lose their windows.
// REQUIRES: fltkDisplayAvailable().
std::unique_ptr<vcl::Backend> makeFltkBackend();

}  // namespace ui
