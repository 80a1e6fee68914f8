#include "app/ClipSaveJob.h"

#include <algorithm>

#include "engine/ThreadName.h"

namespace vantrel {

ClipSaveJob::~ClipSaveJob() {
  Cancel();
  Join();
}

void ClipSaveJob::Join() {
  if (m_thread.joinable()) m_thread.join();
}

bool ClipSaveJob::Start(const std::string& recording, const std::string& folder, double start,
                        double end, Done done) {
  if (m_running.load()) return false;
  Join();  // the last save has finished; its thread only has to return
  m_cancel = false;
  m_progress = 0.0;
  m_running = true;
  m_thread = std::thread([this, recording, folder, start, end, done = std::move(done)] {
    setCurrentThreadName("clip");
    const SavedClip saved = m_saver(recording, folder, start, end, [this](double fraction) {
      m_progress = std::clamp(fraction, 0.0, 1.0);
      return !m_cancel.load();
    });
    m_running = false;
    if (done) done(saved);
  });
  return true;
}

}  // namespace vantrel
