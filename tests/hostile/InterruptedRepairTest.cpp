// Corvane killed during link repair, between any two of its writes to the database: the file
// opens, every link record is its old self or its repaired self, and the next run finishes
// the repair. The real program runs on the console front end; strace kills it on entry to its
// k-th positioned write (the database is the only file Corvane writes that way), for every k.
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "database/PAFDatabase.h"
#include "tests/hostile/Program.h"
#include "tests/support/PafFixture.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fx = corvane::testing::paf;
using corvane::testing::PafBuilder;
using corvane::testing::PafImage;

constexpr char kStrace[] = "/usr/bin/strace";
constexpr char kDatabase[] = "C:\\Family\\tree.paf";
// Options: 7 the disk search without guidance, 11 no archive, OK. Every box after that takes
// OK at end of input, and the main window closes.
constexpr char kAnswers[] = "7\n11\nOK\n";
constexpr int kMissing = 16;

struct Link {
  std::string before;
  std::string after;
};

std::string numbered(const char* prefix, int i) { return prefix + std::to_string(100 + i) + ".jpg"; }

// A full path under the folder (rewritten), then kMissing missing files, two of each name, that
// lie in C:\Family\Photos\, where the disk search starts. The text page has room for a few new
// texts only, so that the repair allocates a page on the way.
std::vector<Link> familyLinks() {
  std::vector<Link> links = {{"C:\\Family\\Photos\\first.jpg", ".\\Photos\\first.jpg"}};
  for (int i = 0; i < kMissing; ++i) links.push_back({numbered("Photos\\old\\p", i / 2), numbered(".\\Photos\\p", i / 2)});
  return links;
}

class InterruptedRepairTest : public ::testing::Test {
 protected:
  InterruptedRepairTest() {
    prefix_.addDrive('C');
    PafBuilder b;
    b.addText("Lindqvist", 1);
    b.addIndividual();
    for (const Link& link : links_) b.addMediaLink(fx::kOwnerIndividual, 1, link.before);
    b.leaveTextRoom(120);
    image_ = b.build();
    prefix_.writeFile("C:\\Family\\Photos\\first.jpg", "jpeg");
    for (int i = 0; i < kMissing / 2; ++i) prefix_.writeFile(numbered("C:\\Family\\Photos\\p", i), "jpeg");
  }

  // A run of Corvane; with killAt > 0, killed on entry to its killAt-th positioned write.
  hostile::Program& runCorvane(int killAt) {
    std::vector<std::string> argv = {CORVANE_PROGRAM, "--console", kDatabase};
    if (killAt > 0) {
      argv.insert(argv.begin(), {kStrace, "-f", "-qq", "-o", "/dev/null", "-e", "trace=pwrite64", "-e",
                                 "inject=pwrite64:signal=KILL:when=" + std::to_string(killAt)});
    }
    program_.emplace_back(std::make_unique<hostile::Program>(argv, prefix_.prefix().string()));
    return hostile::runToEnd(*program_.back(), kAnswers);
  }

  // Every link record reads with its bytes as written but its path text, which holds its old
  // path or its repaired one (only the repaired one when `repaired`).
  void expectEveryLink(bool repaired) {
    CPAFDatabase db;
    ASSERT_EQ(db.Open(u"C:\\Family\\tree.paf", true), 1);
    for (std::size_t n = 1; n <= links_.size(); ++n) {
      SCOPED_TRACE("link " + std::to_string(n));
      const int number = static_cast<int>(n);
      MediaLinkRecord link;
      ASSERT_TRUE(db.ReadMediaLink(&link, number));
      MediaLinkRecord written;
      const std::string bytes = image_.read(image_.recordOffset(fx::kMediaLinkPage, number), sizeof written);
      std::memcpy(&written, bytes.data(), sizeof written);
      written.pathText = link.pathText;
      EXPECT_EQ(std::memcmp(&written, &link, sizeof link), 0) << "bytes beyond the path text changed";
      TextRecord text;
      const char* path = db.GetText(link.pathText, &text);
      ASSERT_NE(path, nullptr);
      const Link& expected = links_[n - 1];
      EXPECT_TRUE(path == expected.after || (!repaired && path == expected.before)) << path;
    }
  }

  corvane::testing::TempPrefix prefix_;
  std::vector<Link> links_ = familyLinks();
  PafImage image_;
  std::vector<std::unique_ptr<hostile::Program>> program_;
};

TEST_F(InterruptedRepairTest, KilledBetweenAnyTwoWritesLosesNothingAndTheNextRunFinishes) {
  if (access(kStrace, X_OK) != 0) GTEST_SKIP() << "needs strace to stop Corvane at a given write";

  // How many writes a whole run makes: a run killed at a write beyond the last one ends well.
  image_.writeTo(prefix_.host(kDatabase));
  const hostile::Program& clean = runCorvane(0);
  ASSERT_EQ(clean.exitStatus(), 0) << clean.output();
  ASSERT_NE(clean.output().find("| Done!"), std::string::npos) << clean.output();
  expectEveryLink(true);
  int writes = 0;
  for (int k = 1;; ++k) {
    ASSERT_LT(k, 400) << "Corvane writes without end";
    image_.writeTo(prefix_.host(kDatabase));
    if (runCorvane(k).signal() != SIGKILL) {
      writes = k - 1;  // the run ended before its k-th write
      break;
    }
    SCOPED_TRACE("killed at write " + std::to_string(k));
    expectEveryLink(false);
    const hostile::Program& next = runCorvane(0);
    EXPECT_EQ(next.exitStatus(), 0) << next.output();
    EXPECT_NE(next.output().find("| Done!"), std::string::npos) << next.output();
    expectEveryLink(true);
    if (HasFailure()) return;
    program_.clear();
  }
  // The rewrite, then per repaired link its new text, the header counters and the link itself,
  // and a new text page on the way: the kills above met every kind of write.
  EXPECT_GE(writes, 3 * (1 + kMissing));
}

}  // namespace
