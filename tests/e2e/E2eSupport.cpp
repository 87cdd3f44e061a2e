#include "tests/e2e/E2eSupport.h"

#include <fstream>

namespace fs = std::filesystem;

ConsoleRun::ConsoleRun() : prefix_(root_.makeFolder("prefix")), driveC_(root_.makeFolder("drive_c")) {
  fs::create_directories(prefix_ / "dosdevices");
  fs::create_directory_symlink(driveC_, prefix_ / "dosdevices" / "c:");
}

fs::path ConsoleRun::host(const std::string& windowsPath) const {
  fs::path path = driveC_;
  std::string part;
  for (char c : windowsPath.substr(3) + "\\") {
    if (c == '\\') {
      if (!part.empty()) path /= part;
      part.clear();
    } else {
      part += c;
    }
  }
  return path;
}

void ConsoleRun::addFile(const std::string& windowsPath, const std::string& bytes) {
  const fs::path file = host(windowsPath);
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

PafImage ConsoleRun::familyLinking(const std::vector<std::string>& paths) {
  PafBuilder b;
  b.addIndividual();
  b.addText("Marlow", 1);
  for (const std::string& path : paths) b.addMediaLink(fx::kOwnerIndividual, 1, path);
  return b.build();
}

void ConsoleRun::install(const PafImage& image, const std::string& windowsPath) { image.writeTo(host(windowsPath)); }

corvane::testing::ToolRun ConsoleRun::run(const std::string& database, const std::string& answers, const fs::path& binFolder) {
  const fs::path input = root_.writeFile("answers.txt", answers);
  corvane::testing::ToolSetup setup;
  setup.folder = root_.path();
  setup.winePrefix = prefix_;
  setup.input = input;
  std::vector<std::string> arguments = {"--console"};
  if (!database.empty()) arguments.push_back(database);
  return corvane::testing::runTool((binFolder / "corvane").string(), arguments, setup);
}

::testing::AssertionResult shows(const std::string& transcript, const std::string& text) {
  if (transcript.find(text) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the transcript lacks\n" << text << "\n--- transcript ---\n" << transcript;
}
