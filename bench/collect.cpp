// Collects the media references of databases with 10,000 and 100,000 link records (half of
// them found, half missing) and prints the ratio of the two times: 10 means linear.
//
//   bench_collect
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/Packer.h"
#include "database/PAFDatabase.h"
#include "media/FileList.h"
#include "tests/support/Families.h"
#include "tests/support/PafImage.h"
#include "tests/support/TempFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

// Best of three collections of a family with `links` links; found ones exist as real files.
double collect(corvane::testing::TempPrefix& prefix, int links) {
  const std::string folder = "C:\\Bench" + std::to_string(links) + "\\";
  for (int i = 1; i <= links; i += 2) prefix.writeFile(folder + corvane::testing::numberedPath("Photos\\f", i), "");
  corvane::testing::numberedLinks(links, "Photos\\f", "Lost\\m").build().writeTo(prefix.host(folder + "tree.paf"));

  TForm1 form(nullptr);
  form.databaseFolder = folder;
  form.normalizePaths = true;
  form.database = new CPAFDatabase();
  const std::string number = std::to_string(links);
  const std::u16string path = u"C:\\Bench" + std::u16string(number.begin(), number.end()) + u"\\tree.paf";
  if (const int r = form.database->Open(path.c_str(), false); r != 1) {
    std::fprintf(stderr, "cannot open the benchmark database (%d)\n", r);
    std::exit(1);
  }

  double best = 1e9;
  for (int round = 0; round < 3; ++round) {
    delete form.foundList;
    delete form.missingList;
    delete form.outsideList;
    const auto start = Clock::now();
    form.collectMediaFiles();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  int found = 0, missing = 0;
  for (const FileList* e = form.foundList; e != nullptr; e = e->next) ++found;
  for (const FileList* e = form.missingList; e != nullptr; e = e->next) ++missing;
  std::printf("%6d links: %d found, %d missing\n", links, found, missing);
  FileList::setDatabase(nullptr);
  return best;
}

}  // namespace

int main() {
  corvane::testing::TempPrefix prefix;
  prefix.addDrive('C');
  const double small = collect(prefix, 10000);
  const double large = collect(prefix, 100000);
  std::printf("ratio (100,000 links / 10,000 links; linear is 10): %.1f\n", large / small);
  return 0;
}
