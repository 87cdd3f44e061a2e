#pragma once
// A family folder in a throw-away prefix (C:\Family\ and D:\), a database from the fixture
// writer at C:\Family\tree.paf, and the main window with that database open, as a run has it
// right after opening.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Packer.h"
#include "database/PAFDatabase.h"
#include "media/FileList.h"
#include "tests/support/PafFixture.h"
#include "tests/support/PafImage.h"
#include "tests/support/TempFolder.h"

namespace fx = corvane::testing::paf;
using corvane::testing::MediaLink;
using corvane::testing::PafBuilder;
using corvane::testing::PafImage;
using corvane::testing::TextId;

// The paths of a list, in order; an empty vector for a null list.
std::vector<std::string> pathsOf(const FileList* list);

class FamilyTest : public ::testing::Test {
 protected:
  FamilyTest();
  ~FamilyTest() override;

  // Creates a small file at a Windows path (on C: or D:).
  void addFile(const std::string& windowsPath, const std::string& bytes = "jpeg");

  // Writes the database as C:\Family\tree.paf and opens it in the main window.
  void openFamily(const PafImage& image);

  corvane::testing::TempPrefix prefix_;
  TForm1* form_;
};
