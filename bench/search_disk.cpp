// The missing-file search over a generated drive of about 20,000 folders and 200,000 files,
// four levels deep, against `find ROOT -type f` over the same tree in the same run.
//
// The drive C: holds C:\Fam\tree.paf (a database whose link records name 50 files that lie in
// the tree at depths 1 to 4 and 10 that lie nowhere) and C:\Fam\Photos\found.jpg, the one found
// file. With files that lie nowhere the search reads the whole drive: the folder of the found
// file, its subfolders, then everything from C:\, repairing the 50 links on the way, and ends
// with its "Some files could not be found." box (answered by the test backend).
//
//   bench_search_disk [ROUNDS]      (default 3; the best time of each side is compared)
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Packer.h"
#include "database/PAFDatabase.h"
#include "media/FileList.h"
#include "media/Search.h"
#include "platform/Folder.h"
#include "platform/ui/test/TestBackend.h"
#include "platform/vcl/Dialogs.h"
#include "tests/support/PafFixture.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kFanOut[] = {10, 10, 10, 19};  // subfolders per folder, by level
constexpr int kFilesPerFolder = 10;
constexpr int kLostFiles = 50;
constexpr int kNowhereFiles = 10;

double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

void touch(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
  ::close(fd);
}

struct Tree {
  std::vector<std::vector<std::string>> levels;  // Windows paths of the folders, by depth 1..4
  int folders = 0;
  int files = 0;
};

// C:\Archive\aNN\bNN\cNN\dNN, each folder with IMG_0000.jpg ... IMG_0009.jpg: names repeat all
// over the drive, as camera names do.
Tree buildTree(const fs::path& drive) {
  Tree tree;
  std::vector<std::string> parents = {"Archive"};
  fs::create_directory(drive / "Archive");
  const char letters[] = "abcd";
  for (std::size_t depth = 0; depth < std::size(kFanOut); ++depth) {
    std::vector<std::string> level;
    for (const std::string& parent : parents) {
      for (int k = 0; k < kFanOut[depth]; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "%c%02d", letters[depth], k);
        const std::string folder = parent + "/" + name;
        fs::create_directory(drive / folder);
        for (int f = 0; f < kFilesPerFolder; ++f) {
          char file[16];
          std::snprintf(file, sizeof file, "IMG_%04d.jpg", f);
          touch(drive / folder / file);
        }
        level.push_back(folder);
        ++tree.folders;
        tree.files += kFilesPerFolder;
      }
    }
    parents = level;
    tree.levels.push_back(std::move(level));
  }
  return tree;
}

std::string windowsPathOf(const std::string& relative) {
  std::string path = "C:\\" + relative;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

std::string lostName(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "lost_%02d.jpg", i);
  return name;
}

// Lost file i lies in a folder of depth 1 + i % 4, spread over that level.
std::string lostFolder(const Tree& tree, int i) {
  const std::vector<std::string>& level = tree.levels[static_cast<std::size_t>(i % 4)];
  return level[(static_cast<std::size_t>(i) * 7919u) % level.size()];
}

// The database's link records: the lost files first, then the ones that lie nowhere.
corvane::testing::PafBuilder family() {
  corvane::testing::PafBuilder b;
  const int rin = b.addIndividual();
  for (int i = 0; i < kLostFiles; ++i) b.addMediaLink(100, rin, "Lost\\" + lostName(i));
  for (int i = 0; i < kNowhereFiles; ++i) b.addMediaLink(100, rin, "Lost\\gone_" + std::to_string(i) + ".jpg");
  return b;
}

