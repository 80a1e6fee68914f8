#pragma once
// The playlist's entries and the rules that fill it, without a window: which
// files a folder contributes, which drops are ignored, and where a path goes
// in the list (alphabetical without regard to case, in the collation of the
// user's locale). Paths are UTF-8 bytes.
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace vantrel {

// ".avi", ".AVI", ".mov", ".MOV", ".mp4" or ".MP4" as the last four
// characters, exactly (".Mp4" is not one).
bool hasRecordingExtension(std::string_view path);

// Drops of pictures and RealMedia: ".bmp", ".png" or ".rmvb" anywhere in the
// path, case-sensitive.
bool isIgnoredDrop(std::string_view path);

// The recordings directly in folder (no sub-folders, and no folder whose name
// looks like a recording), in the order the file system gives them.
struct FolderListing {
  std::vector<std::string> paths;
  std::error_code error;  // set when the folder could not be read
};
FolderListing listRecordings(const std::string& folder);

// An index outside 0..count-1 means the first entry.
int clampPlaylistIndex(int index, int count);

class Playlist {
 public:
  struct Placement {
    int index;   // where the entry is
    bool added;  // false: an entry beginning with the path was already listed
  };

  // The first entry that begins with path, ignoring case; -1 when none.
  int FindPrefix(std::string_view path) const;
  // Selects the listed entry that begins with path, or adds path in order.
  Placement AddOrFind(const std::string& path);
  // Replaces the list with a folder's recordings as the Open button does: an
  // add selects entry 0, a path already covered selects that entry. Returns
  // the selection, -1 when the list stays empty.
  int Fill(const std::vector<std::string>& paths);

  int Count() const { return static_cast<int>(m_entries.size()); }
  const std::string& Path(int index) const { return m_entries[index].path; }

 private:
  struct Entry {
    std::string path;
    std::wstring key;       // collation key of the case-folded path, compared first
    std::u32string folded;  // the path case-folded, for prefix matches
  };
  std::vector<Entry> m_entries;  // sorted by key, then by path
};

}  // namespace vantrel
