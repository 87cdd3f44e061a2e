#include "platform/vcl/StdCtrls.h"

#include "platform/vcl/Forms.h"

namespace vcl {

TLabel::TLabel(TWinControl* parent, std::string name, Bounds bounds, std::string caption)
    : TControl(parent, std::move(name), bounds) {
  setControlText(std::move(caption));
}

TMemo::TMemo(TWinControl* parent, std::string name, Bounds bounds, std::string text)
    : TWinControl(parent, std::move(name), bounds) {
  setText(text);
}

std::string TMemo::text() const {
  std::string result;
  for (const std::string& line : lines_) {
    result += line;
    result += '\n';
  }
  return result;
}

void TMemo::setText(const std::string& text) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  while (start < text.size()) {
    const std::string::size_type end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  if (lines == lines_) return;
  lines_ = std::move(lines);
  notifyChanged();
}

void TMemo::setReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  notifyChanged();
}

void TMemo::setScrollBars(TScrollStyle scrollBars) {
  scrollBars_ = scrollBars;
  notifyChanged();
}

void TMemo::setBorderStyle(TBorderStyle borderStyle) {
  borderStyle_ = borderStyle;
  notifyChanged();
}

void TMemo::setWordWrap(bool wordWrap) {
  wordWrap_ = wordWrap;
  notifyChanged();
}

TEdit::TEdit(TWinControl* parent, std::string name, Bounds bounds, std::string text)
    : TWinControl(parent, std::move(name), bounds) {
  setControlText(std::move(text));
}

void TEdit::setText(std::string text) {
  if (text == controlText()) return;
  setControlText(std::move(text));
  OnChange(this);
}

TButton::TButton(TWinControl* parent, std::string name, Bounds bounds, std::string caption)
    : TWinControl(parent, std::move(name), bounds) {
  setControlText(std::move(caption));
}

void TButton::setDefault(bool isDefault) {
  default_ = isDefault;
  notifyChanged();
}

void TButton::setCancel(bool isCancel) {
  cancel_ = isCancel;
  notifyChanged();
}

void TButton::click() {
  if (TForm* form = parentForm()) form->setModalResult(modalResult_);
  TWinControl::click();
}

TCheckBox::TCheckBox(TWinControl* parent, std::string name, Bounds bounds, std::string caption)
    : TWinControl(parent, std::move(name), bounds) {
  setControlText(std::move(caption));
}

void TCheckBox::setChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  notifyChanged();
  OnClick(this);
}

void TCheckBox::click() { setChecked(!checked_); }

TRadioButton::TRadioButton(TWinControl* parent, std::string name, Bounds bounds, std::string caption)
    : TWinControl(parent, std::move(name), bounds) {
  setControlText(std::move(caption));
}

void TRadioButton::setChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  notifyChanged();
  if (!checked) return;
  if (parent() != nullptr) {
    for (TControl* sibling : parent()->controls()) {
      auto* radio = dynamic_cast<TRadioButton*>(sibling);
      if (radio != nullptr && radio != this) radio->setChecked(false);
    }
  }
  OnClick(this);
}

void TRadioButton::click() { setChecked(true); }

}  // namespace vcl
