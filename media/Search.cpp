// The missing-file search: the folders of the found files, then their subfolders level by
// level, then the drive root of the first and the drives the user named, every file met
// offered to the link repair.
//
// The reading order, which folders are read, and when reading stops follow from three folder
// lists (queue, nextQueue, searched) and the rules of FileList::insertPath; they are kept as
// they are. What makes the search fast beside them, without changing any of it:
// - searched has a hash set of its paths beside it, for "has this folder been read";
// - the file names of the missing entries are kept in a hash set, so that a file whose name
//   stands for no missing entry costs one look-up instead of a walk of missingList;
// - the listing tells folders from files, so plain files are never opened as folders;
// - the progress label is repainted at a bounded rate (see Search.h).
#include "media/Search.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "app/Packer.h"
#include "media/LinkRepair.h"
#include "platform/Exit.h"
#include "platform/Folder.h"
#include "platform/vcl/Dialogs.h"

namespace {

constexpr char kOpendirFailed[] = "opendir failed";
constexpr char kNotAllFound[] = "Some files could not be found.";
constexpr char kWarning[] = "Warning";
constexpr int kOpendirFailedStatus = 2;
// Blanks after the path in the progress label, so that a shorter path covers a longer one.
constexpr std::size_t kProgressPadding = 24;

SearchClock g_clock = nullptr;

std::int64_t steadyMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t now() { return g_clock != nullptr ? g_clock() : steadyMilliseconds(); }

std::string_view viewOf(const Str& text) {
  return {text.cStr(), static_cast<std::size_t>(text.size())};
}

// Texts looked up by view, without a copy per look-up.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};
using TextSet = std::unordered_set<std::string, TextHash, std::equal_to<>>;

bool hasEntryNamed(const FileList& list, std::string_view name) {
  if (!list.hasEntries()) return false;
  for (const FileList* entry = &list; entry != nullptr; entry = entry->next) {
    if (fileNamePart(viewOf(entry->path)) == name) return true;
  }
  return false;
}

// The file names of missingList's entries. repairFromFile decides by name alone whether a file
// stands for an entry, so a file of any other name can skip it. It only ever removes entries,
// and only those of the name it was given: after each call that one name is looked for again.
class MissingNames {
 public:
  explicit MissingNames(const FileList& missing) {
    if (!missing.hasEntries()) return;
    for (const FileList* entry = &missing; entry != nullptr; entry = entry->next) {
      names_.emplace(fileNamePart(viewOf(entry->path)));
    }
  }

  // Offers the file to the link repair when its name stands for a missing entry.
  void offer(FileList& missing, const std::string& path) {
    const std::string_view name = fileNamePart(path);
    const auto found = names_.find(name);
    if (found == names_.end()) return;
    missing.repairFromFile(path.c_str());
    if (!hasEntryNamed(missing, name)) names_.erase(found);
  }

 private:
  TextSet names_;
};

// Label3 as the search's progress line.
class ProgressLine {
 public:
  explicit ProgressLine(vcl::TLabel* label) : label_(label) {}

  void show(std::string_view path) {
    std::string caption(path);
    caption.append(kProgressPadding, ' ');
    label_->setCaption(std::move(caption));
    pending_ = true;
    const std::int64_t time = now();
    if (!painted_ || time - lastRepaint_ >= kProgressRepaintMs) repaint(time);
  }

  // Shows the caption as it stands, when it changed since the last repaint.
  void flush() {
    if (pending_) repaint(now());
  }

 private:
  void repaint(std::int64_t time) {
    label_->repaint();
    painted_ = true;
    pending_ = false;
    lastRepaint_ = time;
  }

  vcl::TLabel* label_;
  bool painted_ = false;  // no repaint yet: the first entry is shown at once
  bool pending_ = false;
  std::int64_t lastRepaint_ = 0;
};

class Search {
 public:
  Search(FileList& missing, const FileList& found)
      : missing_(missing), names_(missing), progress_(Form1->Label3), queue_(firstLevel(found)) {}

