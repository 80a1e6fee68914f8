#include "library/LibraryScan.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

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

struct ReadClip {
  ClipRecord clip;
  bool readAfresh = false;
};

// The reads of one scan: reader threads take the paths in turn and leave
// each record in its slot; the writer takes the slots in path order, so the
// index is stored in the same order however many threads read.
class ScanReads {
 public:
  ScanReads(const std::vector<std::string>& paths, LibraryIndex& index, std::atomic<bool>* quit,
            unsigned readers)
      : paths_(paths), index_(index), quit_(quit), slots_(paths.size()) {
    const size_t count = std::min<size_t>(std::max(readers, 1u), paths.size());
    for (size_t i = 0; i < count; ++i) {
      threads_.emplace_back([this] {
        setCurrentThreadName("library read");
        readAll();
      });
    }
  }
  ScanReads(const ScanReads&) = delete;
  ScanReads& operator=(const ScanReads&) = delete;
  ~ScanReads() {
    for (std::thread& thread : threads_) thread.join();
  }

  // Waits for the record of path i; nullopt when the scan is cancelled first.
  std::optional<ReadClip> take(size_t i) {
    std::unique_lock<std::mutex> hold(lock_);
    filled_.wait(hold, [&] { return slots_[i] || quitting(quit_); });
    if (quitting(quit_)) return std::nullopt;
    std::optional<ReadClip> taken = std::move(slots_[i]);
    slots_[i].reset();
    return taken;
  }

 private:
  void readAll() {
    for (size_t i = next_++; i < paths_.size() && !quitting(quit_); i = next_++) {
      ReadClip read;
      read.clip = clipOf(paths_[i], index_, quit_, read.readAfresh);
      std::lock_guard<std::mutex> hold(lock_);
      slots_[i] = std::move(read);
      filled_.notify_all();
    }
    // A cancel ends the reads without filling the rest: wake the writer.
    std::lock_guard<std::mutex> hold(lock_);
    filled_.notify_all();
  }

  const std::vector<std::string>& paths_;
  LibraryIndex& index_;
  std::atomic<bool>* quit_;
  std::atomic<size_t> next_{0};
  std::mutex lock_;
  std::condition_variable filled_;
  std::vector<std::optional<ReadClip>> slots_;  // guarded by lock_
  std::vector<std::thread> threads_;
};

}  // namespace

ScanResult scanClips(const std::vector<std::string>& paths, LibraryIndex& index,
                     std::atomic<bool>* quit, std::atomic<size_t>* done, unsigned readers) {
  const auto started = std::chrono::steady_clock::now();
  ScanResult result;
  result.clips.reserve(paths.size());
  {
    ScanReads reads(paths, index, quit, readers);
    size_t unflushed = 0;
    for (size_t i = 0; i < paths.size(); ++i) {
      std::optional<ReadClip> read = reads.take(i);
      // A read cut short by the cancel is incomplete: neither kept nor shown.
      if (!read) break;
      if (read->readAfresh) {
        ++result.read;
        index.store(read->clip);
        if (++unflushed == kClipsPerFlush) {
          index.flush();
          unflushed = 0;
        }
      }
      result.clips.push_back(std::move(read->clip));
      if (done) ++*done;
    }
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
