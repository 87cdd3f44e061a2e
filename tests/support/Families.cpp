#include "tests/support/Families.h"

#include "tests/support/PafFormat.h"

namespace corvane::testing {

PafBuilder demoFamily() {
  PafBuilder b;
  // Low-kind texts, so that the file has a text tree of each kind.
  for (const char* name : {"Lindqvist", "Okafor", "Marlow"}) b.addText(name, 1);

  const int grandfather = b.addIndividual();
  const int grandmother = b.addIndividual();
  const int mother = b.addIndividual();
  const int uncle = b.addIndividual();
  b.addIndividual();  // a child without media
  const int grandparents = b.addMarriage(grandfather, grandmother);
  const int parents = b.addMarriage(0, mother);  // the husband is not recorded
  const int source = b.addSource("Parish of Saint Brendan", "Register of baptisms 1890-1910");
  b.addCitation(mother, 'A');
  const int marriageEvent = b.addCitation(grandparents, 'G');

  b.addMediaLink(paf::kOwnerIndividual, grandmother, ".\\Photos\\grandma.jpg");
  b.addMediaLink(paf::kOwnerMarriage, grandparents, "Photos\\wedding.jpg");
  b.addMediaLink(paf::kOwnerSource, source, "C:\\Family\\Scans\\letter.png");
  // Kept in Photos\Old on disk, not where the link says.
  b.addMediaLink(paf::kOwnerIndividual, uncle, "Portraits\\uncle.jpg");
  b.addMediaLink(paf::kOwnerCitation, marriageEvent, "Photos\\marriage-record.jpg");  // nowhere
  b.addMediaLink(MediaLink{});                                                        // an empty slot
  b.addMediaLink(paf::kOwnerMarriage, parents, "Photos\\wedding.jpg");              // a shared path
  return b;
}

std::string numberedPath(const std::string& prefix, int number) {
  std::string digits = std::to_string(number);
  if (digits.size() < 6) digits.insert(0, 6 - digits.size(), '0');
  return prefix + digits + ".jpg";
}

PafBuilder numberedLinks(int count, const std::string& foundPrefix, const std::string& missingPrefix) {
  PafBuilder b;
  b.addText("Corvane", 1);
  const int individuals = count < 1000 ? count : 1000;
  for (int i = 0; i < individuals; ++i) b.addIndividual();
  for (int i = 1; i <= count; ++i) {
    const std::string path = numberedPath(i % 2 == 1 ? foundPrefix : missingPrefix, i);
    const auto text = b.addText(path, 5);
    b.addMediaLink(MediaLink{paf::kOwnerIndividual, (i - 1) % individuals + 1, text, {}});
  }
  return b;
}

}  // namespace corvane::testing