  void run() {
    while (queue_ != nullptr && queue_->hasEntries()) {
      for (const FileList* folder = queue_.get(); folder != nullptr; folder = folder->next) read(*folder);
      finishLevel();
      if (!missing_.hasEntries()) break;
      if (queue_ != nullptr && queue_->hasEntries()) continue;
      queueDriveRoots();
    }
    progress_.flush();
    if (missing_.hasEntries()) vcl::MessageBox(kNotAllFound, kWarning, vcl::MB_OK);
  }

 private:
  // The folders of the found files, the first one's always first, and the drive root of that
  // one when insertPath finds it a place.
  static std::unique_ptr<FileList> firstLevel(const FileList& found) {
    auto queue = std::make_unique<FileList>(folderOf(found).cStr());
    for (const FileList* entry = found.next; entry != nullptr; entry = entry->next) {
      queue->insertPath(folderOf(*entry).cStr());
    }
    const Str& first = queue->path;
    queue->insertPath(first.charAt(1) == ':' ? first.left(3).cStr() : "\\");
    return queue;
  }

  // Lists the folder and examines its entries in the order given.
  void read(const FileList& folder) {
    const Str& path = folder.path;
    const std::optional<std::vector<platform::FolderEntry>> listing = platform::listFolder(viewOf(path));
    if (!listing) {
      progress_.flush();
      vcl::MessageBox(kOpendirFailed, path.cStr(), vcl::MB_OK);
      platform::endProcess(kOpendirFailedStatus);
    }
    std::string& item = item_;  // one buffer for every entry's path
    const std::size_t prefixLength = path.size() + (path.charAt(path.size() - 1) == '\\' ? 0 : 1);
    item.assign(viewOf(path));
    item.resize(prefixLength, '\\');
    for (const platform::FolderEntry& entry : *listing) {
      // "." and "..", and with them every name that begins with "..".
      if (entry.name[0] == '.' && (entry.name.size() == 1 || entry.name[1] == '.')) continue;
      item.resize(prefixLength);
      item += entry.name;
      progress_.show(item);
      // The listing's own type spares opening every entry; a folder that cannot be listed (no
      // read access, a way back up, a pseudo file system) counts as a file, as when it was opened
      // to find out.
      if (entry.isFolder) {
        // A folder of a level read before: the rest of this folder is not looked at either.
        if (searchedPaths_.contains(std::string_view(item))) return;
        if (nextQueue_ == nullptr) {
          nextQueue_ = std::make_unique<FileList>(item.c_str());
        } else {
          nextQueue_->insertPath(item.c_str());
        }
      } else {
        names_.offer(missing_, item);
      }
    }
  }

  // The level read joins searched; the folders it found become the next level.
  void finishLevel() {
    for (const FileList* folder = queue_.get(); folder != nullptr; folder = folder->next) {
      searchedPaths_.emplace(viewOf(folder->path));
    }
    if (searched_ == nullptr) {
      searched_ = std::move(queue_);
    } else {
      searched_->append(queue_.release());
    }
    queue_ = std::move(nextQueue_);
  }

  // Nothing left below the folders read so far: the drive root of the first found file's folder
  // and the further drives, once. When that root was read already, the queue stays empty.
  void queueDriveRoots() {
    const Str root = searched_->path.left(3);
    if (searchedPaths_.contains(viewOf(root))) return;
    queue_ = std::make_unique<FileList>(root.cStr());
    if (!Form1->otherDrives) return;
    for (const char letter : Form1->otherDriveLetters) {
      const char drive[] = {letter, ':', '\\', '\0'};
      queue_->append(new FileList(drive));
    }
  }

  FileList& missing_;
  MissingNames names_;
  ProgressLine progress_;
  std::unique_ptr<FileList> queue_;
  std::unique_ptr<FileList> nextQueue_;
  std::unique_ptr<FileList> searched_;
  TextSet searchedPaths_;  // the paths of searched_
  std::string item_;
};

}  // namespace

Str folderOf(const FileList& entry) {
  const Str full = Form1->fullPathOf(entry.path);
  const std::size_t last = viewOf(full).find_last_of("\\:/");
  return last == std::string_view::npos ? Str("") : full.left(static_cast<int>(last) + 1);
}

void searchForMissingFiles(FileList* missingList, FileList* foundList) {
  Search search(*missingList, *foundList);
  search.run();
}

SearchClock setSearchClock(SearchClock clock) {
  const SearchClock previous = g_clock;
  g_clock = clock;
  return previous;
}
