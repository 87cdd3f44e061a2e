#pragma once
// The standard controls: label, multi-line text area, one-line edit box, push button, check box
// and radio button. Texts are code page 1252 bytes.
#include <string>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/Controls.h"

namespace vcl {

// Static text. Repainting it at once (repaint()) is how a long computation shows progress.
class TLabel : public TControl {
 public:
  TLabel(TWinControl* parent, std::string name, Bounds bounds, std::string caption = "");

  const std::string& caption() const { return controlText(); }
  void setCaption(std::string caption) { setControlText(std::move(caption)); }
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line text area. It holds lines: text set as a whole is split at each line break
// ("\r\n", "\n" or "\r"), and the text read back is every line followed by "\n", so that
// "a" reads back as "a\n" and the empty text has no lines.
class TMemo : public TWinControl {
 public:
  TMemo(TWinControl* parent, std::string name, Bounds bounds, std::string text = "");

  std::string text() const;
  void setText(const std::string& text);
  void clear() { setText(""); }
  const std::vector<std::string>& lines() const { return lines_; }

  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool readOnly);
  TScrollStyle scrollBars() const { return scrollBars_; }
  void setScrollBars(TScrollStyle scrollBars);
  TBorderStyle borderStyle() const { return borderStyle_; }
  void setBorderStyle(TBorderStyle borderStyle);
  bool wordWrap() const { return wordWrap_; }
  void setWordWrap(bool wordWrap);

 private:
  std::vector<std::string> lines_;
  bool readOnly_ = false;
  TScrollStyle scrollBars_ = ssNone;
  TBorderStyle borderStyle_ = bsSingle;
  bool wordWrap_ = true;
};

// A one-line edit box. A backend types into it with setText; OnChange follows every change.
class TEdit : public TWinControl {
 public:
  TEdit(TWinControl* parent, std::string name, Bounds bounds, std::string text = "");

  const std::string& text() const { return controlText(); }
  void setText(std::string text);

  TNotifyEvent OnChange;
};

// A push button. A click sets the form's modal result to the button's own (mrNone unless
// set), then fires OnClick, as in the VCL; a modal form with a result other than mrNone ends.
class TButton : public TWinControl {
 public:
  TButton(TWinControl* parent, std::string name, Bounds bounds, std::string caption = "");

  const std::string& caption() const { return controlText(); }
  void setCaption(std::string caption) { setControlText(std::move(caption)); }

  TModalResult modalResult() const { return modalResult_; }
  void setModalResult(TModalResult result) { modalResult_ = result; }
  // Enter presses the default button, Escape the cancel button; neither by default.
  bool isDefault() const { return default_; }
  void setDefault(bool isDefault);
  bool isCancel() const { return cancel_; }
  void setCancel(bool isCancel);

  void click() override;

 private:
  TModalResult modalResult_ = mrNone;
  bool default_ = false;
  bool cancel_ = false;
};

// A check box. As in the VCL, every change of its state fires OnClick, whether a user clicked
// it or code set it; setting the state it already has fires nothing.
class TCheckBox : public TWinControl {
 public:
  TCheckBox(TWinControl* parent, std::string name, Bounds bounds, std::string caption = "");

  const std::string& caption() const { return controlText(); }
  void setCaption(std::string caption) { setControlText(std::move(caption)); }

  bool checked() const { return checked_; }
  void setChecked(bool checked);

  // A user's click: toggles the state (and so fires OnClick).
  void click() override;

 private:
  bool checked_ = false;
};

// A radio button. Checking one unchecks every other radio button with the same parent, then
// fires its OnClick; unchecking fires nothing.
class TRadioButton : public TWinControl {
 public:
  TRadioButton(TWinControl* parent, std::string name, Bounds bounds, std::string caption = "");

  const std::string& caption() const { return controlText(); }
  void setCaption(std::string caption) { setControlText(std::move(caption)); }

  bool checked() const { return checked_; }
  void setChecked(bool checked);

  // A user's click: checks it.
  void click() override;

 private:
  bool checked_ = false;
};

}  // namespace vcl
