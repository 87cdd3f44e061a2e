#include "platform/vcl/Forms.h"

#include "platform/vcl/Backend.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Menus.h"

namespace vcl {

TApplication* Application = nullptr;

TForm::TForm(TComponent* owner, std::string name) : TWinControl(owner, std::move(name)) {}

TForm::~TForm() {
  destroyComponents();  // while the form's control lists still exist
  if (Application != nullptr && Application->mainForm_ == this) Application->mainForm_ = nullptr;
}

void TForm::setBorderStyle(TBorderStyle style) {
  borderStyle_ = style;
  notifyChanged();
}

void TForm::setMenu(TMainMenu* menu) {
  menu_ = menu;
  notifyChanged();
}

void TForm::setVisible(bool visible) {
  if (visible == this->visible()) return;
  TWinControl::setVisible(visible);
  if (visible) {
    if (menu_ != nullptr) menu_->rethinkHotkeys();
    backend().formShown(*this);
  } else {
    backend().formHidden(*this);
  }
}

TModalResult TForm::showModal() {
  if (visible() || modal_) throw Exception("Cannot make a visible window modal");
  modal_ = true;
  modalResult_ = mrNone;
  show();
  try {
    backend().runModal(*this);
  } catch (...) {
    modal_ = false;
    hide();
    throw;
  }
  modal_ = false;
  hide();
  return modalResult_;
}

void TForm::close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  hide();
  if (Application != nullptr && Application->mainForm_ == this) Application->terminate();
}

void TForm::afterConstruction() { OnCreate(this); }

void TForm::resized() { OnResize(this); }

TApplication::TApplication() : TComponent(nullptr, "Application") {
  if (Application == nullptr) Application = this;
}

TApplication::~TApplication() {
  destroyComponents();  // the forms go while they can still see their application
  if (Application == this) Application = nullptr;
}

void TApplication::run() {
  if (mainForm_ == nullptr) return;
  mainForm_->show();
  if (!terminated_) backend().runMainLoop(*this);
}

void TApplication::showException(const Exception& error) {
  std::string text = error.message();
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  MessageBox(text, title_, MB_OK);
}

}  // namespace vcl
