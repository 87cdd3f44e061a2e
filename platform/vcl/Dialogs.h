#pragma once
// Message boxes and the file-open and save-file dialogs.
#include <string>

#include "platform/vcl/Classes.h"

namespace vcl {

// Buttons of a message box, and the answers.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// A system message box without owner window and without icon: text and caption as given
// (code page 1252, "\n" breaks lines), buttons MB_OK or MB_OKCANCEL. Returns IDOK or IDCANCEL
// (closing the box is Cancel, or OK when that is its only button). Throws std::invalid_argument
// for any other buttons value.
int MessageBox(const std::string& text, const std::string& caption, unsigned buttons);

// Options of a file dialog (a set: combine with |).
using TOpenOptions = unsigned;
constexpr TOpenOptions ofReadOnly = 1u << 0;
constexpr TOpenOptions ofOverwritePrompt = 1u << 1;
constexpr TOpenOptions ofHideReadOnly = 1u << 2;
constexpr TOpenOptions ofNoChangeDir = 1u << 3;
constexpr TOpenOptions ofAllowMultiSelect = 1u << 4;
constexpr TOpenOptions ofPathMustExist = 1u << 5;
constexpr TOpenOptions ofFileMustExist = 1u << 6;
constexpr TOpenOptions ofEnableSizing = 1u << 7;

// A file-open dialog. Its settings stay as set between executions; executing it changes
// only fileName and filterIndex, and only when the user confirms a file.
class TOpenDialog : public TComponent {
 public:
  TOpenDialog(TComponent* owner, std::string name);

  // "Description|pattern|Description|pattern..."; filterIndex counts its pairs from 1.
  const std::string& filter() const { return filter_; }
  void setFilter(std::string filter) { filter_ = std::move(filter); }
  int filterIndex() const { return filterIndex_; }
  void setFilterIndex(int index) { filterIndex_ = index; }
  const std::string& defaultExt() const { return defaultExt_; }
  void setDefaultExt(std::string extension) { defaultExt_ = std::move(extension); }
  const std::string& fileName() const { return fileName_; }
  void setFileName(std::string fileName) { fileName_ = std::move(fileName); }
  // Empty: the dialog opens in its default folder.
  const std::string& initialDir() const { return initialDir_; }
  void setInitialDir(std::string folder) { initialDir_ = std::move(folder); }
  // Empty: the dialog's default title.
  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }
  TOpenOptions options() const { return options_; }
  void setOptions(TOpenOptions options) { options_ = options; }

  // Shows the dialog and waits. True when the user confirmed a file: fileName is then its
  // full Windows path and filterIndex the filter in force. False when cancelled; nothing
  // changes.
  bool execute();

  virtual bool isSaveDialog() const { return false; }

 private:
  std::string filter_;
  int filterIndex_ = 1;
  std::string defaultExt_;
  std::string fileName_;
  std::string initialDir_;
  std::string title_;
  TOpenOptions options_ = ofHideReadOnly | ofEnableSizing;
};

// A save-file dialog: the same settings; a backend shows it as a dialog that names a file to
// write (asking before overwriting when ofOverwritePrompt is set).
class TSaveDialog : public TOpenDialog {
 public:
  using TOpenDialog::TOpenDialog;
  bool isSaveDialog() const override { return true; }
};

}  // namespace vcl
