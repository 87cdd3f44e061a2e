#pragma once
// The options dialog: at the start of every packing run the user chooses what the run does
// (list the media files, write the listing to a file, simplify stored paths, repair broken
// links, pack an archive and of which kind). OK copies the choices into the run settings of
// the main window (Form1); the close box leaves them as they were; Cancel ends the program.
//
// The dialog is created hidden at start-up, right after the main window, and lives until the
// program ends. Its controls keep their state from one run to the next, so the initial states
// set here apply to the first run only.
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TOptionForm : public vcl::TForm {
 public:
  explicit TOptionForm(vcl::TComponent* owner);

  // --- Components, in tab order ---
  vcl::TCheckBox* cbListOnly;
  vcl::TCheckBox* cbToFile;
  vcl::TEdit* ebListingFilePath;  // shows the default listing path; never read
  vcl::TButton* btnBrowseListing;
  vcl::TCheckBox* cbNormalizePaths;
  vcl::TCheckBox* cbSearchAndRescue;
  vcl::TCheckBox* cbBruteForce;
  vcl::TCheckBox* cbOtherDrives;
  vcl::TEdit* ebOtherDrives;  // further drive letters, one character each, taken as typed
  vcl::TCheckBox* cbCopyIfKnown;
  vcl::TCheckBox* cbCreateArchive;
  vcl::TPanel* Panel1;  // holds the two archive kinds, so that they exclude each other
  vcl::TRadioButton* rbZip;
  vcl::TRadioButton* rbSelfEx;
  vcl::TButton* btnOK;
  vcl::TButton* btnCancel;
  vcl::TLabel* Label1;
  vcl::TSaveDialog* SaveDialog1;

  // --- Handlers ---
  // Turns the listing file on or off; on, it names the default listing file of the database
  // and turns archive, path simplification and link repair off (off turns them back on).
  void cbToFileClick();
  // The archive kind can be chosen exactly when an archive is made.
  void cbCreateArchiveClick();
  // Lets the user name the listing file; a cancelled dialog leaves no listing path.
  void btnBrowseListingClick();
  // Ends the program at once with status 0; the run does not go on.
  void btnCancelClick();
  // Checks the other-drives choice, copies every setting but the listing path into Form1 and
  // closes the dialog.
  void btnOKClick();
};

extern TOptionForm* OptionForm;
