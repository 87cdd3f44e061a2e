// Damaged database files through a whole run: each ends the way the user is told it ends
// (the database error and the program closing, nothing found, or the run going on with the
// damaged records skipped), quickly, and without a byte of the file changed.
#include <chrono>
#include <functional>
#include <limits>

#include "app/PackerTexts.h"
#include "tests/hostile/HostileFamily.h"

namespace {

using hostile::Ending;
using hostile::Family;
using hostile::Layout;

struct DamagedFile {
  const char* name;
  Layout layout;
  std::function<void(Family&)> damage;
  Ending ending;
  // kDone: the main window's lists at the end of the run.
  std::vector<std::string> found = {};
  std::vector<std::string> missing = {};
  // kDone: a piece of the missing files' descriptions in the main window, when the damage
  // shows there.
  const char* memoHas = "";
};

std::int64_t textAt(const Family& f, TextId id) { return f.image.textOffset(id); }
std::int64_t linkAt(const Family& f, int number) { return f.image.recordOffset(fx::kMediaLinkPage, number); }

void pointLinks(Family& f, std::int32_t offset) {
  for (int n = 1; n <= 4; ++n) f.image.patchInt32(linkAt(f, n) + fx::kLinkPathText, offset);
}

const std::vector<std::string> kAllFound = {".\\Photos\\found.jpg", "Photos\\wedding.jpg"};
const std::vector<std::string> kAllMissing = {"Photos\\gone.jpg", "Photos\\lost.png"};

// The link page is page 5 (kTextsLast) or 6 (kLinksLast), the text page the other one.
constexpr int kLinkPage = 5;

const DamagedFile kDamagedFiles[] = {
    {"Intact", Layout::kTextsLast, [](Family&) {}, Ending::kDone, kAllFound, kAllMissing,
     "Photos\\lost.png\n  referenced from the citation\n  on the marriage event of MRin: 1\n  where the husband is Rin: 1;\n"},

    // Cut at each region boundary, and inside each region.
    {"Empty", Layout::kTextsLast, [](Family& f) { f.image.truncate(0); }, Ending::kDatabaseError},
    {"CutInsideTheHeader", Layout::kTextsLast, [](Family& f) { f.image.truncate(1000); }, Ending::kDatabaseError},
    {"CutAfterTheHeader", Layout::kTextsLast, [](Family& f) { f.image.truncate(fx::kHeaderSize); }, Ending::kDatabaseError},
    {"CutBeforeThePageCountTable", Layout::kTextsLast, [](Family& f) { f.image.truncate(fx::kPageCountTableOffset); },
     Ending::kDatabaseError},
    {"CutInsideThePageCountTable", Layout::kTextsLast, [](Family& f) { f.image.truncate(8000); }, Ending::kDatabaseError},
    {"CutBeforeTheMap", Layout::kTextsLast, [](Family& f) { f.image.truncate(fx::kFirstSegmentOffset); },
     Ending::kDatabaseError},
    {"CutInsideTheMap", Layout::kTextsLast, [](Family& f) { f.image.truncate(fx::kFirstSegmentOffset + 4096); },
     Ending::kDatabaseError},
    {"CutBeforeTheIndividuals", Layout::kTextsLast, [](Family& f) { f.image.truncate(fx::pageOffset(0, 1)); },
     Ending::kDatabaseError},
    {"CutInsideTheFirstIndividual", Layout::kTextsLast, [](Family& f) { f.image.truncate(fx::pageOffset(0, 1) + 200); },
     Ending::kDatabaseError},
    {"CutBeforeTheLinks", Layout::kTextsLast, [](Family& f) { f.image.truncate(fx::pageOffset(0, kLinkPage)); },
     Ending::kNothingFound},
    {"CutInsideTheThirdLink", Layout::kLinksLast, [](Family& f) { f.image.truncate(linkAt(f, 3) + 10); }, Ending::kDone,
     {".\\Photos\\found.jpg"}, {"Photos\\gone.jpg"}},
    {"CutBeforeTheTexts", Layout::kTextsLast, [](Family& f) { f.image.truncate(fx::pageOffset(0, kLinkPage + 1)); },
     Ending::kNothingFound},
    // The third path keeps its first seven bytes; the fourth text is gone.
    {"CutInsideTheThirdPath", Layout::kTextsLast, [](Family& f) { f.image.truncate(textAt(f, f.lost) + fx::kTextBytes + 7); },
     Ending::kDone, {".\\Photos\\found.jpg"}, {"Photos\\gone.jpg", "Photos\\"}},

    // The header.
    {"WrongSignature", Layout::kTextsLast, [](Family& f) { f.image.patch(fx::kSignatureOffset, std::string("PAG\0", 4)); },
     Ending::kDatabaseError},
    {"SegmentCountBeyondTheMaps", Layout::kTextsLast, [](Family& f) { f.image.patchInt32(fx::kSegmentCountOffset, 2); },
     Ending::kDatabaseError},
    {"SegmentCountNegative", Layout::kTextsLast, [](Family& f) { f.image.patchInt32(fx::kSegmentCountOffset, -7); },
     Ending::kDatabaseError},
    {"MediaLinkCountFarBeyondThePages", Layout::kTextsLast,
     [](Family& f) { f.image.patchInt32(fx::kMediaLinkCountOffset, std::numeric_limits<std::int32_t>::max()); },
     Ending::kDone, kAllFound, kAllMissing},
    {"MediaLinkCountNegative", Layout::kTextsLast, [](Family& f) { f.image.patchInt32(fx::kMediaLinkCountOffset, -4); },
     Ending::kNothingFound},

    // The map.
    {"MapNotMarkedAsMap", Layout::kTextsLast, [](Family& f) { f.image.patchByte(fx::mapByteOffset(0, 0), 20); },
     Ending::kDatabaseError},
    {"IndividualPageNotInTheMap", Layout::kTextsLast, [](Family& f) { f.image.patchByte(fx::mapByteOffset(0, 1), 0); },
     Ending::kDatabaseError},
    {"LinkPageNotInTheMap", Layout::kTextsLast, [](Family& f) { f.image.patchByte(fx::mapByteOffset(0, kLinkPage), 0); },
     Ending::kNothingFound},
    {"LinkPageMarkedAsJunk", Layout::kTextsLast, [](Family& f) { f.image.patchByte(fx::mapByteOffset(0, kLinkPage), 200); },
     Ending::kNothingFound},
    // The texts are read by offset, whatever the map says of their page.
    {"TextPageMarkedAsLinks", Layout::kTextsLast, [](Family& f) { f.image.patchByte(fx::mapByteOffset(0, kLinkPage + 1), 20); },
     Ending::kDone, kAllFound, kAllMissing},

    // Page counts that disagree with the map.
    {"IndividualPagesCountedAsNone", Layout::kTextsLast, [](Family& f) { f.image.patchInt16(fx::pageCountOffset(0, 2), 0); },
     Ending::kDatabaseError},
    {"LinkPagesCountedAsNone", Layout::kTextsLast,
     [](Family& f) { f.image.patchInt16(fx::pageCountOffset(0, fx::kMediaLinkPage), 0); }, Ending::kNothingFound},
    {"LinkPagesCountedNegative", Layout::kTextsLast,
     [](Family& f) { f.image.patchInt16(fx::pageCountOffset(0, fx::kMediaLinkPage), -1); }, Ending::kNothingFound},
    {"LinkPagesCountedBeyondTheMap", Layout::kTextsLast,
     [](Family& f) { f.image.patchInt16(fx::pageCountOffset(0, fx::kMediaLinkPage), 32767); }, Ending::kDone, kAllFound,
     kAllMissing},
    {"LinkPagesCountedInSegmentsThatDoNotExist", Layout::kTextsLast,
     [](Family& f) {
       for (int s = 1; s < fx::kMaxSegments; ++s) f.image.patchInt16(fx::pageCountOffset(s, fx::kMediaLinkPage), 32767);
       f.image.patchInt32(fx::kMediaLinkCountOffset, std::numeric_limits<std::int32_t>::max());
     },
     Ending::kDone, kAllFound, kAllMissing},

    // Links whose path texts are not where they say.
    {"PathsPastTheEndOfTheFile", Layout::kTextsLast,
     [](Family& f) { pointLinks(f, static_cast<std::int32_t>(f.image.size() + 100)); }, Ending::kNothingFound},
    {"PathsPartlyPastTheEndOfTheFile", Layout::kTextsLast,
     [](Family& f) { pointLinks(f, static_cast<std::int32_t>(f.image.size() - 12)); }, Ending::kNothingFound},
    {"PathsAtTheLastOffset", Layout::kTextsLast, [](Family& f) { pointLinks(f, std::numeric_limits<std::int32_t>::max()); },
     Ending::kNothingFound},
    {"PathsAtNegativeOffsets", Layout::kTextsLast, [](Family& f) { pointLinks(f, -8192); }, Ending::kNothingFound},
    // Five bytes into its record, the second link's path reads from the path's sixth byte on.
    {"PathIntoTheMiddleOfARecord", Layout::kTextsLast,
     [](Family& f) { f.image.patchInt32(linkAt(f, 2) + fx::kLinkPathText, static_cast<std::int32_t>(textAt(f, f.gone) + 5)); },
     Ending::kDone, kAllFound, {"s\\gone.jpg", "Photos\\lost.png"}},
    // The last text runs to the end of the page and the file: it is cut at 255 bytes.
    {"PathWithoutTerminator", Layout::kTextsLast,
     [](Family& f) {
       const std::int64_t end = textAt(f, f.wedding) + fx::kTextBytes + 18;  // "Photos\wedding.jpg"
       f.image.patch(end, std::string(static_cast<std::size_t>(fx::pageOffset(0, kLinkPage + 2) - end), 'A'));
     },
     Ending::kDone, {".\\Photos\\found.jpg"},
     {"Photos\\gone.jpg", "Photos\\lost.png", "Photos\\wedding.jpg" + std::string(255 - 18, 'A')}},

    // Owner records that cannot be read are described as such.
    {"CitationBeyondItsPages", Layout::kTextsLast, [](Family& f) { f.image.patchInt32(linkAt(f, 3) + fx::kLinkOwnerNumber, 5000); },
     Ending::kDone, kAllFound, kAllMissing, "Photos\\lost.png\nreferenced from a citation record\n with unknown owner_type: ;\n"},
    {"CitedMarriageBeyondItsPages", Layout::kTextsLast,
     [](Family& f) {
       f.image.patchInt32(f.image.recordOffset(fx::kCitationPage, 1) + fx::kCitationOwnerNumber, 5000);
     },
     Ending::kDone, kAllFound, kAllMissing, "\n  mrin lookup failed on MRin: 5000;\n"},
};

class DamagedFileTest : public hostile::HostileRunTest, public ::testing::WithParamInterface<DamagedFile> {};

TEST_P(DamagedFileTest, EndsAsTheUserIsToldAndLeavesTheFileAlone) {
  const DamagedFile& row = GetParam();
  Family family = hostile::buildFamily(row.layout);
  row.damage(family);
  addFoundFiles();
  installFamily(family.image);
  const std::string before = databaseBytes();
  form_->show();
  plainRun();

  const auto start = std::chrono::steady_clock::now();
  const int status = run();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << "the run took too long";

  EXPECT_TRUE(ui_.unusedSteps().empty());
  switch (row.ending) {
    case Ending::kDatabaseError:
      EXPECT_EQ(status, -1);
      EXPECT_EQ(lastMessage().caption, "Error");
      EXPECT_EQ(lastMessage().text, texts::kDatabaseError);
      EXPECT_FALSE(form_->visible());
      break;
    case Ending::kNothingFound:
      EXPECT_EQ(status, 0);
      EXPECT_EQ(lastMessage().caption, "All Done");
      EXPECT_EQ(form_->Memo1->text(), std::string(texts::kNoneFound) + "\n");
      break;
    case Ending::kDone:
      EXPECT_EQ(status, -1);
      EXPECT_EQ(lastMessage().text, "Done!");
      EXPECT_EQ(pathsOf(form_->foundList), row.found);
      EXPECT_EQ(pathsOf(form_->missingList), row.missing);
      EXPECT_NE(form_->Memo1->text().find(row.memoHas), std::string::npos) << form_->Memo1->text();
      break;
  }
  EXPECT_TRUE(databaseBytes() == before) << "the run changed the file";
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedFileTest, ::testing::ValuesIn(kDamagedFiles),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

// Damage that a run meets when it writes: a full path under the database folder makes the
// collection look its ".\" form up in the text tree and append it. The look-up must end, and
// the append must land on free bytes, so that no other link loses its path.
struct DamagedTree {
  const char* name;
  std::function<void(PafImage&, const std::vector<std::int64_t>& paths)> damage;
};

void linkEveryPathTo(PafImage& image, const std::vector<std::int64_t>& paths, std::int64_t target) {
  for (const std::int64_t text : paths) {
    image.patchInt32(text + fx::kTextLeft, static_cast<std::int32_t>(target));
    image.patchInt32(text + fx::kTextRight, static_cast<std::int32_t>(target));
  }
}

// paths: the kind-5 texts in the order stored, the tree's root among them.
const DamagedTree kDamagedTrees[] = {
    // Every walk ends in the first two paths sending it to each other.
    {"TwoPathsLinkedInACircle",
     [](PafImage& i, const auto& paths) {
       linkEveryPathTo(i, paths, paths[0]);
       i.patchInt32(paths[0] + fx::kTextLeft, static_cast<std::int32_t>(paths[1]));
       i.patchInt32(paths[0] + fx::kTextRight, static_cast<std::int32_t>(paths[1]));
     }},
    {"EveryPathLinkedToTheRoot",
     [](PafImage& i, const auto& paths) { linkEveryPathTo(i, paths, i.readInt32(fx::kHighKindTreeRootOffset)); }},
    {"EveryPathLinkedPastTheEnd", [](PafImage& i, const auto& paths) { linkEveryPathTo(i, paths, 0x7FFFFF00); }},
    // The header's free room begins on texts in use: as if the last appends never reached it.
    {"AppendOffsetBackOnTheTexts",
     [](PafImage& i, const auto& paths) { i.patchInt32(fx::kTextAppendOffsetOffset, static_cast<std::int32_t>(paths[0])); }},
    {"AppendOffsetInsideTheLastText",
     [](PafImage& i, const auto& paths) {
       i.patchInt32(fx::kTextAppendOffsetOffset, static_cast<std::int32_t>(paths.back() + 3));
     }},
};

class DamagedTreeRunTest : public hostile::HostileRunTest, public ::testing::WithParamInterface<DamagedTree> {};

TEST_P(DamagedTreeRunTest, RewriteEndsAndNoOtherPathChanges) {
  PafBuilder b;
  b.addText("Marlow", 1);
  b.addIndividual();
  for (const char* path : {"Photos\\a.jpg", "Photos\\b.jpg", "Photos\\c.jpg", "Photos\\d.jpg"}) b.addText(path, 5);
  b.addMediaLink(fx::kOwnerIndividual, 1, "C:\\Family\\Photos\\found.jpg");
  b.addMediaLink(fx::kOwnerIndividual, 1, "Photos\\gone.jpg");
  b.addMediaLink(fx::kOwnerIndividual, 1, "Photos\\wedding.jpg");
  b.leaveTextRoom(500);
  PafImage image = b.build();
  std::vector<std::int64_t> paths;
  for (TextId id = 2; id <= 8; ++id) paths.push_back(image.textOffset(id));
  GetParam().damage(image, paths);
  addFoundFiles();
  installFamily(image);
  plainRun();

  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(run(), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << "the run took too long";
  EXPECT_EQ(lastMessage().text, "Done!");
  EXPECT_EQ(pathsOf(form_->foundList), (std::vector<std::string>{".\\Photos\\found.jpg", "Photos\\wedding.jpg"}));
  EXPECT_EQ(pathsOf(form_->missingList), std::vector<std::string>{"Photos\\gone.jpg"});
  const std::string now = databaseBytes();
  for (TextId id = 1; id <= 8; ++id) {
    const std::int64_t at = image.textOffset(id);
    EXPECT_EQ(now.substr(static_cast<std::size_t>(at), 40), image.read(at, 40)) << "text " << id << " was overwritten";
  }
}

INSTANTIATE_TEST_SUITE_P(Trees, DamagedTreeRunTest, ::testing::ValuesIn(kDamagedTrees),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

}  // namespace
