#include "platform/vcl/Dialogs.h"

#include <stdexcept>

#include "platform/vcl/Backend.h"

namespace vcl {

int MessageBox(const std::string& text, const std::string& caption, unsigned buttons) {
  if (buttons != MB_OK && buttons != MB_OKCANCEL) {
    throw std::invalid_argument("message box buttons must be MB_OK or MB_OKCANCEL");
  }
  return backend().messageBox(text, caption, buttons);
}

TOpenDialog::TOpenDialog(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

bool TOpenDialog::execute() {
  const std::optional<FileDialogChoice> choice = backend().runFileDialog(*this);
  if (!choice) return false;
  fileName_ = choice->fileName;
  filterIndex_ = choice->filterIndex;
  return true;
}

}  // namespace vcl
