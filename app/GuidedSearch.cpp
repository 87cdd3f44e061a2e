// Rescuing missing files: first the user points at them in file dialogs, then the disks are
// searched for whatever is still missing.
#include "app/Packer.h"
#include "media/FileList.h"
#include "media/Reports.h"
#include "media/Search.h"
#include "platform/Exit.h"

namespace {

constexpr char kGuideMe[] =
    "The main window shows the found files first,\n"
    "then the missing files.\n"
    "\n"
    "You have elected to show me where you think\n"
    "I can find the missing files.\n"
    "\n"
    "A file open dialog box will appear.  Use it \n"
    "to navigate to where any of the missing files\n"
    "are.  Click on 'Open' when you have found one.\n"
    "Any entries in the missing files list with the\n"
    "same name will be updated to use this new file\n"
    "location.\n"
    "\n"
    "The missing file list will then be redisplayed.\n"
    "\n"
    "If there are any more missing files to find the \n"
    "file open dialog box will re-appear.  Repeat the\n"
    "process.\n"
    "\n"
    "Once you have shown me all of the files you know\n"
    "of click 'Cancel' and I will search the rest of the\n"
    "disk drive for any files that are still missing.";

}  // namespace

void TForm1::rescueMissingFiles() {
  if (!bruteForce) {
    if (vcl::MessageBox(kGuideMe, "Guide Me", vcl::MB_OKCANCEL) != vcl::IDOK) platform::endProcess(0);
    guideToMissingFiles();
  }
  runMissingFileSearch();
}

void TForm1::guideToMissingFiles() {
  const Str pattern = extensionPattern(missingList);
  OpenDialog1->setFilter(std::string("MultiMedia Files|") + pattern.cStr());
  OpenDialog1->setFileName(pattern.cStr());
  while (OpenDialog1->execute()) {
    missingList->repairFromFile(OpenDialog1->fileName().c_str());
    Memo1->setText(missingText(missingList).cStr());
    if (!missingList->hasEntries()) break;
  }
}

void TForm1::runMissingFileSearch() {
  Label2->setCaption("Searching for missing files");
  Label2->repaint();
  if (foundList == nullptr) foundList = new FileList(databaseFolder.c_str());
  searchForMissingFiles(missingList, foundList);
  Label2->setCaption(" ");
  Label3->setCaption(" ");
  repaint();
}
