#pragma once
// Two small forms written the way the program's forms are: components created in the
// constructor with the form as owner, handlers named after component and event.
#include <string>
#include <vector>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

namespace corvane::testing {

// A dialog with a check box that drives others, an edit box, two radio buttons on a panel and
// OK / Cancel.
class SampleDialog : public vcl::TForm {
 public:
  explicit SampleDialog(vcl::TComponent* owner) : vcl::TForm(owner, "SampleDialog") {
    setCaption("Options");
    setBounds({192, 114, 514, 421});
    cbToFile = new vcl::TCheckBox(this, "cbToFile", {56, 56, 161, 17}, "Write the listing to a file.");
    cbCreateArchive = new vcl::TCheckBox(this, "cbCreateArchive", {40, 272, 129, 17}, "Create Archive file");
    ebOtherDrives = new vcl::TEdit(this, "ebOtherDrives", {304, 248, 121, 21});
    Panel1 = new vcl::TPanel(this, "Panel1", {56, 296, 185, 65});
    rbZip = new vcl::TRadioButton(Panel1, "rbZip", {16, 8, 113, 17}, "Zip archive");
    rbSelfEx = new vcl::TRadioButton(Panel1, "rbSelfEx", {16, 32, 113, 17}, "Self Extracting archive");
    btnOK = new vcl::TButton(this, "btnOK", {296, 296, 75, 25}, "OK");
    btnCancel = new vcl::TButton(this, "btnCancel", {296, 336, 75, 25}, "Cancel");
    cbCreateArchive->setChecked(true);
    rbZip->setChecked(true);
    cbToFile->OnClick = [this] { cbToFileClick(); };
    cbCreateArchive->OnClick = {this, &SampleDialog::cbCreateArchiveClick};
    btnOK->OnClick = [this] { btnOKClick(); };
    btnCancel->setModalResult(vcl::mrCancel);
  }

  vcl::TCheckBox* cbToFile;
  vcl::TCheckBox* cbCreateArchive;
  vcl::TEdit* ebOtherDrives;
  vcl::TPanel* Panel1;
  vcl::TRadioButton* rbZip;
  vcl::TRadioButton* rbSelfEx;
  vcl::TButton* btnOK;
  vcl::TButton* btnCancel;

  std::vector<std::string> clicks;  // handlers in the order they ran
  std::string drivesOnOk;

 private:
  void cbToFileClick() {
    clicks.push_back("cbToFileClick");
    cbCreateArchive->setChecked(!cbToFile->checked());
  }
  void cbCreateArchiveClick(vcl::TObject*) {
    clicks.push_back("cbCreateArchiveClick");
    rbZip->setEnabled(cbCreateArchive->checked());
    rbSelfEx->setEnabled(cbCreateArchive->checked());
  }
  void btnOKClick() {
    if (ebOtherDrives->text().empty()) {
      vcl::MessageBox("No drive letters.", "Whoops!", vcl::MB_OK);
      return;
    }
    drivesOnOk = ebOtherDrives->text();
    close();
  }
};

// A main window with a File menu, a memo, a label and a timer.
class SampleMainForm : public vcl::TForm {
 public:
  explicit SampleMainForm(vcl::TComponent* owner) : vcl::TForm(owner, "Form1") {
    setCaption("Sample");
    setBounds({192, 114, 469, 379});
    Label2 = new vcl::TLabel(this, "Label2", {3, 0, 33, 13}, std::string(11, ' '));
    Memo1 = new vcl::TMemo(this, "Memo1", {8, 32, 449, 289}, "Memo1");
    MainMenu1 = new vcl::TMainMenu(this, "MainMenu1");
    File1 = new vcl::TMenuItem(MainMenu1->items(), "File1", "&File");
    Open1 = new vcl::TMenuItem(File1, "Open1", "&Open");
    mru1 = new vcl::TMenuItem(File1, "mru1");
    Exit1 = new vcl::TMenuItem(File1, "Exit1", "E&xit");
    Timer1 = new vcl::TTimer(this, "Timer1");
    Timer1->setEnabled(false);
    setMenu(MainMenu1);
    OnCreate = [this] { FormCreate(); };
    OnResize = [this] { Memo1->setBounds({8, 32, width() - 20, height() - 90}); };
    mru1->OnClick = {this, &SampleMainForm::mru1Click};
    Exit1->OnClick = [this] { close(); };
    Timer1->OnTimer = [this] { ++ticks; };
  }

  vcl::TLabel* Label2;
  vcl::TMemo* Memo1;
  vcl::TMainMenu* MainMenu1;
  vcl::TMenuItem* File1;
  vcl::TMenuItem* Open1;
  vcl::TMenuItem* mru1;
  vcl::TMenuItem* Exit1;
  vcl::TTimer* Timer1;

  std::string recentFile = "C:\\Family\\smith.paf";
  std::string pathFromMenu;
  int ticks = 0;

 private:
  void FormCreate() {
    mru1->setCaption(recentFile);
    Memo1->setText("Welcome.\n");
  }
  // The caption without its last "&", stored back.
  void mru1Click(vcl::TObject*) {
    std::string caption = mru1->caption();
    const std::string::size_type amp = caption.rfind('&');
    if (amp != std::string::npos) caption.erase(amp, 1);
    mru1->setCaption(caption);
    pathFromMenu = caption;
  }
};

}  // namespace corvane::testing
