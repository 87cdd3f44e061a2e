#pragma once
// The family the hostile-file tests damage, and what a whole run under the test backend shows
// for it. C:\Family\tree.paf holds individuals 1..3, marriage 1 (husband 1, wife 2), source 1,
// citation 1 (marriage event of marriage 1), and four links:
//
//   link  owner          path                  on disk
//   1     individual 1   .\Photos\found.jpg    C:\Family\Photos\found.jpg
//   2     marriage 1     Photos\gone.jpg       missing
//   3     citation 1     Photos\lost.png       missing
//   4     source 1       Photos\wedding.jpg    C:\Family\Photos\wedding.jpg
//
// Pages in segment 0: 1 individuals, 2 marriages, 3 citations, 4 sources, then the link page and
// the text page in the order the layout says.
#include <string>
#include <vector>

#include "tests/app/RunTestSupport.h"

namespace hostile {

enum class Layout {
  kTextsLast,  // link page 5, text page 6 (the end of the file)
  kLinksLast,  // text page 5, link page 6
};

struct Family {
  PafImage image;
  TextId found, gone, lost, wedding;  // the four path texts, in the order stored
};

Family buildFamily(Layout layout = Layout::kTextsLast);

// How a run ends, as the user sees it.
enum class Ending {
  kDatabaseError,  // the "An error has occurred." box, then the main window closes
  kNothingFound,   // " -- none found -- ", the "All Done" box, the process ends with status 0
  kDone,           // the lists in the main window and "Done!"
};

// A whole run under the test backend, on a family written to C:\Family\tree.paf.
class HostileRunTest : public RunTest {
 protected:
  // The files that the found links name.
  void addFoundFiles();
  // Scripts a run with no archive and no rescue: OK in the options, then OK on the box that
  // ends the run.
  void plainRun();
  // The database file as it is on disk now.
  std::string databaseBytes() const { return fileBytes("C:\\Family\\tree.paf"); }
};

}  // namespace hostile
