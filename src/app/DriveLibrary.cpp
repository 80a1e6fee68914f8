#include "app/DriveLibrary.h"

#include <algorithm>
#include <memory>

namespace vantrel {

CDriveLibrary::CDriveLibrary(Poster post, std::string indexPath)
    : m_post(std::move(post)), m_indexPath(std::move(indexPath)) {}

CDriveLibrary::~CDriveLibrary() {
  m_scanner.cancelAndWait();  // before the index it writes goes
}

void CDriveLibrary::OpenIndex() {
  if (m_index.index) return;
  m_index = openLibraryIndex(m_indexPath.empty() ? libraryIndexPath() : m_indexPath);
  m_openNote = m_index.note;
}

void CDriveLibrary::Scan(const std::string& folder, std::vector<std::string> paths,
                         std::function<void()> finished) {
  OpenIndex();
  m_scanner.cancelAndWait();
  const uint64_t scan = ++m_scans;
  // The scan's result travels to the UI thread inside the posted call.
  m_scanner.start(std::move(paths), *m_index.index,
                  [this, scan, folder, finished](ScanResult result) {
                    auto shared = std::make_shared<ScanResult>(std::move(result));
                    m_post([this, scan, folder, finished, shared] {
                      if (scan != m_scans) return;
                      Apply(folder, std::move(*shared));
                      if (finished) finished();
                    });
                  });
}

void CDriveLibrary::Apply(const std::string& folder, ScanResult result) {
  // The index names folders as the listing's paths do.
  const std::string listed = result.clips.empty() ? folder : folderOf(result.clips[0].key.path);
  // A file that vanished since the last scan leaves the index.
  std::vector<std::string> kept;
  for (const ClipRecord& clip : result.clips) kept.push_back(clip.key.path);
  if (!result.cancelled) m_index.index->forgetOthers(listed, kept);
  m_index.index->flush();
  m_contents.folder = listed;
  m_contents.drives = groupDrives(result.clips);
  m_contents.clips = std::move(result.clips);
  m_contents.cancelled = result.cancelled;
  m_contents.read = result.read;
  m_clipByPath.clear();
  for (size_t i = 0; i < m_contents.clips.size(); ++i)
    m_clipByPath[m_contents.clips[i].key.path] = i;
}

std::string CDriveLibrary::Note() const {
  if (!m_index.index) return "";
  return m_openNote.empty() ? m_index.index->note() : m_openNote;
}

const ClipRecord* CDriveLibrary::ClipOf(const std::string& path) const {
  const auto found = m_clipByPath.find(path);
  return found == m_clipByPath.end() ? nullptr : &m_contents.clips[found->second];
}

std::optional<DrivePlace> CDriveLibrary::PlaceOf(const std::string& path) const {
  const auto found = m_clipByPath.find(path);
  if (found == m_clipByPath.end()) return std::nullopt;
  return drivePlaceOf(m_contents.drives, found->second);
}

std::optional<DriveMoment> CDriveLibrary::MomentOf(size_t drive, int64_t ms) const {
  if (drive >= m_contents.drives.size()) return std::nullopt;
  const Drive& d = m_contents.drives[drive];
  const DriveClip* chosen = &d.clips.front();
  for (const DriveClip& clip : d.clips) {
    if (clip.time.startMs - d.startMs <= ms) chosen = &clip;
  }
  // A moment in a gap after a clip shows that clip's last second.
  const int64_t length = chosen->time.endMs - chosen->time.startMs;
  const int64_t offset = std::clamp<int64_t>(ms - (chosen->time.startMs - d.startMs), 0,
                                             std::max<int64_t>(0, length - 1000));
  return DriveMoment{m_contents.clips[chosen->clip].key.path, offset};
}

std::vector<PlaceHit> CDriveLibrary::RecordingsHere(double latitude, double longitude) const {
  if (!m_index.index || m_contents.folder.empty()) return {};
  return m_index.index->recordingsNear(latitude, longitude, kRecordingsHereMetres,
                                       m_contents.folder);
}

}  // namespace vantrel
