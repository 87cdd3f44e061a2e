#pragma once
// A family folder C:\Family\ in a throw-away prefix, a database image from the fixture writer
// written there, and the engine opened on it by its Windows path.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "database/PAFDatabase.h"
#include "tests/support/PafFixture.h"
#include "tests/support/PafImage.h"
#include "tests/support/TempFolder.h"

namespace fx = corvane::testing::paf;
using corvane::testing::MediaLink;
using corvane::testing::PafBuilder;
using corvane::testing::PafImage;
using corvane::testing::PagePlace;
using corvane::testing::TextId;

// Header and record fields are packed and may sit at odd addresses: tests compare copies of them
// (static_cast<int>(db.header.segmentCount)), since EXPECT_EQ binds references to its arguments.

inline constexpr char16_t kDatabasePath[] = u"C:\\Family\\tree.paf";

class DatabaseTest : public ::testing::Test {
 protected:
  DatabaseTest() { prefix_.addDrive('C'); }

  // Writes the image as C:\Family\tree.paf.
  void install(const PafImage& image) { image.writeTo(prefix_.host("C:\\Family\\tree.paf")); }

  // Writes the image and opens it for reading and writing; fails the test unless it opens.
  CPAFDatabase& open(const PafImage& image) {
    install(image);
    db_ = std::make_unique<CPAFDatabase>();
    EXPECT_EQ(db_->Open(kDatabasePath, false), 1);
    return *db_;
  }

  // The file as it is on disk now.
  std::string fileBytes(std::int64_t offset, std::int64_t count) const;
  std::int32_t fileInt32(std::int64_t offset) const;

  corvane::testing::TempPrefix prefix_;
  std::unique_ptr<CPAFDatabase> db_;
};

// A small family with one kind-1 text (so the low-kind tree has a root) and `links` link
// records, each with its own path text.
PafBuilder smallFamily(int links);
