// The running program's path and programs started detached.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/Process.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Waits up to five seconds for a file to appear with a whole line in it; its text, or "".
std::string awaitLine(const fs::path& file) {
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (Clock::now() < deadline) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    if (text.str().find('\n') != std::string::npos) return text.str();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return "";
}

TEST(OwnProgram, PathIsInWindowsFormThroughTheDriveThatHoldsIt) {
  const std::optional<std::string> host = platform::ownProgramHostPath();
  ASSERT_TRUE(host);
  EXPECT_TRUE(fs::equivalent(*host, "/proc/self/exe"));

  corvane::testing::TempPrefix prefix;
  prefix.mapDrive('P', fs::path(*host).parent_path());
  EXPECT_EQ(platform::ownProgramPath(), "P:\\" + fs::path(*host).filename().string());
}

TEST(StartDetached, CallerGoesOnWhileTheProgramRunsAndSeesItFinishThroughItsFile) {
  corvane::testing::TempFolder folder;
  const fs::path done = folder.path() / "done";
  const auto start = Clock::now();
  ASSERT_TRUE(platform::startDetached("/bin/sh", {"-c", "sleep 0.3; echo finished > \"$0\"", done.string()}));
  const auto returnedAfter = Clock::now() - start;

  EXPECT_LT(returnedAfter, std::chrono::milliseconds(250)) << "the caller waited for the program";
  EXPECT_FALSE(fs::exists(done));
  EXPECT_EQ(awaitLine(done), "finished\n");
}

TEST(StartDetached, ProgramGetsItsOwnSessionNoStdinAndNoDescriptorOfOurs) {
  corvane::testing::TempFolder folder;
  const fs::path report = folder.path() / "report";
  // A descriptor without close-on-exec, as a database file held open might be.
  const int ours = open(folder.writeFile("held", "x").c_str(), O_RDONLY);
  ASSERT_GE(ours, 3);

  ASSERT_TRUE(platform::startDetached(
      "sh", {"-c",
             "{ read -r line; echo \"stdin=$?\"; echo \"session=$(cut -d' ' -f6 /proc/$$/stat)\"; ls -l /proc/self/fd; }"
             " > \"$0.tmp\"; mv \"$0.tmp\" \"$0\"",
             report.string()}));
  const std::string text = awaitLine(report);
  close(ours);

  EXPECT_NE(text.find("stdin=1\n"), std::string::npos) << "standard input reads end of file: " << text;
  EXPECT_NE(text.find("session="), std::string::npos) << text;
  EXPECT_EQ(text.find("session=" + std::to_string(getsid(0)) + "\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("/held"), std::string::npos) << "our descriptor lives on in the program: " << text;
}

TEST(StartDetached, StandardOutputGoesToOurStandardError) {
  corvane::testing::TempFolder folder;
  const fs::path captured = folder.path() / "stderr";
  const int savedStderr = dup(STDERR_FILENO);
  const int file = open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(file, 0);
  dup2(file, STDERR_FILENO);
  const bool started = platform::startDetached("/bin/sh", {"-c", "echo to-stdout"});
  dup2(savedStderr, STDERR_FILENO);
  close(savedStderr);
  close(file);

  ASSERT_TRUE(started);
  EXPECT_EQ(awaitLine(captured), "to-stdout\n");
}

TEST(StartDetached, ProgramThatCannotRunIsReported) {
  corvane::testing::TempFolder folder;
  const fs::path notExecutable = folder.writeFile("plain.txt", "echo no\n");
  EXPECT_FALSE(platform::startDetached("/nonexistent/program", {}));
  EXPECT_FALSE(platform::startDetached(notExecutable.string(), {}));
  EXPECT_FALSE(platform::startDetached("corvane-no-such-program-on-path", {}));
}

}  // namespace
