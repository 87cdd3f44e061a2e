#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/TempFolder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using corvane::testing::TempPrefix;

TEST(TextFileWriter, StoresEachNewlineAsCarriageReturnLineFeed) {
  TempPrefix prefix;
  prefix.addDrive('C');
  const fs::path batch = prefix.writeFile("C:\\Temp\\PACK.BAT", "an older and much longer content\r\n");
  std::unique_ptr<TextFileWriter> writer = TextFileWriter::create("c:\\temp\\pack.bat");
  ASSERT_TRUE(writer);
  EXPECT_TRUE(writer->write("@echo off\ncd \"C:\\Family\"\n"));
  EXPECT_TRUE(writer->write("\n\nend"));
  EXPECT_TRUE(writer->write(""));
  EXPECT_TRUE(writer->close());
  // The existing file was emptied and written, not a second one made beside it.
  EXPECT_EQ(corvane::testing::readBytes(batch), "@echo off\r\ncd \"C:\\Family\"\r\n\r\n\r\nend");
  EXPECT_EQ(std::distance(fs::directory_iterator(batch.parent_path()), fs::directory_iterator()), 1);
}

TEST(TextFileWriter, ReportsWhatCannotBeCreatedOrWritten) {
  TempPrefix prefix;
  prefix.addDrive('C');
  prefix.writeFile("C:\\Family\\tree.paf", "x");
  EXPECT_FALSE(TextFileWriter::create("C:\\Absent\\out.txt"));
  EXPECT_FALSE(TextFileWriter::create("C:\\Family"));
  EXPECT_FALSE(TextFileWriter::create("\\\\server\\share\\out.txt"));

  // A full disk: every write fails and so does the close. Z: maps the host root.
  std::unique_ptr<TextFileWriter> full = TextFileWriter::create("Z:\\dev\\full");
  ASSERT_TRUE(full);
  EXPECT_FALSE(full->write("line\n"));
  EXPECT_FALSE(full->write("more\n"));
  EXPECT_FALSE(full->close());
}

}  // namespace
}  // namespace platform
