#pragma once
// Saving a clip on a thread of its own ("clip") while the window goes on
// playing: how far it has got, a cancel, and the outcome handed to a
// callback on that thread (the window passes it on with CallAfter).
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "app/ClipSaver.h"

namespace vantrel {

class ClipSaveJob {
 public:
  using Done = std::function<void(const SavedClip&)>;
  // What saves: saveClipInto, or a test's stand-in.
  using Saver = std::function<SavedClip(const std::string& recording, const std::string& folder,
                                        double start, double end, const ClipProgress& progress)>;

  explicit ClipSaveJob(Saver saver = saveClipInto) : m_saver(std::move(saver)) {}
  // Cancels a save still running and waits for it.
  ~ClipSaveJob();
  ClipSaveJob(const ClipSaveJob&) = delete;
  ClipSaveJob& operator=(const ClipSaveJob&) = delete;

  // Saves [start, end) of recording into folder (ClipSaver's names); done
  // gets the outcome. false, and nothing starts, while a save is running.
  bool Start(const std::string& recording, const std::string& folder, double start, double end,
             Done done);
  bool Running() const { return m_running.load(); }
  // 0 to 1.
  double Progress() const { return m_progress.load(); }
  // Any thread: the save stops at its next packet; done then gets a
  // cancelled outcome.
  void Cancel() { m_cancel = true; }

 private:
  void Join();

  Saver m_saver;
  std::thread m_thread;  // UI thread only
  std::atomic<bool> m_running{false};
  std::atomic<bool> m_cancel{false};
  std::atomic<double> m_progress{0.0};
};

}  // namespace vantrel
