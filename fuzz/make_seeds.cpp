// fuzz-seeds FOLDER: writes the seed databases of the fuzz target into FOLDER, from the
// fixture writer. Each seed reaches another part of a run: found, missing, rewritten and
// outside paths, every owner kind, second paths, both text trees, a text page about to fill
// up, a last segment about to fill up.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "tests/support/Families.h"
#include "tests/support/PafFixture.h"

namespace {

using namespace corvane::testing;

// Every owner kind and citation event, second paths, and paths that the fuzz target's prefix
// holds as files (C:\Family\Photos\grandma.jpg, D:\Pics\outside.jpg).
PafBuilder everyOwner() {
  PafBuilder b;
  b.addText("Okafor", 1);
  const int husband = b.addIndividual();
  const int wife = b.addIndividual();
  const int couple = b.addMarriage(husband, wife);
  const int widow = b.addMarriage(0, wife);
  const int nobody = b.addMarriage(0, 0);
  const int source = b.addSource("Registrar", "Births 1901");
  const char events[] = {'A', 'B', 'D', 'E', 'G', 'I', 'M', 'R', 'S', 'C'};
  int citation = 0;
  for (const char event : events) {
    const bool ofMarriage = event == 'E' || event == 'G' || event == 'M' || event == 'S';
    citation = b.addCitation(ofMarriage ? (event == 'M' ? widow : couple) : husband, event);
    b.addMediaLink(paf::kOwnerCitation, citation, std::string("Photos\\event_") + event + ".jpg");
  }
  b.addMediaLink(paf::kOwnerMarriage, nobody, "C:\\Family\\Photos\\grandma.jpg");
  b.addMediaLink(paf::kOwnerSource, source, "D:\\Pics\\outside.jpg");
  b.addMediaLink(paf::kOwnerUnread, 0, "Photos\\unread.tif");
  b.addMediaLink(MediaLink{paf::kOwnerIndividual, husband, b.pathText("Photos\\lost.jpg"),
                           b.pathText(".\\Photos\\grandma.jpg")});
  b.addMediaLink(MediaLink{paf::kOwnerIndividual, wife, b.pathText(".\\Photos\\wedding.jpg"),
                           b.pathText("D:\\Pics\\outside.jpg")});
  b.addMediaLink(MediaLink{paf::kOwnerIndividual, wife, b.pathText(".\\Photos\\wedding.jpg"),
                           b.pathText("Photos\\gone.png")});
  b.addMediaLink(77, 1, "Photos\\other.bmp");
  return b;
}

// Missing files in a text page with room for one short text only, texts with 1252 letters,
// and a tree grown in insertion order.
PafBuilder fullTextPage() {
  PafBuilder b;
  b.setTreeShape(TreeShape::kInsertionOrder);
  b.addIndividual();
  for (const char* path : {"Photos\\\xC5sa.jpg", "Photos\\b\xE9" "b\xE9.jpg", "Photos\\a.jpg", "C:\\Family\\Photos\\me.jpg",
                           "Photos\\z.jpg", "Photos\\a.jpg"}) {
    b.addMediaLink(paf::kOwnerIndividual, 1, path);
  }
  b.addText("Lindqvist", 2);
  b.addText("Photos\\a.jpg", 6);
  b.addText("Photos\\a.jpg", 4);
  b.leaveTextRoom(30);
  return b;
}

// The last segment's pages all in use: the first appended text starts a new segment.
PafBuilder fullSegment() {
  PafBuilder b = numberedLinks(8, "Photos\\", "Photos\\Lost\\");
  b.setPagesUsedInLastSegment(8192);
  b.leaveTextRoom(0);
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: fuzz-seeds FOLDER\n", stderr);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  try {
    demoFamily().build().writeTo(folder / "demo.paf");
    everyOwner().build().writeTo(folder / "owners.paf");
    fullTextPage().build().writeTo(folder / "full-text-page.paf");
    fullSegment().build().writeTo(folder / "full-segment.paf");
    numberedLinks(120, "Photos\\", "C:\\Family\\Photos\\Lost\\").build().writeTo(folder / "numbered.paf");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "fuzz-seeds: %s\n", error.what());
    return 1;
  }
  return 0;
}
