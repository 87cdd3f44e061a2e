#include "platform/File.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/FileFaults.h"
#include "tests/support/TempFolder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using corvane::testing::TempPrefix;

constexpr const char* kTree = "C:\\Family\\tree.paf";

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_.addDrive('C');
    tree_ = prefix_.writeFile(kTree, "0123456789");
  }
  TempPrefix prefix_;
  fs::path tree_;
};

// Another process that opens the file the way a program without locks does, and keeps it open
// until released.
class OtherProcess {
 public:
  OtherProcess(const fs::path& file, int accessMode) {
    int ready[2];
    int release[2];
    if (pipe(ready) != 0 || pipe(release) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(release[1]);
      const int fd = open(file.c_str(), accessMode);
      const char status = fd >= 0 ? 'y' : 'n';
      if (write(ready[1], &status, 1) != 1) _exit(2);
      char ignored;
      while (read(release[0], &ignored, 1) > 0) {
      }
      _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    release_ = release[1];
    char status = 'n';
    opened_ = pid_ > 0 && read(ready[0], &status, 1) == 1 && status == 'y';
    close(ready[0]);
  }
  ~OtherProcess() {
    if (release_ >= 0) close(release_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }
  OtherProcess(const OtherProcess&) = delete;
  OtherProcess& operator=(const OtherProcess&) = delete;
  bool opened() const { return opened_; }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
  bool opened_ = false;
};

TEST_F(FileTest, SecondWriterInThisProcessIsRefusedReadersAreNot) {
  std::unique_ptr<File> reader = File::openExisting(kTree, false);
  ASSERT_TRUE(reader);
  std::unique_ptr<File> writer = File::openExisting("c:\\family\\TREE.PAF", true);
  ASSERT_TRUE(writer) << "a reader must not keep a writer out";
  EXPECT_TRUE(writer->writable());
  EXPECT_FALSE(File::openExisting(kTree, true)) << "second writer";
  EXPECT_TRUE(File::openExisting(kTree, false)) << "reader while a writer holds the file";
  writer.reset();
  EXPECT_TRUE(File::openExisting(kTree, true)) << "the lock goes with the writer";
}

TEST_F(FileTest, WriterIsRefusedWhileAnotherProcessHoldsTheFileOpenForWriting) {
  struct Case {
    const char* what;
    int accessMode;
    bool writerRefused;
  };
  const Case cases[] = {
      {"read-only", O_RDONLY, false},
      {"write-only", O_WRONLY, true},
      {"read-write", O_RDWR, true},
  };
  for (const Case& c : cases) {
    OtherProcess other(tree_, c.accessMode);
    ASSERT_TRUE(other.opened()) << c.what;
    EXPECT_EQ(File::openExisting(kTree, true) == nullptr, c.writerRefused) << c.what;
    EXPECT_TRUE(File::openExisting(kTree, false)) << c.what << ": readers are never refused";
  }
  EXPECT_TRUE(File::openExisting(kTree, true)) << "the other process has gone";
}

TEST_F(FileTest, FoldersAndMissingFilesDoNotOpen) {
  prefix_.writeFile("C:\\Family\\Photos\\a.jpg", "a");
  for (bool forWriting : {false, true}) {
    EXPECT_FALSE(File::openExisting("C:\\Family\\Photos", forWriting));
    EXPECT_FALSE(File::openExisting("C:\\", forWriting));
    EXPECT_FALSE(File::openExisting("C:\\Family\\absent.paf", forWriting));
    EXPECT_FALSE(File::openExisting("Q:\\tree.paf", forWriting));
  }
}

TEST_F(FileTest, PositionedTransfersWorkPastSixtyFourMebibytesAndTwoGibibytes) {
  std::unique_ptr<File> file = File::openExisting(kTree, true);
  ASSERT_TRUE(file);
  const std::int64_t offsets[] = {64LL * 1024 * 1024 + 17, 5LL * 1024 * 1024 * 1024 + 3};
  const std::string record = "second segment";
  for (std::int64_t offset : offsets) {
    ASSERT_EQ(file->writeAt(offset, record.data(), record.size()), record.size()) << offset;
    std::string back(record.size(), '\0');
    EXPECT_EQ(file->readAt(offset, back.data(), back.size()), record.size()) << offset;
    EXPECT_EQ(back, record);
  }
  EXPECT_TRUE(file->flush());
  EXPECT_EQ(fs::file_size(tree_), static_cast<std::uintmax_t>(offsets[1]) + record.size());

  // The hole before a segment reads as zeros; a read across the end stops there.
  std::vector<char> hole(4096, 'x');
  EXPECT_EQ(file->readAt(1024 * 1024, hole.data(), hole.size()), hole.size());
  EXPECT_EQ(hole, std::vector<char>(4096, '\0'));
  std::string tail(100, '\0');
  EXPECT_EQ(file->readAt(offsets[1] + 4, tail.data(), tail.size()), record.size() - 4);
  EXPECT_EQ(file->readAt(offsets[1] + 1000, tail.data(), tail.size()), 0u);
  EXPECT_EQ(file->readAt(-1, tail.data(), tail.size()), 0u);
  EXPECT_EQ(file->writeAt(-1, record.data(), record.size()), 0u);

  std::string start(10, '\0');
  EXPECT_EQ(file->readAt(0, start.data(), start.size()), 10u);
  EXPECT_EQ(start, "0123456789");
}

TEST_F(FileTest, ReaderCannotWrite) {
  std::unique_ptr<File> reader = File::openExisting(kTree, false);
  ASSERT_TRUE(reader);
  EXPECT_FALSE(reader->writable());
  EXPECT_EQ(reader->writeAt(0, "XX", 2), 0u);
  EXPECT_EQ(corvane::testing::readBytes(tree_), "0123456789");
}

TEST_F(FileTest, WriteFaultHookCutsWritesShort) {
  std::unique_ptr<File> file = File::openExisting(kTree, true);
  ASSERT_TRUE(file);
  int writes = 0;
  setWriteFaultHook([&writes](std::int64_t, std::size_t size) -> std::size_t {
    ++writes;
    return writes == 2 ? 3 : size;  // the second write finds the disk full after 3 bytes
  });
  EXPECT_EQ(file->writeAt(0, "AB", 2), 2u);
  EXPECT_EQ(file->writeAt(4, "CDEFG", 5), 3u);
  setWriteFaultHook({});
  EXPECT_EQ(file->writeAt(9, "H", 1), 1u);
  EXPECT_EQ(corvane::testing::readBytes(tree_), "AB23CDE78H");
}

TEST_F(FileTest, ExistsMeansOpensForReadingAsAFile) {
  prefix_.writeFile("C:\\Family\\Photos\\a.jpg", "a");
  ASSERT_EQ(mkfifo(prefix_.host("C:\\Family\\pipe").c_str(), 0600), 0);
  fs::create_symlink(tree_, prefix_.host("C:\\Family\\link.paf"));
  struct Case {
    const char* path;
    bool exists;
  };
  const Case cases[] = {
      {kTree, true},
      {"C:/FAMILY/Tree.Paf", true},
      {"C:\\Family\\link.paf", true},
      {"C:\\Family\\tree.paf\\", false},
      {"C:\\Family\\Photos", false},  // a folder does not exist in this sense
      {"C:\\Family\\pipe", false},    // nor a FIFO (and opening it must not wait for a writer)
      {"C:\\Family\\absent.paf", false},
      {"\\\\server\\share\\tree.paf", false},
  };
  for (const Case& c : cases) EXPECT_EQ(fileExists(c.path), c.exists) << c.path;
}

TEST_F(FileTest, DeleteFileTakesFilesOnly) {
  prefix_.writeFile("C:\\Family\\Photos\\a.jpg", "a");
  EXPECT_TRUE(deleteFile("c:\\family\\TREE.PAF"));
  EXPECT_FALSE(fs::exists(tree_));
  EXPECT_FALSE(deleteFile(kTree));
  EXPECT_FALSE(deleteFile("C:\\Family\\Photos"));
  EXPECT_TRUE(fs::exists(prefix_.host("C:\\Family\\Photos\\a.jpg")));
}

}  // namespace
}  // namespace platform
