// paf-fixture: writes the PAF databases that the examples and benchmarks use.
//
//   paf-fixture demo OUT.paf
//   paf-fixture links OUT.paf N --found-prefix X --missing-prefix Y
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/Families.h"
#include "tests/support/PafFixture.h"

namespace {

using corvane::testing::MediaLink;
using corvane::testing::PafBuilder;
using corvane::testing::demoFamily;
using corvane::testing::numberedLinks;
namespace paf = corvane::testing::paf;

constexpr const char* kUsage =
    "usage: paf-fixture demo OUT.paf\n"
    "       paf-fixture links OUT.paf N --found-prefix X --missing-prefix Y\n"
    "\n"
    "demo   the demo family for C:\\Family\\: five individuals, two marriages, a source,\n"
    "       two citations and media links owned by each kind of owner:\n"
    "       .\\Photos\\grandma.jpg, Photos\\wedding.jpg (twice), C:\\Family\\Scans\\letter.png,\n"
    "       Portraits\\uncle.jpg (kept in Photos\\Old) and the missing\n"
    "       Photos\\marriage-record.jpg.\n"
    "links  N individual-owned media link records (N >= 1). Link i has the path\n"
    "       X<i>.jpg when i is odd and Y<i>.jpg when i is even, i written with at least six\n"
    "       digits (X000001.jpg); every path is its own kind-5 text.\n";

int usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

bool parseCount(std::string_view text, int* count) {
  if (text.empty() || text.size() > 9) return false;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  *count = value;
  return value >= 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "demo") {
      demoFamily().build().writeTo(args[1]);
      return EXIT_SUCCESS;
    }
    if (args.size() == 7 && args[0] == "links") {
      int count = 0;
      if (!parseCount(args[2], &count)) return usage();
      std::string found, missing;
      bool haveFound = false, haveMissing = false;
      for (std::size_t i = 3; i + 1 < args.size(); i += 2) {
        if (args[i] == "--found-prefix" && !haveFound) {
          found = args[i + 1];
          haveFound = true;
        } else if (args[i] == "--missing-prefix" && !haveMissing) {
          missing = args[i + 1];
          haveMissing = true;
        } else {
          return usage();
        }
      }
      numberedLinks(count, found, missing).build().writeTo(args[1]);
      return EXIT_SUCCESS;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "paf-fixture: %s\n", error.what());
    return EXIT_FAILURE;
  }
  return usage();
}
