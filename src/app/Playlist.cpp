#include "app/Playlist.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <cwctype>
#include <filesystem>
#include <set>

namespace vantrel {

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 6> kRecordingExtensions{".avi", ".AVI", ".mov",
                                                               ".MOV", ".mp4", ".MP4"};
constexpr std::array<std::string_view, 3> kIgnoredDropParts{".bmp", ".png", ".rmvb"};

char32_t foldCodePoint(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
  return static_cast<char32_t>(std::towlower(static_cast<wint_t>(c)));
}

// Length of the UTF-8 sequence led by lead, 0 when lead cannot start one.
int sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Decodes and case-folds a path. File names need not be valid UTF-8; a byte
// that starts no valid sequence stands for itself above the Unicode range,
// so such names still sort and match consistently.
std::u32string foldCase(std::string_view text) {
  std::u32string folded;
  folded.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = sequenceLength(lead);
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
      if ((next & 0xC0) != 0x80) {
        length = 0;
        break;
      }
      c = (c << 6) | (next & 0x3F);
    }
    if (length == 0) {
      folded.push_back(0x110000 + lead);
      ++i;
    } else {
      folded.push_back(foldCodePoint(c));
      i += length;
    }
  }
  return folded;
}

// The sort key of a case-folded path in the collation of the user's locale
// (LC_COLLATE). Bytes that are no UTF-8 collate as the replacement character;
// the raw path then decides between names that collate alike.
std::wstring collationKey(const std::u32string& folded) {
  std::wstring text;
  text.reserve(folded.size());
  for (char32_t c : folded) text.push_back(static_cast<wchar_t>(c > 0x10FFFF ? 0xFFFD : c));
  std::wstring key(std::wcsxfrm(nullptr, text.c_str(), 0), L'\0');
  std::wcsxfrm(key.data(), text.c_str(), key.size() + 1);
  return key;
}

}  // namespace

bool hasRecordingExtension(std::string_view path) {
  if (path.size() < 4) return false;
  const std::string_view last4 = path.substr(path.size() - 4);
  return std::find(kRecordingExtensions.begin(), kRecordingExtensions.end(), last4) !=
         kRecordingExtensions.end();
}

bool isIgnoredDrop(std::string_view path) {
  return std::any_of(kIgnoredDropParts.begin(), kIgnoredDropParts.end(),
                     [path](std::string_view part) { return path.find(part) != path.npos; });
}

FolderListing listRecordings(const std::string& folder) {
  FolderListing listing;
  fs::directory_iterator it(folder, listing.error);
  for (; !listing.error && it != fs::directory_iterator(); it.increment(listing.error)) {
    const std::string path = it->path().string();
    std::error_code kindError;
    if (hasRecordingExtension(path) && !it->is_directory(kindError)) {
      listing.paths.push_back(path);
    }
  }
  if (listing.error) listing.paths.clear();
  return listing;
}

int clampPlaylistIndex(int index, int count) {
  return (index < 0 || index >= count) ? 0 : index;
}

int Playlist::FindPrefix(std::string_view path) const {
  // The collated order does not keep the entries that begin alike together,
  // so every entry is looked at, from the first.
  const std::u32string folded = foldCase(path);
  for (size_t i = 0; i < m_entries.size(); ++i) {
    if (m_entries[i].folded.compare(0, folded.size(), folded) == 0) return static_cast<int>(i);
  }
  return -1;
}

Playlist::Placement Playlist::AddOrFind(const std::string& path) {
  if (const int found = FindPrefix(path); found >= 0) return {found, false};
  std::u32string folded = foldCase(path);
  Entry entry{path, collationKey(folded), std::move(folded)};
  auto it = std::upper_bound(m_entries.begin(), m_entries.end(), entry,
                             [](const Entry& a, const Entry& b) {
                               return a.key != b.key ? a.key < b.key : a.path < b.path;
                             });
  it = m_entries.insert(it, std::move(entry));
  return {static_cast<int>(it - m_entries.begin()), true};
}

int Playlist::Fill(const std::vector<std::string>& paths) {
  // The outcome of adding the paths one by one with AddOrFind, in
  // O(n log n): a folder of ten thousand clips fills at once. Whether a path
  // is covered does not depend on the order, so the folded paths are kept in
  // code-point order for that, and the entries sorted once at the end.
  std::set<std::u32string> folded;
  m_entries.clear();
  bool lastCovered = false;
  for (const std::string& path : paths) {
    std::u32string key = foldCase(path);
    const auto next = folded.lower_bound(key);
    lastCovered = next != folded.end() && next->compare(0, key.size(), key) == 0;
    if (lastCovered) continue;
    folded.insert(key);
    std::wstring collated = collationKey(key);
    m_entries.push_back({path, std::move(collated), std::move(key)});
  }
  std::sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
    return a.key != b.key ? a.key < b.key : a.path < b.path;
  });
  if (paths.empty()) return -1;
  return lastCovered ? FindPrefix(paths.back()) : 0;
}

}  // namespace vantrel
