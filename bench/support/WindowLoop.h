#pragma once
// For benchmarks that run our window in their own process: the window's own
// event loop run for a while or until something holds, and the CPU time the
// process has taken.
#include <sys/resource.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/timer.h>

#include <chrono>

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

inline double since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// User and system seconds of this process so far.
inline double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the window's own event loop for ms, as the program idles between events.
inline void runLoopFor(int ms) {
  wxEventLoop loop;
  wxTimer timer;
  timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { loop.Exit(); });
  timer.StartOnce(ms);
  loop.Run();
}

// Runs the event loop until done() or the timeout; true when done.
template <typename Done>
bool runLoopUntil(Done done, double timeoutSeconds) {
  const auto start = std::chrono::steady_clock::now();
  while (!done()) {
    if (since(start) > timeoutSeconds) return false;
    runLoopFor(2);
  }
  return true;
}
