#pragma once
// A family in a throw-away prefix for the link repair and the disk search: the database
// C:\Fam\tree.paf written by the fixture writer from a description, opened for writing and set
// as the lists' database, the main window (Form1) with C:\Fam\ as its database folder, and
// helpers to build missingList and to read back what the repair wrote into the file.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Packer.h"
#include "database/PAFDatabase.h"
#include "media/FileList.h"
#include "tests/support/PafFixture.h"
#include "tests/support/TempFolder.h"

class FamilyFixture : public ::testing::Test {
 protected:
  static constexpr char16_t kDatabase[] = u"C:\\Fam\\tree.paf";

  FamilyFixture() {
    prefix_.addDrive('C');
    form_ = std::make_unique<TForm1>(nullptr);
    form_->databaseFolder = "C:\\Fam\\";
    form_->normalizePaths = true;
  }
  ~FamilyFixture() override { FileList::setDatabase(nullptr); }

  // A link record owned by the individual, whose path is the kind-5 text `storedPath`; returns
  // its number. The texts of a family are shared: one text per distinct path.
  int addLink(const std::string& storedPath) {
    return family_.addMediaLink(corvane::testing::paf::kOwnerIndividual, rin_, storedPath);
  }

  // Writes the family as C:\Fam\tree.paf and opens it for reading and writing.
  void open() {
    image_ = family_.build();
    image_.writeTo(prefix_.host("C:\\Fam\\tree.paf"));
    db_ = std::make_unique<CPAFDatabase>();
    ASSERT_EQ(db_->Open(kDatabase, false), 1);
    textsAtStart_ = db_->header.textRecordCount;
    FileList::setDatabase(db_.get());
  }

  // Appends a missing entry for the link record to the list, making the list on first use.
  static void addMissing(std::unique_ptr<FileList>& list, const std::string& storedPath, int link) {
    auto* entry = new FileList(storedPath.c_str());
    entry->setOwner(link, 1, 100);
    if (list == nullptr) {
      list.reset(entry);
    } else {
      list->append(entry);
    }
  }

  // The path of the link record's pathText, read from the file as it is now with an engine of
  // its own; nullopt when it cannot be read.
  std::optional<std::string> linkPathOnDisk(int link) const {
    CPAFDatabase reader;
    if (reader.Open(kDatabase, true) != 1) return std::nullopt;
    MediaLinkRecord record;
    TextRecord text;
    if (!reader.ReadMediaLink(&record, link)) return std::nullopt;
    const char* path = reader.GetText(record.pathText, &text);
    if (path == nullptr) return std::nullopt;
    return std::string(path);
  }

  std::int32_t pathTextOnDisk(int link) const {
    CPAFDatabase reader;
    MediaLinkRecord record{};
    if (reader.Open(kDatabase, true) == 1) reader.ReadMediaLink(&record, link);
    return record.pathText;
  }

  // Text records added to the file since it was opened.
  int textsAdded() const { return db_->header.textRecordCount - textsAtStart_; }

  static std::vector<std::string> pathsOf(const FileList& list) {
    std::vector<std::string> paths;
    for (const FileList* entry = &list; entry != nullptr; entry = entry->next) paths.emplace_back(entry->path.cStr());
    return paths;
  }

  corvane::testing::TempPrefix prefix_;
  std::unique_ptr<TForm1> form_;
  corvane::testing::PafBuilder family_;
  int rin_ = family_.addIndividual();
  corvane::testing::PafImage image_;
  std::unique_ptr<CPAFDatabase> db_;
  std::int32_t textsAtStart_ = 0;
};
