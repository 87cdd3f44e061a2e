// A disk that fails under a run: the n-th write of the run reaches the file short (a full or
// failing disk), for every n the run makes. The user is told instead of "Done!", nothing more
// is written, the file opens with every link at its old path or its repaired one, and a run
// on a healthy disk afterwards finishes the job.
#include <cstring>

#include "app/PackerTexts.h"
#include "platform/FileFaults.h"
#include "tests/hostile/HostileFamily.h"

namespace {

// Link records and the paths they have before and after a run that repairs them all.
struct Link {
  const char* before;
  const char* after;
};
const Link kLinks[] = {
    {"C:\\Family\\Photos\\a.jpg", ".\\Photos\\a.jpg"},  // rewritten by the collection
    {"Photos\\old\\b.jpg", ".\\Photos\\b.jpg"},         // repaired by the disk search
    {"Photos\\old\\c.jpg", ".\\Photos\\c.jpg"},
    {"Photos\\old\\d.jpg", ".\\Scans\\d.jpg"},
    {".\\Photos\\e.jpg", ".\\Photos\\e.jpg"},  // found, never written
};
constexpr int kLinkCount = sizeof kLinks / sizeof kLinks[0];

// The text page has room for the first new text only, so that the second one allocates a page:
// every kind of write the engine makes happens in one run.
PafImage faultFamily() {
  PafBuilder b;
  b.addText("Okafor", 1);
  b.addIndividual();
  for (const Link& link : kLinks) b.addMediaLink(fx::kOwnerIndividual, 1, link.before);
  b.leaveTextRoom(40);
  return b.build();
}

// How much of the failing write reaches the file: always less than all of it.
struct Fault {
  const char* name;
  std::size_t (*reaching)(std::size_t size);
};
const Fault kFaults[] = {
    {"NothingReachesTheFile", [](std::size_t) -> std::size_t { return 0; }},
    {"OneByteReachesTheFile", [](std::size_t size) -> std::size_t { return size > 1 ? 1 : 0; }},
    {"HalfReachesTheFile", [](std::size_t size) { return size / 2; }},
    {"AllButTheLastByteReachTheFile", [](std::size_t size) { return size - 1; }},
};

class WriteFaultTest : public hostile::HostileRunTest {
 protected:
  WriteFaultTest() {
    for (const char* file : {"C:\\Family\\Photos\\a.jpg", "C:\\Family\\Photos\\b.jpg", "C:\\Family\\Photos\\c.jpg",
                             "C:\\Family\\Scans\\d.jpg", "C:\\Family\\Photos\\e.jpg"}) {
      addFile(file);
    }
  }
  ~WriteFaultTest() override { platform::setWriteFaultHook({}); }

  struct Outcome {
    int writes = 0;                  // writes the run attempted
    std::vector<ui::Shown> boxes;    // message boxes it showed
    bool scriptUsedUp = false;
  };

  // A run with the n-th write (1-based; 0 = none) failing the fault's way. Options: no archive,
  // the disk search without guidance (the dialog keeps them from one run to the next); OK on
  // every box, of which the search shows one more when it leaves files missing. A backend of
  // its own per run, so that answers it did not need go with it.
  Outcome runFailingAt(int n, const Fault& fault) {
    ui::TestBackend ui;
    if (!optionsSet_) ui.click("cbCreateArchive").click("cbBruteForce");
    optionsSet_ = true;
    ui.click("btnOK").press(vcl::IDOK);
    if (n != 0) ui.press(vcl::IDOK);
    Outcome outcome;
    platform::setWriteFaultHook([&outcome, n, &fault](std::int64_t, std::size_t size) {
      return ++outcome.writes == n ? fault.reaching(size) : size;
    });
    EXPECT_EQ(run(), -1);
    platform::setWriteFaultHook({});
    outcome.boxes = ui.shown(ui::Shown::Kind::MessageBox);
    outcome.scriptUsedUp = ui.unusedSteps().empty();
    return outcome;
  }

  // Every link record reads, with all its bytes as the fixture wrote them but its path text,
  // which holds the link's repaired path, or (unless allRepaired) its old one.
  void expectEveryLink(const PafImage& image, bool allRepaired) {
    CPAFDatabase db;
    ASSERT_EQ(db.Open(u"C:\\Family\\tree.paf", true), 1);
    for (int n = 1; n <= kLinkCount; ++n) {
      SCOPED_TRACE("link " + std::to_string(n));
      MediaLinkRecord link;
      ASSERT_TRUE(db.ReadMediaLink(&link, n));
      MediaLinkRecord written;
      std::memcpy(&written, image.read(image.recordOffset(fx::kMediaLinkPage, n), sizeof written).data(), sizeof written);
      written.pathText = link.pathText;
      EXPECT_EQ(std::memcmp(&written, &link, sizeof link), 0) << "bytes beyond the path text changed";
      TextRecord text;
      const char* path = db.GetText(link.pathText, &text);
      ASSERT_NE(path, nullptr);
      const Link& expected = kLinks[n - 1];
      const bool old = !allRepaired && std::strcmp(path, expected.before) == 0;
      EXPECT_TRUE(old || std::strcmp(path, expected.after) == 0) << path;
    }
  }

  bool optionsSet_ = false;
};

TEST_F(WriteFaultTest, EveryFailingWriteIsReportedAndTheNextRunFinishesTheJob) {
  const PafImage image = faultFamily();
  installFamily(image);
  const Outcome clean = runFailingAt(0, kFaults[0]);
  ASSERT_EQ(clean.boxes.back().text, "Done!");
  ASSERT_GE(clean.writes, 12) << "the run no longer makes every kind of write";

  const std::string failed =
      std::string(texts::kWriteFailedStart) + "C:\\Family\\tree.paf" + texts::kWriteFailedEnd;
  for (const Fault& fault : kFaults) {
    for (int n = 1; n <= clean.writes; ++n) {
      SCOPED_TRACE(std::string(fault.name) + " at write " + std::to_string(n));
      installFamily(image);
      const Outcome failing = runFailingAt(n, fault);
      EXPECT_EQ(failing.writes, n) << "the run wrote on after a failed write";
      EXPECT_EQ(failing.boxes.back().caption, "Whoops!");
      EXPECT_EQ(failing.boxes.back().text, failed);
      expectEveryLink(image, false);

      const Outcome next = runFailingAt(0, fault);
      EXPECT_EQ(next.boxes.back().text, "Done!");
      EXPECT_TRUE(next.scriptUsedUp);
      EXPECT_EQ(pathsOf(form_->missingList), std::vector<std::string>{});
      expectEveryLink(image, true);
      if (HasFailure()) return;
    }
  }
}

}  // namespace
