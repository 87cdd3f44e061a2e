#include "tests/hostile/HostileFamily.h"

namespace hostile {

Family buildFamily(Layout layout) {
  PafBuilder b;
  b.addText("Marlow", 1);
  const int husband = b.addIndividual();
  const int wife = b.addIndividual();
  b.addIndividual();
  const int couple = b.addMarriage(husband, wife);
  const int source = b.addSource("Parish of Saint Brendan", "Marriages 1920-1940");
  const int citation = b.addCitation(couple, 'G');
  Family family{};
  family.found = b.pathText(".\\Photos\\found.jpg");
  family.gone = b.pathText("Photos\\gone.jpg");
  family.lost = b.pathText("Photos\\lost.png");
  family.wedding = b.pathText("Photos\\wedding.jpg");
  b.addMediaLink(MediaLink{fx::kOwnerIndividual, husband, family.found, {}});
  b.addMediaLink(MediaLink{fx::kOwnerMarriage, couple, family.gone, {}});
  b.addMediaLink(MediaLink{fx::kOwnerCitation, citation, family.lost, {}});
  b.addMediaLink(MediaLink{fx::kOwnerSource, source, family.wedding, {}});
  const bool linksLast = layout == Layout::kLinksLast;
  b.placePages(fx::kMediaLinkPage, {{0, linksLast ? 6 : 5}});
  b.placePages(fx::kTextPage, {{0, linksLast ? 5 : 6}});
  family.image = b.build();
  return family;
}

void HostileRunTest::addFoundFiles() {
  addFile("C:\\Family\\Photos\\found.jpg");
  addFile("C:\\Family\\Photos\\wedding.jpg");
}

void HostileRunTest::plainRun() {
  ui_.click("cbCreateArchive").click("cbSearchAndRescue").click("btnOK").press(vcl::IDOK);
}

}  // namespace hostile