// One search from a freshly written database; false when its results are not the expected ones.
bool searchOnce(const fs::path& databaseHost, const Tree& tree, double* elapsed) {
  family().build().writeTo(databaseHost);
  CPAFDatabase db;
  if (db.Open(u"C:\\Fam\\tree.paf", false) != 1) return false;
  FileList::setDatabase(&db);
  auto missing = std::make_unique<FileList>(("Lost\\" + lostName(0)).c_str());
  missing->setOwner(1, 1, 100);
  for (int n = 2; n <= kLostFiles + kNowhereFiles; ++n) {
    const std::string path = n <= kLostFiles ? "Lost\\" + lostName(n - 1) : "Lost\\gone_" + std::to_string(n - kLostFiles - 1) + ".jpg";
    auto* entry = new FileList(path.c_str());
    entry->setOwner(n, 1, 100);
    missing->append(entry);
  }
  FileList found("C:\\Fam\\Photos\\found.jpg");

  ui::TestBackend ui;
  ui.recordRepaints(false);
  ui.press(vcl::IDOK);
  const auto start = Clock::now();
  searchForMissingFiles(missing.get(), &found);
  *elapsed = seconds(start);

  int left = 0;
  for (const FileList* entry = missing.get(); entry != nullptr; entry = entry->next) ++left;
  bool ok = left == kNowhereFiles && ui.unusedSteps().empty();
  MediaLinkRecord link;
  TextRecord text;
  for (int i = 0; i < kLostFiles; ++i) {
    const char* path = db.ReadMediaLink(&link, i + 1) ? db.GetText(link.pathText, &text) : nullptr;
    const std::string expected = windowsPathOf(lostFolder(tree, i) + "/" + lostName(i));
    if (path == nullptr || expected != path) {
      std::fprintf(stderr, "link %d: %s, expected %s\n", i + 1, path == nullptr ? "(none)" : path, expected.c_str());
      ok = false;
    }
  }
  FileList::setDatabase(nullptr);
  return ok;
}

// The platform's part alone: every folder of the drive listed once, breadth first, nothing else.
double listEveryFolder(long* files) {
  const auto start = Clock::now();
  std::vector<std::string> queue = {"C:\\"};
  *files = 0;
  for (std::size_t next = 0; next < queue.size(); ++next) {
    const auto listing = platform::listFolder(queue[next]);
    if (!listing) std::exit(1);
    for (const platform::FolderEntry& entry : *listing) {
      if (entry.name == "." || entry.name == "..") continue;
      if (entry.isFolder) {
        queue.push_back(queue[next] + (queue[next].back() == '\\' ? "" : "\\") + entry.name);
      } else {
        ++*files;
      }
    }
  }
  return seconds(start);
}

double findFiles(const fs::path& root, long* files) {
  const std::string command = "find '" + root.string() + "' -type f";
  const auto start = Clock::now();
  FILE* out = ::popen(command.c_str(), "r");
  if (out == nullptr) std::exit(1);
  *files = 0;
  char line[4096];
  while (std::fgets(line, sizeof line, out) != nullptr) ++*files;
  if (::pclose(out) != 0) std::exit(1);
  return seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  corvane::testing::TempPrefix prefix;
  const fs::path drive = prefix.addDrive('C');

  const auto built = Clock::now();
  Tree tree = buildTree(drive);
  fs::create_directories(drive / "Fam" / "Photos");
  touch(drive / "Fam" / "Photos" / "found.jpg");
  for (int i = 0; i < kLostFiles; ++i) touch(drive / lostFolder(tree, i) / lostName(i));
  family().build().writeTo(drive / "Fam" / "tree.paf");  // each search writes it afresh
  std::printf("tree: %d folders, %d files, built in %.1f s\n", tree.folders + 3, tree.files + kLostFiles + 2,
              seconds(built));

  TForm1 form(nullptr);
  form.databaseFolder = "C:\\Fam\\";
  form.normalizePaths = true;

  // Best of each, interleaved, so that both see the same warm cache.
  double search = 1e9, find = 1e9, listing = 1e9;
  long files = 0, listed = 0;
  bool ok = true;
  for (int round = 0; round < rounds; ++round) {
    find = std::min(find, findFiles(drive, &files));
    listing = std::min(listing, listEveryFolder(&listed));
    double elapsed = 0;
    ok = searchOnce(drive / "Fam" / "tree.paf", tree, &elapsed) && ok;
    search = std::min(search, elapsed);
  }
  std::printf("find -type f: %ld files in %.3f s\n", files, find);
  std::printf("every folder listed through the platform: %ld files in %.3f s\n", listed, listing);
  std::printf("search: %d of %d links repaired, %d nowhere, %.3f s%s\n", kLostFiles, kLostFiles, kNowhereFiles, search,
              ok ? "" : "  (WRONG RESULTS)");
  std::printf("ratio (whole search / find -type f): %.2f\n", search / find);
  return ok ? 0 : 1;
}
