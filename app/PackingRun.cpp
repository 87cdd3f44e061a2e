// The packing run: from the options dialog to the archive decision.
#include <string>

#include "app/Packer.h"
#include "app/PackerTexts.h"
#include "app/options/Optionscrn.h"
#include "database/PAFDatabase.h"
#include "media/FileList.h"
#include "media/Reports.h"
#include "platform/Cp1252.h"
#include "platform/Exit.h"
#include "platform/TextFile.h"

namespace {

bool hasEntries(const FileList* list) { return list != nullptr && list->hasEntries(); }

// The listing file, written before any rescue: the state after the collection.
bool writeListing(const std::string& path, const FileList* found, const FileList* missing) {
  std::unique_ptr<platform::TextFileWriter> file = platform::TextFileWriter::create(path);
  if (file == nullptr) return false;
  if (found != nullptr) {
    file->write(texts::kFoundFilesHeading);
    file->write(listText(found).cStr());
    file->write("\n");
  }
  if (hasEntries(missing)) {
    file->write(texts::kMissingFilesHeading);
    file->write(listText(missing).cStr());
    file->write("\n");
  }
  return file->close();
}

}  // namespace

void TForm1::packDatabase() {
  OptionForm->showModal();
  Memo1->setText("");
  normalizePaths = true;

  // The previous run's database would still hold the file for writing; a run on the same file
  // after "Done!" or "Problem!" must be able to open it again.
  FileList::setDatabase(nullptr);
  deleteLists();
  delete database;
  database = new CPAFDatabase();
  const std::u16string widePath = platform::ansiToWideText(databasePath);
  const int opened = database->Open(widePath.c_str(), false);

  const std::string::size_type separator = databasePath.find_last_of(":\\/");
  databaseFolder = separator == std::string::npos ? std::string() : databasePath.substr(0, separator + 1);

  IndividualRecord first;
  if (opened != CPAFDatabase::kOpened || !database->ReadIndividual(&first, 1)) {
    vcl::MessageBox(texts::kDatabaseError, "Error", vcl::MB_OK);
    close();
    return;
  }

  collectMediaFiles();
  if (pathsRewritten) {
    deleteLists();
    collectMediaFiles();
  }

  if (foundList != nullptr) Memo1->setText(listText(foundList).cStr());
  if (foundList == nullptr && outsideList == nullptr && missingList == nullptr) {
    Memo1->setText(texts::kNoneFound);
    vcl::MessageBox(texts::kNothingToDo, "All Done", vcl::MB_OK);
    platform::endProcess(0);
  }

  if (toFile && !writeListing(listingFilePath, foundList, missingList)) {
    vcl::MessageBox("The listing file could not be written:\n" + listingFilePath, "Whoops!", vcl::MB_OK);
  }

  if (hasEntries(missingList)) {
    Memo1->setText(Memo1->text() + "\n" + texts::kNotFoundHeading + missingText(missingList).cStr());
    linksChanged = false;
    // Once a write has failed the database takes no more: nothing to rescue into.
    if (searchAndRescue && !database->WriteFailed()) rescueMissingFiles();
    if (linksChanged) {
      deleteLists();
      collectMediaFiles();
    }
  }

  // A write that did not reach the file ends the run here, in place of "Done!", "Problem!" or
  // the archive.
  if (database->WriteFailed()) {
    vcl::MessageBox(texts::kWriteFailedStart + databasePath + texts::kWriteFailedEnd, "Whoops!", vcl::MB_OK);
    return;
  }

  if (hasEntries(outsideList)) {
    vcl::MessageBox(texts::kOutsideStart + databaseFolder + texts::kOutsideMiddle + databaseFolder + texts::kOutsideEnd,
                    "Problem!", vcl::MB_OK);
    return;
  }
  if (!createArchive) {
    vcl::MessageBox("Done!", "-", vcl::MB_OK);
    return;
  }
  startArchive();
}
