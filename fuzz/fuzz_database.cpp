// Fuzz target: a database file of arbitrary bytes goes through everything a packing run does
// with it. The bytes are written to C:\Family\tree.paf in a throw-away prefix, then:
//
//   1. the engine alone: open for writing, individual 1, every link record (bounded by what
//      the file could hold, whatever mediaLinkCount says), GetText and FindText of every path
//      and second path, the reports of every owner (missingText, extensionPattern, listText),
//      and appends of new path texts with link records re-pointed at them;
//   2. the bytes written afresh, then the main window's own collection (with its rewrite of
//      paths under the database folder), the reports, and the link repair of missing files.
//
// Besides the sanitizers, step 2 checks what a user relies on: the file opens again, and
// every link record is its old self or, where the run changed it, differs only in its path
// text, which names the same file as before (a rewritten or repaired link). Step 1 checks
// that what was appended or written reads back as written.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/Packer.h"
#include "database/PAFDatabase.h"
#include "media/FileList.h"
#include "media/LinkRepair.h"
#include "media/Reports.h"
#include "platform/Cp1252.h"
#include "platform/ui/test/TestBackend.h"
#include "tests/support/TempFolder.h"

namespace {

constexpr char16_t kDatabase[] = u"C:\\Family\\tree.paf";
constexpr char kFolder[] = "C:\\Family\\";
constexpr char kFoundFolder[] = "C:\\Family\\Found\\";
// Link records looked at in step 1 per page the file could hold.
constexpr std::size_t kLinksPerPage = 8192 / sizeof(MediaLinkRecord);
// Appends and repairs per input: enough to cross a page end, few enough to stay fast.
constexpr int kAppends = 6;
constexpr int kRepairs = 6;

struct World {
  corvane::testing::TempPrefix prefix;
  ui::TestBackend backend;
  std::filesystem::path databaseHost;
  TForm1* form = nullptr;
};

World* world = nullptr;

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_database: %s\n", what);
  std::abort();
}

void writeDatabase(const std::uint8_t* data, std::size_t size) {
  std::ofstream out(world->databaseHost, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) fail("cannot write the database file");
}

std::u16string keyOf(std::string_view text) { return platform::ansiToWideText(text); }

// Link records worth visiting: mediaLinkCount, but never more than the file's bytes could
// hold, so that a count of 2^31 - 1 does not keep the target busy for minutes.
int linksToVisit(const CPAFDatabase& db, std::size_t fileSize) {
  const std::int64_t couldHold = static_cast<std::int64_t>((fileSize / 8192 + 1) * kLinksPerPage);
  const std::int64_t count = db.header.mediaLinkCount;
  return static_cast<int>(std::clamp<std::int64_t>(count, 0, couldHold));
}

// Step 1, on a database opened for reading only: every link, both paths looked up, and the
// reports of every owner (each path taken as missing, so that every owner is described).
void readEverything(CPAFDatabase& db, int links, std::vector<std::pair<int, std::string>>& paths) {
  IndividualRecord first;
  db.ReadIndividual(&first, 1);
  FileList* missing = new FileList(FileList::kEmptyMarker);
  TextRecord text;
  for (int n = 1; n <= links; ++n) {
    MediaLinkRecord link;
    if (!db.ReadMediaLink(&link, n) || link.ownerType == 0) continue;
    for (const std::int32_t offset : {link.pathText, link.secondPathText}) {
      const char* stored = db.GetText(offset, &text);
      if (stored == nullptr) continue;
      if (std::strlen(stored) >= sizeof text.text) fail("GetText gave an unterminated text");
      const std::string path = stored;
      int position = -7;
      const int found = db.FindText(keyOf(path).c_str(), paf::kMediaPathKind, &text, &position);
      if (found > 0 && db.GetText(found, &text) == nullptr) fail("FindText found an unreadable record");
      FileList* entry = new FileList(path.c_str());
      entry->setOwner(n, link.ownerNumber, link.ownerType);
      missing->append(entry);
      if (offset == link.pathText) paths.emplace_back(n, path);
    }
  }

  FileList::setDatabase(&db);
  FileList* list = missing->withoutEmptyMarker();
  if (list != missing) delete missing;
  (void)missingText(list).size();
  (void)extensionPattern(list).size();
  (void)listText(list).size();
  FileList::setDatabase(nullptr);
  delete list;
}

