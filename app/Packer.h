#pragma once
// The main window: its components and menu, the state that packing runs share, and the steps
// of a run. One object, Form1, known program-wide: the options dialog, the missing-file search
// and the link repair reach the run state through it.
#include <string>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "text/Str.h"

class CPAFDatabase;
class FileList;

class TForm1 : public vcl::TForm {
 public:
  explicit TForm1(vcl::TComponent* owner);
  ~TForm1() override;

  // --- Components ---
  vcl::TLabel* Label2;  // status line of the missing-file search
  vcl::TLabel* Label3;  // the path the disk search examines
  vcl::TLabel* Label1a;
  vcl::TMemo* Memo1;    // the run's only report on screen
  vcl::TMainMenu* MainMenu1;
  vcl::TMenuItem* File1;
  vcl::TMenuItem* Open1;
  vcl::TMenuItem* mru1;
  vcl::TMenuItem* mru2;
  vcl::TMenuItem* mru3;
  vcl::TMenuItem* mru4;
  vcl::TMenuItem* Exit1;
  vcl::TMenuItem* Help1;
  vcl::TMenuItem* WhatisSelfextracting1;
  vcl::TMenuItem* About1;
  vcl::TOpenDialog* OpenDialog1;
  vcl::TTimer* Timer1;

  // --- Run state, in declaration order ---
  CPAFDatabase* database = nullptr;       // the database opened by the latest run
  bool archiveIsSelfExtracting = false;   // archive kind of the batch in progress
  std::string markerFilePath;             // the file the archive batch writes last
  std::string archiveBasePath;            // the archive's path without its extension
  FileList* missingList = nullptr;        // referenced files that exist nowhere
  FileList* outsideList = nullptr;        // files that exist only outside the database folder
  FileList* foundList = nullptr;          // referenced files that exist
  std::string databasePath;               // full path of the chosen .paf file
  std::string databaseFolder;             // databasePath up to and including its last separator
  std::string listingFilePath;            // setting: path of the listing file
  bool listOnly = false;                  // setting; read by nobody
  bool toFile = false;                    // setting: write the listing file
  bool normalizePaths = false;            // setting; every run forces it on
  bool pathsRewritten = false;            // the collection rewrote a stored path
  bool searchAndRescue = false;           // setting: rescue missing files
  bool linksChanged = false;              // the link repair changed a link record
  bool copyIfKnown = false;               // setting; read by nobody
  bool bruteForce = false;                // setting: search the disks without guidance
  bool otherDrives = false;               // setting: search further drives
  std::string otherDriveLetters;          // setting: those drives, one character each
  bool createArchive = false;             // setting: build an archive
  bool selfExtracting = false;            // setting: the archive is a self-extracting program

  // --- Handlers ---
  void FormCreate();
  void FormResize();
  void Open1Click();
  void mru1Click();
  void mru2Click();
  void mru3Click();
  void mru4Click();
  void Exit1Click();
  void WhatisSelfextracting1Click();
  void About1Click();
  void Timer1Timer();

  // --- Steps of a run ---
  void packDatabase();
  void collectMediaFiles();
  void rescueMissingFiles();
  void guideToMissingFiles();
  void runMissingFileSearch();
  void startArchive();

  // The caption of a recent-file item without its last "&", stored back into the item.
  std::string stripAccelerator(vcl::TMenuItem* item);

  // Stored path of a media file <-> its full path, against databaseFolder.
  Str fullPathOf(const char* storedPath) const;
  Str fullPathOf(const Str& storedPath) const;
  Str storedFormOf(const Str& fullPath) const;

 private:
  void startRunFrom(vcl::TMenuItem* item);
  void deleteLists();
};

extern TForm1* Form1;
