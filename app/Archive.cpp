// Archive creation: a file list and a batch for the command interpreter, which runs zip.exe
// (and, for a self-extracting archive, puts the SFXWiz32.exe stub in front of the zip). The
// batch writes a marker file last; the timer polls for it every 500 ms.
#include <cstdio>
#include <string>

#include "app/Packer.h"
#include "media/FileList.h"
#include "media/Reports.h"
#include "platform/File.h"
#include "platform/Process.h"
#include "platform/TextFile.h"

namespace {

constexpr char kListFile[] = "1kvr4958.fl";
constexpr char kBatchFile[] = "1kvr4958.bat";
constexpr char kIntermediateZip[] = "1kvr4959.zip";
constexpr char kMarkerFile[] = "1kvr4960.ef";
constexpr unsigned kPollMilliseconds = 500;

std::string upToLast(const std::string& text, char c, bool including) {
  const std::string::size_type at = text.rfind(c);
  if (at == std::string::npos) return {};
  return text.substr(0, including ? at + 1 : at);
}

// Writes a whole text-mode file; false when it could not be created or written.
bool writeTextFile(const std::string& path, const std::string& text) {
  std::unique_ptr<platform::TextFileWriter> file = platform::TextFileWriter::create(path);
  if (file == nullptr) return false;
  file->write(text);
  return file->close();
}

void cannotWrite(const std::string& path) {
  vcl::MessageBox("Couldn't write " + path + "\nto create the archive.", "Whoops!", vcl::MB_OK);
}

}  // namespace

void TForm1::startArchive() {
  archiveIsSelfExtracting = selfExtracting;
  const std::string programFolder = upToLast(platform::ownProgramPath().value_or(""), '\\', true);
  const std::string zipProgramPath = programFolder + "zip.exe";
  const std::string stubProgramPath = programFolder + "SFXWiz32.exe";
  const std::string listFilePath = databaseFolder + kListFile;
  const std::string batchFilePath = databaseFolder + kBatchFile;

  if (!platform::fileExists(zipProgramPath)) {
    vcl::MessageBox("Couldn't find zip.exe to create the archive.", "Whoops!", vcl::MB_OK);
    return;
  }

  std::string list = databasePath.substr(databaseFolder.size()) + "\n";
  list += foundList != nullptr ? listText(foundList).cStr() : " -- none found --\n";
  if (!writeTextFile(listFilePath, list)) {
    cannotWrite(listFilePath);
    return;
  }

  archiveBasePath = upToLast(databasePath, '.', false);
  std::string batch = "@echo on\n";
  batch += "cd \"" + databaseFolder + "\"\n";
  batch += "\"" + zipProgramPath + "\" 1kvr4959 -@ <1kvr4958.fl\n";
  if (archiveIsSelfExtracting) {
    batch += "copy \"" + stubProgramPath + "\"/b+1kvr4959.zip/b \"" + archiveBasePath + ".exe\"\n";
  } else {
    batch += "move 1kvr4959.zip \"" + archiveBasePath + ".zip\"\n";
  }
  batch += "echo 44 >1kvr4960.ef";
  if (!writeTextFile(batchFilePath, batch)) {
    platform::deleteFile(listFilePath);
    cannotWrite(batchFilePath);
    return;
  }

  markerFilePath = databaseFolder + kMarkerFile;
  platform::deleteFile(markerFilePath);
  platform::startBatch(batchFilePath);
  Timer1->setInterval(kPollMilliseconds);
  Timer1->setEnabled(true);
}

void TForm1::Timer1Timer() {
  if (!platform::fileExists(markerFilePath)) return;
  Timer1->setInterval(0);
  Timer1->setEnabled(false);

  const std::string name = archiveBasePath + (archiveIsSelfExtracting ? ".exe" : ".zip");
  const std::string message = platform::fileExists(name) ? name + " has been created." : name;
  vcl::MessageBox(message, "Done", vcl::MB_OK);

  platform::deleteFile(markerFilePath);
  platform::deleteFile(databaseFolder + kListFile);
  platform::deleteFile(databaseFolder + kBatchFile);
  if (archiveIsSelfExtracting) platform::deleteFile(databaseFolder + kIntermediateZip);
  close();
}
