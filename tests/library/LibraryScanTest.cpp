#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <future>

#include "library/LibraryFolder.h"
#include "library/LibraryOpen.h"
#include "library/LibraryScan.h"
#include "library/SqliteLibraryIndex.h"

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

std::unique_ptr<LibraryIndex> memoryIndex() {
  int code = 0;
  std::string reason;
  return SqliteLibraryIndex::open(":memory:", code, reason);
}

std::vector<std::string> sortedPaths(const testsupport::TempFolder& folder) {
  std::vector<std::string> paths;
  for (const auto& entry : fs::directory_iterator(folder.path())) {
    if (entry.path().extension() != ".TXT") paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

// Stops the scan it serves after a number of stores, as a user's cancel
// would, and passes everything on to the real index.
class CancellingIndex : public LibraryIndex {
 public:
  CancellingIndex(LibraryIndex& inner, std::atomic<bool>& quit, size_t storesBeforeCancel)
      : inner_(inner), quit_(quit), left_(storesBeforeCancel) {}
  std::optional<ClipRecord> find(const ClipKey& key) override { return inner_.find(key); }
  bool store(const ClipRecord& clip) override {
    if (--left_ == 0) quit_ = true;
    return inner_.store(clip);
  }
  void forgetOthers(const std::string& folder, const std::vector<std::string>& keep) override {
    inner_.forgetOthers(folder, keep);
  }
  void flush() override { inner_.flush(); }
  std::vector<PlaceHit> recordingsNear(double lat, double lon, double radius,
                                       const std::string& folder) override {
    return inner_.recordingsNear(lat, lon, radius, folder);
  }
  std::string where() const override { return inner_.where(); }
  std::string note() const override { return inner_.note(); }

 private:
  LibraryIndex& inner_;
  std::atomic<bool>& quit_;
  size_t left_;
};

}  // namespace

TEST(LibraryScan, ReadsEachClipOnceAndReusesTheIndexUntilTheFileChanges) {
  testsupport::TempFolder folder;
  testsupport::makeDriveFolder(folder);
  const std::vector<std::string> paths = sortedPaths(folder);
  ASSERT_EQ(paths.size(), 5u);
  std::unique_ptr<LibraryIndex> index = memoryIndex();

  std::atomic<size_t> done{0};
  const ScanResult cold = scanClips(paths, *index, nullptr, &done);
  EXPECT_EQ(cold.read, 5u);
  EXPECT_EQ(done.load(), 5u);
  EXPECT_FALSE(cold.cancelled);
  ASSERT_EQ(cold.clips.size(), 5u);
  struct Expected {
    const char* name;
    bool readable;
    size_t points;
    const char* source;
  };
  const Expected expected[] = {
      {"20240501_073005.MOV", true, 4, "movie"},
      {"20240501_073010.mp4", true, 4, "sidecar"},
      {"20240501_073020.MOV", true, 0, ""},
      {"broken.mp4", false, 0, ""},
      {"empty.mp4", false, 0, ""},
  };
  for (size_t i = 0; i < 5; ++i) {
    const ClipRecord& clip = cold.clips[i];
    EXPECT_EQ(fs::path(clip.key.path).filename(), expected[i].name);
    EXPECT_EQ(clip.readable, expected[i].readable) << expected[i].name;
    EXPECT_EQ(clip.points.size(), expected[i].points) << expected[i].name;
    EXPECT_EQ(clip.trackSource, expected[i].source) << expected[i].name;
    EXPECT_EQ(clip.reason.starts_with("not a recording"), !expected[i].readable) << clip.reason;
  }
  EXPECT_EQ(cold.clips[0].durationMs, 4000);
  EXPECT_EQ(cold.clips[0].points[3].offsetMs, 3000);

  const ScanResult warm = scanClips(paths, *index);
  EXPECT_EQ(warm.read, 0u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(warm.clips[i].points, cold.clips[i].points);
    EXPECT_EQ(warm.clips[i].reason, cold.clips[i].reason);
  }

  fs::last_write_time(paths[1], fs::last_write_time(paths[1]) + std::chrono::seconds(5));
  fs::remove(paths[4]);
  const ScanResult changed = scanClips(paths, *index);
  EXPECT_EQ(changed.read, 1u);  // the touched clip; the vanished one is only named
  EXPECT_FALSE(changed.clips[4].readable);
  EXPECT_NE(changed.clips[4].reason.find("cannot examine"), std::string::npos);
}

TEST(LibraryScan, CancellingKeepsWhatWasIndexed) {
  testsupport::TempFolder folder;
  testsupport::makeDriveFolder(folder);
  const std::vector<std::string> paths = sortedPaths(folder);
  // However many threads read ahead, the scan ends at the store that saw
  // the cancel, and the index holds exactly the clips it returned.
  for (unsigned readers : {1u, 2u, 4u}) {
    for (size_t stop : {size_t{1}, size_t{2}, size_t{4}}) {
      std::unique_ptr<LibraryIndex> index = memoryIndex();
      std::atomic<bool> quit{false};
      CancellingIndex cancelling(*index, quit, stop);
      const ScanResult cut = scanClips(paths, cancelling, &quit, nullptr, readers);
      EXPECT_TRUE(cut.cancelled) << readers << " readers, stop " << stop;
      ASSERT_EQ(cut.clips.size(), stop) << readers << " readers";
      for (size_t i = 0; i < stop; ++i) EXPECT_EQ(cut.clips[i].key.path, paths[i]);
      const ScanResult rest = scanClips(paths, *index);
      EXPECT_EQ(rest.read, paths.size() - stop) << readers << " readers, stop " << stop;
      EXPECT_FALSE(rest.cancelled);
    }
  }
}

namespace {

// Every row of the index file's tables, in id order, as text.
std::string tableRows(const fs::path& file) {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  std::string rows;
  for (const char* query :
       {"SELECT id, path, folder, size, mtime_ns, readable, reason, duration_ms, track_source, "
        "utc_start_ms, pieces, hex(points) FROM clips ORDER BY id",
        "SELECT * FROM places ORDER BY id"}) {
    sqlite3_exec(
        db, query,
        [](void* out, int columns, char** values, char**) {
          auto& text = *static_cast<std::string*>(out);
          for (int i = 0; i < columns; ++i)
            text += (values[i] ? values[i] : "NULL") + std::string("|");
          text += "\n";
          return 0;
        },
        &rows, nullptr);
  }
  sqlite3_close(db);
  return rows;
}

}  // namespace

TEST(LibraryScan, ReaderThreadsStoreTheSameIndexAsOne) {
  testsupport::TempFolder folder;
  testsupport::makeDriveFolder(folder);
  // More clips than threads, of every kind, so reads finish out of order.
  for (int i = 0; i < 12; ++i) {
    const std::string stem = (folder.path() / ("20240502_0800" + std::to_string(10 + i))).string();
    fs::create_hard_link(testsupport::fixture("clip.MOV"), stem + "a.MOV");
    fs::create_hard_link(testsupport::fixture("clip.mp4"), stem + "b.mp4");
    fs::create_hard_link(testsupport::fixture("clip.TXT"), stem + "b.TXT");
    fs::create_hard_link(testsupport::fixture("notrack.MOV"), stem + "c.MOV");
    fs::create_hard_link(testsupport::fixture("play-garbage.mp4"), stem + "d.mp4");
  }
  const std::vector<std::string> paths = sortedPaths(folder);
  ASSERT_EQ(paths.size(), 53u);

  std::string oneReader;
  for (unsigned readers : {1u, 2u, 4u}) {
    const fs::path file = folder.path() / ("index" + std::to_string(readers) + ".sqlite");
    std::atomic<size_t> done{0};
    {
      OpenedLibrary opened = openLibraryIndex(file.string());
      const ScanResult scan = scanClips(paths, *opened.index, nullptr, &done, readers);
      EXPECT_EQ(scan.read, paths.size()) << readers << " readers";
      ASSERT_EQ(scan.clips.size(), paths.size()) << readers << " readers";
      for (size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(scan.clips[i].key.path, paths[i]);
    }
    EXPECT_EQ(done.load(), paths.size());
    const std::string rows = tableRows(file);
    if (readers == 1) {
      oneReader = rows;
      // 53 clips, and one place for each of the 26 four-point tracks.
      EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 53 + 26) << rows;
    } else {
      EXPECT_EQ(rows, oneReader) << readers << " readers";
    }
  }
}

TEST(LibraryScan, ScannerRunsOnItsOwnThreadAndStopsWhenAsked) {
  testsupport::TempFolder folder;
  testsupport::makeDriveFolder(folder);
  std::vector<std::string> paths;
  for (int i = 0; i < 300; ++i) {
    const fs::path link = folder.path() / ("many" + std::to_string(i) + ".MOV");
    fs::create_hard_link(testsupport::fixture("notrack.MOV"), link);
    paths.push_back(link.string());
  }
  std::unique_ptr<LibraryIndex> index = memoryIndex();
  LibraryScanner scanner;

  std::promise<ScanResult> whole;
  scanner.start(sortedPaths(folder), *index, [&](ScanResult r) { whole.set_value(std::move(r)); });
  const ScanResult all = whole.get_future().get();
  EXPECT_EQ(all.clips.size(), 305u);
  scanner.cancelAndWait();
  EXPECT_EQ(scanner.done(), 305u);
  EXPECT_FALSE(scanner.running());

  // Every file is new to a fresh index: a cancel soon after the start stops
  // the scan long before its end.
  std::unique_ptr<LibraryIndex> fresh = memoryIndex();
  int calls = 0;
  ScanResult cut;
  scanner.start(paths, *fresh, [&](ScanResult r) {
    ++calls;
    cut = std::move(r);
  });
  while (scanner.done() == 0) std::this_thread::yield();
  scanner.cancelAndWait();
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(cut.cancelled);
  EXPECT_LT(cut.clips.size(), paths.size());
  EXPECT_EQ(cut.clips.size(), scanner.done());
  EXPECT_EQ(scanClips(paths, *fresh).read, paths.size() - cut.clips.size());
}
