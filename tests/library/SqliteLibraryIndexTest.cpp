#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include "app/TempFolder.h"
#include "library/LibraryOpen.h"
#include "library/LibraryRecords.h"
#include "library/SqliteLibraryIndex.h"

using namespace vantrel;
using testsupport::clipRecord;
using testsupport::straightTrack;

namespace fs = std::filesystem;

namespace {

// A clip 60 s north from (latitude, 11) at 10 m/s.
ClipRecord trackedClip(const std::string& path, double latitude) {
  ClipRecord clip = clipRecord(path, 60'000, 1000, straightTrack(latitude, 11, 60, 10, 36));
  clip.utcStartMs = 1'714'548'605'000;
  return clip;
}

std::unique_ptr<LibraryIndex> openAt(const fs::path& file) {
  OpenedLibrary opened = openLibraryIndex(file.string());
  EXPECT_EQ(opened.note, "") << file;
  return std::move(opened.index);
}

void writeBytes(const fs::path& file, size_t at, const std::string& bytes) {
  std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
  out.seekp(static_cast<std::streamoff>(at));
  out << bytes;
}

}  // namespace

TEST(SqliteLibraryIndex, KeepsRecordsBetweenRunsWhileTheFileIsUnchanged) {
  testsupport::TempFolder folder;
  const fs::path file = folder.path() / "cache/vantrel/library.sqlite";
  ClipRecord unreadable = clipRecord("/card/broken.mp4", 0);
  unreadable.readable = false;
  unreadable.reason = "not a recording: Invalid data found when processing input";
  const ClipRecord tracked = trackedClip("/card/20240501_073005.MP4", 48);
  {
    std::unique_ptr<LibraryIndex> index = openAt(file);
    EXPECT_EQ(index->where(), file.string());
    EXPECT_TRUE(index->store(tracked));
    EXPECT_TRUE(index->store(unreadable));
    index->flush();
  }
  std::unique_ptr<LibraryIndex> index = openAt(file);
  const std::optional<ClipRecord> back = index->find(tracked.key);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->points, tracked.points);
  EXPECT_EQ(back->utcStartMs, tracked.utcStartMs);
  EXPECT_EQ(back->durationMs, 60'000);
  EXPECT_EQ(back->trackSource, "test");
  const std::optional<ClipRecord> broken = index->find(unreadable.key);
  ASSERT_TRUE(broken);
  EXPECT_FALSE(broken->readable);
  EXPECT_EQ(broken->reason, unreadable.reason);
  EXPECT_FALSE(broken->utcStartMs);
  // A file of another size or time is read again.
  const ClipKey& key = tracked.key;
  const ClipKey changed[] = {{key.path, key.size + 1, key.mtimeNs},
                             {key.path, key.size, key.mtimeNs + 1},
                             {key.path + "x", key.size, key.mtimeNs}};
  for (const ClipKey& other : changed) EXPECT_FALSE(index->find(other)) << other.path;
}

TEST(SqliteLibraryIndex, RecordingsNearFindPassesInTheFolderNearestFirst) {
  int code = 0;
  std::string reason;
  std::unique_ptr<LibraryIndex> index = SqliteLibraryIndex::open(":memory:", code, reason);
  ASSERT_TRUE(index) << reason;
  const double latitude = 48 + 205 / 111195.0;
  index->store(trackedClip("/card/a.MP4", 48));
  index->store(trackedClip("/card/b.MP4", 48 + 100 / 111195.0));  // passes 105 m in
  index->store(trackedClip("/card/far.MP4", 49));                 // another town
  index->store(trackedClip("/other/c.MP4", 48));                  // another folder
  index->store(trackedClip("/card/sub/d.MP4", 48));               // a sub-folder
  const std::vector<PlaceHit> hits = index->recordingsNear(latitude, 11, 50, "/card");
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0].path, "/card/a.MP4");
  EXPECT_NEAR(hits[0].offsetMs, 20'500, 30);
  EXPECT_EQ(hits[1].path, "/card/b.MP4");
  EXPECT_NEAR(hits[1].offsetMs, 10'500, 30);
  EXPECT_EQ(index->recordingsNear(latitude, 11, 50, "").size(), 4u);
  // A clip stored again replaces its old track, in the spatial index too.
  index->store(trackedClip("/card/a.MP4", 49));
  EXPECT_EQ(index->recordingsNear(latitude, 11, 50, "/card").size(), 1u);
  index->forgetOthers("/card", {"/card/far.MP4"});
  EXPECT_TRUE(index->recordingsNear(latitude, 11, 50, "/card").empty());
  EXPECT_EQ(index->recordingsNear(49 + 205 / 111195.0, 11, 50, "/card").size(), 1u);
  EXPECT_EQ(index->recordingsNear(latitude, 11, 50, "/other").size(), 1u);
}

TEST(SqliteLibraryIndex, DamagedLockedOrUnwritableFilesAreNeverFatal) {
  testsupport::TempFolder folder;
  const ClipRecord clip = trackedClip("/card/a.MP4", 48);
  struct Case {
    const char* what;
    std::function<fs::path()> prepare;  // returns the index file to open
    bool inMemory;
    const char* note;
    std::function<void()> release = [] {};
  };
  sqlite3* holder = nullptr;
  const Case cases[] = {
      {"not a database", [&] { return folder.write("garbage.sqlite", std::string(8192, 'x')); },
       false, "was damaged: it was set aside"},
      {"locked by another program",
       [&] {
         const fs::path file = folder.path() / "locked.sqlite";
         sqlite3_open(file.c_str(), &holder);
         sqlite3_exec(holder, "CREATE TABLE t(x); BEGIN EXCLUSIVE; INSERT INTO t VALUES(1);",
                      nullptr, nullptr, nullptr);
         return file;
       },
       true, "is in use by another program",
       [&] {
         sqlite3_close(holder);
         holder = nullptr;
       }},
      {"its folder cannot be made", [&] { return folder.write("file") / "library.sqlite"; }, true,
       "Cannot make the folder"},
      {"a folder in its place",
       [&] {
         fs::create_directories(folder.path() / "dir.sqlite");
         return folder.path() / "dir.sqlite";
       },
       true, "cannot be used"},
  };
  for (const Case& c : cases) {
    const fs::path file = c.prepare();
    OpenedLibrary opened = openLibraryIndex(file.string());
    ASSERT_TRUE(opened.index) << c.what;
    EXPECT_NE(opened.note.find(c.note), std::string::npos) << c.what << ": " << opened.note;
    EXPECT_EQ(opened.index->where() == "memory", c.inMemory) << c.what;
    EXPECT_TRUE(opened.index->store(clip)) << c.what;
    EXPECT_TRUE(opened.index->find(clip.key)) << c.what;
    c.release();
  }
  EXPECT_TRUE(fs::exists(folder.path() / "garbage.sqlite.damaged"));
}

TEST(SqliteLibraryIndex, DamageFoundInUseIsSetAsideAndBuiltAnew) {
  testsupport::TempFolder folder;
  const fs::path file = folder.path() / "library.sqlite";
  {
    std::unique_ptr<LibraryIndex> index = openAt(file);
    for (int i = 0; i < 200; ++i)
      index->store(trackedClip("/card/" + std::to_string(i) + ".MP4", 48));
  }
  // Page 1 (the schema) stays: the file opens, its tables do not read.
  const size_t size = fs::file_size(file);
  writeBytes(file, 4096, std::string(size - 4096, '\xa5'));
  std::unique_ptr<LibraryIndex> index = openAt(file);
  const ClipRecord clip = trackedClip("/card/7.MP4", 48);
  EXPECT_FALSE(index->find(clip.key));
  EXPECT_NE(index->note().find("damaged"), std::string::npos) << index->note();
  EXPECT_TRUE(fs::exists(folder.path() / "library.sqlite.damaged"));
  EXPECT_EQ(index->where(), file.string());
  EXPECT_TRUE(index->store(clip));
  index->flush();
  EXPECT_TRUE(index->find(clip.key));
}