// Step 3, on the database the run left open for writing: appends, each text a little longer
// than the last so that the page end comes into reach, and links re-pointed at them; what was
// written must read back.
void appendAndRepoint(CPAFDatabase& db, const std::vector<std::pair<int, std::string>>& paths) {
  TextRecord text;
  for (int i = 0; i < kAppends && i < static_cast<int>(paths.size()); ++i) {
    const auto& [n, path] = paths[static_cast<std::size_t>(i)];
    std::string added = ".\\Found\\" + std::string(fileNamePart(path));
    added.resize(std::min<std::size_t>(added.size() + static_cast<std::size_t>(i) * 40, paf::kMaxStoredText), 'x');
    int position = 0;
    db.FindText(keyOf(added).c_str(), paf::kMediaPathKind, &text, &position);
    std::memset(&text, 0, sizeof text);
    std::memcpy(text.text, added.data(), added.size());
    const int at = db.AddTextRecord(&text, paf::kMediaPathKind, position);
    if (at <= 0) continue;
    const char* back = db.GetText(at, &text);
    if (back == nullptr || added != back) fail("an appended text does not read back");

    MediaLinkRecord link;
    if (!db.ReadMediaLink(&link, n)) fail("a link record read before is unreadable now");
    link.pathText = at;
    if (!db.WriteMediaLink(&link, n)) continue;
    MediaLinkRecord again;
    if (!db.ReadMediaLink(&again, n) || std::memcmp(&again, &link, sizeof link) != 0) {
      fail("a written link record does not read back");
    }
  }
}

// What a link record looked like, for the comparison after the run.
struct LinkState {
  bool readable = false;
  MediaLinkRecord record{};
  std::optional<std::string> path;  // the first path text, when it is a text of a text page
};

// A text record at `offset` with a text, lying wholly in a page that the map gives to texts:
// nothing the run does may change it. A new text goes only where a text page holds zeros,
// wherever the header says its free room begins. Texts elsewhere (in a link page, in the
// header) are damaged pointers whose target the run may rightly overwrite, and an empty one
// is skipped by the run.
bool isSettledText(const std::uint8_t* data, std::size_t size, std::int32_t offset, std::size_t length) {
  constexpr std::int64_t kFirstPage = 12288;
  if (offset < kFirstPage || length == 0) return false;
  const std::int64_t page = (offset - kFirstPage) / 8192;
  if (page == 0 || page >= 8192) return false;  // segment 0 only: an input is far smaller
  const auto mapByte = static_cast<std::size_t>(kFirstPage + page);
  if (mapByte >= size || data[mapByte] != paf::kTextPage) return false;
  const std::int64_t end = offset + paf::kTextRecordOverhead + static_cast<std::int64_t>(length);
  return end <= kFirstPage + (page + 1) * 8192;
}

std::vector<LinkState> linkStates(CPAFDatabase& db, const std::uint8_t* data, std::size_t size, int links) {
  std::vector<LinkState> states(static_cast<std::size_t>(links) + 1);
  TextRecord text;
  for (int n = 1; n <= links; ++n) {
    LinkState& state = states[static_cast<std::size_t>(n)];
    state.readable = db.ReadMediaLink(&state.record, n);
    if (!state.readable) continue;
    const char* stored = db.GetText(state.record.pathText, &text);
    if (stored != nullptr && (data == nullptr || isSettledText(data, size, state.record.pathText, std::strlen(stored)))) {
      state.path = stored;
    }
  }
  return states;
}

