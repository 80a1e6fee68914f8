#pragma once
// Runs a dialog in its real modal loop (ShowModal, as the program does) and
// drives it from inside that loop: a timer carries out the steps one after
// the other, each an action and what must hold before the next step may go.
// A step that waits too long ends the loop, so a test never hangs; a loop
// that ends early (the fault some tests are after) leaves steps unrun.
#include <wx/dialog.h>
#include <wx/timer.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

// A condition that holds once ms have passed since it was first asked: for
// steps that must show that nothing happens for a while, and for layouts the
// X server is still carrying out when the toolkit already reports them.
inline std::function<bool()> after(int ms) {
  auto since = std::make_shared<std::chrono::steady_clock::time_point>();
  return [since, ms] {
    const auto now = std::chrono::steady_clock::now();
    if (*since == std::chrono::steady_clock::time_point{}) *since = now;
    return now - *since >= std::chrono::milliseconds(ms);
  };
}

class ModalScript : public wxEvtHandler {
 public:
  // The result ShowModal returns when a step waited too long.
  static constexpr int kTimedOut = -4242;

  // Adds a step: act, then wait until done() holds (at most timeoutMs).
  ModalScript& step(std::string name, std::function<void()> act,
                    std::function<bool()> done = nullptr, int timeoutMs = 5000) {
    m_steps.push_back({std::move(name), std::move(act), std::move(done), timeoutMs});
    return *this;
  }

  // Shows dialog modally and runs the steps; returns what ShowModal returned.
  int run(wxDialog& dialog) {
    m_dialog = &dialog;
    m_next = 0;
    m_acted = false;
    m_failed.clear();
    wxTimer timer(this);
    Bind(wxEVT_TIMER, &ModalScript::OnTick, this);
    timer.Start(kTickMs);
    const int result = dialog.ShowModal();
    timer.Stop();
    Unbind(wxEVT_TIMER, &ModalScript::OnTick, this);
    return result;
  }

  // The first step that did not finish (timed out, or the loop ended before
  // it), or "" when every step ran.
  std::string unfinished() const {
    if (!m_failed.empty()) return m_failed;
    if (m_next < m_steps.size()) return m_steps[m_next].name + (m_acted ? " (still waiting)" : "");
    return "";
  }

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr int kTickMs = 20;

  struct Step {
    std::string name;
    std::function<void()> act;
    std::function<bool()> done;
    int timeoutMs;
  };

  void OnTick(wxTimerEvent&) {
    if (m_busy || m_next >= m_steps.size() || !m_failed.empty()) return;
    m_busy = true;
    Step& step = m_steps[m_next];
    if (!m_acted) {
      m_acted = true;
      m_since = Clock::now();
      if (step.act) step.act();
    }
    if (!step.done || step.done()) {
      ++m_next;
      m_acted = false;
    } else if (Clock::now() - m_since > std::chrono::milliseconds(step.timeoutMs)) {
      m_failed = step.name + " (timed out)";
      if (m_dialog->IsModal()) m_dialog->EndModal(kTimedOut);
    }
    m_busy = false;
  }

  std::vector<Step> m_steps;
  wxDialog* m_dialog = nullptr;
  size_t m_next = 0;
  bool m_acted = false;  // the current step's action has run
  bool m_busy = false;   // a tick is under way (an action may run a loop of its own)
  Clock::time_point m_since;
  std::string m_failed;
};

}  // namespace testsupport
