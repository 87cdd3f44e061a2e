#include "app/options/Optionscrn.h"

#include <string>

#include "app/Packer.h"
#include "platform/Exit.h"

TOptionForm* OptionForm = nullptr;

namespace {

constexpr char kListingSuffix[] = "_listing.txt";

constexpr char kNoDriveLettersText[] =
    "Search Other Drives was specified but\n"
    "no other drive letters supplied.";
constexpr char kNoDriveLettersCaption[] = "Whoops!";

// The database path with the extension of its file name replaced by "_listing.txt". Only a dot
// in the file name starts an extension: a database "C:\My.Data\tree" gets
// "C:\My.Data\tree_listing.txt" beside it, not "C:\My_listing.txt" in the folder above, and a
// file name without extension keeps its whole path rather than leaving a bare "_listing.txt"
// in whatever folder is current.
std::string defaultListingPath(const std::string& databasePath) {
  const std::string::size_type nameStart = databasePath.find_last_of(":\\/");
  const std::string::size_type dot = databasePath.rfind('.');
  const bool dotInName = dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
  return databasePath.substr(0, dotInName ? dot : databasePath.size()) + kListingSuffix;
}

}  // namespace

TOptionForm::TOptionForm(vcl::TComponent* owner) : vcl::TForm(owner, "OptionForm") {
  setCaption("Options");
  setBounds({192, 114, 514, 421});
  setBorderStyle(vcl::bsSizeable);
  font().name = "MS Sans Serif";
  font().height = -11;

  // Created in tab order, so each takes its place in it; Label1 and SaveDialog1 take none.
  cbListOnly = new vcl::TCheckBox(this, "cbListOnly", {40, 32, 201, 17},
                                  "List the multimedia files (to the screen)");
  cbToFile = new vcl::TCheckBox(this, "cbToFile", {56, 56, 161, 17}, "Write the listing to a file.");
  ebListingFilePath = new vcl::TEdit(this, "ebListingFilePath", {56, 80, 289, 21});
  btnBrowseListing = new vcl::TButton(this, "btnBrowseListing", {368, 80, 75, 25}, "Browse");
  cbNormalizePaths = new vcl::TCheckBox(this, "cbNormalizePaths", {40, 120, 185, 17},
                                        "Simplify path of Multi-Media  files.");  // two blanks
  cbSearchAndRescue = new vcl::TCheckBox(this, "cbSearchAndRescue", {40, 152, 297, 17},
                                         "Fix broken links to multi-media files.");
  cbBruteForce = new vcl::TCheckBox(this, "cbBruteForce", {56, 200, 225, 17},
                                    "Search entire disk to find missing files.");
  cbOtherDrives = new vcl::TCheckBox(this, "cbOtherDrives", {88, 248, 201, 17},
                                     "Search other drives too (besides C:)");
  ebOtherDrives = new vcl::TEdit(this, "ebOtherDrives", {304, 248, 121, 21});
  cbCopyIfKnown = new vcl::TCheckBox(
      this, "cbCopyIfKnown", {56, 176, 441, 17},
      "If a file by the same name (but different folder) is known use known file for unknown file.");
  cbCreateArchive = new vcl::TCheckBox(this, "cbCreateArchive", {40, 272, 129, 17}, "Create Archive file");
  Panel1 = new vcl::TPanel(this, "Panel1", {56, 296, 185, 65});
  rbZip = new vcl::TRadioButton(Panel1, "rbZip", {16, 8, 113, 17}, "Zip archive");
  rbSelfEx = new vcl::TRadioButton(Panel1, "rbSelfEx", {16, 32, 113, 17}, "Self Extracting archive");
  btnOK = new vcl::TButton(this, "btnOK", {296, 296, 75, 25}, "OK");
  btnCancel = new vcl::TButton(this, "btnCancel", {296, 336, 75, 25}, "Cancel");
  // Under cbBruteForce: without the whole-disk search the run asks the user where to look.
  Label1 = new vcl::TLabel(this, "Label1", {64, 224, 251, 13},
                           "( else I'll ask you to guide me to where they might be.)");

  SaveDialog1 = new vcl::TSaveDialog(this, "SaveDialog1");
  SaveDialog1->setDefaultExt("*.txt");
  SaveDialog1->setFilter("Text File|*.txt");
  SaveDialog1->setOptions(vcl::ofOverwritePrompt | vcl::ofHideReadOnly | vcl::ofEnableSizing);

  // Initial states of the first run; the handlers are bound afterwards, so nothing fires yet.
  cbListOnly->setChecked(true);
  ebListingFilePath->setEnabled(false);
  btnBrowseListing->setEnabled(false);
  cbNormalizePaths->setChecked(true);
  cbSearchAndRescue->setChecked(true);
  cbCopyIfKnown->setChecked(true);
  cbCreateArchive->setChecked(true);
  rbZip->setChecked(true);

  // No default or cancel button: Enter and Escape press neither OK nor Cancel.
  cbToFile->OnClick = [this] { cbToFileClick(); };
  cbCreateArchive->OnClick = [this] { cbCreateArchiveClick(); };
  btnBrowseListing->OnClick = [this] { btnBrowseListingClick(); };
  btnCancel->OnClick = [this] { btnCancelClick(); };
  btnOK->OnClick = [this] { btnOKClick(); };
}

void TOptionForm::cbToFileClick() {
  const bool on = cbToFile->checked();
  ebListingFilePath->setEnabled(on);
  btnBrowseListing->setEnabled(on);
  if (on) {
    const std::string listingPath = defaultListingPath(Form1->databasePath);
    ebListingFilePath->setText(listingPath);
    Form1->listingFilePath = listingPath;
    SaveDialog1->setFileName(listingPath);
  } else {
    ebListingFilePath->setText("");  // the listing path itself stays as it was
  }
  // A listing file replaces the packing: no archive, no path changes, no link repair.
  // Setting cbCreateArchive runs cbCreateArchiveClick, which sets the radio buttons again.
  rbZip->setEnabled(!on);
  rbSelfEx->setEnabled(!on);
  cbCreateArchive->setChecked(!on);
  cbNormalizePaths->setChecked(!on);
  cbSearchAndRescue->setChecked(!on);
}

void TOptionForm::cbCreateArchiveClick() {
  rbZip->setEnabled(cbCreateArchive->checked());
  rbSelfEx->setEnabled(cbCreateArchive->checked());
}

void TOptionForm::btnBrowseListingClick() {
  // The edit box keeps showing the default path whatever the user picks here.
  Form1->listingFilePath = SaveDialog1->execute() ? SaveDialog1->fileName() : std::string();
}

void TOptionForm::btnCancelClick() { platform::endProcess(0); }

void TOptionForm::btnOKClick() {
  if (cbOtherDrives->checked() && ebOtherDrives->text().empty()) {
    vcl::MessageBox(kNoDriveLettersText, kNoDriveLettersCaption, vcl::MB_OK);
    return;  // the dialog stays open, nothing copied
  }
  Form1->listOnly = cbListOnly->checked();
  Form1->toFile = cbToFile->checked();
  Form1->normalizePaths = cbNormalizePaths->checked();
  Form1->searchAndRescue = cbSearchAndRescue->checked();
  Form1->copyIfKnown = cbCopyIfKnown->checked();
  Form1->bruteForce = cbBruteForce->checked();
  Form1->otherDrives = cbOtherDrives->checked();
  Form1->otherDriveLetters = ebOtherDrives->text();  // as typed, whether or not used
  Form1->createArchive = cbCreateArchive->checked();
  Form1->selfExtracting = !rbZip->checked();
  close();
}