// Step 2: the main window's collection, reports and link repair, as a run calls them.
void collectAndRepair(TForm1& form) {
  form.collectMediaFiles();
  if (form.pathsRewritten) {
    delete form.missingList;
    delete form.outsideList;
    delete form.foundList;
    form.collectMediaFiles();
  }
  if (form.foundList != nullptr) (void)listText(form.foundList).size();
  if (form.missingList != nullptr) {
    (void)missingText(form.missingList).size();
    (void)extensionPattern(form.missingList).size();
    std::set<std::string> names;
    for (const FileList* e = form.missingList; e != nullptr && names.size() < kRepairs; e = e->next) {
      names.emplace(fileNamePart(e->path.cStr()));
    }
    form.linksChanged = false;
    for (const std::string& name : names) {
      if (!form.missingList->hasEntries()) break;
      form.missingList->repairFromFile((kFoundFolder + name).c_str());
    }
  }
  FileList::setDatabase(nullptr);
  delete form.missingList;
  delete form.outsideList;
  delete form.foundList;
  form.missingList = form.outsideList = form.foundList = nullptr;
}

// Every link record is its old self, or differs in its path text only, which names the same
// file as before (a path rewritten into the ".\" form, or a repaired link).
void compareLinks(const std::vector<LinkState>& before, const std::vector<LinkState>& after) {
  for (std::size_t n = 1; n < before.size(); ++n) {
    const LinkState& was = before[n];
    const LinkState& now = after[n];
    // A record that ran past the end of the file reads whole once the run has lengthened the
    // file (new pages lie beyond it); it reads as the same bytes, zeros where the file ended.
    if (was.readable && !now.readable) fail("a link record became unreadable");
    if (!was.readable) {
      if (std::memcmp(&was.record, &now.record, sizeof was.record) != 0) fail("an unreadable link record was changed");
      continue;
    }
    MediaLinkRecord wasBytes = was.record;
    wasBytes.pathText = now.record.pathText;
    if (std::memcmp(&wasBytes, &now.record, sizeof wasBytes) != 0) fail("a link record changed beyond its path text");
    if (!was.path) continue;
    if (was.record.pathText == now.record.pathText) {
      if (now.path != was.path) fail("a path text that the run did not own was changed");
    } else if (!now.path || fileNamePart(*now.path) != fileNamePart(*was.path)) {
      fail("a re-pointed link names another file");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  world = new World();
  world->prefix.addDrive('C');
  world->prefix.addDrive('D');
  world->databaseHost = world->prefix.host("C:\\Family\\tree.paf");
  // Files that the seeds' paths name: found below the folder, found by a full path under it
  // (rewritten to the ".\" form), and found only outside it.
  world->prefix.writeFile("C:\\Family\\Photos\\grandma.jpg", "jpeg");
  world->prefix.writeFile("C:\\Family\\Photos\\wedding.jpg", "jpeg");
  world->prefix.writeFile("C:\\Family\\Scans\\letter.png", "png");
  world->prefix.writeFile("D:\\Pics\\outside.jpg", "jpeg");
  world->form = new TForm1(nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  writeDatabase(data, size);
  // Readers do not keep a writer out; only the main window's database opens for writing, so
  // that the search of /proc for other writers runs once per input.
  CPAFDatabase original;
  if (original.Open(kDatabase, true) != CPAFDatabase::kOpened) return 0;
  const int links = linksToVisit(original, size);
  std::vector<std::pair<int, std::string>> paths;
  readEverything(original, links, paths);
  const std::vector<LinkState> before = linkStates(original, data, size, links);

  TForm1& form = *world->form;
  form.databasePath = "C:\\Family\\tree.paf";
  form.databaseFolder = kFolder;
  form.normalizePaths = true;
  form.database = new CPAFDatabase();
  if (form.database->Open(kDatabase, false) != CPAFDatabase::kOpened) fail("opens for reading but not for writing");
  collectAndRepair(form);

  CPAFDatabase changed;
  if (changed.Open(kDatabase, true) != CPAFDatabase::kOpened) fail("the database no longer opens");
  compareLinks(before, linkStates(changed, nullptr, 0, links));

  appendAndRepoint(*form.database, paths);
  delete form.database;
  form.database = nullptr;
  return 0;
}
