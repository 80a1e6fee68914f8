#pragma once
// Scanning a folder's recordings into the library: each file whose size and
// time the index still knows is taken from it, every other one is read
// afresh and stored. Runs on a thread of its own with a progress count and a
// cancel; what was read before a cancel stays stored.
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "library/ClipRecord.h"
#include "library/LibraryIndex.h"

namespace vantrel {

struct ScanResult {
  std::vector<ClipRecord> clips;  // in the order of the paths scanned
  size_t read = 0;                // read afresh (the rest came from the index)
  bool cancelled = false;         // stopped early: clips holds what was done
  double seconds = 0;             // how long the scan took
};

// Threads that read clips during a scan: the reading is mostly work for the
// processor (headers, track text), so one per core of a small machine.
constexpr unsigned kScanReaders = 2;

// The scan itself: readers threads read the files (and look them up in the
// index, which must allow that from several threads), the calling thread
// stores them in path order. done (when given) counts the files finished;
// quit (when given and set) stops it between files and inside a long read.
// The index is flushed every few clips, at a cancel and at the end.
ScanResult scanClips(const std::vector<std::string>& paths, LibraryIndex& index,
                     std::atomic<bool>* quit = nullptr, std::atomic<size_t>* done = nullptr,
                     unsigned readers = kScanReaders);

// A scan on the "library" thread. The UI thread reads the progress whenever it
// likes; finished runs on the scan thread once, with the result.
class LibraryScanner {
 public:
  LibraryScanner() = default;
  LibraryScanner(const LibraryScanner&) = delete;
  LibraryScanner& operator=(const LibraryScanner&) = delete;
  ~LibraryScanner() { cancelAndWait(); }

  // Starts scanning paths into index, ending any earlier scan first (whose
  // finished still runs). index must outlive the scan.
  void start(std::vector<std::string> paths, LibraryIndex& index,
             std::function<void(ScanResult)> finished);
  // Asks the scan to stop and waits for its thread.
  void cancelAndWait();
  // Asks the scan to stop; returns at once.
  void cancel() { quit_ = true; }
  size_t done() const { return done_.load(); }
  size_t total() const { return total_.load(); }
  bool running() const { return running_.load(); }

 private:
  std::thread thread_;  // started and joined by the owner's thread
  std::atomic<bool> quit_{false};
  std::atomic<size_t> done_{0};
  std::atomic<size_t> total_{0};
  std::atomic<bool> running_{false};
};

}  // namespace vantrel
