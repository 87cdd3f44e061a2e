#include "platform/vcl/Backend.h"

#include <stdexcept>

namespace vcl {
namespace {

// Stands in while no backend is installed: a prompt has nobody to answer it.
class NoBackend final : public Backend {
 public:
  int messageBox(const std::string& text, const std::string& caption, unsigned) override {
    throw std::logic_error("no user interface to show the message box \"" + caption + "\": " + text);
  }
  std::optional<FileDialogChoice> runFileDialog(const TOpenDialog&) override {
    throw std::logic_error("no user interface to show a file dialog");
  }
  void runModal(TForm&) override { throw std::logic_error("no user interface to show a modal form"); }
  void runMainLoop(TApplication&) override { throw std::logic_error("no user interface to run"); }
};

NoBackend g_none;
Backend* g_current = nullptr;

}  // namespace

Backend& backend() { return g_current != nullptr ? *g_current : g_none; }

Backend* setBackend(Backend* backend) {
  Backend* previous = g_current;
  g_current = backend;
  return previous;
}

}  // namespace vcl
