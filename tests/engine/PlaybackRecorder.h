#pragma once
// A PlaybackHost that records what the playback tells it, for tests.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "engine/PlaybackHost.h"
#include "engine/VideoSink.h"

namespace vantrel {

class PlaybackRecorder : public PlaybackHost, public VideoSink {
 public:
  struct Event {
    // "sync", "loading", "started", "reset", "advance", "picture" (the first only)
    std::string what;
    int64_t a = 0, b = 0;
  };

  void postGpsSync(GpsSyncCode code, int64_t argument) override { add({"sync", code, argument}); }
  void showLoading(bool shown) override { add({"loading", shown ? 1 : 0}); }
  void playbackStarted() override { add({"started"}); }
  void playbackReset(bool) override { add({"reset"}); }
  void playbackFailed(const std::string& reason) override {
    {
      std::lock_guard<std::mutex> hold(lock_);
      failure_ = reason;
    }
    add({"failed"});
  }
  void advancePlaylist() override { add({"advance"}); }
  VideoSink* videoSink() override { return this; }
  void presentFrame(std::shared_ptr<const BgrFrame>) override {
    if (frames++ == 0) add({"picture"});
  }

  void clear() {
    std::lock_guard<std::mutex> hold(lock_);
    events_.clear();
    lastSecond_ = -1;
    frames = 0;
  }
  std::vector<Event> events() {
    std::lock_guard<std::mutex> hold(lock_);
    return events_;
  }
  // Latest whole second posted with sync code 1, -1 before any.
  int64_t lastSecond() {
    std::lock_guard<std::mutex> hold(lock_);
    return lastSecond_;
  }
  // Why the last playback could not play.
  std::string failure() {
    std::lock_guard<std::mutex> hold(lock_);
    return failure_;
  }
  bool saw(const std::string& what) {
    std::lock_guard<std::mutex> hold(lock_);
    for (const Event& e : events_) {
      if (e.what == what) return true;
    }
    return false;
  }
  // Waits until done() holds (checked at every event and every 20 ms).
  bool waitFor(const std::function<bool()>& done, int timeoutMs = 15000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::unique_lock<std::mutex> hold(lock_);
      changed_.wait_for(hold, std::chrono::milliseconds(20));
    }
    return true;
  }
  bool waitForSecond(int64_t second, int timeoutMs = 15000) {
    return waitFor([&] { return lastSecond() >= second; }, timeoutMs);
  }

  std::atomic<int64_t> frames{0};

 private:
  void add(Event e) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      if (e.what == "sync" && e.a == 1) lastSecond_ = e.b;
      events_.push_back(std::move(e));
    }
    changed_.notify_all();
  }

  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<Event> events_;
  int64_t lastSecond_ = -1;
  std::string failure_;
};

}  // namespace vantrel
