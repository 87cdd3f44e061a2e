// Reads every link record of a database with 100,000 links and each one's path text, and
// compares the time with a plain sequential read of the same file in the same run.
//
//   bench_read_links [LINKS]      (default 100000)
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "database/PAFDatabase.h"
#include "tests/support/Families.h"
#include "tests/support/PafImage.h"
#include "tests/support/TempFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// The baseline: the whole file, start to end, in 64 KiB reads.
double sequentialRead(const std::string& host, long long* bytes) {
  const auto start = Clock::now();
  const int fd = ::open(host.c_str(), O_RDONLY);
  if (fd < 0) std::exit(1);
  std::vector<char> buffer(1 << 16);
  *bytes = 0;
  for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) *bytes += got;
  ::close(fd);
  return seconds(start);
}

double readAllLinks(int* found) {
  const auto start = Clock::now();
  CPAFDatabase db;
  if (db.Open(u"C:\\Family\\tree.paf", true) != 1) std::exit(1);
  *found = 0;
  MediaLinkRecord link;
  TextRecord text;
  for (int n = 1; n <= db.header.mediaLinkCount; ++n) {
    if (db.ReadMediaLink(&link, n) && db.GetText(link.pathText, &text) != nullptr) ++*found;
  }
  return seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  const int links = argc > 1 ? std::atoi(argv[1]) : 100000;
  corvane::testing::TempPrefix prefix;
  prefix.addDrive('C');
  const std::string host = prefix.host("C:\\Family\\tree.paf").string();
  corvane::testing::numberedLinks(links, ".\\Photos\\f", ".\\Lost\\m").build().writeTo(host);

  // Best of five of each, interleaved, so that both see the same warm page cache.
  double baseline = 1e9, engine = 1e9;
  long long bytes = 0;
  int found = 0;
  for (int round = 0; round < 5; ++round) {
    baseline = std::min(baseline, sequentialRead(host, &bytes));
    engine = std::min(engine, readAllLinks(&found));
  }
  std::printf("links read with their path text: %d of %d\n", found, links);
  std::printf("file: %lld bytes\n", bytes);
  std::printf("ratio (every link and path through the engine / sequential read of the file): %.1f\n",
              engine / baseline);
  return found == links ? 0 : 1;
}
