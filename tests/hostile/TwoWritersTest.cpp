// Two writers on one database: a Corvane that holds the file (its run done, the "Done!" box
// waiting) or another program that has it open for writing without a lock, as PAF under Wine
// does. A second Corvane started on the file shows the database error, ends, and leaves the
// file as it was.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "tests/hostile/Program.h"
#include "tests/support/PafFixture.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fx = corvane::testing::paf;
using corvane::testing::PafBuilder;

constexpr char kDatabase[] = "C:\\Family\\tree.paf";
// Options: 7 the disk search without guidance, 11 no archive, OK.
constexpr char kAnswers[] = "7\n11\nOK\n";
constexpr char kError[] = "message box: Error\n| An error has occurred.\n";

class TwoWritersTest : public ::testing::Test {
 protected:
  TwoWritersTest() {
    prefix_.addDrive('C');
    PafBuilder b;
    b.addText("Okafor", 1);
    b.addIndividual();
    b.addMediaLink(fx::kOwnerIndividual, 1, "C:\\Family\\Photos\\a.jpg");  // rewritten by a run
    b.addMediaLink(fx::kOwnerIndividual, 1, "Photos\\old\\b.jpg");          // repaired by a run
    b.build().writeTo(prefix_.host(kDatabase));
    prefix_.writeFile("C:\\Family\\Photos\\a.jpg", "jpeg");
    prefix_.writeFile("C:\\Family\\Photos\\b.jpg", "jpeg");
  }

  std::unique_ptr<hostile::Program> corvane() {
    return std::make_unique<hostile::Program>(std::vector<std::string>{CORVANE_PROGRAM, "--console", kDatabase},
                                              prefix_.prefix().string());
  }

  std::string databaseBytes() const {
    std::ifstream in(prefix_.host(kDatabase), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // A second Corvane run to its end on the file: the database error, the program ends, the
  // file stays as it was.
  void expectSecondCorvaneRefused() {
    const std::string before = databaseBytes();
    std::unique_ptr<hostile::Program> second = corvane();
    hostile::runToEnd(*second, kAnswers);
    EXPECT_EQ(second->exitStatus(), 0) << second->output();
    EXPECT_NE(second->output().find(kError), std::string::npos) << second->output();
    EXPECT_EQ(second->output().find("| Done!"), std::string::npos) << second->output();
    EXPECT_TRUE(databaseBytes() == before) << "the second Corvane changed the file";
  }

  corvane::testing::TempPrefix prefix_;
};

TEST_F(TwoWritersTest, SecondCorvaneGetsTheDatabaseError) {
  std::unique_ptr<hostile::Program> first = corvane();
  first->send(kAnswers);
  ASSERT_TRUE(first->waitForOutput("| Done!\n? answer:")) << first->output();
  expectSecondCorvaneRefused();

  first->closeInput();
  first->wait();
  EXPECT_EQ(first->exitStatus(), 0);
}

TEST_F(TwoWritersTest, CorvaneBesideAWriterWithoutALockGetsTheDatabaseError) {
  // The shell opens the file for reading and writing and hands it on to sleep, which holds it
  // open without a lock until it is killed.
  hostile::Program writer({"/bin/sh", "-c", "exec 3<>\"$0\"; echo holding; exec sleep 120",
                           prefix_.host(kDatabase).string()},
                          prefix_.prefix().string());
  ASSERT_TRUE(writer.waitForOutput("holding\n")) << writer.output();
  expectSecondCorvaneRefused();
}

}  // namespace
