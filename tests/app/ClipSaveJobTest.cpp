#include "app/ClipSaveJob.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "app/TempFolder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

// The outcome a job hands over, waited for.
class Outcome {
 public:
  ClipSaveJob::Done callback() {
    return [this](const SavedClip& saved) {
      std::lock_guard<std::mutex> hold(m_lock);
      m_saved = saved;
      m_cond.notify_all();
    };
  }
  SavedClip wait() {
    std::unique_lock<std::mutex> hold(m_lock);
    m_cond.wait_for(hold, std::chrono::seconds(30), [this] { return m_saved.has_value(); });
    return m_saved.value_or(SavedClip{});
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_cond;
  std::optional<SavedClip> m_saved;
};

TEST(ClipSaveJob, SavesOnItsOwnThreadAndHandsOverTheOutcome) {
  testsupport::TempFolder dir;
  ClipSaveJob job;
  Outcome outcome;
  ASSERT_TRUE(job.Start(std::string(VANTREL_FIXTURES) + "/numbered.mp4", dir.path().string(), 4,
                        6, outcome.callback()));
  const SavedClip saved = outcome.wait();
  EXPECT_EQ(saved.status, kClipWritten) << saved.reason;
  EXPECT_EQ(saved.clipPath, (dir.path() / "numbered_0m04s-0m06s.mp4").string());
  EXPECT_EQ(saved.trackPath, (dir.path() / "numbered_0m04s-0m06s.TXT").string());
  EXPECT_TRUE(fs::exists(saved.clipPath));
  EXPECT_GT(job.Progress(), 0.9);
}

// Cancel reaches the save wherever it is; a second save waits for the first.
TEST(ClipSaveJob, CancelReachesTheSaveAndOneSaveRunsAtATime) {
  std::mutex lock;
  std::condition_variable cond;
  bool reported = false;
  // Stands in for the copy: reports half way, then goes on until cancelled.
  const auto save = [&](const std::string&, const std::string&, double, double,
                        const ClipProgress& progress) {
    SavedClip saved;
    bool goOn = progress(0.5);
    {
      std::lock_guard<std::mutex> hold(lock);
      reported = true;
    }
    cond.notify_all();
    while (goOn) goOn = progress(0.5);
    saved.status = kClipCancelled;
    return saved;
  };
  ClipSaveJob job(save);
  Outcome outcome;
  ASSERT_TRUE(job.Start("a.MOV", "/nowhere", 1, 2, outcome.callback()));
  {
    std::unique_lock<std::mutex> hold(lock);
    ASSERT_TRUE(cond.wait_for(hold, std::chrono::seconds(30), [&] { return reported; }));
  }
  EXPECT_TRUE(job.Running());
  EXPECT_DOUBLE_EQ(job.Progress(), 0.5);
  EXPECT_FALSE(job.Start("b.MOV", "/nowhere", 1, 2, nullptr));
  job.Cancel();
  EXPECT_EQ(outcome.wait().status, kClipCancelled);
}

}  // namespace
}  // namespace vantrel
