#include "library/LibraryScan.h"

#include <chrono>

#include "engine/ThreadName.h"
#include "library/ClipReader.h"

namespace vantrel {

namespace {

// Clips stored between two flushes: a crash or a cancel loses at most these.
constexpr size_t kClipsPerFlush = 32;

bool quitting(const std::atomic<bool>* quit) {
  return quit && quit->load() != 0;
}

// The record of path: the index's when it still matches the file.
ClipRecord clipOf(const std::string& path, LibraryIndex& index, std::atomic<bool>* quit,
                  bool& readAfresh) {
  readAfresh = false;
  std::string reason;
  const std::optional<ClipKey> key = clipKeyOf(path, &reason);
  if (!key) {
    ClipRecord missing;
    missing.key.path = path;
    missing.reason = reason;
    return missing;
  }
  if (std::optional<ClipRecord> kept = index.find(*key)) return std::move(*kept);
  readAfresh = true;
  return readClip(path, quit);
}

}  // namespace

ScanResult scanClips(const std::vector<std::string>& paths, LibraryIndex& index,
                     std::atomic<bool>* quit, std::atomic<size_t>* done) {
  const auto started = std::chrono::steady_clock::now();
  ScanResult result;
  result.clips.reserve(paths.size());
  size_t unflushed = 0;
  for (const std::string& path : paths) {
    if (quitting(quit)) break;
    bool readAfresh = false;
    ClipRecord clip = clipOf(path, index, quit, readAfresh);
    // A read cut short by the cancel is incomplete: neither kept nor shown.
    if (quitting(quit)) break;
    if (readAfresh) {
      ++result.read;
      index.store(clip);
      if (++unflushed == kClipsPerFlush) {
        index.flush();
        unflushed = 0;
      }
    }
    result.clips.push_back(std::move(clip));
    if (done) ++*done;
  }
  index.flush();
  result.cancelled = result.clips.size() < paths.size();
  result.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return result;
}

void LibraryScanner::start(std::vector<std::string> paths, LibraryIndex& index,
                           std::function<void(ScanResult)> finished) {
  cancelAndWait();
  quit_ = false;
  done_ = 0;
  total_ = paths.size();
  running_ = true;
  thread_ = std::thread([this, paths = std::move(paths), &index, finished = std::move(finished)] {
    setCurrentThreadName("library");
    ScanResult result = scanClips(paths, index, &quit_, &done_);
    running_ = false;
    finished(std::move(result));
  });
}

void LibraryScanner::cancelAndWait() {
  quit_ = true;
  if (thread_.joinable()) thread_.join();
}

}  // namespace vantrel
