// Twenty exact seeks, paused, on a 1080p30 H.264 recording with a key picture
// every 2 s: the time from the seek to the picture at the target handed to the
// screen, against mpv with --hr-seek=yes doing the same seeks in the same run
// (its "playback-restart" event: the target's picture is out). Neither draws
// the picture (mpv --vo=null; our sink takes the converted picture), so both
// measure finding, decoding and handing over the picture.
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/Playback.h"
#include "engine/PlaybackRecorder.h"
#include "engine/PlayerState.h"
#include "engine/Transport.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRate = 30;
constexpr double kSeconds = 60;
constexpr auto kTimeout = std::chrono::seconds(20);

double since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Spread over the recording, mostly far from a key picture, in no order.
std::vector<double> targets() {
  std::vector<double> t;
  for (int i = 0; i < 20; ++i) t.push_back(std::fmod(1.37 + i * 17.71, kSeconds - 2));
  return t;
}

// The time of each picture handed over, waited for without polling.
class Sink : public vantrel::PlaybackRecorder {
 public:
  void presentFrame(std::shared_ptr<const vantrel::BgrFrame> frame) override {
    {
      std::lock_guard<std::mutex> hold(lock_);
      last_ = frame->time;
      count_++;
    }
    shown_.notify_all();
  }
  // Waits for a picture after the count'th whose time is `time`.
  bool waitFor(size_t count, double time) {
    std::unique_lock<std::mutex> hold(lock_);
    return shown_.wait_for(hold, kTimeout,
                           [&] { return count_ > count && std::fabs(last_ - time) < 1e-3; });
  }
  size_t count() {
    std::lock_guard<std::mutex> hold(lock_);
    return count_;
  }

 private:
  std::mutex lock_;
  std::condition_variable shown_;
  double last_ = -1;
  size_t count_ = 0;
};

// Seconds for all seeks, none when one did not land.
std::optional<double> ours(const fs::path& recording) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  vantrel::PlayerState state;
  state.volume = 80;
  state.setFileName(recording.string());
  Sink sink;
  vantrel::Playback playback{state, sink, nullptr};
  if (!playback.start() || !sink.waitFor(0, 0.0)) return std::nullopt;
  vantrel::pausePlayback(state);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // what was on its way shows
  double total = 0;
  bool landed = true;
  for (const double target : targets()) {
    const double picture = std::floor(target * kRate + 1e-6) / kRate;
    const size_t before = sink.count();
    const auto start = Clock::now();
    vantrel::requestSeek(state, target);
    if (!sink.waitFor(before, picture)) {
      std::fprintf(stderr, "ours: no picture at %.3f for %.3f\n", picture, target);
      landed = false;
      break;
    }
    total += since(start);
  }
  vantrel::stopPlayback(state);
  playback.stopAndJoin();
  return landed ? std::optional<double>(total) : std::nullopt;
}

// A line-wise client of mpv's JSON IPC socket.
class MpvIpc {
 public:
  explicit MpvIpc(const fs::path& socketPath) {
    const auto deadline = Clock::now() + kTimeout;
    while (Clock::now() < deadline) {
      fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
      if (connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return;
      close(fd_);
      fd_ = -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ~MpvIpc() {
    if (fd_ >= 0) close(fd_);
  }
  bool connected() const { return fd_ >= 0; }
  bool send(const std::string& line) {
    const std::string out = line + "\n";
    return write(fd_, out.data(), out.size()) == static_cast<ssize_t>(out.size());
  }
  // Reads until a line holds `text`.
  bool waitFor(const std::string& text) {
    const auto deadline = Clock::now() + kTimeout;
    for (;;) {
      const size_t end = buffer_.find('\n');
      if (end != std::string::npos) {
        const bool found = buffer_.substr(0, end).find(text) != std::string::npos;
        buffer_.erase(0, end + 1);
        if (found) return true;
        continue;
      }
      const int left = static_cast<int>(
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
      pollfd p{fd_, POLLIN, 0};
      if (left <= 0 || poll(&p, 1, left) <= 0) return false;
      char chunk[4096];
      const ssize_t n = read(fd_, chunk, sizeof chunk);
      if (n <= 0) return false;
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }

 private:
  int fd_ = -1;
  std::string buffer_;
};

std::optional<double> mpv(const fs::path& recording, const fs::path& dir) {
  const fs::path socketPath = dir / "mpv.socket";
  const std::string command =
      "mpv --no-config --really-quiet --vo=null --ao=null --pause "
      "--hr-seek=yes --input-ipc-server='" +
      socketPath.string() + "' '" + recording.string() + "' &";
  if (std::system(command.c_str()) != 0) return std::nullopt;
  MpvIpc ipc(socketPath);
  if (!ipc.connected()) return std::nullopt;
  std::optional<double> total;
  // Loaded and a first picture out before the timed seeks (the one at start
  // may come before the socket is connected).
  if (ipc.send(R"({"command":["seek",0,"absolute+exact"]})") &&
      ipc.waitFor("\"playback-restart\"")) {
    total = 0;
    for (const double target : targets()) {
      const auto start = Clock::now();
      char line[128];
      std::snprintf(line, sizeof line, R"({"command":["seek",%.6f,"absolute+exact"]})", target);
      if (!ipc.send(line) || !ipc.waitFor("\"playback-restart\"")) {
        std::fprintf(stderr, "mpv: no picture for %.3f\n", target);
        total.reset();
        break;
      }
      *total += since(start);
    }
  }
  ipc.send(R"({"command":["quit"]})");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  return total;
}

}  // namespace

int main() {
  const fs::path dir = fs::temp_directory_path() / ("vantrel-seek-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path recording = dir / "SEEK.MOV";
  const std::string make = std::string("'") + VANTREL_SOURCE_DIR +
                           "/tests/fixtures/make-recording' '" + recording.string() + "' " +
                           std::to_string(static_cast<int>(kSeconds)) +
                           " --size 1920x1080 --rate 30 --gop 2 >/dev/null";
  int status = 1;
  if (std::system(make.c_str()) == 0) {
    std::printf("1920x1080 at 30 pictures a second, H.264 with a key picture every 2 s, %d s\n",
                static_cast<int>(kSeconds));
    const std::optional<double> their = mpv(recording, dir);
    const std::optional<double> our = ours(recording);
    if (their && our) {
      std::printf("20 seeks: ours %.3f s, mpv --hr-seek=yes %.3f s\n", *our, *their);
      std::printf("ratio: exact seek %.2f\n", *their / *our);
      status = 0;
    }
  }
  fs::remove_all(dir);
  return status;
}
