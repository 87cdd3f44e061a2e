// Collecting the media references into the found, missing and outside lists, the rewrite of
// absolute paths under the database folder, and the two path conversions.
#include <cstring>

#include "tests/app/FamilyTestSupport.h"

namespace {

using Paths = std::vector<std::string>;

struct LinkSpec {
  int ownerType;
  std::string first;   // "" = no path text
  std::string second;  // "" = no second path text
};

struct CollectCase {
  const char* name;
  std::vector<LinkSpec> links;
  Paths found, missing, outside;
  bool rewritten;
};

class CollectTest : public FamilyTest, public ::testing::WithParamInterface<CollectCase> {};

TEST_P(CollectTest, SortsEachReference) {
  addFile("C:\\Family\\Photos\\me.jpg");
  addFile("D:\\Pics\\a.jpg");
  PafBuilder b;
  b.addIndividual();
  b.addText("Marlow", 1);
  for (const LinkSpec& link : GetParam().links) {
    const TextId first = link.first.empty() ? corvane::testing::kNoText : b.pathText(link.first);
    const TextId second = link.second.empty() ? corvane::testing::kNoText : b.pathText(link.second);
    b.addMediaLink(MediaLink{link.ownerType, 1, first, second});
  }
  openFamily(b.build());
  form_->collectMediaFiles();
  EXPECT_EQ(pathsOf(form_->foundList), GetParam().found);
  EXPECT_EQ(pathsOf(form_->missingList), GetParam().missing);
  EXPECT_EQ(pathsOf(form_->outsideList), GetParam().outside);
  EXPECT_EQ(form_->pathsRewritten, GetParam().rewritten);
}

const CollectCase kCollectCases[] = {
    {"RelativePathFound", {{100, "Photos\\me.jpg", ""}}, {"Photos\\me.jpg"}, {}, {}, false},
    {"DotBackslashPathFound", {{100, ".\\Photos\\me.jpg", ""}}, {".\\Photos\\me.jpg"}, {}, {}, false},
    {"FileSystemIgnoresCaseOfTheRelativePath", {{100, "photos\\ME.jpg", ""}}, {"photos\\ME.jpg"}, {}, {}, false},
    {"AbsolutePathUnderTheFolderIsRewrittenAndListedNowhere", {{100, "C:\\Family\\Photos\\me.jpg", ""}}, {}, {}, {}, true},
    // The folder test counts letter case although the file system does not.
    {"AbsolutePathInOtherLetterCaseIsOutside",
     {{100, "c:\\family\\Photos\\me.jpg", ""}},
     {"c:\\family\\Photos\\me.jpg"}, {}, {"c:\\family\\Photos\\me.jpg"}, false},
    {"FileOnAnotherDriveIsOutside", {{102, "D:\\Pics\\a.jpg", ""}}, {"D:\\Pics\\a.jpg"}, {}, {"D:\\Pics\\a.jpg"}, false},
    {"MissingFirstPathHidesTheSecond", {{100, "Photos\\gone.jpg", "Photos\\me.jpg"}}, {}, {"Photos\\gone.jpg"}, {}, false},
    {"SecondPathFoundBesideTheFirst",
     {{100, "Photos\\me.jpg", ".\\Photos\\me.jpg"}},
     {"Photos\\me.jpg", ".\\Photos\\me.jpg"}, {}, {}, false},
    // A second path is never rewritten, even one under the database folder.
    {"SecondPathOnlyAtItsFullPathIsOutside",
     {{100, "Photos\\me.jpg", "C:\\Family\\Photos\\me.jpg"}},
     {"Photos\\me.jpg", "C:\\Family\\Photos\\me.jpg"}, {}, {"C:\\Family\\Photos\\me.jpg"}, false},
    {"SecondPathMissing", {{100, "Photos\\me.jpg", "Photos\\gone.jpg"}}, {"Photos\\me.jpg"}, {"Photos\\gone.jpg"}, {}, false},
    {"RewrittenFirstPathStillLooksAtTheSecond",
     {{100, "C:\\Family\\Photos\\me.jpg", "Photos\\gone.jpg"}},
     {}, {"Photos\\gone.jpg"}, {}, true},
    {"OwnerTypeZeroIsNoLink", {{0, "Photos\\me.jpg", "Photos\\gone.jpg"}}, {}, {}, {}, false},
    {"UnknownOwnerTypeIsStillALink", {{200, "Photos\\gone.jpg", ""}}, {}, {"Photos\\gone.jpg"}, {}, false},
    {"NoFirstPathTextSkipsTheSecond", {{100, "", "Photos\\gone.jpg"}}, {}, {}, {}, false},
    {"EmptyFirstPathSkipsTheSecond", {{100, "", ""}}, {}, {}, {}, false},
    {"SameFileTwiceIsListedTwice",
     {{100, "Photos\\me.jpg", ""}, {102, "Photos\\me.jpg", ""}},
     {"Photos\\me.jpg", "Photos\\me.jpg"}, {}, {}, false},
};

INSTANTIATE_TEST_SUITE_P(References, CollectTest, ::testing::ValuesIn(kCollectCases),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

TEST_F(FamilyTest, EmptyPathTextIsSkipped) {
  PafBuilder b;
  b.addIndividual();
  b.addMediaLink(MediaLink{100, 1, b.addText("", 5), b.pathText("Photos\\gone.jpg")});
  openFamily(b.build());
  form_->collectMediaFiles();
  EXPECT_EQ(form_->missingList, nullptr);
  EXPECT_EQ(form_->foundList, nullptr);
}

TEST_F(FamilyTest, MissingEntriesCarryTheirOwner) {
  PafBuilder b;
  b.addIndividual();
  b.addMediaLink(MediaLink{});
  b.addMediaLink(MediaLink{132, 77, b.pathText("Photos\\gone.jpg"), 0});
  openFamily(b.build());
  form_->collectMediaFiles();
  ASSERT_NE(form_->missingList, nullptr);
  EXPECT_EQ(form_->missingList->linkRecord, 2);
  EXPECT_EQ(form_->missingList->ownerRecord, 77);
  EXPECT_EQ(form_->missingList->ownerType, 132);
  EXPECT_EQ(FileList::database(), form_->database);
}

TEST_F(FamilyTest, CollectionEmptiesTheMemo) {
  openFamily(PafBuilder().build());
  form_->Memo1->setText("old report");
  form_->collectMediaFiles();
  EXPECT_EQ(form_->Memo1->text(), "");
}

class RewriteTest : public FamilyTest {
 protected:
  // One link to C:\Family\Photos\me.jpg; with `existingDotText`, the database already holds
  // .\Photos\me.jpg as a kind-5 text.
  void openWithAbsoluteLink(bool existingDotText) {
    addFile("C:\\Family\\Photos\\me.jpg");
    PafBuilder b;
    b.addIndividual();
    b.addText("Marlow", 1);
    b.addMediaLink(fx::kOwnerIndividual, 1, "C:\\Family\\Photos\\me.jpg");
    if (existingDotText) dotText_ = b.pathText(".\\Photos\\me.jpg");
    image_ = b.build();
    openFamily(image_);
  }

  std::string linkPath() {
    MediaLinkRecord link;
    TextRecord text;
    EXPECT_TRUE(form_->database->ReadMediaLink(&link, 1));
    const char* path = form_->database->GetText(link.pathText, &text);
    return path == nullptr ? "<none>" : path;
  }

  PafImage image_;
  TextId dotText_ = corvane::testing::kNoText;
};

TEST_F(RewriteTest, NewDotTextIsAddedAndTheSecondCollectionFindsIt) {
  openWithAbsoluteLink(false);
  const int texts = form_->database->header.textRecordCount;
  form_->collectMediaFiles();
  EXPECT_TRUE(form_->pathsRewritten);
  EXPECT_EQ(static_cast<int>(form_->database->header.textRecordCount), texts + 1);
  EXPECT_EQ(linkPath(), ".\\Photos\\me.jpg");

  delete form_->foundList;
  form_->foundList = nullptr;
  form_->collectMediaFiles();
  EXPECT_FALSE(form_->pathsRewritten);
  EXPECT_EQ(pathsOf(form_->foundList), Paths{".\\Photos\\me.jpg"});
}

TEST_F(RewriteTest, ExistingDotTextIsReusedAndNoTextIsAdded) {
  openWithAbsoluteLink(true);
  const int texts = form_->database->header.textRecordCount;
  form_->collectMediaFiles();
  MediaLinkRecord link;
  ASSERT_TRUE(form_->database->ReadMediaLink(&link, 1));
  EXPECT_EQ(static_cast<int>(link.pathText), image_.textOffset(dotText_));
  EXPECT_EQ(static_cast<int>(form_->database->header.textRecordCount), texts);
}

TEST_F(FamilyTest, LongFolderNamesAreLookedUpWhole) {
  // Far past the 89 characters a fixed key buffer would hold.
  const std::string folder = "C:\\Family\\" + std::string(120, 'f') + "\\";
  addFile(folder + "me.jpg");
  PafBuilder b;
  b.addIndividual();
  b.addText("Marlow", 1);
  const std::string dot = ".\\" + std::string(120, 'f') + "\\me.jpg";
  const TextId existing = b.pathText(dot);
  b.addMediaLink(fx::kOwnerIndividual, 1, folder + "me.jpg");
  PafImage image = b.build();
  openFamily(image);
  form_->collectMediaFiles();
  MediaLinkRecord link;
  ASSERT_TRUE(form_->database->ReadMediaLink(&link, 1));
  EXPECT_EQ(static_cast<int>(link.pathText), image.textOffset(existing));
}

struct ConversionCase {
  const char* input;
  const char* fullPath;
  const char* storedForm;
};

class PathConversionTest : public FamilyTest, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(PathConversionTest, FollowsTheDatabaseFolder) {
  form_->databaseFolder = "C:\\Family\\";
  EXPECT_STREQ(form_->fullPathOf(GetParam().input).cStr(), GetParam().fullPath);
  EXPECT_STREQ(form_->fullPathOf(Str(GetParam().input)).cStr(), GetParam().fullPath);
  EXPECT_STREQ(form_->storedFormOf(Str(GetParam().input)).cStr(), GetParam().storedForm);
}

const ConversionCase kConversions[] = {
    {"D:\\Pics\\a.jpg", "D:\\Pics\\a.jpg", "D:\\Pics\\a.jpg"},
    {".\\Pics\\a.jpg", "C:\\Family\\Pics\\a.jpg", ".\\Pics\\a.jpg"},
    {"Pics\\a.jpg", "C:\\Family\\Pics\\a.jpg", "Pics\\a.jpg"},
    // Only a backslash after the dot makes the ".\" form.
    {"./Pics/a.jpg", "C:\\Family\\./Pics/a.jpg", "./Pics/a.jpg"},
    {"c:\\family\\Pics\\a.jpg", "c:\\family\\Pics\\a.jpg", ".\\Pics\\a.jpg"},
    {"C:\\FAMILY\\\xC9t\xE9.jpg", "C:\\FAMILY\\\xC9t\xE9.jpg", ".\\\xC9t\xE9.jpg"},
    {"C:\\Fam", "C:\\Fam", "C:\\Fam"},
};

INSTANTIATE_TEST_SUITE_P(Paths, PathConversionTest, ::testing::ValuesIn(kConversions));

}  // namespace
