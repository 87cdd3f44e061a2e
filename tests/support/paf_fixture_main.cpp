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

#include "tests/support/PafFixture.h"

namespace {

using corvane::testing::MediaLink;
using corvane::testing::PafBuilder;
namespace paf = corvane::testing::paf;

constexpr const char* kUsage =
    "usage: paf-fixture demo OUT.paf\n"
    "       paf-fixture links OUT.paf N --found-prefix X --missing-prefix Y\n"
    "\n"
    "demo   a small family: four individuals, two marriages, a source, two citations and\n"
    "       media links owned by each kind of owner: .\\Photos\\grandma.jpg,\n"
    "       Photos\\wedding.jpg (twice), C:\\Family\\Scans\\letter.png and the missing\n"
    "       Photos\\baptism.jpg.\n"
    "links  N individual-owned media link records (N >= 1). Link i has the path\n"
    "       X<i>.jpg when i is odd and Y<i>.jpg when i is even, i written with at least six\n"
    "       digits (X000001.jpg); every path is its own kind-5 text.\n";

int usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

PafBuilder demo() {
  PafBuilder b;
  // Low-kind texts, so that the file has a text tree of each kind.
  for (const char* name : {"Lindqvist", "Okafor", "Marlow"}) b.addText(name, 1);

  const int grandfather = b.addIndividual();
  const int grandmother = b.addIndividual();
  const int mother = b.addIndividual();
  b.addIndividual();  // a child without media
  const int grandparents = b.addMarriage(grandfather, grandmother);
  const int parents = b.addMarriage(0, mother);  // the husband is not recorded
  const int source = b.addSource("Parish of Saint Brendan", "Register of baptisms 1890-1910");
  const int baptism = b.addCitation(mother, 'A');
  b.addCitation(grandparents, 'G');

  b.addMediaLink(paf::kOwnerIndividual, grandmother, ".\\Photos\\grandma.jpg");
  b.addMediaLink(paf::kOwnerMarriage, grandparents, "Photos\\wedding.jpg");
  b.addMediaLink(paf::kOwnerSource, source, "C:\\Family\\Scans\\letter.png");
  b.addMediaLink(paf::kOwnerCitation, baptism, "Photos\\baptism.jpg");  // no such file
  b.addMediaLink(MediaLink{});                                         // an empty slot
  b.addMediaLink(paf::kOwnerMarriage, parents, "Photos\\wedding.jpg");  // a shared path
  return b;
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

std::string numbered(const std::string& prefix, int number) {
  std::string digits = std::to_string(number);
  if (digits.size() < 6) digits.insert(0, 6 - digits.size(), '0');
  return prefix + digits + ".jpg";
}

PafBuilder links(int count, const std::string& foundPrefix, const std::string& missingPrefix) {
  PafBuilder b;
  b.addText("Corvane", 1);
  const int individuals = count < 1000 ? count : 1000;
  for (int i = 0; i < individuals; ++i) b.addIndividual();
  for (int i = 1; i <= count; ++i) {
    const std::string path = numbered(i % 2 == 1 ? foundPrefix : missingPrefix, i);
    const auto text = b.addText(path, 5);
    b.addMediaLink(MediaLink{paf::kOwnerIndividual, (i - 1) % individuals + 1, text, {}});
  }
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "demo") {
      demo().build().writeTo(args[1]);
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
      links(count, found, missing).build().writeTo(args[1]);
      return EXIT_SUCCESS;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "paf-fixture: %s\n", error.what());
    return EXIT_FAILURE;
  }
  return usage();
}
