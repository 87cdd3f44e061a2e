#pragma once
// Corvane run as a user's script runs it: `corvane --console DATABASE` with its answers on
// standard input, in a throw-away Wine-style prefix whose C: holds the family, and its
// transcript read back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/PafFixture.h"
#include "tests/support/PafImage.h"
#include "tests/support/TempFolder.h"
#include "tests/tools/ToolRun.h"

namespace fx = corvane::testing::paf;
using corvane::testing::PafBuilder;
using corvane::testing::PafImage;

class ConsoleRun : public ::testing::Test {
 protected:
  ConsoleRun();

  // Host path of a Windows path on C:.
  std::filesystem::path host(const std::string& windowsPath) const;
  void addFile(const std::string& windowsPath, const std::string& bytes);
  // A family whose links, owned by individual 1, name the paths.
  static PafImage familyLinking(const std::vector<std::string>& paths);
  void install(const PafImage& image, const std::string& windowsPath = "C:\\Family\\tree.paf");

  // Runs corvane from the bin folder (the build's, unless another is given) with the answers.
  corvane::testing::ToolRun run(const std::string& database, const std::string& answers,
                                const std::filesystem::path& binFolder = CORVANE_BIN_FOLDER);

  // For the table of damaged databases, which prepares its files from outside the fixture.
 public:
  void addFileForTest(const std::string& windowsPath, const std::string& bytes) { addFile(windowsPath, bytes); }
  std::filesystem::path hostForTest(const std::string& windowsPath) const { return host(windowsPath); }

 protected:
  corvane::testing::TempFolder root_;
  std::filesystem::path prefix_;
  std::filesystem::path driveC_;
};

// Whether the transcript holds the text.
::testing::AssertionResult shows(const std::string& transcript, const std::string& text);
